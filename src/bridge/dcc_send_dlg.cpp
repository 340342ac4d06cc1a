#include "bridge/dcc_send_dlg.h"

#include "bridge/command_lines.h"
#include "framework/app.h"
#include "resource.h"
#include "settings/settings.h"

namespace {

constexpr int kMaxNickChars = 10;

} // namespace

const fw::CommandEntry CDccSendDlg::s_commands[] = {
    fw::OnCommand(IDC_NICK_REFRESH, &CDccSendDlg::OnRefresh),
    fw::OnCommand(IDC_DCC_SEND, &CDccSendDlg::DccSendFile),
    fw::OnCommandCode(IDC_NICK_LIST, LBN_DBLCLK, &CDccSendDlg::OnDblclkNickList),
    fw::OnCommandCode(IDC_NICK, EN_CHANGE, &CDccSendDlg::OnChangeNick),
    fw::OnCommandCode(IDC_NICK_LIST, LBN_SELCHANGE, &CDccSendDlg::OnSelchangeNickList),
};

fw::CommandMap CDccSendDlg::GetCommandMap() const {
    return fw::MakeCommandMap(s_commands);
}

CDccSendDlg::CDccSendDlg(fw::CWinApp& app, std::string strClientClass, bool bFallBack,
                         std::string strFileName, HWND parent)
    : CDialog(IDD_DCC_SEND, parent), m_strClientClass(std::move(strClientClass)),
      m_bFallBack(bFallBack), m_strFileName(std::move(strFileName)), m_pApp(&app) {}

void CDccSendDlg::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_DCC_SEND, m_btnSend);
    fw::DDX_Control(dx, IDC_NICK_LIST, m_listNicks);
    fw::DDX_Text(dx, IDC_NICK, m_strNick);
    fw::DDV_MaxChars(dx, m_strNick, kMaxNickChars);
}

BOOL CDccSendDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    ImportNickList();
    return TRUE;
}

void CDccSendDlg::ImportNickList() {
    CIrcClient client(m_strClientClass);
    if (!client.IsPresent())
        return;
    const auto nicks = client.Nicknames();
    // An active window without a list of nicknames leaves the dialog's list as it is.
    if (nicks.outcome == ClientOutcome::NoEditLine || !Succeeded(nicks.outcome))
        return;
    static constexpr UINT kEndMessages[] = {0, IDS_NICKNAMES_CUT, IDS_NICKNAMES_REFUSED,
                                            IDS_NICKNAMES_UNANSWERED};
    if (const UINT message = kEndMessages[static_cast<int>(nicks.value.end)])
        m_pApp->DoMessageBox(m_pApp->LoadString(message), MB_OK | MB_ICONINFORMATION);
    // A channel that looks empty for a moment must not wipe the names the user is choosing from.
    if (nicks.value.items.empty())
        return;
    // Drawn once when full: redrawn for every entry, a big channel would take minutes.
    m_listNicks.SetRedraw(false);
    m_listNicks.ResetContent();
    for (const std::string& entry : nicks.value.items) {
        if (!entry.empty())
            m_listNicks.AddString(NicknameFromListEntry(entry));
    }
    m_listNicks.SetRedraw(true);
    m_listNicks.SetCurSel(0);
    // Selecting by message raises no notification.
    OnSelchangeNickList();
}

void CDccSendDlg::OnSelchangeNickList() {
    // With nothing selected (a copy that added no entry) the nickname becomes empty.
    m_strNick = m_listNicks.GetSelectedText();
    UpdateData(false);
}

void CDccSendDlg::OnChangeNick() {
    UpdateData(true);
    // No notification follows, so the edit box keeps exactly what the user typed.
    m_listNicks.SelectString(-1, m_strNick);
}

void CDccSendDlg::OnRefresh() {
    ImportNickList();
    m_btnSend.EnableWindow(FindClientWindow(m_strClientClass) != nullptr);
}

void CDccSendDlg::OnDblclkNickList() {
    if (!FindClientWindow(m_strClientClass))
        return;
    m_btnSend.EnableWindow(true);
    DccSendFile();
}

void CDccSendDlg::DccSendFile() {
    CIrcClient client(m_strClientClass);
    if (!client.IsPresent())
        return;
    UpdateData(true);
    if (m_strNick.empty() || m_strFileName.empty()) {
        m_pApp->DoMessageBox(
            m_pApp->LoadString(m_strNick.empty() ? IDS_NO_NICKNAME : IDS_NO_SOUND_NAME),
            MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // Read now, not from the view: a hand edit of the profile counts from the next send.
    const std::string wavDir = settings::LoadWavDir(m_pApp->GetProfile());
    const std::string line = ComposeDccSendLine(m_strNick, wavDir, m_strFileName);
    if (!Succeeded(
            client.Type(line, false, m_bFallBack ? RaiseAfter::ActiveWindow : RaiseAfter::Nothing)))
        return;
    ::BringWindowToTop(m_hWnd);
}

bool CDccSendDlg::Succeeded(ClientOutcome outcome) const {
    return TellUnlessDone(*m_pApp, outcome, m_strClientClass);
}
