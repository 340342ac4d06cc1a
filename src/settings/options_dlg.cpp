#include "settings/options_dlg.h"

#include "framework/app.h"
#include "resource.h"

namespace {

constexpr int kMaxTagTextChars = 50;
constexpr int kMaxWavDirChars = 256;

} // namespace

// "Prompt for Tag" lies inside the radio buttons' id range: its own row comes first.
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
      m_settings(settings::Load(app.GetProfile(), settings::Reader::OptionsDialog)), m_pApp(&app) {}

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
    // The selector is also a control id, but only the three radio buttons may take it: a stored
    // 1010 would otherwise tick "Prompt for Tag" and OK would store that as the user's choice.
    if (settings::IsClientRadio(m_settings.m_nClient))
        ::SendDlgItemMessageA(m_hWnd, m_settings.m_nClient, BM_SETCHECK, BST_CHECKED, 0);
    return TRUE;
}

void COptionsDlg::OnPromptForTag() {
    UpdateData(true);
    m_editTagText.EnableWindow(!settings::PromptsForTag(m_settings));
}

void COptionsDlg::OnRadioClient(UINT id) {
    m_settings.m_nClient = static_cast<int>(id);
    // The platform clears the group's other buttons itself, but skips a disabled one: PIRCH,
    // checked from the profile, would stay checked beside the choice.
    for (const int radio : {IDC_RADIO_MIRC32, IDC_RADIO_MIRC, IDC_RADIO_PIRCH})
        ::CheckDlgButton(m_hWnd, radio,
                         radio == m_settings.m_nClient ? BST_CHECKED : BST_UNCHECKED);
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
    if (!settings::Save(m_pApp->GetProfile(), m_settings)) {
        m_pApp->DoMessageBox("The settings could not be saved in " +
                                 m_pApp->GetProfile().GetPath() +
                                 ".\n\nClose any program that holds the file and choose OK again.",
                             MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CDialog::OnOK();
}
