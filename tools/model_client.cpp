#include "model_client.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sstream>

constexpr UINT WM_MCOMMAND = WM_USER + 200;
constexpr UINT WM_MEVALUATE = WM_USER + 201;
constexpr wchar_t kPaneClass[] = L"BrisaModelPane";

static std::wstring Widen(const std::string& text, UINT codePage = CP_UTF8) {
    std::wstring wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()),
                                    &wide[0], static_cast<int>(wide.size())));
    return wide;
}

static std::string Narrow(const std::wstring& wide) {
    std::string text(wide.size() * 3, '\0');
    text.resize(WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                    &text[0], static_cast<int>(text.size()), nullptr, nullptr));
    return text;
}

static std::string GetWindowTextOf(HWND hwnd) {
    std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
    text.resize(GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size())));
    return Narrow(text);
}

CModelClient::CModelClient(const Options& options)
    : m_bWide(options.wide || options.current), m_strVersion(options.current ? "7.72" : "") {
    if (!Create(options) && m_hwnd[kTop])
        DestroyWindow(m_hwnd[kTop]);
}

CModelClient::~CModelClient() {
    if (m_hwnd[kTop])
        DestroyWindow(m_hwnd[kTop]);
}

bool CModelClient::Create(const Options& options) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    LoadLibraryW(L"riched20.dll"); // the rich edit line of today's layout
    // In walk order, as a child joins its siblings at the bottom. nParent: the parent's row;
    // nSlot: the index in m_hwnd, -1 for a window Brisa does not look for.
    struct Window {
        const wchar_t* pszClass;
        int nParent, nSlot;
        DWORD dwStyle;
        RECT rc;
    };
    const DWORD list = WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
    static const Window current[] = {
        {nullptr, -1, kTop, WS_OVERLAPPEDWINDOW, {40, 40, 680, 460}},
        {L"mIRC_Toolbar", 0, kFirst, WS_BORDER, {0, 0, 640, 24}},
        {L"mIRC_SwitchBar", 0, -1, WS_BORDER, {0, 24, 640, 44}},
        {L"mIRC_TreeBar", 0, -1, WS_BORDER, {0, 44, 100, 400}},
        {L"mdiclient", 0, kSecond, WS_CLIPCHILDREN, {100, 44, 640, 400}},
        {L"mIRC_Channel", 4, kActive, 0, {0, 0, 540, 350}},
        {L"mIRC_Display", 5, -1, 0, {0, 0, 400, 300}},
        {L"richedit20W", 5, kEdit, WS_BORDER, {0, 300, 400, 324}},
        {L"listbox", 5, kList, list, {400, 0, 536, 324}}};
    static const Window old[] = {
        {nullptr, -1, kTop, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, {40, 40, 680, 460}},
        {kPaneClass, 0, kFirst, WS_BORDER, {0, 0, 640, 28}},
        {kPaneClass, 0, kSecond, 0, {0, 28, 640, 400}},
        {kPaneClass, 2, kActive, WS_CAPTION, {0, 0, 640, 370}},
        {L"edit", 3, kEdit, WS_BORDER | ES_AUTOHSCROLL, {0, 320, 500, 344}},
        {L"listbox", 3, kList, list, {500, 0, 636, 344}}};
    std::vector<Window> windows(options.current ? std::begin(current) : std::begin(old),
                                options.current ? std::end(current) : std::end(old));
    const std::wstring className = Widen(options.className);
    windows[0].pszClass = className.c_str();
    for (const Window& w : windows) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        if (GetClassInfoExW(instance, w.pszClass, &wc)) // the system's own, or registered before
            continue;
        wc.lpfnWndProc = WndProc, wc.hInstance = instance, wc.lpszClassName = w.pszClass;
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        RegisterClassExW(&wc);
    }
    std::vector<HWND> created;
    for (const Window& w : windows) {
        const HWND parent = w.nParent < 0 ? nullptr : created[w.nParent];
        const DWORD style = w.dwStyle | (parent ? WS_CHILD | WS_VISIBLE : 0);
        const int cx = w.rc.right - w.rc.left, cy = w.rc.bottom - w.rc.top;
        CLIENTCREATESTRUCT mdiClient = {};
        MDICREATESTRUCTW mdiChild = {
            w.pszClass, L"", instance, 0, 0, cx, cy, WS_MAXIMIZE, reinterpret_cast<LPARAM>(this)};
        HWND hwnd = nullptr;
        if (options.current && w.nSlot == kActive)
            hwnd = reinterpret_cast<HWND>(
                SendMessageW(parent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mdiChild)));
        else
            hwnd = CreateWindowExW(
                0, w.pszClass, L"", style, w.rc.left, w.rc.top, cx, cy, parent, nullptr, instance,
                options.current && w.nSlot == kSecond ? &mdiClient : static_cast<void*>(this));
        if (!hwnd)
            return false;
        // An ANSI client's own windows take ANSI messages once its procedure is set as ANSI.
        if (!m_bWide && w.nSlot != kEdit && w.nSlot != kList)
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(WndProc));
        created.push_back(hwnd);
        if (w.nSlot >= 0)
            m_hwnd[w.nSlot] = hwnd;
    }
    // The system's edit line and list, subclassed to see what Brisa does to them.
    for (int i : {kEdit, kList}) {
        SetWindowLongPtrW(m_hwnd[i], GWLP_USERDATA, LONG_PTR(this));
        m_pfnControlProc[i] = WNDPROC((m_bWide ? SetWindowLongPtrW : SetWindowLongPtrA)(
            m_hwnd[i], GWLP_WNDPROC, LONG_PTR(WndProc)));
    }
    SendMessageW(m_hwnd[kEdit], EM_LIMITTEXT, 0, 0); // keeps every line Brisa types
    SetTitle(options.title);
    for (const std::string& nick : options.nicks)
        SendMessageW(m_hwnd[kList], LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(nick).c_str()));
    ShowWindow(m_hwnd[kTop], SW_SHOWNOACTIVATE);
    return true;
}

