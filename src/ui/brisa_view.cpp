#include "ui/brisa_view.h"

#include "framework/framework_ids.h"
#include "framework/text.h"
#include "resource.h"
#include "rules/sound_files.h"
#include "sound/file_paths.h"
#include "ui/dcc_send_dlg.h"
#include "ui/notice_box.h"
#include "ui/options_dlg.h"

#include <utility>

namespace {

constexpr int kMaxFileNameChars = 256;
constexpr UINT_PTR kClientPollTimer = 1;

} // namespace

const fw::CommandEntry CBrisaView::s_commands[] = {
    fw::OnCommand(IDC_PLAY, &CBrisaView::OnPlay),
    fw::OnCommand(IDC_DELETE, &CBrisaView::OnDelete),
    fw::OnCommand(IDC_OPTIONS, &CBrisaView::OnOptions),
    fw::OnCommand(IDC_SEND, &CBrisaView::OnSend),
    fw::OnCommand(IDC_STOP, &CBrisaView::OnStop),
    fw::OnCommandCode(IDC_FILE_LIST, LBN_DBLCLK, &CBrisaView::OnDblclkFileList),
    fw::OnCommandCode(IDC_FILE_LIST, LBN_SELCHANGE, &CBrisaView::OnSelchangeFileList),
    fw::OnCommandCode(IDC_FILE_NAME, EN_CHANGE, &CBrisaView::OnChangeFileName),
    fw::OnCommand(IDC_REFRESH, &CBrisaView::OnRefresh),
    fw::OnCommand(IDC_DCC, &CBrisaView::OnDcc),
    fw::OnCommand(IDC_HELP_BUTTON, &CBrisaView::OnHelpButton),
};

fw::CommandMap CBrisaView::GetCommandMap() const {
    return fw::MakeCommandMap(s_commands);
}

CBrisaView::CBrisaView(fw::CWinApp& app, CClientRegistry& clients, const ViewTiming& timing)
    : CFormView(IDD_BRISA_FORM), m_pApp(&app), m_clients(clients),
      m_nClientPollMs(timing.clientPollMs), m_sounds(ListSortKey, SameName),
      m_folder(*this, timing.folder) {
    LoadSettings();
}

void CBrisaView::LoadSettings() {
    m_settings = settings::Load(m_pApp->GetProfile(), settings::kDefaultSendTagText);
}

void CBrisaView::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_FILE_LIST, m_listFiles);
    fw::DDX_Control(dx, IDC_SEND, m_btnSend);
    fw::DDX_Control(dx, IDC_DCC, m_btnDcc);
    fw::DDX_Text(dx, IDC_FILE_NAME, m_strFileName);
    fw::DDV_MaxChars(dx, m_strFileName, kMaxFileNameChars);
}

void CBrisaView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    ResizeParentToFit(false);
    ResizeParentToFit(true);
    RefreshList(0);
    if (IsClientPresent())
        EnableClientButtons(true);
    ::SetTimer(m_hWnd, kClientPollTimer, m_nClientPollMs, nullptr);
}

INT_PTR CBrisaView::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kClientPollTimer) {
        EnableClientButtons(IsClientPresent());
        return TRUE;
    }
    if (msg == WM_SETCURSOR && IsListing()) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
        ::SetWindowLongPtrW(m_hWnd, DWLP_MSGRESULT, TRUE);
        return TRUE;
    }
    return CFormView::DialogProc(msg, wParam, lParam);
}

bool CBrisaView::IsClientPresent() const {
    return ClientRuns(settings::ClientWindowClass(m_settings));
}

void CBrisaView::EnableClientButtons(bool enable) const {
    m_btnSend.EnableWindow(enable);
    m_btnDcc.EnableWindow(enable);
}

void CBrisaView::RefreshList(int index) {
    m_nRefreshIndex = index;
    m_folder.Open(m_settings.m_strWavDir);
}

// A listing after a change keeps the selected file selected, and leaves the name box, where the
// user may be typing, as it is; a Refresh selects by position and shows the name.
void CBrisaView::OnListed(std::vector<SortedName> sounds) {
    const std::string selected = m_sounds.At(m_listFiles.GetCurSel()).value_or("");
    m_sounds.Assign(std::move(sounds));
    std::vector<std::string> names;
    names.reserve(m_sounds.Entries().size());
    for (const SortedName& entry : m_sounds.Entries())
        names.push_back(entry.name);
    m_listFiles.Fill(names);
    if (m_nRefreshIndex) {
        m_listFiles.SetCurSel(*std::exchange(m_nRefreshIndex, std::nullopt));
        OnSelchangeFileList();
    } else {
        m_listFiles.SetCurSel(selected.empty() ? -1 : m_sounds.IndexOf(selected));
    }
}

