#include "app/brisa_app.h"
#include "settings/profile_keys.h"
#include "view/brisa_view.h"

void CBrisaView::LoadSettings() {
    using namespace profile;
    m_strWavDir = m_pApp->GetProfileString(kSection, kWavDir, kDefaultWavDir);
    m_strTagText = m_pApp->GetProfileString(kSection, kTagText, kDefaultTagText);
    m_bTagPrompt = m_pApp->GetProfileInt(kSection, kTagPrompt, kDefaultTagPrompt);
    m_pApp->m_bFallBack = m_pApp->GetProfileInt(kSection, kFallBack, kDefaultFallBack);
    m_pApp->m_bSendClose = m_pApp->GetProfileInt(kSection, kSendClose, kDefaultSendClose);
    m_pApp->m_strClientClass = m_pApp->LoadString(
        static_cast<UINT>(m_pApp->GetProfileInt(kSection, kClient, kDefaultClient)));
}