void CModelClient::SetTitle(const std::string& title) {
    SetWindowTextW(m_hwnd[kActive], Widen(title).c_str());
}

void CModelClient::SetEditText(const std::string& text) {
    SetWindowTextW(m_hwnd[kEdit], Widen(text).c_str());
}

std::string CModelClient::EditText() const {
    return GetWindowTextOf(m_hwnd[kEdit]);
}

// The line in the mapping "mIRC" or "mIRC<N>": UTF-16 with method 8, else in the ANSI code page.
LRESULT CModelClient::OnInterface(bool evaluate, WPARAM method, unsigned index) {
    const std::string name = index ? "mIRC" + std::to_string(index) : "mIRC";
    const HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 4096);
    if (m_strVersion.empty() || !view)
        return CloseHandle(mapping), 0;
    const bool unicode = method & 8;
    const std::string text = unicode ? Narrow(static_cast<const wchar_t*>(view))
                                     : Narrow(Widen(static_cast<const char*>(view), CP_ACP));
    if (evaluate) { // identifiers separated by spaces, each answered in its place
        std::istringstream identifiers(text);
        std::string answer;
        for (std::string identifier; identifiers >> identifier;)
            answer += (answer.empty() ? "" : " ") + Evaluate(identifier);
        const std::wstring result = Widen(answer);
        if (unicode)
            std::memcpy(view, result.c_str(), (result.size() + 1) * sizeof(wchar_t));
        else
            WideCharToMultiByte(CP_ACP, 0, result.c_str(), -1, static_cast<char*>(view), 4096,
                                nullptr, nullptr);
    } else if (text.compare(0, 9, "/editbox ") == 0) {
        // The active window's edit box (-a), with a space after the text (-p).
        const std::size_t end = text.find(' ', 9);
        const bool space = text.substr(9, end - 9).find('p') != std::string::npos;
        SetEditText((end == std::string::npos ? "" : text.substr(end + 1)) + (space ? " " : ""));
    } else {
        SetEditText(text);
        SendMessageW(m_hwnd[kEdit], WM_CHAR, VK_RETURN, 1); // as if typed and entered
    }
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    return 1;
}

