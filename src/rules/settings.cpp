#include "rules/settings.h"

namespace settings {

bool PromptsForTag(const Settings& settings) {
    return settings.m_bTagPrompt != 0;
}

bool FallsBack(const Settings& settings) {
    return settings.m_bFallBack != 0;
}

bool ClosesOnSend(const Settings& settings) {
    return settings.m_bSendClose == 1;
}

bool OffersFallBack(const Settings& settings) {
    return settings.m_bSendClose == 0;
}

std::string ClientWindowClass(const Settings& settings) {
    for (const ClientKind& client : kClients) {
        if (client.stored == settings.m_nClient)
            return client.windowClass;
    }
    return "";
}

} // namespace settings