void CBrisaView::OnChanged(const std::vector<FolderChange>& changes) {
    const std::string selected = m_sounds.At(m_listFiles.GetCurSel()).value_or("");
    m_listFiles.SetRedraw(false);
    for (const FolderChange& change : changes) {
        const int index = m_sounds.Apply(change);
        if (index >= 0 && change.added)
            m_listFiles.InsertString(index, change.name);
        else if (index >= 0)
            m_listFiles.SendMessage(LB_DELETESTRING, index);
    }
    m_listFiles.SetRedraw(true);
    m_listFiles.SetCurSel(selected.empty() ? -1 : m_sounds.IndexOf(selected));
}

// Names of the folder before would be played and deleted in this one.
void CBrisaView::OnUnlistable() {
    m_nRefreshIndex.reset();
    m_sounds.Assign({});
    m_listFiles.ResetContent();
    OnSelchangeFileList();
}

void CBrisaView::OnChangeFileName() {
    FollowTypedPrefix(m_strFileName, m_listFiles);
}

void CBrisaView::OnSelchangeFileList() {
    TakeSelectedEntry(m_strFileName, m_listFiles);
}

std::optional<std::string> CBrisaView::TakeSelectedPath() {
    m_strFileName = m_listFiles.GetSelectedText();
    return PathInFolder(m_settings.m_strWavDir, m_strFileName);
}

void CBrisaView::OnPlay() {
    const auto path = TakeSelectedPath();
    if (!path)
        return;
    if (!CanPlayAsListed(*path)) {
        ShowNotice({IDS_CANNOT_PLAY, *path});
        return;
    }
    m_player.Play(fw::Widen(*path), SoundTypeOf(m_strFileName).value_or(SoundType::Wave));
}

void CBrisaView::OnStop() {
    m_player.Stop();
}

void CBrisaView::OnDelete() {
    const auto path = TakeSelectedPath();
    if (!path || MessageBox(*path, m_pApp->LoadString(IDS_DELETE_QUESTION),
                            MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    RemoveFile(*path);
    RefreshList(m_listFiles.GetCurSel());
}

// Brisa's own playback of the file would hold it open.
void CBrisaView::RemoveFile(const std::string& path) {
    m_player.StopIfPlaying(fw::Widen(path));
    if (!::DeleteFileW(ExactPathOf(m_settings.m_strWavDir, m_strFileName).c_str()))
        MessageBox(fw::FormatText(m_pApp->LoadString(IDS_REMOVE_FAILED), {path}),
                   m_pApp->LoadString(IDS_REMOVE_FAILED_CAPTION), MB_ICONEXCLAMATION);
}

void CBrisaView::OnDblclkFileList() {
    if (!IsClientPresent()) {
        OnPlay();
        return;
    }
    EnableClientButtons(true);
    OnSend();
}

void CBrisaView::OnRefresh() {
    RefreshList(m_listFiles.GetCurSel());
    EnableClientButtons(IsClientPresent());
}

void CBrisaView::OnHelpButton() {
    m_pApp->WinHelp(HID_BASE_COMMAND + IDC_HELP_BUTTON);
}

void CBrisaView::OnSend() {
    CIrcClient client(m_clients, settings::ClientWindowClass(m_settings));
    if (!client.IsPresent())
        return;
    UpdateData(true);
    const SendResult result =
        SendSound(client.Session(), m_strFileName, m_settings,
                  [this](const std::optional<std::string>& clientFolder) {
                      return FolderForClient(m_settings.m_strWavDir, clientFolder);
                  });
    ShowNotice(result.notice);
    if (result.closeBrisa)
        ::PostMessageW(m_pApp->GetMainWindow(), WM_CLOSE, 0, 0);
}

void CBrisaView::OnOptions() {
    COptionsDlg dialog(*m_pApp);
    dialog.DoModal();
    LoadSettings();
    OnRefresh();
}

void CBrisaView::OnDcc() {
    CDccSendDlg dialog(*m_pApp, m_clients, m_settings, m_strFileName);
    dialog.DoModal();
    LoadSettings();
    OnRefresh();
}
