#include "ui/brisa_view.h"

#include "framework/framework_ids.h"
#include "framework/shell.h"
#include "framework/text.h"
#include "resource.h"
#include "rules/sound_files.h"
#include "sound/file_paths.h"
#include "ui/dcc_send_dlg.h"
#include "ui/hotkeys_dlg.h"
#include "ui/notice_box.h"
#include "ui/options_dlg.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <utility>

namespace {

constexpr int kMaxFileNameChars = 256;
constexpr UINT_PTR kClientPollTimer = 1;
// The sounds' hotkeys have the ids from 1 up, in the board's order.
constexpr int kStopHotkeyId = 0xBFFF;

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
    fw::OnCommand(ID_OPEN_SOUNDS_FOLDER, &CBrisaView::OnOpenSoundsFolder),
    fw::OnCommandCode(IDC_FILTER, EN_CHANGE, &CBrisaView::OnChangeFilter),
    fw::OnCommand(IDCANCEL, &CBrisaView::OnClearFilter),
    fw::OnCommand(IDC_HOTKEY, &CBrisaView::OnHotkeys),
};

fw::CommandMap CBrisaView::GetCommandMap() const {
    return fw::MakeCommandMap(s_commands);
}

CBrisaView::CBrisaView(fw::CWinApp& app, CClientRegistry& clients, const ViewTiming& timing)
    : CFormView(IDD_BRISA_FORM), m_pApp(&app), m_clients(clients),
      m_nClientPollMs(timing.clientPollMs), m_sounds(TextSortKey, FoldedText, SameName),
      m_folder(*this, timing.folder) {
    LoadSettings();
    m_board = soundboard::Load(m_pApp->GetProfile());
    m_player.SetVolume(m_board.volume);
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

std::vector<fw::Anchor> CBrisaView::GetAnchors() const {
    return {{IDC_FILTER, false, true, false},    {IDC_FILE_NAME, false, true, false},
            {IDC_FILE_LIST, false, true, true},  {IDC_VOLUME, true, false, false},
            {IDC_VOLUME_LABEL, true, false, false},
            {IDC_PLAY, true, false, false},      {IDC_STOP, true, false, false},
            {IDC_DELETE, true, false, false},    {IDC_HELP_BUTTON, true, false, false}};
}

// The frame is fitted around the form once: a new document leaves the size the user gave it.
void CBrisaView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    if (!std::exchange(m_bStarted, true)) {
        ResizeParentToFit();
        ::SendDlgItemMessageW(m_hWnd, IDC_FILTER, EM_SETCUEBANNER, TRUE,
                              reinterpret_cast<LPARAM>(
                                  fw::Widen(m_pApp->LoadString(IDS_FILTER_CUE)).c_str()));
        ::SendDlgItemMessageW(m_hWnd, IDC_VOLUME, TBM_SETRANGE, FALSE,
                              MAKELPARAM(0, soundboard::kFullVolume));
        ::SendDlgItemMessageW(m_hWnd, IDC_VOLUME, TBM_SETPOS, TRUE, m_board.volume);
        RegisterHotkeys();
    }
    RefreshList(0);
    FollowClient();
    ::SetTimer(m_hWnd, kClientPollTimer, m_nClientPollMs, nullptr);
}

INT_PTR CBrisaView::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kClientPollTimer) {
        FollowClient();
        return TRUE;
    }
    if (msg == WM_DROPFILES) {
        AddDroppedFiles(reinterpret_cast<HANDLE>(wParam));
        return TRUE;
    }
    if (msg == WM_HOTKEY) {
        OnHotkey(static_cast<int>(wParam));
        return TRUE;
    }
    if (msg == WM_HSCROLL && reinterpret_cast<HWND>(lParam) == GetDlgItem(IDC_VOLUME)) {
        OnVolume(LOWORD(wParam));
        return TRUE;
    }
    if (msg == WM_CONTEXTMENU && reinterpret_cast<HWND>(wParam) == m_listFiles.m_hWnd) {
        ShowContextMenu(m_listFiles.m_hWnd, lParam);
        return TRUE;
    }
    if (msg == WM_DESTROY)
        UnregisterHotkeys();
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

