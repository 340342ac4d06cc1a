#include "settings/settings.h"

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

std::optional<unsigned> ClientClassStringId(const Settings& settings) {
    // String ids are 16 bits wide; the platform would quietly wrap a larger one onto another id.
    if (settings.m_nClient < 0 || settings.m_nClient > 0xFFFF)
        return std::nullopt;
    return static_cast<unsigned>(settings.m_nClient);
}

bool IsClientRadio(int client) {
    return client == kClientMirc32 || client == kClientMirc || client == kClientPirch;
}

} // namespace settings
