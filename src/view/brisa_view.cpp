#include "view/brisa_view.h"

#include "framework/app.h"
#include "bridge/irc_client.h"
#include "bridge/command_lines.h"
#include "bridge/dcc_send_dlg.h"
#include "framework/framework_ids.h"
#include "framework/system_function.h"
#include "framework/text.h"
#include "resource.h"
#include "settings/options_dlg.h"

#include <mmsystem.h>

#include <iterator>

namespace {

constexpr char kChannelNameNotInCodePageMessage[] =
    "The channel's name has characters that this version of Windows cannot give Brisa. Nothing "
    "was typed; Windows 10 version 1903 or later passes every name.";

// The sound functions are loaded at the first Play or Stop: loaded with the program, they would
// bring the audio stack into every start-up.
void PlaySoundFile(const char* path) {
    using SndPlaySound = BOOL(WINAPI*)(LPCSTR, UINT);
    static const auto sndPlaySound =
        fw::LoadSystemFunction<SndPlaySound>("winmm.dll", "sndPlaySoundA");
    if (sndPlaySound)
        sndPlaySound(path, SND_ASYNC);
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
    m_settings = settings::Load(m_pApp->GetProfile(), settings::Reader::View);
    const auto classStringId = settings::ClientClassStringId(m_settings);
    m_strClientClass = classStringId ? m_pApp->LoadString(*classStringId) : std::string();
}

void CBrisaView::DoDataExchange(fw::CDataExchange& dx) {
    fw::DDX_Control(dx, IDC_FILE_LIST, m_listFiles);
    fw::DDX_Control(dx, IDC_SEND, m_btnSend);
    fw::DDX_Control(dx, IDC_DCC, m_btnDcc);
    fw::DDX_Text(dx, IDC_FILE_NAME, m_strFileName);
    fw::DDV_MaxChars(dx, m_strFileName, 256);
}

void CBrisaView::OnInitialUpdate() {
    CFormView::OnInitialUpdate();
    ResizeParentToFit(false);
    ResizeParentToFit(true);
    RefreshList(0);
    UpdateClientButtons(false);
}

bool CBrisaView::UpdateClientButtons(bool disableWhenAbsent) {
    const bool present = FindClientWindow(m_strClientClass) != nullptr;
    if (present || disableWhenAbsent) {
        m_btnSend.EnableWindow(present);
        m_btnDcc.EnableWindow(present);
    }
    return present;
}

void CBrisaView::RefreshList(int index) {
    // The listing call takes its path pattern in a buffer of 256 characters. A folder that cannot
    // be listed, or whose pattern is longer, leaves the list empty: names of the folder before
    // would be played and deleted in this one.
    wchar_t listSpec[256] = {};
    bool listed = false;
    const std::wstring wanted = fw::Widen(m_settings.m_strWavDir + "\\" + m_strFilter);
    const HCURSOR previousCursor = ::SetCursor(::LoadCursorA(nullptr, IDC_WAIT));
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
        // Wide, so that older Windows lists a name its code page lacks with '?', not with a
        // look-alike that could name another file.
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
    if (const auto path = TakeSelectedPath())
        PlaySoundFile(path->c_str());
}

void CBrisaView::OnStop() {
    PlaySoundFile(nullptr); // stops the sound playing
}

void CBrisaView::OnDelete() {
    const auto path = TakeSelectedPath();
    if (!path || MessageBox(*path, "Delete This File?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    RemoveFile(*path);
    RefreshList(m_listFiles.GetCurSel());
}

void CBrisaView::RemoveFile(const std::string& path) {
    if (!::DeleteFileA(path.c_str()))
        MessageBox("Unable to Remove File : " + path, "Error Removing File", MB_ICONEXCLAMATION);
}

void CBrisaView::OnDblclkFileList() {
    if (UpdateClientButtons(false))
        OnSend();
    else
        OnPlay();
}

void CBrisaView::OnRefresh() {
    RefreshList(m_listFiles.GetCurSel());
    UpdateClientButtons(true);
}

void CBrisaView::OnHelpButton() {
    m_pApp->WinHelp(HID_BASE_COMMAND + IDC_HELP_BUTTON);
}

void CBrisaView::OnSend() {
    CIrcClient client(m_strClientClass, false);
    if (!client.IsPresent())
        return;
    const auto title = client.ActiveWindowName();
    UpdateData(true);
    if (!title) {
        client.Report(client.Reachable());
        return;
    }
    // A title cut before its first space may hold only part of the channel's name.
    const bool nameCut = title->cut && title->text.find(' ') == std::string::npos;
    const auto channel = nameCut ? std::nullopt : ChannelFromTitle(title->text);
    if (!channel) {
        m_pApp->DoMessageBox(kChannelNotActiveMessage, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    // A '?' in the name could name another channel.
    if (!title->StartsExactlyWith(*channel)) {
        m_pApp->DoMessageBox(kChannelNameNotInCodePageMessage, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    const bool prompt = settings::PromptsForTag(m_settings);
    if (prompt)
        m_settings.m_strTagText = kPromptTagTemplate;
    const std::string line =
        ComposeSoundLine(*channel, m_strFileName, m_settings.m_strTagText, prompt);
    const ClientOutcome typed =
        client.Type(line, prompt, client.TopLevel(), settings::FallsBack(m_settings));
    if (typed != ClientOutcome::Done) {
        client.Report(typed);
        return;
    }
    if (settings::ClosesOnSend(m_settings))
        ::PostMessageA(m_pApp->GetMainWindow(), WM_CLOSE, 0, 0);
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
