#include "ui/options_dlg.h"

#include "framework/app.h"
#include "resource.h"
#include "ui/notice_box.h"

namespace {

constexpr int kMaxTagTextChars = 50;
constexpr int kMaxWavDirChars = 256;

// The radio button that chooses each client the profile can store.
struct ClientRadio {
    int stored;
    int button;
};
constexpr ClientRadio kClientRadios[] = {
    {1009, IDC_RADIO_MIRC32},
    {1011, IDC_RADIO_MIRC},
    {1012, IDC_RADIO_PIRCH},
};

} // namespace

const fw::CommandEntry COptionsDlg::s_commands[] = {
    fw::OnCommand(IDC_BROWSE, &COptionsDlg::OnBrowse),
    fw::OnCommand(IDC_PROMPT_FOR_TAG, &COptionsDlg::OnPromptForTag),
    fw::OnCommandRange(IDC_RADIO_MIRC32, IDC_RADIO_PIRCH, &COptionsDlg::OnRadioClient),
    fw::OnCommand(IDC_CLOSE_ON_SEND, &COptionsDlg::OnCloseOnSend),
};

fw::CommandMap COptionsDlg::GetCommandMap() const {
    return fw::MakeCommandMap(s_commands);
}

COptionsDlg::COptionsDlg(fw::CWinApp& app, HWND parent)
    : CDialog(IDD_OPTIONS, parent),
      m_settings(settings::Load(app.GetProfile(), settings::kDefaultOptionsTagText)), m_pApp(&app) {
}

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
    m_btnFallBack.EnableWindow(settings::OffersFallBack(m_settings));
    CheckClientRadio();
    return TRUE;
}

// Exactly the chosen client's button, none for a number that names no client. The platform clears
// a group's other buttons itself, but skips a disabled one: PIRCH, checked from the profile, would
// stay checked beside a new choice.
void COptionsDlg::CheckClientRadio() const {
    for (const ClientRadio& radio : kClientRadios)
        ::CheckDlgButton(m_hWnd, radio.button,
                         radio.stored == m_settings.m_nClient ? BST_CHECKED : BST_UNCHECKED);
}

// The platform's folder dialog, starting at the folder the box names.
void COptionsDlg::OnBrowse() {
    const HWND box = GetDlgItem(IDC_WAV_DIR);
    const auto chosen = m_pApp->ChooseFolder(m_hWnd, fw::GetWindowTextOf(box),
                                             m_pApp->LoadString(IDS_CHOOSE_FOLDER));
    if (chosen)
        fw::SetWindowTextOf(box, *chosen);
}

void COptionsDlg::OnPromptForTag() {
    UpdateData(true);
    m_editTagText.EnableWindow(!settings::PromptsForTag(m_settings));
}

void COptionsDlg::OnRadioClient(UINT id) {
    for (const ClientRadio& radio : kClientRadios) {
        if (radio.button == static_cast<int>(id))
            m_settings.m_nClient = radio.stored;
    }
    CheckClientRadio();
}

void COptionsDlg::OnCloseOnSend() {
    UpdateData(true);
    m_btnFallBack.EnableWindow(settings::OffersFallBack(m_settings));
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
        ShowNotice({IDS_SETTINGS_NOT_SAVED, {profile.GetPath()}});
        return;
    }
    CDialog::OnOK();
}
