// The running IRC client of the chosen kind, for one operation: found by the class of its main
// window, and reached through the interface that mIRC documents when it answers it, else through
// its windows. A transport: it answers with outcomes, and the window that started the operation
// tells the user.
#pragma once
#include "bridge/client_window.h"
#include "bridge/mirc_link.h"
#include "rules/client_session.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

// What Brisa keeps of each client it has reached, from one operation to the next: the link to
// its interface, with the mappings kept for late answers, and what the interface told. A client
// is forgotten, and its mappings closed, once its main window is gone.
class CClientRegistry {
public:
    struct CClient {
        explicit CClient(HWND mainWindow) : link(mainWindow) {}
        CMircLink link;
        MircMemory memory;
    };
    CClient& For(HWND mainWindow);
    // What the interface of the client of that class has told of it, asking it once when it is
    // first seen; nullptr when no such client runs, or it has no such interface.
    const MircMemory* Introduce(const std::string& className);

private:
    std::map<HWND, std::unique_ptr<CClient>> m_clients;
};

class CIrcClient {
public:
    // The client whose main window is of that class, if it runs; the operation's time starts now.
    CIrcClient(CClientRegistry& registry, const std::string& className);
    // The operation's mapping is closed, unless the client may still read it.
    ~CIrcClient();
    CIrcClient(const CIrcClient&) = delete;
    CIrcClient& operator=(const CIrcClient&) = delete;

    bool IsPresent() const { return m_session.has_value(); }
    // Only while the client is present.
    IClient& Session() { return *m_session; }

private:
    std::optional<CClientWindowsPath> m_windows;
    CMircLink* m_pLink = nullptr;
    std::optional<CClientSession> m_session;
};

// Whether the client runs: a main window of that class is there.
bool ClientRuns(const std::string& className);
