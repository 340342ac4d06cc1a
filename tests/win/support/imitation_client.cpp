#include "imitation_client.h"

#include <future>
#include <stdexcept>

namespace {

const UINT kMsgInvoke = WM_APP + 1; // lParam: the std::function to run on the client's thread
const UINT kMsgHang = WM_APP + 2;
const wchar_t kPaneClass[] = L"BrisaImitationPane";

std::wstring Wide(const std::string& utf8) {
    std::wstring text(utf8.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    &text[0], static_cast<int>(text.size())));
    return text;
}

std::string Utf8(const std::wstring& text) {
    std::string utf8(text.size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr));
    return utf8;
}

// Any window's text in UTF-8: read wide, the system converts an ANSI window's for us.
std::string TextOf(HWND hwnd) {
    std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
    text.resize(GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size())));
    return Utf8(text);
}

} // namespace

CImitationClient::CImitationClient(const std::string& strClass, const std::string& strTitle,
                                   const std::vector<std::string>& listNicks, bool bWide,
                                   bool bCurrent)
    : m_strClass(strClass), m_bWide(bWide || bCurrent), m_bCurrent(bCurrent),
      m_hResume(CreateEventA(nullptr, FALSE, FALSE, nullptr)),
      m_strVersion(bCurrent ? "7.72" : "") {
    std::promise<bool> started;
    m_thread = std::thread([&] { Run(strTitle, listNicks, started); });
    if (!started.get_future().get()) {
        m_thread.join();
        CloseHandle(m_hResume);
        throw std::runtime_error("the imitation client's windows could not be created");
    }
}

CImitationClient::~CImitationClient() {
    Close();
    CloseHandle(m_hResume);
}

