#include "framework/frame.h"

#include "framework/app.h"
#include "framework/framework_ids.h"
#include "framework/text.h"

#include <commctrl.h>

#include <vector>

namespace fw {
namespace {

constexpr wchar_t kFrameClass[] = L"fwFrameWnd";

// The edit keys act on the edit box that has the focus, as they do everywhere in Windows.
void ForwardToFocusedEdit(UINT msg) {
    const HWND focus = ::GetFocus();
    wchar_t className[8] = {};
    if (focus && ::GetClassNameW(focus, className, 8) && ::lstrcmpiW(className, L"Edit") == 0)
        ::SendMessageW(focus, msg, 0, 0);
}

} // namespace

void CDocument::SetTitle(const std::string& title) {
    m_strTitle = title;
}

const CommandEntry CFrameWnd::s_commands[] = {
    fw::OnCommand(ID_HELP, &CFrameWnd::OnHelp),
    fw::OnCommand(ID_HELP_FINDER, &CFrameWnd::OnHelpFinder),
    fw::OnCommand(ID_DEFAULT_HELP, &CFrameWnd::OnHelpFinder),
    fw::OnCommand(ID_CONTEXT_HELP, &CFrameWnd::OnContextHelp),
    fw::OnCommand(ID_EDIT_COPY, &CFrameWnd::OnEditCopy),
    fw::OnCommand(ID_EDIT_CUT, &CFrameWnd::OnEditCut),
    fw::OnCommand(ID_EDIT_PASTE, &CFrameWnd::OnEditPaste),
    fw::OnCommand(ID_EDIT_UNDO, &CFrameWnd::OnEditUndo),
};

CFrameWnd::~CFrameWnd() {
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

bool CFrameWnd::LoadFrame(UINT nIDResource, std::unique_ptr<CFormView> view) {
    const HINSTANCE instance = Module().m_hInstance;
    m_nIDResource = nIDResource;
    m_pView = std::move(view);
    const std::string docStrings = Module().LoadString(nIDResource);
    m_strTitle = docStrings.substr(0, docStrings.find('\n'));
    if (m_strTitle.empty())
        m_strTitle = Module().GetAppTitle();

    RegisterWindowClass(kFrameClass, ObjectWindowProc<CFrameWnd>);
    const std::wstring title = Widen(m_strTitle);
    CREATESTRUCTW cs{};
    cs.hInstance = instance;
    cs.lpszClass = kFrameClass;
    cs.lpszName = title.c_str();
    cs.style = WS_OVERLAPPEDWINDOW;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    cs.hMenu = ::LoadMenuW(instance, MAKEINTRESOURCEW(nIDResource));
    PreCreateWindow(cs);
    m_hAccelTable = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(nIDResource));
    if (!::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx,
                           cs.cy, nullptr, cs.hMenu, instance, this))
        return false;

    const auto icon = [&](int size) {
        return reinterpret_cast<LPARAM>(::LoadImageW(instance, MAKEINTRESOURCEW(nIDResource),
                                                     IMAGE_ICON, size, size, LR_SHARED));
    };
    SendMessage(WM_SETICON, ICON_BIG, icon(::GetSystemMetrics(SM_CXICON)));
    SendMessage(WM_SETICON, ICON_SMALL, icon(::GetSystemMetrics(SM_CXSMICON)));
    return true;
}

void CFrameWnd::UpdateFrameTitle(const std::string& documentTitle) const {
    SetWindowText(documentTitle.empty() ? m_strTitle : documentTitle + " - " + m_strTitle);
}

bool CFrameWnd::PreTranslateMessage(MSG& msg) {
    const bool keyboard = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
    if (m_bHelpMode && msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
        EndContextHelp();
        return true;
    }
    if (keyboard && m_hAccelTable && ::TranslateAcceleratorW(m_hWnd, m_hAccelTable, &msg))
        return true;
    if (m_bHelpMode || !m_pView || !m_pView->m_hWnd)
        return false;
    return ::IsDialogMessageW(m_pView->m_hWnd, &msg) != FALSE;
}

// Menu commands and accelerators go to the view first, then the frame, then the application.
bool CFrameWnd::OnCmdMsg(UINT id, UINT code) {
    return (m_pView && m_pView->OnCmdMsg(id, code)) || CWnd::OnCmdMsg(id, code) ||
           Dispatch(MakeCommandMap(s_commands), id, code) || GetApp()->OnCmdMsg(id, code);
}

void CFrameWnd::OnHelp() {
    Module().WinHelp(HID_BASE_RESOURCE + m_nIDResource);
}

void CFrameWnd::OnHelpFinder() {
    Module().WinHelp(0, HELP_FINDER);
}

void CFrameWnd::OnContextHelp() {
    m_bHelpMode = true;
    ::SetCapture(m_hWnd);
    ::SetCursor(::LoadCursorW(nullptr, IDC_HELP));
}

void CFrameWnd::EndContextHelp() {
    m_bHelpMode = false;
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
}

void CFrameWnd::OnEditCopy() {
    ForwardToFocusedEdit(WM_COPY);
}
void CFrameWnd::OnEditCut() {
    ForwardToFocusedEdit(WM_CUT);
}
void CFrameWnd::OnEditPaste() {
    ForwardToFocusedEdit(WM_PASTE);
}
void CFrameWnd::OnEditUndo() {
    ForwardToFocusedEdit(EM_UNDO);
}

