#include "imitation_client.h"

#include <stdexcept>

namespace {

const UINT kMsgInvoke = WM_APP + 1; // lParam: the std::function to run on the client's thread
const UINT kMsgHang = WM_APP + 2;
const char kPaneClass[] = "BrisaImitationPane";

bool RegisterWindowClass(const char* pszName, WNDPROC pfnProc) {
    WNDCLASSEXA wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = pfnProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = pszName;
    // Several clients in one test share the class.
    return RegisterClassExA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

std::string TextOf(HWND hwnd) {
    std::vector<char> buffer(GetWindowTextLengthA(hwnd) + 1);
    const int nLength = GetWindowTextA(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), nLength);
}

HWND CreateChild(const char* pszClass, const std::string& strText, DWORD dwStyle, HWND hwndParent,
                 const RECT& rc, void* pParam) {
    return CreateWindowExA(0, pszClass, strText.c_str(), WS_CHILD | WS_VISIBLE | dwStyle, rc.left,
                           rc.top, rc.right - rc.left, rc.bottom - rc.top, hwndParent, nullptr,
                           GetModuleHandleA(nullptr), pParam);
}

} // namespace

CImitationClient::CImitationClient(const std::string& strClass, const std::string& strTitle,
                                   const std::vector<std::string>& listNicks)
    : m_strClass(strClass) {
    m_hStarted = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    m_hHung = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_hResume = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    m_thread = std::thread(&CImitationClient::Run, this, strTitle, listNicks);
    WaitForSingleObject(m_hStarted, INFINITE);
    if (!m_bStarted) {
        m_thread.join();
        CloseHandle(m_hStarted);
        CloseHandle(m_hHung);
        CloseHandle(m_hResume);
        throw std::runtime_error("the imitation client's windows could not be created as a path");
    }
    ClearRecords();
}

CImitationClient::~CImitationClient() {
    Close();
    CloseHandle(m_hStarted);
    CloseHandle(m_hHung);
    CloseHandle(m_hResume);
}

void CImitationClient::Run(const std::string& strTitle, const std::vector<std::string>& listNicks) {
    m_bStarted = CreateWindows(strTitle) && PathIsIntact();
    if (m_bStarted)
        FillNickList(listNicks);
    else if (m_hwndTop)
        DestroyWindow(m_hwndTop);
    SetEvent(m_hStarted);
    if (!m_bStarted)
        return;

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    std::lock_guard<std::mutex> lock(m_mutex);
    m_hwndTop = m_hwndFirst = m_hwndSecond = m_hwndActive = m_hwndEdit = m_hwndList = nullptr;
}