void CImitationClient::Run(const std::string& strTitle, const std::vector<std::string>& listNicks,
                           std::promise<bool>& started) {
    const HINSTANCE instance = GetModuleHandleA(nullptr);
    const std::wstring className = Wide(m_strClass);
    LoadLibraryW(L"riched20.dll"); // the rich edit line of the current layout
    // Children join their siblings at the bottom of the Z order: creation order is walk order.
    struct Window {
        const wchar_t* pszClass;
        int nParent; // its index in the table
        int nSlot;   // its index in m_hwnd, -1 for a window Brisa does not look for
        DWORD dwStyle;
        RECT rc;
    };
    const DWORD list = WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT;
    const std::vector<Window> windows =
        m_bCurrent
            ? std::vector<
                  Window>{{className.c_str(), -1, kTop, WS_OVERLAPPEDWINDOW, {40, 40, 680, 460}},
                          {L"mIRC_Toolbar", 0, kFirst, WS_BORDER, {0, 0, 640, 24}},
                          {L"mIRC_SwitchBar", 0, -1, WS_BORDER, {0, 24, 640, 44}},
                          {L"mIRC_TreeBar", 0, -1, WS_BORDER, {0, 44, 100, 400}},
                          {L"mdiclient", 0, kSecond, WS_CLIPCHILDREN, {100, 44, 640, 400}},
                          {L"mIRC_Channel", 4, kActive, WS_CAPTION | WS_MAXIMIZE, {0, 0, 540, 350}},
                          {L"mIRC_Display", 5, -1, 0, {0, 0, 400, 300}},
                          {L"richedit20W", 5, kEdit, WS_BORDER, {0, 300, 400, 324}},
                          {L"listbox", 5, kList, list, {400, 0, 536, 324}}}
            : std::vector<Window>{
                  {className.c_str(),
                   -1,
                   kTop,
                   WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU,
                   {40, 40, 680, 460}},
                  {kPaneClass, 0, kFirst, WS_BORDER, {0, 0, 640, 28}},
                  {kPaneClass, 0, kSecond, 0, {0, 28, 640, 400}},
                  {kPaneClass, 2, kActive, WS_CAPTION, {0, 0, 640, 370}},
                  {L"edit", 3, kEdit, WS_BORDER | ES_AUTOHSCROLL, {0, 320, 500, 344}},
                  {L"listbox", 3, kList, list, {500, 0, 636, 344}}};
    // A window takes the messages of the kind its class was registered with, wide or ANSI.
    std::vector<std::wstring> registered;
    for (const Window& w : windows) {
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        if (GetClassInfoExW(nullptr, w.pszClass, &wc)) // the system's own
            continue;
        wc = {};
        wc.cbSize = sizeof(wc), wc.lpfnWndProc = WndProc, wc.hInstance = instance;
        wc.lpszClassName = w.pszClass;
        const std::string ansiName(w.pszClass, w.pszClass + wcslen(w.pszClass));
        WNDCLASSEXA wca = {};
        wca.cbSize = sizeof(wca), wca.lpfnWndProc = WndProc, wca.hInstance = instance;
        wca.lpszClassName = ansiName.c_str();
        if (m_bWide ? RegisterClassExW(&wc) : RegisterClassExA(&wca))
            registered.push_back(w.pszClass);
    }
    std::vector<HWND> created;
    for (const Window& w : windows) {
        const HWND parent = w.nParent < 0 ? nullptr : created[w.nParent];
        const DWORD style = w.dwStyle | (parent ? WS_CHILD | WS_VISIBLE : 0);
        const int cx = w.rc.right - w.rc.left, cy = w.rc.bottom - w.rc.top;
        const std::string ansiClass(w.pszClass, w.pszClass + wcslen(w.pszClass));
        CLIENTCREATESTRUCT mdiClient = {};
        MDICREATESTRUCTW mdiChild = {
            w.pszClass, L"", instance, 0, 0, cx, cy, WS_MAXIMIZE, reinterpret_cast<LPARAM>(this)};
        HWND hwnd = nullptr;
        if (w.nSlot == kActive && m_bCurrent)
            hwnd = reinterpret_cast<HWND>(
                SendMessageW(parent, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&mdiChild)));
        else if (m_bWide)
            hwnd = CreateWindowExW(0, w.pszClass, L"", style, w.rc.left, w.rc.top, cx, cy, parent,
                                   nullptr, instance,
                                   w.nSlot == kSecond && m_bCurrent ? &mdiClient : (void*)this);
        else
            hwnd = CreateWindowExA(0, ansiClass.c_str(), "", style, w.rc.left, w.rc.top, cx, cy,
                                   parent, nullptr, instance, this);
        if (!hwnd)
            break;
        created.push_back(hwnd);
        if (w.nSlot >= 0)
            m_hwnd[w.nSlot] = hwnd;
    }
    const bool bCreated = created.size() == windows.size();
    if (bCreated) {
        // The edit line and the list are the system's, subclassed to record what Brisa does.
        for (int i : {kEdit, kList}) {
            SetWindowLongPtrW(m_hwnd[i], GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
            const auto wndProc = reinterpret_cast<LONG_PTR>(WndProc);
            m_pfnControlProc[i] = reinterpret_cast<WNDPROC>(
                m_bWide ? SetWindowLongPtrW(m_hwnd[i], GWLP_WNDPROC, wndProc)
                        : SetWindowLongPtrA(m_hwnd[i], GWLP_WNDPROC, wndProc));
        }
        SendMessageW(m_hwnd[kEdit], EM_LIMITTEXT, 0, 0); // keeps every line Brisa types
        SetWindowTextW(m_hwnd[kActive], Wide(strTitle).c_str());
        FillNickList(listNicks);
        ShowWindow(m_hwnd[kTop], SW_SHOWNOACTIVATE);
        ClearRecords();
    } else if (!created.empty()) {
        DestroyWindow(created[0]);
    }
    started.set_value(bCreated);
    MSG msg;
    while (bCreated && GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    for (auto& hwnd : m_hwnd)
        hwnd = nullptr;
    // The next client may be of the other kind.
    for (const std::wstring& name : registered)
        UnregisterClassW(name.c_str(), instance);
}

bool CImitationClient::Invoke(const std::function<bool()>& fn) const {
    const HWND hwndTop = TopLevel();
    return hwndTop && !m_bHung &&
           SendMessageA(hwndTop, kMsgInvoke, 0, reinterpret_cast<LPARAM>(&fn)) != 0;
}

bool CImitationClient::SetTitle(const std::string& strTitle) {
    return Invoke([&] { return SetWindowTextW(ActiveWindow(), Wide(strTitle).c_str()) != FALSE; });
}

bool CImitationClient::SetNicknames(const std::vector<std::string>& listNicks) {
    return Invoke([&] { return FillNickList(listNicks); });
}

bool CImitationClient::SetEditText(const std::string& strText) {
    return Invoke([&] { return SetWindowTextW(EditLine(), Wide(strText).c_str()) != FALSE; });
}

bool CImitationClient::RemoveWindow(EStep step) {
    return Invoke([&] {
        // The window of that step goes with every later one: its children and next sibling.
        for (int i = kFirst + static_cast<int>(step); i < kWindows; ++i) {
            DestroyWindow(m_hwnd[i]);
            m_hwnd[i] = nullptr;
        }
        return true;
    });
}

void CImitationClient::Hang() {
    // Answered from the handler, once the thread goes no further than its wait for Resume.
    if (!m_bHung)
        SendMessageA(TopLevel(), kMsgHang, 0, 0);
}

void CImitationClient::Resume() {
    if (m_bHung.exchange(false))
        SetEvent(m_hResume);
}

void CImitationClient::Close() {
    Resume();
    if (!m_thread.joinable())
        return;
    PostMessageA(TopLevel(), WM_CLOSE, 0, 0);
    m_thread.join();
}

std::string CImitationClient::EditText() const {
    std::string text;
    Invoke([&] {
        text = TextOf(EditLine());
        return true;
    });
    return text;
}

std::vector<std::string> CImitationClient::EnteredLines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_listEntered;
}

