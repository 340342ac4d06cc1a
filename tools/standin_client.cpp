// BrisaStandInClient: a window shaped like a graphical IRC client's, for trying Brisa without a
// real client. Its windows and its interface for other programs are the tests' imitation client
// itself, so what the tests prove holds here; this program only adds what a person needs around
// them: a box to change the active window's title and a pane that shows, with the time, each line
// the client executed. By default it is laid out as today's mIRC (class mIRC) and answers the
// interface that mIRC documents; /layout old lays it out as the 32-bit client of the late 1990s
// (class mIRC32), which Brisa reaches through its windows.
//   BrisaStandInClient.exe [/layout current|old] [/class mIRC32|mIRC|PIRCH]
#include "imitation_client.h"

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <exception>
#include <string>
#include <vector>

namespace {

const char kDefaultTitle[] = "#brisa [+nt]: try Send and DCC";
const char kBarClass[] = "BrisaStandInTitleBar";
const UINT_PTR kLinesTimer = 1;
const UINT kLinesPollMs = 100;
// Brisa opens at the top-left corner; the client stands beside it.
const int kLeft = 300;
const int kTop = 0;

std::wstring Wide(const std::string& utf8) {
    std::wstring text(utf8.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    &text[0], static_cast<int>(text.size())));
    return text;
}

// Wide, so that titles and lines in any script show whole.
HWND CreateControl(const wchar_t* pszClass, const char* pszText, DWORD dwStyle, HWND hwndParent,
                   int x, int y, int cx, int cy, int nId) {
    const HWND hwnd = CreateWindowExW(
        0, pszClass, Wide(pszText).c_str(), WS_CHILD | WS_VISIBLE | dwStyle, x, y, cx, cy,
        hwndParent, reinterpret_cast<HMENU>(INT_PTR(nId)), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return hwnd;
}

// The rectangle of a child window in its parent's client coordinates.
RECT ChildRect(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rc), 2);
    return rc;
}

} // namespace

// The bar across the top of the client (inside its first child) with the title box, and the pane
// of executed lines above the edit line. Both are windows of this thread inside the imitation
// client's windows, which run on a thread of their own.
class CStandInClient {
public:
    explicit CStandInClient(CImitationClient& client) : m_client(client) {}
    ~CStandInClient();
    CStandInClient(const CStandInClient&) = delete;
    CStandInClient& operator=(const CStandInClient&) = delete;

    bool Create(const std::string& strClass);
    // Answers messages until the user has closed the client.
    void Run();

private:
    void OnApply();
    void OnLinesTimer();
    void AppendToLog(const std::string& strText);
    LRESULT OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    CImitationClient& m_client;
    HWND m_hWnd = nullptr;
    HWND m_editTitle = nullptr;
    HWND m_editLog = nullptr;
    size_t m_nShownLines = 0;
};

CStandInClient::~CStandInClient() {
    // Ours to destroy: the client's thread, closing its windows, would wait on this thread.
    if (m_editLog)
        DestroyWindow(m_editLog);
    if (m_hWnd)
        DestroyWindow(m_hWnd);
}

bool CStandInClient::Create(const std::string& strClass) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = WndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kBarClass;
    if (!RegisterClassExA(&wc))
        return false;

    const HWND hwndTop = m_client.TopLevel();
    const HWND hwndToolbar = GetWindow(hwndTop, GW_CHILD);
    RECT rc;
    GetClientRect(hwndToolbar, &rc);
    if (!CreateWindowExA(0, kBarClass, "", WS_CHILD | WS_VISIBLE, 0, 0, rc.right, rc.bottom,
                         hwndToolbar, nullptr, GetModuleHandleA(nullptr), this))
        return false;
    const int nButton = 70;
    const int nLabel = 112;
    const int cy = rc.bottom - 4;
    CreateControl(L"STATIC", "Active window title:", SS_CENTERIMAGE, m_hWnd, 6, 2, nLabel, cy, 0);
    m_editTitle = CreateControl(L"EDIT", kDefaultTitle, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                                m_hWnd, 6 + nLabel, 2, rc.right - nLabel - nButton - 18, cy, 0);
    // IDOK: Enter in the title box presses it through IsDialogMessage.
    CreateControl(L"BUTTON", "Apply", WS_TABSTOP | BS_DEFPUSHBUTTON, m_hWnd, rc.right - nButton - 6,
                  2, nButton, cy, IDOK);

    // The pane fills the channel window above the edit line, left of the nickname list.
    const RECT rcEdit = ChildRect(m_client.EditLine());
    m_editLog = CreateControl(L"EDIT", "",
                              WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
                              m_client.ActiveWindow(), 0, 0, rcEdit.right, rcEdit.top, 0);
    AppendToLog("Lines entered in the edit line below, by you or by Brisa, appear here.");
    const WPARAM font = reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT));
    SendMessageA(m_client.EditLine(), WM_SETFONT, font, TRUE);
    SendMessageA(m_client.NickList(), WM_SETFONT, font, TRUE);

    SetWindowTextW(hwndTop, Wide("Stand-in IRC client (" + strClass + ")").c_str());
    SetWindowPos(hwndTop, nullptr, kLeft, kTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetTimer(m_hWnd, kLinesTimer, kLinesPollMs, nullptr);
    return true;
}

