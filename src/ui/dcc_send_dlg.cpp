#include "ui/dcc_send_dlg.h"

#include "framework/app.h"
#include "resource.h"
#include "rules/commands.h"
#include "ui/notice_box.h"

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

CDccSendDlg::CDccSendDlg(fw::CWinApp& app, CClientRegistry& clients,
                         const settings::Settings& settings, std::string strFileName, HWND parent)
    : CDialog(IDD_DCC_SEND, parent), m_settings(settings), m_strFileName(std::move(strFileName)),
      m_pApp(&app), m_clients(clients) {}

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

bool CDccSendDlg::IsClientPresent() const {
    return ClientRuns(settings::ClientWindowClass(m_settings));
}

void CDccSendDlg::ImportNickList() {
    CIrcClient client(m_clients, settings::ClientWindowClass(m_settings));
    if (!client.IsPresent())
        return;
    const NickCopy copy = CopyNicknames(client.Session(), settings::ClientWindowClass(m_settings));
    ShowNotice(copy.notice);
    if (!copy.nicks)
        return;
    m_listNicks.Fill(*copy.nicks);
    m_listNicks.SetCurSel(0);
    // Selecting by message raises no notification.
    OnSelchangeNickList();
}

// With nothing selected (a copy that added no entry) the nickname becomes empty.
void CDccSendDlg::OnSelchangeNickList() {
    TakeSelectedEntry(m_strNick, m_listNicks);
}

void CDccSendDlg::OnChangeNick() {
    FollowTypedPrefix(m_strNick, m_listNicks);
}

void CDccSendDlg::OnRefresh() {
    ImportNickList();
    m_btnSend.EnableWindow(IsClientPresent());
}

void CDccSendDlg::OnDblclkNickList() {
    if (!IsClientPresent())
        return;
    m_btnSend.EnableWindow(true);
    DccSendFile();
}

// The WAV directory is read now, not taken from the view: a hand edit of the profile counts from
// the next send.
void CDccSendDlg::DccSendFile() {
    CIrcClient client(m_clients, settings::ClientWindowClass(m_settings));
    if (!client.IsPresent())
        return;
    UpdateData(true);
    settings::Settings now = m_settings;
    now.m_strWavDir = settings::LoadWavDir(m_pApp->GetProfile());
    const OfferResult result = OfferFile(client.Session(), m_strNick, m_strFileName, now);
    ShowNotice(result.notice);
    if (result.typed)
        ::BringWindowToTop(m_hWnd);
}
