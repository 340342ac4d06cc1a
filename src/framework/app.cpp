#include "framework/app.h"

#include "framework/framework_ids.h"
#include "framework/help_window.h"
#include "framework/system_function.h"

#include <commctrl.h>
#include <shlobj.h>

#include <vector>

namespace fw {
namespace {

CWinApp* g_pApp = nullptr;

bool IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ApplicationDataFolder() {
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA("APPDATA", buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer)
        return buffer;
    using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    static const auto getFolderPath =
        LoadSystemFunction<GetFolderPath>("shell32.dll", "SHGetFolderPathA");
    if (getFolderPath && SUCCEEDED(getFolderPath(nullptr, CSIDL_APPDATA, nullptr, 0, buffer)))
        return buffer;
    return {};
}

std::string ModuleFileName() {
    std::vector<char> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameA(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 2);
    }
}

} // namespace

CWinApp* GetApp() {
    return g_pApp;
}

std::string ResolveProfilePath(const std::string& exePath) {
    const std::size_t slash = exePath.find_last_of("\\/");
    const std::string folder = exePath.substr(0, slash + 1);
    std::string baseName = exePath.substr(slash + 1);
    baseName = baseName.substr(0, baseName.rfind('.'));
    const std::string fileName = baseName + ".INI";

    if (IsFile(folder + fileName))
        return folder + fileName;
    const std::string appData = ApplicationDataFolder();
    if (appData.empty())
        return folder + fileName;

    const std::string userFolder = appData + "\\" + baseName;
    ::CreateDirectoryA(userFolder.c_str(), nullptr);
    const std::string userProfile = userFolder + "\\" + fileName;
    char windowsFolder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    if (!IsFile(userProfile) && length > 0 && length < sizeof windowsFolder) {
        // Settings kept by older versions in the Windows directory move over once; an existing
        // per-user file is never overwritten.
        const std::string legacyProfile = std::string(windowsFolder) + "\\" + fileName;
        if (IsFile(legacyProfile))
            ::CopyFileA(legacyProfile.c_str(), userProfile.c_str(), TRUE);
    }
    return userProfile;
}

CSingleDocTemplate::CSingleDocTemplate(UINT nIDResource, DocumentFactory createDocument,
                                       FrameFactory createFrame, ViewFactory createView)
    : m_nIDResource(nIDResource), m_createDocument(createDocument), m_createFrame(createFrame),
      m_createView(createView) {}

CSingleDocTemplate::~CSingleDocTemplate() = default;

bool CSingleDocTemplate::OpenNewDocument(int nCmdShow) {
    if (m_pFrame) {
        if (!m_pDocument->OnNewDocument())
            return false;
        m_pFrame->UpdateFrameTitle(m_pDocument->GetTitle());
        m_pFrame->GetActiveView()->OnInitialUpdate();
        return true;
    }
    m_pDocument = m_createDocument();
    m_pFrame = m_createFrame();
    if (!m_pFrame->LoadFrame(m_nIDResource, m_createView()) || !m_pDocument->OnNewDocument()) {
        m_pFrame.reset();
        return false;
    }
    m_pFrame->UpdateFrameTitle(m_pDocument->GetTitle());
    m_pFrame->GetActiveView()->OnInitialUpdate();
    ::ShowWindow(m_pFrame->m_hWnd, nCmdShow);
    ::UpdateWindow(m_pFrame->m_hWnd);
    return true;
}

const CommandEntry CWinApp::s_commands[] = {
    fw::OnCommand(ID_FILE_NEW, &CWinApp::OnFileNew),
    fw::OnCommand(ID_APP_EXIT, &CWinApp::OnAppExit),
};

bool CWinApp::OnCmdMsg(UINT id, UINT code) {
    return CCmdTarget::OnCmdMsg(id, code) || Dispatch(MakeCommandMap(s_commands), id, code);
}

CWinApp::CWinApp() {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    g_pApp = nullptr;
}

