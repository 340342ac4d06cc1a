#include "view/brisa_view.h"

#include "bridge/command_lines.h"
#include "bridge/dcc_send_dlg.h"
#include "framework/app.h"
#include "framework/framework_ids.h"
#include "framework/text.h"
#include "resource.h"
#include "settings/options_dlg.h"
#include "view/file_paths.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kMaxFileNameChars = 256;
// Folders were once listed by a pattern "<folder>\*.WAV" in a buffer of this many characters, its
// end included: a folder too long for it is not listed.
constexpr std::size_t kListSpecChars = 256;
constexpr std::size_t kListSpecTailChars = 6; // "\*.WAV"

// Timers of the form. The client's presence, and whether the folder is still there, are looked at
// once a second; the folder is listed again once its changes pause, or a second after the first,
// so that a burst costs one listing.
constexpr UINT_PTR kEverySecondTimer = 1;
constexpr UINT_PTR kFollowFolderTimer = 2;
constexpr UINT kEverySecondMs = 1000;
constexpr ULONGLONG kFolderQuietMs = 250;
constexpr ULONGLONG kFolderLatestMs = 900;

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

CBrisaView::CBrisaView(fw::CWinApp& app) : CFormView(IDD_BRISA_FORM), m_pApp(&app) {
    LoadSettings();
}

void CBrisaView::LoadSettings() {
    m_settings = settings::Load(m_pApp->GetProfile(), settings::kDefaultSendTagText);
    m_strClientClass = settings::ClientWindowClass(m_settings);
}

void CBrisaView::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_FILE_LIST, m_listFiles);
    fw::DDX_Control(dx, IDC_SEND, m_btnSend);
    fw::DDX_Control(dx, IDC_DCC, m_btnDcc);
    fw::DDX_Text(dx, IDC_FILE_NAME, m_strFileName);
    fw::DDV_MaxChars(dx, m_strFileName, kMaxFileNameChars);
}

CBrisaView::~CBrisaView() {
    StopWatchingFolder();
}

void CBrisaView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    ResizeParentToFit(false);
    ResizeParentToFit(true);
    RefreshList(0);
    if (IsClientPresent())
        EnableClientButtons(true);
    ::SetTimer(m_hWnd, kEverySecondTimer, kEverySecondMs, nullptr);
}

INT_PTR CBrisaView::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kEverySecondTimer) {
        EnableClientButtons(IsClientPresent());
        // Not every system signals a watched folder that goes away.
        if (m_hFolderChange && ::GetFileAttributesW(fw::Widen(m_settings.m_strWavDir).c_str()) ==
                                   INVALID_FILE_ATTRIBUTES)
            FollowFolder();
        return TRUE;
    }
    if (msg == WM_TIMER && wParam == kFollowFolderTimer) {
        ::KillTimer(m_hWnd, kFollowFolderTimer);
        m_nFolderChangedSince = 0;
        FollowFolder();
        return TRUE;
    }
    if (msg == WM_DESTROY)
        StopWatchingFolder();
    return CFormView::DialogProc(msg, wParam, lParam);
}

bool CBrisaView::IsClientPresent() const {
    return FindClientWindow(m_strClientClass) != nullptr;
}

void CBrisaView::EnableClientButtons(bool enable) const {
    m_btnSend.EnableWindow(enable);
    m_btnDcc.EnableWindow(enable);
}

