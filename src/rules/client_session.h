// One operation's access to the running client, by the best way that it offers: the interface
// that mIRC documents for other programs when the client answers it, else its windows. Portable:
// the platform gives the two ways in, a test fakes them.
#pragma once
#include "rules/client.h"
#include "rules/mirc_protocol.h"

#include <optional>
#include <string>

// The client's windows as the platform reaches them: its active window, that window's edit line
// and nickname list. Every message is bounded by the deadline; none is sent after one that went
// unanswered.
class IClientWindows {
public:
    // NoEditLine when its windows are not laid out as Brisa knows them.
    virtual ClientAnswer<ClientText> ActiveTitle(Ticks deadline) = 0;
    virtual ClientAnswer<ClientList> NickList(Ticks deadline) = 0;
    // Replaces the edit line's text with the line, the caret at its end, then presses Enter
    // unless prompt is on.
    virtual ClientOutcome TypeLine(const std::string& line, bool prompt, Ticks deadline) = 0;
    // Brings the client's main window or its active window to the top, never waiting for it.
    virtual void Raise(RaiseAfter which, Ticks deadline) = 0;

protected:
    ~IClientWindows() = default;
};

class CClientSession final : public IClient {
public:
    // Reaches the client through its interface when a link is given and the client answers it;
    // else, or when it refuses it, through its windows. Once it has answered, the interface is
    // the only way in. The operation's time, about 3 s, starts now.
    CClientSession(IClientWindows& windows, IMircLink* link, Ticks (*now)());

    ClientAnswer<ClientText> ActiveWindowName() override;
    ClientAnswer<std::optional<std::string>> SoundsFolder(const std::string& kind) override;
    ClientAnswer<ClientList> Nicknames() override;
    ClientOutcome Type(const std::string& line, bool prompt, RaiseAfter raise) override;

private:
    ClientOutcome TypeLine(const std::string& line, bool prompt);

    IClientWindows& m_windows;
    Ticks (*m_now)();
    const Ticks m_nDeadline;
    std::optional<CMircInterface> m_mirc;
    bool m_bAnswers = true; // false once the client did not answer the interface's first question
};
