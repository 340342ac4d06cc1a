#include "settings/options_dlg.h"

#include "app/brisa_app.h"
#include "resource.h"
#include "settings/profile_keys.h"
#include "view/brisa_view.h"

namespace {

constexpr int kMaxTagTextChars = 50;
constexpr int kMaxWavDirChars = 256;

bool IsClientRadio(int id) {
    return id == IDC_RADIO_MIRC32 || id == IDC_RADIO_MIRC || id == IDC_RADIO_PIRCH;
}

} // namespace

const fw::CommandEntry COptionsDlg::s_commands[] = {
    fw::OnCommand(IDC_PROMPT_FOR_TAG, &COptionsDlg::OnPromptForTag),
    fw::OnCommand(IDC_RADIO_MIRC, &COptionsDlg::OnRadioMirc),
    fw::OnCommand(IDC_RADIO_MIRC32, &COptionsDlg::OnRadioMirc32),
    fw::OnCommand(IDC_RADIO_PIRCH, &COptionsDlg::OnRadioPirch),
    fw::OnCommand(IDC_CLOSE_ON_SEND, &COptionsDlg::OnCloseOnSend),
};

fw::CommandMap COptionsDlg::GetCommandMap() const {
    return fw::MakeCommandMap(s_commands);
}

COptionsDlg::COptionsDlg(HWND parent) : CDialog(IDD_OPTIONS, parent) {
    using namespace profile;
    const CBrisaApp* app = GetBrisaApp();
    m_strTagText = app->GetProfileString(kSection, kTagText, kDefaultOptionsTagText);
    m_strWavDir = app->GetProfileString(kSection, kWavDir, kDefaultWavDir);
    m_bFallBack = app->GetProfileInt(kSection, kFallBack, kDefaultFallBack);
    m_bTagPrompt = app->GetProfileInt(kSection, kTagPrompt, kDefaultTagPrompt);
    m_bSendClose = app->GetProfileInt(kSection, kSendClose, kDefaultSendClose);
    m_nClient = app->GetProfileInt(kSection, kClient, kDefaultClient);
}

void COptionsDlg::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_FALL_BACK, m_btnFallBack);
    fw::DDX_Control(dx, IDC_TAG_TEXT, m_editTagText);
    fw::DDX_Text(dx, IDC_TAG_TEXT, m_strTagText);
    fw::DDV_MaxChars(dx, m_strTagText, kMaxTagTextChars);
    fw::DDX_Text(dx, IDC_WAV_DIR, m_strWavDir);
    fw::DDV_MaxChars(dx, m_strWavDir, kMaxWavDirChars);
    fw::DDX_Check(dx, IDC_FALL_BACK, m_bFallBack);
    fw::DDX_Check(dx, IDC_PROMPT_FOR_TAG, m_bTagPrompt);
    fw::DDX_Check(dx, IDC_CLOSE_ON_SEND, m_bSendClose);
}

BOOL COptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_editTagText.EnableWindow(m_bTagPrompt == 0);
    m_btnFallBack.EnableWindow(m_bSendClose == 0);
    // The selector is also a control id, but only the three radio buttons may take it: a stored
    // 1010 would otherwise tick "Prompt for Tag" and OK would store that as the user's choice.
    if (IsClientRadio(m_nClient))
        ::SendDlgItemMessageA(m_hWnd, m_nClient, BM_SETCHECK, BST_CHECKED, 0);
    return TRUE;
}

void COptionsDlg::OnPromptForTag() {
    UpdateData(true);
    m_editTagText.EnableWindow(m_bTagPrompt == 0);
}

void COptionsDlg::OnRadioMirc() {
    m_nClient = IDC_RADIO_MIRC;
}

void COptionsDlg::OnRadioMirc32() {
    m_nClient = IDC_RADIO_MIRC32;
}

void COptionsDlg::OnRadioPirch() {
    m_nClient = IDC_RADIO_PIRCH;
}

void COptionsDlg::OnCloseOnSend() {
    UpdateData(true);
    m_btnFallBack.EnableWindow(m_bSendClose == 0);
}

void COptionsDlg::OnOK() {
    // An over-long text (only a hand-edited profile holds one) has been reported and selected;
    // writing now would store a half-exchanged mix that a later Cancel could not take back.
    if (!UpdateData(true))
        return;
    using namespace profile;
    const CBrisaApp* app = GetBrisaApp();
    bool bSaved = app->WriteProfileInt(kSection, kTagPrompt, m_bTagPrompt);
    bSaved &= app->WriteProfileInt(kSection, kFallBack, m_bFallBack);
    bSaved &= app->WriteProfileInt(kSection, kSendClose, m_bSendClose);
    bSaved &= app->WriteProfileInt(kSection, kClient, m_nClient);
    bSaved &= app->WriteProfileString(kSection, kTagText, m_strTagText);
    bSaved &= app->WriteProfileString(kSection, kWavDir, m_strWavDir);
    // Closing would take the choices back from the file, so the user would lose them unawares;
    // the dialog stays open to try again once the file is free, or to cancel.
    if (!bSaved) {
        app->DoMessageBox("The settings could not be saved in " + app->GetProfilePath() +
                              ".\n\nClose any program that holds the file and choose OK again.",
                          MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CDialog::OnOK();
}

void CBrisaView::OnOptions() {
    COptionsDlg dialog;
    dialog.DoModal();
    LoadSettings();
    OnRefresh();
}
