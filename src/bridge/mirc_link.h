// The platform's half of the interface that mIRC documents for other programs: named file
// mappings and the messages that hand them to one client's main window. It lives as long as that
// window, so that mappings kept for late answers stay open until they have been read.
#pragma once
#include "rules/mirc_protocol.h"

#include <windows.h>

#include <vector>

class CMircLink final : public IMircLink {
public:
    explicit CMircLink(HWND mainWindow) : m_hWnd(mainWindow) {}
    ~CMircLink();
    CMircLink(const CMircLink&) = delete;
    CMircLink& operator=(const CMircLink&) = delete;

    EMapping MakeMapping(unsigned index) override;
    bool Put(const std::string& text, bool unicode) override;
    std::string Get(bool unicode) const override;
    std::optional<long long> Send(bool evaluate, unsigned method, Ticks deadline) override;
    void KeepForLateAnswer() override;
    void ReleaseKept() override;
    // Closes the operation's mapping, unless it is kept: its name is free for other programs.
    void EndOperation();

private:
    struct Mapping {
        HANDLE handle = nullptr;
        void* view = nullptr;
        unsigned index = 0; // the N of its name "mIRCN"; 0 for "mIRC"
    };
    static void Close(Mapping& mapping);

    HWND m_hWnd;
    Mapping m_current;
    std::vector<Mapping> m_kept;
};