// Send and DCC, and the status line, follow the chosen client; the line also names another kind
// that runs.
void CBrisaView::FollowClient() {
    ClientState client;
    client.chosen = settings::ClientWindowClass(m_settings);
    client.running = ClientRuns(client.chosen);
    for (const settings::ClientKind& kind : settings::kClients) {
        if (client.otherRunning.empty() && kind.windowClass != client.chosen &&
            ClientRuns(kind.windowClass))
            client.otherRunning = kind.windowClass;
    }
    if (const MircMemory* told = client.running ? m_clients.Introduce(client.chosen) : nullptr)
        client.version = told->version;
    EnableClientButtons(client.running);
    ShowStatus(1, ClientStatus(client));
}

void CBrisaView::ShowFolderStatus(FolderState::EState state) {
    FolderState folder{state, m_sounds.Size(), m_settings.m_strWavDir, std::nullopt};
    if (m_sounds.IsFiltered())
        folder.shown = m_sounds.ShownCount();
    ShowStatus(0, FolderStatus(folder));
}

void CBrisaView::ShowHotkeyStatus() const {
    const auto hotkey = soundboard::HotkeyOf(m_board, m_strFileName, SameName);
    ShowStatus(2, hotkey ? Notice{IDS_STATUS_HOTKEY, {soundboard::Format(*hotkey)}} : Notice{});
}

void CBrisaView::ShowStatus(int part, const Notice& notice) const {
    m_pApp->GetMainFrame()->SetStatusText(
        part, fw::FormatText(m_pApp->LoadString(notice.message), notice.args));
}

void CBrisaView::RefreshList(int index) {
    m_nRefreshIndex = index;
    m_folder.Open(m_settings.m_strWavDir);
    ShowFolderStatus(FolderState::EState::Listing);
}

// A listing after a change keeps the selected file selected, and leaves the name box, where the
// user may be typing, as it is; a Refresh selects by position and shows the name.
void CBrisaView::OnListed(std::vector<SortedName> sounds) {
    const std::string selected = m_sounds.At(m_listFiles.GetCurSel()).value_or("");
    m_sounds.Assign(std::move(sounds));
    ShowSounds(selected);
    if (m_nRefreshIndex) {
        m_listFiles.SetCurSel(*std::exchange(m_nRefreshIndex, std::nullopt));
        OnSelchangeFileList();
    }
    ShowFolderStatus(FolderState::EState::Listed);
}

void CBrisaView::ShowSounds(const std::string& selected) {
    m_listFiles.Fill(m_sounds.Shown());
    m_listFiles.SetCurSel(selected.empty() ? -1 : m_sounds.IndexOf(selected));
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
    ShowFolderStatus(FolderState::EState::Listed);
}

// Names of the folder before would be played and deleted in this one.
void CBrisaView::OnUnlistable() {
    m_nRefreshIndex.reset();
    m_sounds.Assign({});
    m_listFiles.ResetContent();
    OnSelchangeFileList();
    ShowFolderStatus(FolderState::EState::Unlistable);
}

void CBrisaView::OnChangeFileName() {
    FollowTypedPrefix(m_strFileName, m_listFiles);
    ShowHotkeyStatus();
}

void CBrisaView::OnSelchangeFileList() {
    TakeSelectedEntry(m_strFileName, m_listFiles);
    ShowHotkeyStatus();
}

// Each letter typed narrows the list at once; the selected file stays selected while it shows.
void CBrisaView::OnChangeFilter() {
    const std::string selected = m_sounds.At(m_listFiles.GetCurSel()).value_or("");
    m_sounds.Filter(fw::GetWindowTextOf(GetDlgItem(IDC_FILTER)));
    ShowSounds(selected);
    ShowFolderStatus(IsListing() ? FolderState::EState::Listing : FolderState::EState::Listed);
}

// Esc anywhere in the form, as in a search box of the system's.
void CBrisaView::OnClearFilter() {
    fw::SetWindowTextOf(GetDlgItem(IDC_FILTER), "");
}

