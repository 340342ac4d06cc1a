// The running IRC client of the chosen kind, for one operation: found by the class of its main
// window, and reached through the interface that mIRC documents when it answers it, else through
// its windows. A transport: it answers with outcomes, and the window that started the operation
// tells the user.
#pragma once
#include "bridge/client_window.h"
#include "bridge/mirc_link.h"
#include "rules/client_session.h"

#include <optional>
#include <string>

class CIrcClient {
public:
    // The client whose main window is of that class, if it runs; the operation's time starts now.
    explicit CIrcClient(const std::string& className);

    bool IsPresent() const { return m_session.has_value(); }
    // Only while the client is present.
    IClient& Session() { return *m_session; }

private:
    std::optional<CClientWindowsPath> m_windows;
    std::optional<CMircLink> m_link;
    std::optional<CClientSession> m_session;
};

// Whether the client runs: a main window of that class is there.
bool ClientRuns(const std::string& className);
