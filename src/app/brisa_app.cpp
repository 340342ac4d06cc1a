#include "app/brisa_app.h"

#include "app/about_dlg.h"
#include "app/brisa_doc.h"
#include "app/main_frame.h"
#include "framework/framework_ids.h"
#include "framework/text.h"
#include "resource.h"

#include <iterator>

namespace {

// Which help topic each help context opens. Topics appear in the help index in the order of
// their first entry here.
constexpr fw::HelpContext kHelpContexts[] = {
    {HID_BASE_COMMAND + ID_HELP_INDEX, IDH_INDEX},

    {HID_BASE_COMMAND + IDC_HELP_BUTTON, IDH_MAIN_WINDOW},
    {HID_BASE_RESOURCE + IDR_MAINFRAME, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_FILE_NAME, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_FILE_LIST, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_PLAY, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_STOP, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_DELETE, IDH_MAIN_WINDOW},
    {HID_BASE_COMMAND + IDC_REFRESH, IDH_MAIN_WINDOW},

    {HID_BASE_COMMAND + IDC_SEND, IDH_ANNOUNCING},

    {HID_BASE_RESOURCE + IDD_OPTIONS, IDH_OPTIONS},
    {HID_BASE_COMMAND + IDC_OPTIONS, IDH_OPTIONS},

    {HID_BASE_RESOURCE + IDD_DCC_SEND, IDH_DCC_SEND},
    {HID_BASE_COMMAND + IDC_DCC, IDH_DCC_SEND},

    {HID_BASE_RESOURCE + IDD_HOTKEYS, IDH_SOUNDBOARD},
    {HID_BASE_COMMAND + IDC_HOTKEY, IDH_SOUNDBOARD},
    {HID_BASE_COMMAND + IDC_FILTER, IDH_SOUNDBOARD},
    {HID_BASE_COMMAND + IDC_VOLUME, IDH_SOUNDBOARD},

    // No window asks for these two; they are here so that the index lists them.
    {HID_BASE_RESOURCE + IDH_SETTINGS_FILE, IDH_SETTINGS_FILE},
    {HID_BASE_RESOURCE + IDH_FINDING_CLIENT, IDH_FINDING_CLIENT},

    {HID_BASE_RESOURCE + IDD_ABOUTBOX, IDH_MENUS_KEYS},
};

constexpr fw::HelpBook kHelpBook = {IDH_INDEX, kHelpContexts, std::size(kHelpContexts)};

} // namespace

const fw::CommandEntry CBrisaApp::s_commands[] = {
    fw::OnCommand(ID_APP_ABOUT, &CBrisaApp::OnAppAbout),
    fw::OnCommand(ID_HELP_INDEX, &CBrisaApp::OnHelpIndex),
};

fw::CommandMap CBrisaApp::GetCommandMap() const {
    return fw::MakeCommandMap(s_commands);
}

bool CBrisaApp::InitInstance() {
    if (!m_instance.Claim(GetProfile().GetPath()))
        return false;
    AddDocTemplate(std::make_unique<fw::CSingleDocTemplate>(
        IDR_MAINFRAME,
        []() -> std::unique_ptr<fw::CDocument> { return std::make_unique<CBrisaDoc>(); },
        [this]() -> std::unique_ptr<fw::CFrameWnd> {
            return std::make_unique<CMainFrame>(GetProfile());
        },
        [this]() -> std::unique_ptr<fw::CFormView> {
            return std::make_unique<CBrisaView>(*this, m_clients, m_timing);
        }));
    if (!ProcessShellCommand())
        return false;
    m_instance.Announce(GetMainWindow());
    return true;
}

std::string CBrisaApp::LocateProfile() const {
    const fw::CProfile::Location location = fw::CProfile::Locate(ModulePath());
    // Earlier versions kept their settings in the Windows directory, which a normal user cannot
    // write on current Windows. They move over on the first start ever; a user who deletes the
    // file later starts afresh.
    wchar_t windowsFolder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryW(windowsFolder, MAX_PATH);
    if (location.newFolder && length > 0 && length < MAX_PATH) {
        const std::string fileName = location.path.substr(location.path.find_last_of('\\'));
        ::CopyFileW(fw::Widen(fw::Narrow(windowsFolder) + fileName).c_str(),
                    fw::Widen(location.path).c_str(), TRUE);
    }
    return location.path;
}

const fw::HelpBook& CBrisaApp::GetHelpBook() const {
    return kHelpBook;
}

void CBrisaApp::OnAppAbout() {
    CAboutDlg about;
    about.DoModal();
}

void CBrisaApp::OnHelpIndex() {
    WinHelp(HID_BASE_COMMAND + ID_HELP_INDEX);
}