std::optional<std::string> CBrisaView::TakeSelectedPath() {
    m_strFileName = m_listFiles.GetSelectedText();
    return PathInFolder(m_settings.m_strWavDir, m_strFileName);
}

void CBrisaView::OnPlay() {
    if (TakeSelectedPath())
        PlayFile(m_strFileName);
}

void CBrisaView::PlayFile(const std::string& name) {
    const std::string path = m_settings.m_strWavDir + "\\" + name;
    if (!CanPlayAsListed(path)) {
        ShowNotice({IDS_CANNOT_PLAY, {path}});
        return;
    }
    m_player.Play(fw::Widen(path), SoundTypeOf(name).value_or(SoundType::Wave));
}

void CBrisaView::OnStop() {
    m_player.Stop();
}

void CBrisaView::OnDelete() {
    const auto path = TakeSelectedPath();
    if (!path)
        return;
    const bool hasBin = fw::HasRecycleBin(*path), recycle = GoesToRecycleBin(*path, hasBin);
    const UINT question = recycle  ? IDS_DELETE_TO_RECYCLE_BIN
                          : hasBin ? IDS_DELETE_NAME_FOR_GOOD
                                   : IDS_DELETE_FOR_GOOD;
    if (MessageBox(fw::FormatText(m_pApp->LoadString(question), {*path}),
                   m_pApp->LoadString(IDS_DELETE_QUESTION), MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    RemoveFile(*path, recycle);
    RefreshList(m_listFiles.GetCurSel());
}

// Brisa's own playback of the file would hold it open.
void CBrisaView::RemoveFile(const std::string& path, bool recycle) {
    m_player.StopIfPlaying(fw::Widen(path));
    const bool removed =
        recycle
            ? fw::MoveToRecycleBin(path)
            : ::DeleteFileW(ExactPathOf(m_settings.m_strWavDir, m_strFileName).c_str()) != FALSE;
    if (!removed)
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
    UpdateData(true);
    SendFile(m_strFileName, true);
}

// Only Send itself closes Brisa on Send: a hotkey would close the soundboard at its first use.
void CBrisaView::SendFile(const std::string& name, bool mayClose) {
    CIrcClient client(m_clients, settings::ClientWindowClass(m_settings));
    if (!client.IsPresent())
        return;
    const SendResult result = SendSound(
        client.Session(), name, m_settings,
        [this](const std::optional<std::string>& clientFolder) {
            return FolderForClient(m_settings.m_strWavDir, clientFolder);
        },
        [this](const std::string& bareName) {
            return m_sounds.CountNamed(bareName) < 2 ||
                   m_pApp->DoMessageBox(fw::FormatText(m_pApp->LoadString(IDS_NAMESAKES),
                                                       {bareName}),
                                        MB_YESNO | MB_ICONQUESTION) == IDYES;
        });
    ShowNotice(result.notice);
    if (result.closeBrisa && mayClose)
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

// For the sound chosen in the list, or named in the name box, if the folder has it. Brisa's own
// hotkeys are let go meanwhile, so that the system names only those another program holds.
void CBrisaView::OnHotkeys() {
    UpdateData(true);
    const std::string sound = m_sounds.Contains(m_strFileName) ? m_strFileName : "";
    CHotkeysDlg dialog(*m_pApp, sound, m_board,
                       [this](const std::string& name) { return m_sounds.Contains(name); });
    UnregisterHotkeys();
    if (dialog.DoModal() == IDOK)
        m_board = dialog.Board();
    RegisterHotkeys();
    ShowHotkeyStatus();
}

void CBrisaView::UnregisterHotkeys() {
    for (int id = 1; id <= m_nHotkeysRegistered; ++id)
        ::UnregisterHotKey(m_hWnd, id);
    ::UnregisterHotKey(m_hWnd, kStopHotkeyId);
    m_nHotkeysRegistered = 0;
}

// A held key sends its sound once.
void CBrisaView::RegisterHotkeys() {
    UnregisterHotkeys();
    std::string taken;
    const auto take = [&](int id, const soundboard::Hotkey& hotkey) {
        if (!::RegisterHotKey(m_hWnd, id, hotkey.modifiers | MOD_NOREPEAT, hotkey.key))
            taken += (taken.empty() ? "" : ", ") + soundboard::Format(hotkey);
    };
    for (const soundboard::Binding& binding : m_board.bindings)
        take(++m_nHotkeysRegistered, binding.hotkey);
    if (m_board.stop)
        take(kStopHotkeyId, *m_board.stop);
    if (!taken.empty())
        ShowNotice({IDS_HOTKEYS_TAKEN, {taken}});
}

// A sound the folder no longer has does nothing.
void CBrisaView::OnHotkey(int id) {
    if (id == kStopHotkeyId) {
        m_player.Stop();
        return;
    }
    if (id < 1 || id > static_cast<int>(m_board.bindings.size()))
        return;
    const std::string sound = m_board.bindings[id - 1].sound;
    if (!m_sounds.Contains(sound))
        return;
    if (IsClientPresent())
        SendFile(sound, false);
    else
        PlayFile(sound);
}

// Heard at once while the thumb moves; stored once it is let go.
void CBrisaView::OnVolume(int code) {
    m_board.volume = static_cast<int>(::SendDlgItemMessageW(m_hWnd, IDC_VOLUME, TBM_GETPOS, 0, 0));
    m_player.SetVolume(m_board.volume);
    if (code == TB_ENDTRACK)
        soundboard::SaveVolume(m_pApp->GetProfile(), m_board.volume);
}

// The entry under the mouse, or the selected one from the keyboard, is the one acted on.
void CBrisaView::ShowContextMenu(HWND list, LPARAM point) {
    POINT at = {GET_X_LPARAM(point), GET_Y_LPARAM(point)};
    if (point == -1) {
        RECT item{};
        m_listFiles.SendMessage(LB_GETITEMRECT, std::max(m_listFiles.GetCurSel(), 0),
                                reinterpret_cast<LPARAM>(&item));
        at = {item.left, item.bottom};
        ::ClientToScreen(list, &at);
    } else {
        POINT client = at;
        ::ScreenToClient(list, &client);
        const auto hit = m_listFiles.SendMessage(LB_ITEMFROMPOINT, 0, MAKELPARAM(client.x, client.y));
        if (HIWORD(hit))
            return;
        m_listFiles.SetCurSel(LOWORD(hit));
        OnSelchangeFileList();
    }
    const HMENU menus = ::LoadMenuW(fw::Module().m_hInstance, MAKEINTRESOURCEW(IDR_SOUND_MENU));
    const HMENU menu = ::GetSubMenu(menus, 0);
    const UINT client = IsClientPresent() ? MF_ENABLED : MF_GRAYED;
    ::EnableMenuItem(menu, IDC_SEND, client);
    ::EnableMenuItem(menu, IDC_DCC, client);
    ::TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, m_hWnd, nullptr);
    ::DestroyMenu(menus);
}

void CBrisaView::OnOpenSoundsFolder() {
    if (!m_pApp->OpenFolder(m_settings.m_strWavDir))
        ShowNotice({IDS_FOLDER_NOT_OPENED, {m_settings.m_strWavDir}});
}

// A file dropped from the folder itself is there already.
void CBrisaView::AddDroppedFiles(HANDLE drop) {
    const DropPlan plan = PlanDrop(fw::TakeDroppedFiles(drop));
    if (!plan.refused.empty())
        ShowNotice({IDS_DROP_REFUSED, {plan.refused}});
    for (const std::string& source : plan.sounds) {
        const std::string name = NameOf(source);
        const std::wstring target = ExactPathOf(m_settings.m_strWavDir, name);
        if (SameName(FullPath(source), FullPath(m_settings.m_strWavDir + "\\" + name)))
            continue;
        if (::GetFileAttributesW(target.c_str()) != INVALID_FILE_ATTRIBUTES &&
            m_pApp->DoMessageBox(fw::FormatText(m_pApp->LoadString(IDS_DROP_REPLACE), {name}),
                                 MB_YESNO | MB_ICONQUESTION) != IDYES)
            continue;
        if (!::CopyFileW(fw::Widen(source).c_str(), target.c_str(), FALSE))
            ShowNotice({IDS_DROP_FAILED, {name}});
    }
}
