#include "bridge/irc_client.h"

#include "rules/sound_files.h"

namespace {

// The two classes of mIRC, the 32-bit client of the late 1990s and today's.
bool CanHaveTheInterface(const std::string& className) {
    return className == "mIRC32" || className == "mIRC";
}

} // namespace

CClientRegistry::CClient& CClientRegistry::For(HWND mainWindow) {
    for (auto client = m_clients.begin(); client != m_clients.end();)
        client = ::IsWindow(client->first) ? std::next(client) : m_clients.erase(client);
    auto& client = m_clients[mainWindow];
    if (!client)
        client = std::make_unique<CClient>(mainWindow);
    return *client;
}

const MircMemory* CClientRegistry::Introduce(const std::string& className) {
    const HWND topLevel = FindClientWindow(className);
    if (!topLevel || !CanHaveTheInterface(className))
        return nullptr;
    const auto known = m_clients.find(topLevel);
    if (known != m_clients.end())
        return &known->second->memory;
    CIrcClient client(*this, className);
    client.Session().Active(ClientSoundKind(SoundType::Wave));
    return &For(topLevel).memory;
}

CIrcClient::CIrcClient(CClientRegistry& registry, const std::string& className) {
    const HWND topLevel = FindClientWindow(className);
    if (!topLevel)
        return;
    m_windows.emplace(topLevel);
    CClientRegistry::CClient* known =
        CanHaveTheInterface(className) ? &registry.For(topLevel) : nullptr;
    m_pLink = known ? &known->link : nullptr;
    m_session.emplace(*m_windows, m_pLink, known ? &known->memory : nullptr, TickCount);
}

CIrcClient::~CIrcClient() {
    if (m_pLink)
        m_pLink->EndOperation();
}

bool ClientRuns(const std::string& className) {
    return FindClientWindow(className) != nullptr;
}