bool CImitationClient::CreateWindows(const std::string& strTitle) {
    if (!RegisterWindowClass(m_strClass.c_str(), WndProc) ||
        !RegisterWindowClass(kPaneClass, WndProc))
        return false;

    // Created into locals: creation sends messages whose handlers take the lock.
    const HWND hwndTop =
        CreateWindowExA(0, m_strClass.c_str(), "Imitation IRC client",
                        WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 40, 40, 640, 420,
                        nullptr, nullptr, GetModuleHandleA(nullptr), this);
    if (!hwndTop)
        return false;
    RECT rc;
    GetClientRect(hwndTop, &rc);
    const LONG nBar = 28;
    // Child windows join their siblings at the bottom of the Z order, so creation order is the
    // order GW_CHILD / GW_HWNDNEXT walk; PathIsIntact checks that.
    const HWND hwndFirst =
        CreateChild(kPaneClass, "", WS_BORDER, hwndTop, {0, 0, rc.right, nBar}, this);
    const HWND hwndSecond =
        CreateChild(kPaneClass, "", WS_CLIPCHILDREN, hwndTop, {0, nBar, rc.right, rc.bottom}, this);
    GetClientRect(hwndSecond, &rc);
    const HWND hwndActive =
        CreateChild(kPaneClass, strTitle, WS_CAPTION | WS_CLIPCHILDREN, hwndSecond, rc, this);
    GetClientRect(hwndActive, &rc);
    const LONG nListWidth = 140;
    const LONG nEditHeight = 24;
    const HWND hwndEdit =
        CreateChild("EDIT", "", WS_BORDER | ES_AUTOHSCROLL, hwndActive,
                    {0, rc.bottom - nEditHeight, rc.right - nListWidth, rc.bottom}, nullptr);
    const HWND hwndList =
        CreateChild("LISTBOX", "", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, hwndActive,
                    {rc.right - nListWidth, 0, rc.right, rc.bottom}, nullptr);
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_hwndTop = hwndTop;
        m_hwndFirst = hwndFirst;
        m_hwndSecond = hwndSecond;
        m_hwndActive = hwndActive;
        m_hwndEdit = hwndEdit;
        m_hwndList = hwndList;
    }
    if (!hwndFirst || !hwndSecond || !hwndActive || !hwndEdit || !hwndList)
        return false;

    SendMessageA(hwndEdit, EM_LIMITTEXT, 0, 0); // keep every line Brisa types, however long
    SetWindowLongPtrA(hwndEdit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrA(hwndList, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_pfnEditProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwndEdit, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(EditProc)));
    m_pfnListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwndList, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ListProc)));
    ShowWindow(hwndTop, SW_SHOWNOACTIVATE);
    return true;
}

bool CImitationClient::PathIsIntact() const {
    return GetWindow(m_hwndTop, GW_CHILD) == m_hwndFirst &&
           GetWindow(m_hwndFirst, GW_HWNDNEXT) == m_hwndSecond &&
           GetWindow(m_hwndSecond, GW_HWNDNEXT) == nullptr &&
           GetWindow(m_hwndSecond, GW_CHILD) == m_hwndActive &&
           GetWindow(m_hwndActive, GW_CHILD) == m_hwndEdit &&
           GetWindow(m_hwndEdit, GW_HWNDNEXT) == m_hwndList &&
           GetWindow(m_hwndList, GW_HWNDNEXT) == nullptr;
}

bool CImitationClient::Invoke(const std::function<void()>& fn) {
    const HWND hwndTop = TopLevel();
    if (!hwndTop || m_bHung)
        return false;
    SendMessageA(hwndTop, kMsgInvoke, 0, reinterpret_cast<LPARAM>(&fn));
    return true;
}

HWND CImitationClient::TopLevel() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hwndTop;
}

HWND CImitationClient::ActiveWindow() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hwndActive;
}

HWND CImitationClient::EditLine() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hwndEdit;
}

HWND CImitationClient::NickList() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_hwndList;
}

bool CImitationClient::SetTitle(const std::string& strTitle) {
    bool bDone = false;
    return Invoke(
               [&] { bDone = m_hwndActive && SetWindowTextA(m_hwndActive, strTitle.c_str()); }) &&
           bDone;
}

bool CImitationClient::SetNicknames(const std::vector<std::string>& listNicks) {
    bool bDone = false;
    return Invoke([&] {
               bDone = m_hwndList != nullptr;
               FillNickList(listNicks);
           }) &&
           bDone;
}

bool CImitationClient::SetEditText(const std::string& strText) {
    bool bDone = false;
    return Invoke([&] { bDone = m_hwndEdit && SetWindowTextA(m_hwndEdit, strText.c_str()); }) &&
           bDone;
}

bool CImitationClient::RemoveWindow(EStep step) {
    // Innermost first; each step takes the windows below it with it.
    std::vector<HWND*> listGone = {&m_hwndList};
    if (step != EStep::NickList)
        listGone.push_back(&m_hwndEdit);
    if (step == EStep::ActiveWindow || step == EStep::SecondChild || step == EStep::FirstChild)
        listGone.push_back(&m_hwndActive);
    if (step == EStep::SecondChild || step == EStep::FirstChild)
        listGone.push_back(&m_hwndSecond);
    if (step == EStep::FirstChild)
        listGone.push_back(&m_hwndFirst);
    return Invoke([&] {
        for (HWND* pHwnd : listGone)
            Forget(*pHwnd);
    });
}

