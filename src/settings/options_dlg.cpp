#include "settings/options_dlg.h"

#include "framework/app.h"
#include "framework/text.h"
#include "resource.h"

namespace {

constexpr int kMaxTagTextChars = 50;
constexpr int kMaxWavDirChars = 256;

} // namespace

const fw::CommandEntry COptionsDlg::s_commands[] = {
    fw::OnCommand(IDC_PROMPT_FOR_TAG, &COptionsDlg::OnPromptForTag),
    fw::OnCommandRange(IDC_RADIO_MIRC32, IDC_RADIO_PIRCH, &COptionsDlg::OnRadioClient),
    fw::OnCommand(IDC_CLOSE_ON_SEND, &COptionsDlg::OnCloseOnSend),
};

fw::CommandMap COptionsDlg::GetCommandMap() const {
    return fw::MakeCommandMap(s_commands);
}

COptionsDlg::COptionsDlg(fw::CWinApp& app, HWND parent)
    : CDialog(IDD_OPTIONS, parent),
      m_settings(settings::Load(app.GetProfile(), settings::kDefaultOptionsTagText)),
      m_pApp(&app) {}

void COptionsDlg::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_FALL_BACK, m_btnFallBack);
    fw::DDX_Control(dx, IDC_TAG_TEXT, m_editTagText);
    fw::DDX_Text(dx, IDC_TAG_TEXT, m_settings.m_strTagText);
    fw::DDV_MaxChars(dx, m_settings.m_strTagText, kMaxTagTextChars);
    fw::DDX_Text(dx, IDC_WAV_DIR, m_settings.m_strWavDir);
    fw::DDV_MaxChars(dx, m_settings.m_strWavDir, kMaxWavDirChars);
    fw::DDX_Check(dx, IDC_FALL_BACK, m_settings.m_bFallBack);
    fw::DDX_Check(dx, IDC_PROMPT_FOR_TAG, m_settings.m_bTagPrompt);
    fw::DDX_Check(dx, IDC_CLOSE_ON_SEND, m_settings.m_bSendClose);
}

BOOL COptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_editTagText.EnableWindow(!settings::PromptsForTag(m_settings));
    m_btnFallBack.EnableWindow(m_settings.m_bSendClose == 0);
    CheckClientRadio();
    return TRUE;
}

// Exactly the chosen client's button, none for a number that names no client. The platform clears
// a group's other buttons itself, but skips a disabled one: PIRCH, checked from the profile, would
// stay checked beside a new choice.
void COptionsDlg::CheckClientRadio() const {
    for (const settings::ClientKind& client : settings::kClients)
        ::CheckDlgButton(m_hWnd, client.radioButton,
                         client.stored == m_settings.m_nClient ? BST_CHECKED : BST_UNCHECKED);
}

void COptionsDlg::OnPromptForTag() {
    UpdateData(true);
    m_editTagText.EnableWindow(!settings::PromptsForTag(m_settings));
}

void COptionsDlg::OnRadioClient(UINT id) {
    m_settings.m_nClient = settings::ClientChosenBy(static_cast<int>(id))->stored;
    CheckClientRadio();
}

void COptionsDlg::OnCloseOnSend() {
    UpdateData(true);
    m_btnFallBack.EnableWindow(m_settings.m_bSendClose == 0);
}

void COptionsDlg::OnOK() {
    // An over-long text (only a hand-edited profile holds one) has been reported and selected;
    // writing now would store a half-exchanged mix that a later Cancel could not take back.
    if (!UpdateData(true))
        return;
    // Closing would take the choices back from the file, so the user would lose them unawares;
    // the dialog stays open to try again once the file is free, or to cancel.
    const fw::CProfile& profile = m_pApp->GetProfile();
    if (!settings::Save(profile, m_settings)) {
        m_pApp->DoMessageBox(
            fw::FormatText(m_pApp->LoadString(IDS_SETTINGS_NOT_SAVED), {profile.GetPath()}),
            MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CDialog::OnOK();
}
