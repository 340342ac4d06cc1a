// The platform's half of the interface that mIRC documents for other programs: a named file
// mapping and the messages that hand it to the client's main window.
#pragma once
#include "rules/mirc_protocol.h"

#include <windows.h>

class CMircLink final : public IMircLink {
public:
    explicit CMircLink(HWND mainWindow) : m_hWnd(mainWindow) {}
    // Closes the mapping, unless a message that the client has not answered may still read it.
    ~CMircLink();
    CMircLink(const CMircLink&) = delete;
    CMircLink& operator=(const CMircLink&) = delete;

    EMapping MakeMapping(unsigned index) override;
    bool Put(const std::string& text, bool unicode) override;
    std::string Get(bool unicode) const override;
    std::optional<long long> Send(bool evaluate, unsigned method, Ticks deadline) override;
    void KeepForLateAnswer() override { m_bKept = true; }

private:
    HWND m_hWnd;
    HANDLE m_hMapping = nullptr;
    void* m_pView = nullptr;
    unsigned m_nIndex = 0; // the N of the mapping's name "mIRCN"; 0 for "mIRC"
    bool m_bKept = false;
};
