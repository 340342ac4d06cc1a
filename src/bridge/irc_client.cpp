#include "bridge/irc_client.h"

namespace {

// The two classes of mIRC, the 32-bit client of the late 1990s and today's.
bool CanHaveTheInterface(const std::string& className) {
    return className == "mIRC32" || className == "mIRC";
}

} // namespace

CIrcClient::CIrcClient(const std::string& className) {
    const HWND topLevel = FindClientWindow(className);
    if (!topLevel)
        return;
    m_windows.emplace(topLevel);
    if (CanHaveTheInterface(className))
        m_link.emplace(topLevel);
    m_session.emplace(*m_windows, m_link ? &*m_link : nullptr, TickCount);
}

bool ClientRuns(const std::string& className) {
    return FindClientWindow(className) != nullptr;
}
