#include "framework/app.h"

#include "framework/framework_ids.h"
#include "framework/help_window.h"
#include "framework/text.h"

#include <commctrl.h>

#include <algorithm>

namespace fw {

CWinApp* GetApp() {
    return static_cast<CWinApp*>(&Module());
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
    m_pFrame->OnFirstShow(nCmdShow);
    ::ShowWindow(m_pFrame->m_hWnd, nCmdShow);
    ::UpdateWindow(m_pFrame->m_hWnd);
    return true;
}

const CommandEntry CWinApp::s_commands[] = {
    OnCommand(ID_FILE_NEW, &CWinApp::OnFileNew),
    OnCommand(ID_APP_EXIT, &CWinApp::OnAppExit),
};

bool CWinApp::OnCmdMsg(UINT id, UINT code) {
    return CCmdTarget::OnCmdMsg(id, code) || Dispatch(MakeCommandMap(s_commands), id, code);
}

CWinApp::CWinApp() = default;

CWinApp::~CWinApp() = default;

int CWinApp::Main(HINSTANCE instance, int nCmdShow) {
    const int exitCode = InitApplication(instance, nCmdShow) ? Run() : 1;
    ExitInstance();
    return exitCode;
}

bool CWinApp::InitApplication(HINSTANCE instance, int nCmdShow) {
    m_hInstance = instance;
    m_nCmdShow = nCmdShow;
    m_strAppTitle = LoadString(AFX_IDS_APP_TITLE);
    m_profile.Open(LocateProfile());
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_BAR_CLASSES | ICC_HOTKEY_CLASS;
    ::InitCommonControlsEx(&controls);
    return InitInstance();
}

void CWinApp::ExitInstance() {
    m_pHelpWindow.reset();
    m_pDocTemplate.reset();
}

std::string CWinApp::ModulePath() {
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length < buffer.size())
            return Narrow({buffer.data(), length});
        buffer.resize(buffer.size() * 2);
    }
}

std::string CWinApp::LocateProfile() const {
    return CProfile::Locate(ModulePath()).path;
}

bool CWinApp::PreTranslateMessage(MSG& msg) {
    CFrameWnd* frame = GetMainFrame();
    const bool forFrame =
        frame && frame->m_hWnd && (msg.hwnd == frame->m_hWnd || ::IsChild(frame->m_hWnd, msg.hwnd));
    return (forFrame && frame->PreTranslateMessage(msg)) ||
           (m_pHelpWindow && m_pHelpWindow->PreTranslateMessage(msg));
}

bool CWinApp::PumpMessages() {
    MSG msg{};
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            m_nExitCode = static_cast<int>(msg.wParam);
            return false;
        }
        if (PreTranslateMessage(msg))
            continue;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return true;
}

int CWinApp::Run() {
    while (PumpMessages())
        ::WaitMessage();
    return m_nExitCode;
}

HWND CWinApp::GetMainWindow() const {
    const CFrameWnd* frame = GetMainFrame();
    return frame ? frame->m_hWnd : nullptr;
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
        ::PostMessageW(main, WM_CLOSE, 0, 0);
}

void CWinApp::WinHelp(DWORD context, UINT command) {
    if (!m_pHelpWindow)
        m_pHelpWindow = std::make_unique<CHelpWindow>(GetHelpBook(), m_strAppTitle + " Help");
    m_pHelpWindow->ShowContext(command == HELP_CONTEXT ? context : 0);
}

} // namespace fw
