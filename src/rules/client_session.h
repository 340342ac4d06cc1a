// One operation's access to the running client, by the best way that it offers: the interface
// that mIRC documents for other programs when the client answers it, else its windows. Portable:
// the platform gives the two ways in, a test fakes them.
#pragma once
#include "rules/client.h"
#include "rules/mirc_protocol.h"

#include <cstdint>
#include <optional>
#include <string>

// A window of the client as the platform names it; 0 stands for the client's main window.
using ClientWindowId = std::uintptr_t;

// The client's windows as the platform reaches them: its active window, that window's edit line
// and nickname list. Every message is bounded by the deadline; none is sent after one that went
// unanswered.
class IClientWindows {
public:
    // NoEditLine when its windows are not laid out as Brisa knows them.
    virtual ClientAnswer<ClientText> ActiveTitle(Ticks deadline) = 0;
    virtual ClientAnswer<ClientList> NickList(Ticks deadline) = 0;
    // Replaces the edit line's text with the line, the caret at its end, then presses Enter
    // unless prompt is on; *pTypedInto is the active window that holds that edit line.
    virtual ClientOutcome TypeLine(const std::string& line, bool prompt, Ticks deadline,
                                   ClientWindowId* pTypedInto) = 0;
    // The active window as the client's windows show it now; 0 when they do not.
    virtual ClientWindowId FindActive(Ticks deadline) = 0;
    // Brings a window of the client to the top, never waiting for the client.
    virtual void Raise(ClientWindowId window) = 0;

protected:
    ~IClientWindows() = default;
};

class CClientSession final : public IClient {
public:
    // Reaches the client through its interface when a link is given and the client answers it;
    // else, or when it refuses it, through its windows. Once it has answered, in this operation
    // or an earlier one (memory), the interface is the only way in. The operation's time, about
    // 3 s, starts now.
    CClientSession(IClientWindows& windows, IMircLink* link, MircMemory* memory, Ticks (*now)());

    ClientAnswer<ActiveWindow> Active(const std::string& soundKind) override;
    ClientAnswer<ClientList> Nicknames() override;
    ClientOutcome Type(const std::string& line, bool prompt, RaiseAfter raise) override;

private:
    IClientWindows& m_windows;
    MircMemory* m_pMemory;
    Ticks (*m_now)();
    const Ticks m_nDeadline;
    std::optional<CMircInterface> m_mirc;
    bool m_bAnswers = true; // false once the client is not to be reached any way
};
