// One Brisa for each settings file: a second start brings the running one to the front instead,
// as it would only follow the same folder and client again.
#pragma once
#include <windows.h>

#include <string>

class CSingleInstance {
public:
    CSingleInstance() = default;
    ~CSingleInstance();
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Takes the place of the Brisa of this settings file; false, having brought that one to the
    // front, when it runs already.
    bool Claim(const std::string& profilePath);
    // Tells a later start which window to bring to the front.
    void Announce(HWND mainWindow) const;

private:
    HANDLE m_hMapping = nullptr;
};
