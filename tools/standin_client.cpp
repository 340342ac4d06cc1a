// BrisaStandInClient: a graphical IRC client's windows, for trying Brisa without a real client.
// Its windows and its interface for other programs are the model client's that the tests drive
// Brisa against, so what the tests prove holds here; this program adds what a person needs around
// them: a box to change the active window's title and a pane that shows, with the time, each line
// the client executed. By default it is laid out as today's mIRC (class mIRC) and answers the
// interface that mIRC documents; /layout old lays it out as the 32-bit client of the late 1990s
// (class mIRC32), which Brisa reaches through its windows.
// /sounds names the folder its interface gives as the client's sounds folder.
//   BrisaStandInClient.exe [/layout current|old] [/class mIRC32|mIRC|PIRCH] [/sounds <folder>]
#include "model_client.h"

#include "framework/text.h"
#include "framework/wnd.h"

#include <windows.h>

#include <cstdio>

namespace {

const char kDefaultTitle[] = "#brisa [+nt]: try Send and DCC";
const wchar_t kBarClass[] = L"BrisaStandInTitleBar";
// Brisa opens at the top-left corner; the client stands beside it.
const int kScreenLeft = 300;
const int kScreenTop = 0;

// The size of the system's message font in Arial, which borrows the characters it lacks from
// fonts of other scripts (under Wine, through the link that cmake/wine-env.sh sets): nicknames and
// lines in any script show.
HFONT MessageFont() {
    static HFONT s_font = [] {
        NONCLIENTMETRICSW metrics = {};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        wcscpy(metrics.lfMessageFont.lfFaceName, L"Arial");
        return CreateFontIndirectW(&metrics.lfMessageFont);
    }();
    return s_font;
}

HWND CreateControl(const wchar_t* pszClass, const char* pszText, DWORD dwStyle, HWND hwndParent,
                   int x, int y, int cx, int cy, int nId) {
    const HWND hwnd = CreateWindowExW(
        0, pszClass, fw::Widen(pszText).c_str(), WS_CHILD | WS_VISIBLE | dwStyle, x, y, cx, cy,
        hwndParent, reinterpret_cast<HMENU>(INT_PTR(nId)), GetModuleHandleW(nullptr), nullptr);
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(MessageFont()), 0);
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

// The model client with a bar across its top (inside its first child) holding the title box, and
// a pane of the executed lines above the edit line.
class CStandInClient : public CModelClient {
public:
    CStandInClient(const Options& options);
    bool IsReady() const { return m_editLog != nullptr; }
    // Answers messages until the user has closed the client.
    void Run();

protected:
    void OnEntered(const std::string& line) override;

private:
    void AppendToLog(const std::string& text);
    static LRESULT CALLBACK BarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    HWND m_hBar = nullptr;
    HWND m_editTitle = nullptr;
    HWND m_editLog = nullptr;
};

CStandInClient::CStandInClient(const Options& options) : CModelClient(options) {
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = BarProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kBarClass;
    if (!IsCreated() || !RegisterClassExW(&wc))
        return;

    const HWND hwndToolbar = GetWindow(TopLevel(), GW_CHILD);
    RECT rc;
    GetClientRect(hwndToolbar, &rc);
    m_hBar =
        CreateWindowExW(WS_EX_CONTROLPARENT, kBarClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, rc.right,
                        rc.bottom, hwndToolbar, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(m_hBar, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const int nButton = 70, nLabel = 112, cy = rc.bottom - 4;
    CreateControl(L"STATIC", "Active window title:", SS_CENTERIMAGE, m_hBar, 6, 2, nLabel, cy, 0);
    m_editTitle = CreateControl(L"EDIT", kDefaultTitle, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL,
                                m_hBar, 6 + nLabel, 2, rc.right - nLabel - nButton - 18, cy, 0);
    // IDOK: Enter in the title box presses it through IsDialogMessage.
    CreateControl(L"BUTTON", "Apply", WS_TABSTOP | BS_DEFPUSHBUTTON, m_hBar, rc.right - nButton - 6,
                  2, nButton, cy, IDOK);

    // The pane fills the channel window above the edit line, left of the nickname list.
    const RECT rcEdit = ChildRect(EditLine());
    m_editLog = CreateControl(L"EDIT", "",
                              WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY,
                              ActiveWindow(), 0, 0, rcEdit.right, rcEdit.top, 0);
    AppendToLog("Lines entered in the edit line below, by you or by Brisa, appear here.");
    const WPARAM font = reinterpret_cast<WPARAM>(MessageFont());
    SendMessageW(EditLine(), WM_SETFONT, font, TRUE);
    SendMessageW(NickList(), WM_SETFONT, font, TRUE);

    wchar_t className[64] = {};
    GetClassNameW(TopLevel(), className, 64);
    SetWindowTextW(TopLevel(), (L"Stand-in IRC client (" + std::wstring(className) + L")").c_str());
    SetWindowPos(TopLevel(), nullptr, kScreenLeft, kScreenTop, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CStandInClient::Run() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(m_hBar, &msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void CStandInClient::OnEntered(const std::string& line) {
    SYSTEMTIME time;
    GetLocalTime(&time);
    char stamp[16];
    snprintf(stamp, sizeof stamp, "%02d:%02d:%02d  ", time.wHour, time.wMinute, time.wSecond);
    AppendToLog(stamp + line);
}

void CStandInClient::AppendToLog(const std::string& text) {
    const WPARAM end = GetWindowTextLengthW(m_editLog);
    const std::wstring line = fw::Widen((end ? "\r\n" : "") + text);
    SendMessageW(m_editLog, EM_SETSEL, end, end);
    SendMessageW(m_editLog, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
}

// The bar's Apply button gives the active window the title in the box.
LRESULT CALLBACK CStandInClient::BarProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* client = reinterpret_cast<CStandInClient*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (msg == WM_COMMAND && LOWORD(wParam) == IDOK && client) {
        client->SetTitle(fw::GetWindowTextOf(client->m_editTitle));
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CModelClient::Options options;
    options.title = kDefaultTitle;
    options.nicks = {"@alice", "bob", "+carol", "@+dave", "Влад", "山田", "Ελένη"};
    options.current = true;
    std::string strClass, strSounds;
    for (int i = 1; i < __argc; ++i) {
        const bool bValue = i + 1 < __argc && *__argv[i + 1];
        if (_stricmp(__argv[i], "/class") == 0 && bValue) {
            strClass = __argv[++i];
        } else if (_stricmp(__argv[i], "/layout") == 0 && bValue) {
            options.current = _stricmp(__argv[++i], "old") != 0;
        } else if (_stricmp(__argv[i], "/sounds") == 0 && bValue) {
            strSounds = fw::Narrow(fw::FromCodePage(__argv[++i], CP_ACP));
        } else {
            MessageBoxA(
                nullptr,
                "Usage: BrisaStandInClient [/layout current|old] [/class mIRC32|mIRC|PIRCH] "
                "[/sounds <folder>]",
                "Stand-in IRC client", MB_OK | MB_ICONINFORMATION);
            return 2;
        }
    }
    options.className = !strClass.empty() ? strClass : options.current ? "mIRC" : "mIRC32";
    CStandInClient client(options);
    if (!client.IsReady()) {
        MessageBoxA(nullptr, "The client's windows could not be created.", "Stand-in IRC client",
                    MB_OK | MB_ICONERROR);
        return 1;
    }
    for (const char* kind : {"wave", "midi", "mp3"})
        client.SetSoundsFolder(kind, strSounds);
    client.Run();
    return 0;
}