std::vector<std::string> CImitationClient::RaisedWindows() const {
    Invoke([] { return true; }); // handled after what was sent before it
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_listRaised;
}

int CImitationClient::NickTextReads() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nNickTextReads;
}

void CImitationClient::ClearRecords() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listEntered.clear();
    m_listRaised.clear();
    m_nNickTextReads = 0;
}

bool CImitationClient::FillNickList(const std::vector<std::string>& listNicks) const {
    const HWND hwndList = m_hwnd[kList];
    SendMessageW(hwndList, LB_RESETCONTENT, 0, 0);
    for (const std::string& strNick : listNicks)
        SendMessageW(hwndList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(strNick).c_str()));
    return hwndList != nullptr;
}

void CImitationClient::Record(std::vector<std::string>& list, const std::string& str) {
    std::lock_guard<std::mutex> lock(m_mutex);
    list.push_back(str);
}

// The interface that mIRC documents: the line in the mapping "mIRC" or "mIRC<N>", UTF-16 with
// method 8, else in the system's ANSI code page, as a program without the UTF-8 manifest reads it.
LRESULT CImitationClient::OnInterface(bool evaluate, WPARAM method, unsigned index) {
    std::string version;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        version = m_strVersion;
        m_strLastCall = std::to_string(method) + "/" + std::to_string(index);
    }
    const std::string name = index ? "mIRC" + std::to_string(index) : "mIRC";
    const HANDLE mapping = OpenFileMappingA(FILE_MAP_ALL_ACCESS, FALSE, name.c_str());
    void* view = mapping ? MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 4096) : nullptr;
    if (version.empty() || !view) {
        if (mapping)
            CloseHandle(mapping);
        return 0;
    }
    const bool unicode = method & 8;
    char ansiCodePage[8] = {};
    GetLocaleInfoA(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, ansiCodePage, 8);
    const UINT codePage = static_cast<UINT>(atoi(ansiCodePage));
    std::wstring line = unicode ? std::wstring(static_cast<const wchar_t*>(view))
                                : std::wstring(strlen(static_cast<const char*>(view)), L'\0');
    if (!unicode)
        line.resize(MultiByteToWideChar(codePage, 0, static_cast<const char*>(view), -1, &line[0],
                                        static_cast<int>(line.size()) + 1) -
                    1);
    const std::string text = Utf8(line);
    if (evaluate) {
        const std::wstring result = Wide(Evaluate(text, version));
        if (unicode)
            memcpy(view, result.c_str(), (result.size() + 1) * sizeof(wchar_t));
        else
            WideCharToMultiByte(codePage, 0, result.c_str(), -1, static_cast<char*>(view), 4096,
                                nullptr, nullptr);
    } else if (text.compare(0, 9, "/editbox ") == 0) {
        // -a: the active window's edit box; -p: a space after the text.
        const std::size_t switchesEnd = text.find(' ', 9);
        const std::string switches = text.substr(9, switchesEnd - 9);
        const std::string rest =
            switchesEnd == std::string::npos ? "" : text.substr(switchesEnd + 1);
        SetWindowTextW(EditLine(),
                       Wide(rest + (switches.find('p') != std::string::npos ? " " : "")).c_str());
    } else {
        SetWindowTextW(EditLine(), line.c_str());
        SendMessageW(EditLine(), WM_CHAR, VK_RETURN, 1); // as if typed and entered
    }
    UnmapViewOfFile(view);
    CloseHandle(mapping);
    return 1;
}

