// One operation's access to the running IRC client, by the best way that it offers: the interface
// that mIRC documents for other programs when the client answers it, else its windows.
#pragma once
#include "bridge/client_window.h"
#include "bridge/mirc_interface.h"

#include <optional>
#include <string>

class CIrcClient {
public:
    // Finds the running client of that window class and the way to reach it, down to its nickname
    // list when withNickList: the client is looked up afresh for every operation.
    CIrcClient(std::string className, bool withNickList);

    bool IsPresent() const { return m_hTopLevel != nullptr; }
    // Done when the client can be reached; otherwise what stands in the way.
    ClientOutcome Reachable() const { return m_reachable; }
    HWND TopLevel() const { return m_hTopLevel; }
    // The active window, found by its windows even when the interface is the way in; the
    // top-level window when it cannot be.
    HWND ActiveWindow();

    // The name of the active window as the channel test takes it: its title, or its name through
    // the interface. nullopt when the client cannot be reached (see Reachable).
    std::optional<ClientText> ActiveWindowName();
    // The entries of the active channel's nickname list; nullopt when the client cannot be
    // reached or has no list to read.
    std::optional<ClientList> Nicknames();
    // Types the line into the active window's edit line (see TypeCommandLine), in prompt mode
    // leaving it there for the user to finish. Once it is there, raises `raise` in prompt mode,
    // or when fallBack is on.
    ClientOutcome Type(const std::string& line, bool prompt, HWND raise, bool fallBack);

    // Tells the user how an operation ended when it did not end well, naming the client.
    void Report(ClientOutcome outcome) const;

private:
    // The client's windows; false, noted as unreachable, when they have no edit line.
    bool LocateWindows();
    bool FallBackToWindows(CMircInterface::EAnswer answer);
    ClientOutcome TypeLine(const std::string& line, bool prompt);
    // What the client answered; nothing, noted as not answering, when it did not answer.
    template <class T> std::optional<T> Answered(std::optional<T> answer) {
        if (!answer)
            m_reachable = ClientOutcome::NotAnswering;
        return answer;
    }

    const std::string m_strClass;
    const bool m_bWithNickList;
    HWND m_hTopLevel = nullptr;
    std::optional<CMircInterface> m_mirc;
    std::optional<ClientWindows> m_windows;
    ClientOutcome m_reachable = ClientOutcome::Done;
};