// What Brisa asks for: $version, $sound(kind), $active and $nick($active,N).
std::string CModelClient::Evaluate(const std::string& identifier) const {
    if (identifier == "$version")
        return m_strVersion;
    if (identifier.compare(0, 7, "$sound(") == 0 && identifier.back() == ')') {
        const auto folder = m_soundsFolders.find(identifier.substr(7, identifier.size() - 8));
        return folder != m_soundsFolders.end() ? folder->second : "";
    }
    const std::string title = GetWindowTextOf(m_hwnd[kActive]);
    if (identifier == "$active")
        return title.substr(0, title.find(' '));
    if (identifier.compare(0, 14, "$nick($active,") != 0)
        return "";
    const int n = atoi(identifier.c_str() + 14);
    const int count = static_cast<int>(SendMessageW(m_hwnd[kList], LB_GETCOUNT, 0, 0));
    if (n == 0 || n > count)
        return n == 0 ? std::to_string(count) : "";
    std::wstring entry(SendMessageW(m_hwnd[kList], LB_GETTEXTLEN, n - 1, 0) + 1, L'\0');
    entry.resize(
        SendMessageW(m_hwnd[kList], LB_GETTEXT, n - 1, reinterpret_cast<LPARAM>(&entry[0])));
    const std::string nick = Narrow(entry);
    return nick.substr(std::min(nick.find_first_not_of("@+%~&"), nick.size()));
}

LRESULT CModelClient::CallDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) const {
    for (const int i : {kEdit, kList}) {
        if (hwnd == m_hwnd[i])
            return m_bWide ? CallWindowProcW(m_pfnControlProc[i], hwnd, msg, wParam, lParam)
                           : CallWindowProcA(m_pfnControlProc[i], hwnd, msg, wParam, lParam);
    }
    if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD)
        return DefMDIChildProcW(hwnd, msg, wParam, lParam);
    return m_bWide ? DefWindowProcW(hwnd, msg, wParam, lParam)
                   : DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CModelClient::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (PreHandle(hwnd, msg, wParam, lParam, &result))
        return result;
    // Only what another thread sends, not the client's own messages while it handles one.
    if (m_nDelayMs && m_nNesting == 1 && InSendMessage() &&
        (!m_nDelayedMessage || msg == m_nDelayedMessage))
        Sleep(m_nDelayMs);
    if (msg == WM_CHAR && hwnd == m_hwnd[kEdit] && wParam == VK_RETURN) {
        // The client executes the line and empties its edit line.
        OnEntered(GetWindowTextOf(hwnd));
        SetWindowTextW(hwnd, L"");
        return 0;
    }
    if ((msg == WM_MCOMMAND || msg == WM_MEVALUATE) && hwnd == m_hwnd[kTop])
        return OnInterface(msg == WM_MEVALUATE, wParam, static_cast<unsigned>(lParam));
    if (msg == WM_DESTROY && hwnd == m_hwnd[kTop])
        PostQuitMessage(0);
    const LRESULT answer = CallDefault(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY)
        std::replace(std::begin(m_hwnd), std::end(m_hwnd), hwnd, static_cast<HWND>(nullptr));
    return answer;
}

// Every window finds the client through GWLP_USERDATA: the creation parameter, the same in the
// wide and the ANSI structure (an MDI child's inside that of WM_MDICREATE).
LRESULT CALLBACK CModelClient::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const void* params = reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams;
        if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD)
            params =
                reinterpret_cast<const void*>(static_cast<const MDICREATESTRUCTW*>(params)->lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(params));
    }
    auto* client = reinterpret_cast<CModelClient*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!client)
        return DefWindowProcW(hwnd, msg, wParam, lParam);
    ++client->m_nNesting;
    const LRESULT result = client->OnMessage(hwnd, msg, wParam, lParam);
    --client->m_nNesting;
    return result;
}
