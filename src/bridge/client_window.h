// The IRC client's windows: found by class, walked to the active window, its edit line and its
// nickname list, read and typed into. Handles are looked up afresh for every operation and never
// kept; every message to the client is a bounded call, and raising the client never waits for it,
// so a frozen or slow client cannot freeze Brisa.
#pragma once
#include "rules/client_session.h"

#include <windows.h>

// The first top-level window of that class, whatever its title; nullptr when there is none or
// the class name is empty.
HWND FindClientWindow(const std::string& className);

// The tick count, as the client rules take it.
Ticks TickCount();

// A message to a window of the client that waits for the answer at most 1.5 s, and not beyond the
// deadline; false when the client did not answer in time.
bool SendToClient(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, Ticks deadline,
                  LRESULT* result = nullptr);

// The windows of the client whose main window is topLevel: along the path of the old client
// where that leads to an edit line and a list box, else by class under the client's MDI client.
class CClientWindowsPath final : public IClientWindows {
public:
    explicit CClientWindowsPath(HWND topLevel) : m_hTopLevel(topLevel) {}

    ClientAnswer<ClientText> ActiveTitle(Ticks deadline) override;
    ClientAnswer<ClientList> NickList(Ticks deadline) override;
    ClientOutcome TypeLine(const std::string& line, bool prompt, Ticks deadline,
                           ClientWindowId* pTypedInto) override;
    ClientWindowId FindActive(Ticks deadline) override;
    void Raise(ClientWindowId window) override;

private:
    struct Windows {
        HWND active = nullptr; // a channel window when a channel is active
        HWND editLine = nullptr;
        HWND nickList = nullptr;
    };
    std::optional<Windows> Locate(bool withNickList, Ticks deadline) const;

    HWND m_hTopLevel;
};