// The topic of the control under a click in context-help mode; the frame's own topic elsewhere.
void CFrameWnd::ShowHelpAt(POINT clientPoint) {
    DWORD context = HID_BASE_RESOURCE + m_nIDResource;
    if (m_pView && m_pView->m_hWnd) {
        POINT point = clientPoint;
        ::MapWindowPoints(m_hWnd, m_pView->m_hWnd, &point, 1);
        const HWND child = ::ChildWindowFromPointEx(m_pView->m_hWnd, point, CWP_SKIPINVISIBLE);
        const int id = child && child != m_pView->m_hWnd ? ::GetDlgCtrlID(child) : 0;
        if (id > 0 && id != 0xFFFF)
            context = HID_BASE_COMMAND + id;
    }
    EndContextHelp();
    Module().WinHelp(context);
}

// A text cut short shows whole as the part's tip.
void CFrameWnd::SetStatusText(int part, const std::string& text) const {
    if (!m_hStatusBar)
        return;
    const std::wstring wide = Widen(text);
    ::SendMessageW(m_hStatusBar, SB_SETTEXTW, part, reinterpret_cast<LPARAM>(wide.c_str()));
    ::SendMessageW(m_hStatusBar, SB_SETTIPTEXTW, part, reinterpret_cast<LPARAM>(wide.c_str()));
    LayoutStatusParts();
}

// Each part as wide as its text asks, the last one taking what is left; when the texts ask for
// more than there is, each gets its share.
void CFrameWnd::LayoutStatusParts() const {
    const HDC dc = ::GetDC(m_hStatusBar);
    const HGDIOBJ font = ::SelectObject(
        dc, reinterpret_cast<HGDIOBJ>(::SendMessageW(m_hStatusBar, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    ::GetTextMetricsW(dc, &metrics);
    std::vector<int> needs;
    int total = 0;
    for (int part = 0; part < m_nStatusParts; ++part) {
        std::wstring text(LOWORD(::SendMessageW(m_hStatusBar, SB_GETTEXTLENGTHW, part, 0)), L'\0');
        ::SendMessageW(m_hStatusBar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(text.data()));
        SIZE size{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        needs.push_back(size.cx + 3 * metrics.tmAveCharWidth);
        total += needs.back();
    }
    ::SelectObject(dc, font);
    ::ReleaseDC(m_hStatusBar, dc);
    RECT bar{};
    ::GetClientRect(m_hStatusBar, &bar);
    std::vector<int> edges;
    for (int part = 0, edge = 0; part < m_nStatusParts; ++part) {
        edge += total > bar.right ? ::MulDiv(needs[part], bar.right, total) : needs[part];
        edges.push_back(part + 1 == m_nStatusParts ? -1 : edge);
    }
    ::SendMessageW(m_hStatusBar, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

// The status bar along the bottom, and the form above it.
void CFrameWnd::Layout(int width, int height) const {
    RECT status{};
    if (m_hStatusBar) {
        ::SendMessageW(m_hStatusBar, WM_SIZE, 0, 0);
        ::GetWindowRect(m_hStatusBar, &status);
        LayoutStatusParts();
    }
    if (m_pView && m_pView->m_hWnd)
        ::MoveWindow(m_pView->m_hWnd, 0, 0, width, height - (status.bottom - status.top), TRUE);
}

LRESULT CFrameWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE:
        // The form first: it stays the frame's first child, as other programs find it.
        if (!m_pView || !m_pView->Create(m_hWnd))
            return -1;
        if (m_nStatusParts)
            m_hStatusBar = ::CreateWindowExW(0, STATUSCLASSNAMEW, nullptr,
                                             WS_CHILD | WS_VISIBLE | SBARS_SIZEGRIP | SBARS_TOOLTIPS,
                                             0, 0, 0, 0,
                                             m_hWnd, nullptr, Module().m_hInstance, nullptr);
        return 0;
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_GETMINMAXINFO:
        // Every control of the form whole, and the status bar below it.
        if (m_pView && m_pView->m_hWnd) {
            const SIZE form = m_pView->TemplateSize();
            RECT status{}, window = {0, 0, form.cx, form.cy};
            if (m_hStatusBar)
                ::GetWindowRect(m_hStatusBar, &status);
            window.bottom += status.bottom - status.top;
            ::AdjustWindowRectEx(&window,
                                 static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)),
                                 ::GetMenu(m_hWnd) != nullptr,
                                 static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE)));
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = {window.right - window.left, window.bottom - window.top};
        }
        return 0;
    case WM_CLOSE:
        OnClosing();
        break;
    case WM_SETFOCUS:
        if (m_pView && m_pView->m_hWnd)
            ::SetFocus(m_pView->m_hWnd);
        return 0;
    case WM_DPICHANGED: {
        // Moved to a monitor of another scale, which has scaled the form: the frame takes the
        // place the system suggests, and grows if the form no longer shows whole.
        TakeSuggestedPlace(m_hWnd, lParam);
        if (m_pView && m_pView->m_hWnd)
            m_pView->ResizeParentToFit(true);
        return 0;
    }
    case WM_COMMAND:
        if (lParam == 0) // menu (0) or accelerator (1): both run the same command
            OnCmdMsg(LOWORD(wParam), 0);
        return 0;
    case WM_SETCURSOR:
        if (m_bHelpMode) {
            ::SetCursor(::LoadCursorW(nullptr, IDC_HELP));
            return TRUE;
        }
        break;
    case WM_LBUTTONDOWN:
        if (m_bHelpMode) {
            ShowHelpAt({static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
            return 0;
        }
        break;
    case WM_RBUTTONDOWN:
        if (m_bHelpMode) {
            EndContextHelp();
            return 0;
        }
        break;
    case WM_CAPTURECHANGED:
        m_bHelpMode = false;
        break;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
}

} // namespace fw
