#include "settings/settings.h"

namespace settings {

const ClientKind* ClientStoredAs(int stored) {
    for (const ClientKind& client : kClients) {
        if (client.stored == stored)
            return &client;
    }
    return nullptr;
}

const ClientKind* ClientChosenBy(int radioButton) {
    for (const ClientKind& client : kClients) {
        if (client.radioButton == radioButton)
            return &client;
    }
    return nullptr;
}

bool PromptsForTag(const Settings& settings) {
    return settings.m_bTagPrompt != 0;
}

bool FallsBack(const Settings& settings) {
    return settings.m_bFallBack != 0;
}

bool ClosesOnSend(const Settings& settings) {
    return settings.m_bSendClose == 1;
}

std::string ClientWindowClass(const Settings& settings) {
    const ClientKind* client = ClientStoredAs(settings.m_nClient);
    return client ? client->windowClass : "";
}

} // namespace settings
