#include "view/brisa_view.h"

#include "bridge/command_lines.h"
#include "bridge/dcc_send_dlg.h"
#include "framework/app.h"
#include "framework/framework_ids.h"
#include "framework/system_function.h"
#include "framework/text.h"
#include "resource.h"
#include "settings/options_dlg.h"

#include <mmsystem.h>

#include <iterator>

namespace {

constexpr int kMaxFileNameChars = 256;
// The listing call takes its path pattern in a buffer of this many characters, its end included.
constexpr std::size_t kListSpecChars = 256;
constexpr char kFilter[] = "*.WAV";

// The sound functions are loaded at the first Play or Stop: loaded with the program, they would
// bring the audio stack into every start-up.
void PlaySoundFile(const wchar_t* path) {
    using SndPlaySound = BOOL(WINAPI*)(LPCWSTR, UINT);
    static const auto sndPlaySound =
        fw::LoadSystemFunction<SndPlaySound>(L"winmm.dll", "sndPlaySoundW");
    if (sndPlaySound)
        sndPlaySound(path, SND_ASYNC);
}

// The path that names exactly the listed file. Windows' name normalisation drops a trailing space
// or dot, so "ding.wav " would otherwise reach "ding.wav"; a \\?\ path is taken as it is.
std::wstring ExactPath(const std::string& folder, const std::string& name) {
    const std::wstring wideFolder = fw::Widen(folder);
    const DWORD size = ::GetFullPathNameW(wideFolder.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    full.resize(size ? ::GetFullPathNameW(wideFolder.c_str(), size, &full[0], nullptr) : 0);
    if (full.compare(0, 4, L"\\\\?\\") != 0)
        full =
            full.compare(0, 2, L"\\\\") == 0 ? L"\\\\?\\UNC" + full.substr(1) : L"\\\\?\\" + full;
    if (full.back() != L'\\')
        full += L'\\';
    return full + fw::Widen(name);
}

// The sound functions take no \\?\ path: a name that normalisation would change, or a path too
// long for them, cannot be played as listed.
bool CanPlayAsListed(const std::string& path) {
    const char last = path.back();
    return last != ' ' && last != '.' && fw::Widen(path).size() < MAX_PATH;
}

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

void CBrisaView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    ResizeParentToFit(false);
    ResizeParentToFit(true);
    RefreshList(0);
    if (IsClientPresent())
        EnableClientButtons(true);
}

bool CBrisaView::IsClientPresent() const {
    return FindClientWindow(m_strClientClass) != nullptr;
}

void CBrisaView::EnableClientButtons(bool enable) const {
    m_btnSend.EnableWindow(enable);
    m_btnDcc.EnableWindow(enable);
}

void CBrisaView::RefreshList(int index) {
    // A folder that cannot be listed, or whose pattern is too long for the listing, leaves the
    // list empty: names of the folder before would be played and deleted in this one.
    wchar_t listSpec[kListSpecChars] = {};
    bool listed = false;
    const std::wstring wanted = fw::Widen(m_settings.m_strWavDir + "\\" + kFilter);
    const HCURSOR previousCursor = ::SetCursor(::LoadCursorW(nullptr, IDC_WAIT));
    if (wanted.size() < std::size(listSpec)) {
        wanted.copy(listSpec, wanted.size());
        // The listing moves the current directory into the listed one; a relative WAV
        // directory must keep meaning the same folder afterwards.
        const DWORD size = ::GetCurrentDirectoryW(0, nullptr);
        std::wstring currentFolder(size, L'\0');
        if (size)
            currentFolder.resize(::GetCurrentDirectoryW(size, &currentFolder[0]));
        // Drawn once when full: redrawn for every entry, a big folder would take minutes.
        m_listFiles.SetRedraw(false);
        listed = ::DlgDirListW(m_hWnd, listSpec, IDC_FILE_LIST, 0, DDL_READONLY) != 0;
        m_listFiles.SetRedraw(true);
        ::SetCurrentDirectoryW(currentFolder.c_str());
    }
    if (!listed)
        m_listFiles.ResetContent();
    m_listFiles.SetCurSel(index);
    OnSelchangeFileList();
    ::SetCursor(previousCursor);
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
    PlaySoundFile(fw::Widen(*path).c_str());
}

void CBrisaView::OnStop() {
    PlaySoundFile(nullptr); // stops the sound playing
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
    const bool prompt = settings::PromptsForTag(m_settings);
    const std::string line =
        ComposeSoundLine(*channel, m_strFileName, m_settings.m_strTagText, prompt);
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