bool CBrisaView::ListFolder() {
    const std::wstring folder = fw::Widen(m_settings.m_strWavDir);
    if (folder.size() + kListSpecTailChars >= kListSpecChars)
        return false;
    WIN32_FIND_DATAW found;
    const HANDLE search =
        ::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    std::vector<std::wstring> names;
    std::size_t characters = 0;
    // As the system's own directory listing shows them: no folder, hidden or system file.
    constexpr DWORD kUnlisted =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        if (!(found.dwFileAttributes & kUnlisted) && SoundTypeOf(fw::Narrow(found.cFileName))) {
            names.emplace_back(found.cFileName);
            characters += names.back().size() + 1;
        }
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    // Drawn once when full: redrawn for every entry, a big folder would take minutes.
    m_listFiles.SetRedraw(false);
    m_listFiles.ResetContent();
    m_listFiles.SendMessage(LB_INITSTORAGE, names.size(), characters * sizeof(wchar_t));
    for (const std::wstring& name : names)
        m_listFiles.SendMessage(LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    m_listFiles.SetRedraw(true);
    return true;
}

void CBrisaView::RefreshList(int index) {
    const HCURSOR previousCursor = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    // A folder that cannot be listed leaves the list empty: names of the folder before would be
    // played and deleted in this one.
    if (!ListFolder())
        m_listFiles.ResetContent();
    WatchFolder();
    m_listFiles.SetCurSel(index);
    OnSelchangeFileList();
    ::SetCursor(previousCursor);
}

// Some folders cannot be watched (some network shares): they are simply not followed.
void CBrisaView::WatchFolder() {
    StopWatchingFolder();
    const HANDLE change = ::FindFirstChangeNotificationW(fw::Widen(m_settings.m_strWavDir).c_str(),
                                                         FALSE, FILE_NOTIFY_CHANGE_FILE_NAME);
    if (change == INVALID_HANDLE_VALUE)
        return;
    m_hFolderChange = change;
    m_pApp->Watch(change, *this);
}

void CBrisaView::StopWatchingFolder() {
    if (!m_hFolderChange)
        return;
    m_pApp->StopWatching(m_hFolderChange);
    ::FindCloseChangeNotification(m_hFolderChange);
    m_hFolderChange = nullptr;
}

void CBrisaView::OnSignalled() {
    // A folder that went away can no longer be watched: its listing below finds it gone.
    if (!::FindNextChangeNotification(m_hFolderChange))
        StopWatchingFolder();
    const ULONGLONG now = ::GetTickCount64();
    if (!m_nFolderChangedSince)
        m_nFolderChangedSince = now;
    const ULONGLONG latest = m_nFolderChangedSince + kFolderLatestMs;
    const ULONGLONG wait = latest > now ? std::min(kFolderQuietMs, latest - now) : 0;
    ::SetTimer(m_hWnd, kFollowFolderTimer, static_cast<UINT>(wait), nullptr);
}

// Keeps the selected file selected, and leaves the name box, where the user may be typing, as it
// is; a folder that went away empties both, as one that cannot be listed does.
void CBrisaView::FollowFolder() {
    const std::string selected = m_listFiles.GetSelectedText();
    if (!ListFolder()) {
        StopWatchingFolder();
        m_listFiles.ResetContent();
        OnSelchangeFileList();
        return;
    }
    m_listFiles.SetCurSel(selected.empty() ? -1 : m_listFiles.FindStringExact(selected));
}

void CBrisaView::OnChangeFileName() {
    UpdateData(true);
    m_listFiles.SelectString(-1, m_strFileName);
}

void CBrisaView::OnSelchangeFileList() {
    m_strFileName = m_listFiles.GetSelectedText();
    UpdateData(false);
}

std::optional<std::string> CBrisaView::TakeSelectedPath() {
    m_strFileName = m_listFiles.GetSelectedText(); // with none selected, ""
    // With no name, the path would be the folder's: nothing to act on.
    if (m_strFileName.empty())
        return std::nullopt;
    return m_settings.m_strWavDir + "\\" + m_strFileName;
}

void CBrisaView::OnPlay() {
    const auto path = TakeSelectedPath();
    if (!path)
        return;
    if (!CanPlayAsListed(*path)) {
        m_pApp->DoMessageBox(fw::FormatText(m_pApp->LoadString(IDS_CANNOT_PLAY), {*path}),
                             MB_OK | MB_ICONEXCLAMATION);
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

void CBrisaView::RemoveFile(const std::string& path) {
    if (!::DeleteFileW(ExactPath(m_settings.m_strWavDir, m_strFileName).c_str()))
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

bool CBrisaView::Succeeded(ClientOutcome outcome) const {
    return TellUnlessDone(*m_pApp, outcome, m_strClientClass);
}

void CBrisaView::OnHelpButton() {
    m_pApp->WinHelp(HID_BASE_COMMAND + IDC_HELP_BUTTON);
}

void CBrisaView::OnSend() {
    CIrcClient client(m_strClientClass);
    if (!client.IsPresent())
        return;
    const auto title = client.ActiveWindowName();
    UpdateData(true);
    if (!Succeeded(title.outcome))
        return;
    if (m_strFileName.empty()) {
        m_pApp->DoMessageBox(m_pApp->LoadString(IDS_NO_SOUND_NAME), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // A title cut before its first space may hold only part of the channel's name.
    const bool nameCut = title.value.cut && title.value.text.find(' ') == std::string::npos;
    const auto channel = nameCut ? std::nullopt : ChannelFromTitle(title.value.text);
    if (!channel) {
        m_pApp->DoMessageBox(m_pApp->LoadString(IDS_CHANNEL_NOT_ACTIVE),
                             MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const auto clientFolder =
        client.SoundsFolder(ClientSoundKind(SoundTypeOf(m_strFileName).value_or(SoundType::Wave)));
    if (!Succeeded(clientFolder.outcome))
        return;
    const bool prompt = settings::PromptsForTag(m_settings);
    const std::string line =
        ComposeSoundLine(*channel, m_strFileName, m_settings.m_strTagText, prompt,
                         FolderForClient(m_settings.m_strWavDir, clientFolder.value));
    const bool raise = prompt || settings::FallsBack(m_settings);
    if (!Succeeded(client.Type(line, prompt, raise ? RaiseAfter::MainWindow : RaiseAfter::Nothing)))
        return;
    if (settings::ClosesOnSend(m_settings))
        ::PostMessageW(m_pApp->GetMainWindow(), WM_CLOSE, 0, 0);
}

void CBrisaView::OnOptions() {
    COptionsDlg dialog(*m_pApp);
    dialog.DoModal();
    LoadSettings();
    OnRefresh();
}

void CBrisaView::OnDcc() {
    CDccSendDlg dialog(*m_pApp, m_strClientClass, settings::FallsBack(m_settings), m_strFileName);
    dialog.DoModal();
    LoadSettings();
    OnRefresh();
}
