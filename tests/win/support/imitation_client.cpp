#include "imitation_client.h"

#include <future>
#include <stdexcept>

namespace {

const UINT kMsgInvoke = WM_APP + 1; // lParam: the std::function to run on the client's thread
const UINT kMsgHang = WM_APP + 2;
const char kPaneClass[] = "BrisaImitationPane";

std::wstring Wide(const std::string& utf8) {
    std::wstring text(utf8.size(), L'\0');
    text.resize(MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()),
                                    &text[0], static_cast<int>(text.size())));
    return text;
}

// Any window's text in UTF-8: read wide, the system converts an ANSI window's for us.
std::string TextOf(HWND hwnd) {
    std::wstring text(GetWindowTextLengthW(hwnd) + 1, L'\0');
    text.resize(GetWindowTextW(hwnd, &text[0], static_cast<int>(text.size())));
    std::string utf8(text.size() * 3, '\0');
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                    &utf8[0], static_cast<int>(utf8.size()), nullptr, nullptr));
    return utf8;
}

} // namespace

CImitationClient::CImitationClient(const std::string& strClass, const std::string& strTitle,
                                   const std::vector<std::string>& listNicks, bool bWide)
    : m_strClass(strClass), m_bWide(bWide),
      m_hResume(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
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
    const std::wstring className = Wide(m_strClass), paneClass = Wide(kPaneClass);
    // A window takes the messages of the kind its class was registered with, wide or ANSI.
    for (const std::wstring& name : {className, paneClass}) {
        const std::string ansiName(name.begin(), name.end());
        if (m_bWide) {
            WNDCLASSEXW wc = {};
            wc.cbSize = sizeof(wc), wc.lpfnWndProc = WndProc, wc.hInstance = instance;
            wc.lpszClassName = name.c_str();
            RegisterClassExW(&wc);
        } else {
            WNDCLASSEXA wc = {};
            wc.cbSize = sizeof(wc), wc.lpfnWndProc = WndProc, wc.hInstance = instance;
            wc.lpszClassName = ansiName.c_str();
            RegisterClassExA(&wc);
        }
    }
    // Children join their siblings at the bottom of the Z order: creation order is walk order.
    const struct {
        const wchar_t* pszClass;
        int nParent;
        DWORD dwStyle;
        RECT rc;
    } windows[kWindows] = {
        {className.c_str(), -1, WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU, {40, 40, 680, 460}},
        {paneClass.c_str(), kTop, WS_BORDER, {0, 0, 640, 28}},
        {paneClass.c_str(), kTop, 0, {0, 28, 640, 400}},
        {paneClass.c_str(), kSecond, WS_CAPTION, {0, 0, 640, 370}},
        {L"EDIT", kActive, WS_BORDER | ES_AUTOHSCROLL, {0, 320, 500, 344}},
        {L"LISTBOX", kActive, WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, {500, 0, 636, 344}},
    };
    bool bCreated = true;
    for (int i = 0; i < kWindows && bCreated; ++i) {
        const auto& w = windows[i];
        const HWND parent = w.nParent < 0 ? nullptr : m_hwnd[w.nParent].load();
        const DWORD style = w.dwStyle | (parent ? WS_CHILD | WS_VISIBLE : 0);
        const std::string ansiClass(w.pszClass, w.pszClass + wcslen(w.pszClass));
        m_hwnd[i] = m_bWide ? CreateWindowExW(0, w.pszClass, L"", style, w.rc.left, w.rc.top,
                                              w.rc.right - w.rc.left, w.rc.bottom - w.rc.top,
                                              parent, nullptr, instance, this)
                            : CreateWindowExA(0, ansiClass.c_str(), "", style, w.rc.left, w.rc.top,
                                              w.rc.right - w.rc.left, w.rc.bottom - w.rc.top,
                                              parent, nullptr, instance, this);
        bCreated = m_hwnd[i] != nullptr;
    }
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
    } else if (m_hwnd[kTop]) {
        DestroyWindow(m_hwnd[kTop]);
    }
    started.set_value(bCreated);
    MSG msg;
    while (bCreated && GetMessageW(&msg, nullptr, 0, 0) > 0)
        DispatchMessageW(&msg);
    for (auto& hwnd : m_hwnd)
        hwnd = nullptr;
    // The next client may be of the other kind.
    UnregisterClassW(className.c_str(), instance);
    UnregisterClassW(paneClass.c_str(), instance);
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
    return m_bWide ? DefWindowProcW(hwnd, msg, wParam, lParam)
                   : DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Every window of the client finds it through GWLP_USERDATA.
LRESULT CALLBACK CImitationClient::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    // The creation parameters sit at the same place in the wide and the ANSI structure.
    if (msg == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(
                              reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* pClient = reinterpret_cast<CImitationClient*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    return pClient ? pClient->OnMessage(hwnd, msg, wParam, lParam)
                   : DefWindowProcW(hwnd, msg, wParam, lParam);
}