// The identifiers Brisa asks for: $version, $active and $nick($active,N).
std::string CImitationClient::Evaluate(const std::string& expression,
                                       const std::string& version) const {
    if (expression == "$version")
        return version;
    const std::string title = TextOf(ActiveWindow());
    if (expression == "$active")
        return title.substr(0, title.find(' '));
    if (expression.compare(0, 14, "$nick($active,") != 0)
        return "";
    const int n = atoi(expression.c_str() + 14);
    const int count = static_cast<int>(SendMessageW(m_hwnd[kList], LB_GETCOUNT, 0, 0));
    if (n == 0)
        return std::to_string(count);
    if (n > count)
        return "";
    std::wstring entry(SendMessageW(m_hwnd[kList], LB_GETTEXTLEN, n - 1, 0) + 1, L'\0');
    entry.resize(
        SendMessageW(m_hwnd[kList], LB_GETTEXT, n - 1, reinterpret_cast<LPARAM>(&entry[0])));
    const std::string nick = Utf8(entry);
    return nick.substr(std::min(nick.find_first_not_of("@+%~&"), nick.size()));
}

void CImitationClient::SetInterface(const std::string& strVersion) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_strVersion = strVersion;
}

std::string CImitationClient::LastInterfaceCall() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_strLastCall;
}

void CImitationClient::StopThread() {
    m_bHung = true;
    ReplyMessage(0);
    WaitForSingleObject(m_hResume, INFINITE);
}

LRESULT CImitationClient::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool bEdit = hwnd == m_hwnd[kEdit], bList = hwnd == m_hwnd[kList];
    const EFault fault = m_fault;
    if (bList && fault == EFault::BogusCount &&
        (msg == LB_GETCOUNT || msg == LB_GETTEXTLEN || msg == LB_GETTEXT))
        return msg == LB_GETCOUNT ? 0x7FFFFFFF : LB_ERR;
    if (bList && fault == EFault::HugeLengths && msg == LB_GETTEXTLEN)
        return 0x7FFFFFFF;
    switch (msg) {
    case WM_CHAR:
        if (bEdit && wParam == VK_RETURN) {
            if (fault == EFault::SlowEnter)
                Sleep(2500);
            // The client executes the line and empties its edit line.
            Record(m_listEntered, TextOf(hwnd));
            SetWindowTextW(hwnd, L"");
            if (fault == EFault::HangAfterEnter)
                StopThread();
            return 0;
        }
        break;
    case EM_SETSEL:
        if (bEdit && fault == EFault::HangAfterCaret && wParam == static_cast<WPARAM>(-1)) {
            CallWindowProcW(m_pfnControlProc[kEdit], hwnd, msg, wParam, lParam);
            StopThread();
            return 0;
        }
        break;
    case LB_GETTEXT:
        if (bList) {
            if (fault == EFault::SlowList)
                Sleep(10);
            std::lock_guard<std::mutex> lock(m_mutex);
            ++m_nNickTextReads;
        }
        break;
    case WM_WINDOWPOSCHANGING:
        if (!(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER) &&
            (hwnd == m_hwnd[kTop] || hwnd == m_hwnd[kActive]))
            Record(m_listRaised, hwnd == m_hwnd[kTop] ? "top" : "active");
        break;
    case WM_USER + 200: // WM_MCOMMAND
    case WM_USER + 201: // WM_MEVALUATE
        if (hwnd == m_hwnd[kTop])
            return OnInterface(msg == WM_USER + 201, wParam, static_cast<unsigned>(lParam));
        break;
    case kMsgInvoke:
        return (*reinterpret_cast<const std::function<bool()>*>(lParam))();
    case kMsgHang:
        StopThread();
        return 0;
    case WM_DESTROY:
        if (hwnd == m_hwnd[kTop])
            PostQuitMessage(0);
        break;
    }
    if (bEdit || bList) {
        const WNDPROC proc = m_pfnControlProc[bEdit ? kEdit : kList];
        return m_bWide ? CallWindowProcW(proc, hwnd, msg, wParam, lParam)
                       : CallWindowProcA(proc, hwnd, msg, wParam, lParam);
    }
    if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD)
        return DefMDIChildProcW(hwnd, msg, wParam, lParam);
    return m_bWide ? DefWindowProcW(hwnd, msg, wParam, lParam)
                   : DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Every window of the client finds it through GWLP_USERDATA.
LRESULT CALLBACK CImitationClient::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The creation parameters sit at the same place in the wide and the ANSI structure; an MDI
    // child's are in the structure of WM_MDICREATE.
    if (msg == WM_NCCREATE) {
        const void* params = reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams;
        if (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_MDICHILD)
            params =
                reinterpret_cast<const void*>(static_cast<const MDICREATESTRUCTW*>(params)->lParam);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(params));
    }
    auto* pClient = reinterpret_cast<CImitationClient*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return pClient ? pClient->OnMessage(hwnd, msg, wParam, lParam)
                   : DefWindowProcW(hwnd, msg, wParam, lParam);
}