void CImitationClient::Forget(HWND& hwnd) {
    if (hwnd)
        DestroyWindow(hwnd);
    std::lock_guard<std::mutex> lock(m_mutex);
    hwnd = nullptr;
}

bool CImitationClient::Hang() {
    const HWND hwndTop = TopLevel();
    if (!hwndTop || m_bHung)
        return false;
    m_bHung = true;
    PostMessageA(hwndTop, kMsgHang, 0, 0);
    // Frozen only once its thread sits in the wait, not when the message is merely queued.
    return WaitForSingleObject(m_hHung, 10000) == WAIT_OBJECT_0;
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
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_strEditText;
}

std::vector<std::string> CImitationClient::EnteredLines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_listEntered;
}

std::vector<std::string> CImitationClient::RaisedWindows() const {
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

void CImitationClient::FillNickList(const std::vector<std::string>& listNicks) {
    if (!m_hwndList)
        return;
    SendMessageA(m_hwndList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_hwndList, LB_RESETCONTENT, 0, 0);
    for (const std::string& strNick : listNicks)
        SendMessageA(m_hwndList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strNick.c_str()));
    SendMessageA(m_hwndList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hwndList, nullptr, TRUE);
}

void CImitationClient::CacheEditText() {
    std::string strText = TextOf(m_hwndEdit);
    std::lock_guard<std::mutex> lock(m_mutex);
    m_strEditText = std::move(strText);
}

void CImitationClient::Record(std::vector<std::string>& list, const std::string& str) {
    std::lock_guard<std::mutex> lock(m_mutex);
    list.push_back(str);
}

LRESULT CImitationClient::OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_WINDOWPOSCHANGING:
        if (!(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER)) {
            if (hwnd == m_hwndTop)
                Record(m_listRaised, "top");
            else if (hwnd == m_hwndActive)
                Record(m_listRaised, "active");
        }
        break;
    case kMsgInvoke:
        (*reinterpret_cast<const std::function<void()>*>(lParam))();
        return 0;
    case kMsgHang:
        SetEvent(m_hHung);
        WaitForSingleObject(m_hResume, INFINITE);
        return 0;
    case WM_DESTROY:
        if (hwnd == m_hwndTop)
            PostQuitMessage(0);
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CImitationClient::OnEditMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_CHAR && wParam == VK_RETURN) {
        // The client executes the line and empties its edit line.
        Record(m_listEntered, TextOf(hwnd));
        SetWindowTextA(hwnd, "");
        return 0;
    }
    const LRESULT result = CallWindowProcA(m_pfnEditProc, hwnd, msg, wParam, lParam);
    switch (msg) {
    case WM_SETTEXT:
    case WM_CHAR:
    case WM_KEYDOWN:
    case WM_CLEAR:
    case WM_CUT:
    case WM_PASTE:
    case WM_UNDO:
    case EM_UNDO:
    case EM_REPLACESEL:
        CacheEditText();
        break;
    }
    return result;
}

LRESULT CImitationClient::OnListMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == LB_GETTEXT) {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_nNickTextReads;
    }
    return CallWindowProcA(m_pfnListProc, hwnd, msg, wParam, lParam);
}

// The three window procedures find their client through GWLP_USERDATA and let no exception out.
LRESULT CALLBACK CImitationClient::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* pCreate = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
    }
    auto* pClient = reinterpret_cast<CImitationClient*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    try {
        if (pClient)
            return pClient->OnMessage(hwnd, msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CImitationClient::EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* pClient = reinterpret_cast<CImitationClient*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    try {
        return pClient->OnEditMessage(hwnd, msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT CALLBACK CImitationClient::ListProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* pClient = reinterpret_cast<CImitationClient*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    try {
        return pClient->OnListMessage(hwnd, msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}
