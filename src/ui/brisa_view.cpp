#include "ui/brisa_view.h"

#include "framework/framework_ids.h"
#include "framework/shell.h"
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
    fw::OnCommand(ID_OPEN_SOUNDS_FOLDER, &CBrisaView::OnOpenSoundsFolder),
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

std::vector<fw::Anchor> CBrisaView::GetAnchors() const {
    return {{IDC_FILE_NAME, false, true, false}, {IDC_FILE_LIST, false, true, true},
            {IDC_PLAY, true, false, false},      {IDC_STOP, true, false, false},
            {IDC_DELETE, true, false, false},    {IDC_HELP_BUTTON, true, false, false}};
}

// The frame is fitted around the form once: a new document leaves the size the user gave it.
void CBrisaView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    if (!std::exchange(m_bFitted, true)) {
        ResizeParentToFit(false);
        ResizeParentToFit(true);
    }
    RefreshList(0);
    if (IsClientPresent())
        EnableClientButtons(true);
    FollowClient();
    ::SetTimer(m_hWnd, kClientPollTimer, m_nClientPollMs, nullptr);
}

INT_PTR CBrisaView::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_TIMER && wParam == kClientPollTimer) {
        EnableClientButtons(IsClientPresent());
        FollowClient();
        return TRUE;
    }
    if (msg == WM_DROPFILES) {
        AddDroppedFiles(reinterpret_cast<HANDLE>(wParam));
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
        client.version = told->version, client.active = told->active;
    ShowStatus(1, ClientStatus(client));
}

void CBrisaView::ShowFolderStatus(FolderState::EState state) {
    ShowStatus(0, FolderStatus({state, m_sounds.Entries().size(), m_settings.m_strWavDir}));
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
    ShowFolderStatus(FolderState::EState::Listed);
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
        ShowNotice({IDS_CANNOT_PLAY, {*path}});
        return;
    }
    m_player.Play(fw::Widen(*path), SoundTypeOf(m_strFileName).value_or(SoundType::Wave));
}

void CBrisaView::OnStop() {
    m_player.Stop();
}

void CBrisaView::OnDelete() {
    const auto path = TakeSelectedPath();
    if (!path)
        return;
    const bool recycle = GoesToRecycleBin(*path, fw::HasRecycleBin(*path));
    const UINT question = recycle ? IDS_DELETE_TO_RECYCLE_BIN : IDS_DELETE_FOR_GOOD;
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