int CWinApp::Main(HINSTANCE instance, int nCmdShow) {
    m_hInstance = instance;
    m_nCmdShow = nCmdShow;
    m_strAppTitle = LoadString(AFX_IDS_APP_TITLE);
    m_strProfilePath = ResolveProfilePath(ModuleFileName());
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES;
    ::InitCommonControlsEx(&controls);
    if (!InitInstance())
        return 1;
    const int exitCode = Run();
    m_pHelpWindow.reset();
    m_pDocTemplate.reset();
    return exitCode;
}

int CWinApp::Run() {
    MSG msg{};
    while (::GetMessageA(&msg, nullptr, 0, 0) > 0) {
        CFrameWnd* frame = m_pDocTemplate ? m_pDocTemplate->GetFrame() : nullptr;
        const bool forFrame = frame && frame->m_hWnd &&
                              (msg.hwnd == frame->m_hWnd || ::IsChild(frame->m_hWnd, msg.hwnd));
        if (forFrame && frame->PreTranslateMessage(msg))
            continue;
        if (m_pHelpWindow && m_pHelpWindow->PreTranslateMessage(msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}

HWND CWinApp::GetMainWindow() const {
    const CFrameWnd* frame = m_pDocTemplate ? m_pDocTemplate->GetFrame() : nullptr;
    return frame ? frame->m_hWnd : nullptr;
}

std::string CWinApp::LoadString(UINT id) const {
    // String ids are 16 bits wide; the platform would quietly wrap a larger one onto another id.
    const wchar_t* text = nullptr;
    const int length =
        id > 0xFFFF ? 0 : ::LoadStringW(m_hInstance, id, reinterpret_cast<LPWSTR>(&text), 0);
    if (length <= 0 || !text)
        return {};
    std::string result(::WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr),
                       '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, length, &result[0], static_cast<int>(result.size()),
                          nullptr, nullptr);
    return result;
}

void CWinApp::AddDocTemplate(std::unique_ptr<CSingleDocTemplate> docTemplate) {
    m_pDocTemplate = std::move(docTemplate);
}

bool CWinApp::ProcessShellCommand() {
    return m_pDocTemplate && m_pDocTemplate->OpenNewDocument(m_nCmdShow);
}

void CWinApp::OnFileNew() {
    ProcessShellCommand();
}

void CWinApp::OnAppExit() {
    if (const HWND main = GetMainWindow())
        ::PostMessageA(main, WM_CLOSE, 0, 0);
}

std::string CWinApp::GetProfileString(const char* section, const char* key,
                                      const char* defaultValue) const {
    std::vector<char> buffer(256);
    for (;;) {
        const DWORD length =
            ::GetPrivateProfileStringA(section, key, defaultValue, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), m_strProfilePath.c_str());
        if (length + 1 < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 4);
    }
}

int CWinApp::GetProfileInt(const char* section, const char* key, int defaultValue) const {
    return static_cast<int>(
        ::GetPrivateProfileIntA(section, key, defaultValue, m_strProfilePath.c_str()));
}

bool CWinApp::WriteProfileString(const char* section, const char* key,
                                 const std::string& value) const {
    return ::WritePrivateProfileStringA(section, key, value.c_str(), m_strProfilePath.c_str()) !=
           FALSE;
}

bool CWinApp::WriteProfileInt(const char* section, const char* key, int value) const {
    return WriteProfileString(section, key, std::to_string(value));
}

int CWinApp::DoMessageBox(const std::string& text, UINT type) const {
    HWND owner = ::GetActiveWindow();
    if (!owner)
        owner = GetMainWindow();
    return ::MessageBoxA(owner, text.c_str(), m_strAppTitle.c_str(), type);
}

void CWinApp::WinHelp(DWORD context, UINT command) {
    if (!m_pHelpWindow)
        m_pHelpWindow = std::make_unique<CHelpWindow>(GetHelpBook(), m_strAppTitle + " Help");
    m_pHelpWindow->ShowContext(command == HELP_CONTEXT ? context : 0);
}

} // namespace fw