void CStandInClient::Run() {
    // Closing its top-level window, the client's thread sends this one the destruction of the
    // bar and the pane, so this thread pumps until that thread has ended, not until WM_QUIT.
    const HANDLE hThread =
        OpenThread(SYNCHRONIZE, FALSE, GetWindowThreadProcessId(m_client.TopLevel(), nullptr));
    if (!hThread)
        return;
    while (MsgWaitForMultipleObjects(1, &hThread, FALSE, INFINITE, QS_ALLINPUT) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (IsDialogMessageA(m_hWnd, &msg))
                continue;
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    CloseHandle(hThread);
    m_hWnd = m_editLog = nullptr; // gone with the client's windows
}

void CStandInClient::OnApply() {
    std::wstring title(GetWindowTextLengthW(m_editTitle) + 1, L'\0');
    title.resize(GetWindowTextW(m_editTitle, &title[0], static_cast<int>(title.size())));
    std::string utf8(title.size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, title.data(), static_cast<int>(title.size()),
                                    &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr));
    m_client.SetTitle(utf8);
}

void CStandInClient::OnLinesTimer() {
    const std::vector<std::string> listLines = m_client.EnteredLines();
    for (; m_nShownLines < listLines.size(); ++m_nShownLines) {
        SYSTEMTIME time;
        GetLocalTime(&time);
        char szStamp[16];
        snprintf(szStamp, sizeof(szStamp), "%02d:%02d:%02d  ", time.wHour, time.wMinute,
                 time.wSecond);
        AppendToLog(szStamp + listLines[m_nShownLines]);
    }
}

void CStandInClient::AppendToLog(const std::string& strText) {
    const WPARAM nEnd = GetWindowTextLengthW(m_editLog);
    const std::wstring line = Wide((nEnd ? "\r\n" : "") + strText);
    SendMessageW(m_editLog, EM_SETSEL, nEnd, nEnd);
    SendMessageW(m_editLog, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
}

LRESULT CStandInClient::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK)
            OnApply();
        return 0;
    case WM_TIMER:
        if (wParam == kLinesTimer)
            OnLinesTimer();
        return 0;
    }
    return DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CALLBACK CStandInClient::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        auto* pThis = static_cast<CStandInClient*>(
            reinterpret_cast<const CREATESTRUCTA*>(lParam)->lpCreateParams);
        pThis->m_hWnd = hwnd;
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pThis));
    }
    auto* pThis = reinterpret_cast<CStandInClient*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    try {
        if (pThis)
            return pThis->OnMessage(msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    bool bCurrent = true;
    std::string strClass;
    for (int i = 1; i < __argc; ++i) {
        const bool bValue = i + 1 < __argc && *__argv[i + 1];
        if (_stricmp(__argv[i], "/class") == 0 && bValue) {
            strClass = __argv[++i];
        } else if (_stricmp(__argv[i], "/layout") == 0 && bValue) {
            bCurrent = _stricmp(__argv[++i], "old") != 0;
        } else {
            MessageBoxA(
                nullptr,
                "Usage: BrisaStandInClient [/layout current|old] [/class mIRC32|mIRC|PIRCH]",
                "Stand-in IRC client", MB_OK | MB_ICONINFORMATION);
            return 2;
        }
    }
    if (strClass.empty())
        strClass = bCurrent ? "mIRC" : "mIRC32";

    try {
        CImitationClient client(strClass, kDefaultTitle,
                                {"@alice", "bob", "+carol", "@+dave", "Влад", "山田", "Ελένη"},
                                true, bCurrent);
        CStandInClient standIn(client);
        if (!standIn.Create(strClass)) {
            MessageBoxA(nullptr, "The client's windows could not be created.",
                        "Stand-in IRC client", MB_OK | MB_ICONERROR);
            return 1;
        }
        standIn.Run();
        return 0;
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), "Stand-in IRC client", MB_OK | MB_ICONERROR);
        return 1;
    }
}
