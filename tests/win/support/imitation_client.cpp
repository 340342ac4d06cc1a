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
    : m_strClass(strClass), m_hResume(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    std::promise<bool> started;
    m_thread = std::thread(&CImitationClient::Run, this, strTitle, listNicks, std::ref(started));
    if (!started.get_future().get()) {
        m_thread.join();
        CloseHandle(m_hResume);
        throw std::runtime_error("the imitation client's windows could not be created as a path");
    }
    ClearRecords();
}

CImitationClient::~CImitationClient() {
    Close();
    CloseHandle(m_hResume);
}

void CImitationClient::Run(const std::string& strTitle, const std::vector<std::string>& listNicks,
                           std::promise<bool>& started) {
    const bool bStarted = CreateWindows(strTitle) && PathIsIntact() && FillNickList(listNicks);
    if (!bStarted && m_hwndTop)
        DestroyWindow(m_hwndTop);
    started.set_value(bStarted);
    MSG msg;
    while (bStarted && GetMessageA(&msg, nullptr, 0, 0) > 0) {
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
    m_hwndTop = CreateWindowExA(0, m_strClass.c_str(), "Imitation IRC client",
                                WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN, 40, 40,
                                640, 420, nullptr, nullptr, GetModuleHandleA(nullptr), this);
    RECT rc = {};
    GetClientRect(m_hwndTop, &rc);
    const LONG nBar = 28, nListWidth = 140, nEditHeight = 24;
    // Child windows join their siblings at the bottom of the Z order, so creation order is the
    // order GW_CHILD / GW_HWNDNEXT walk; PathIsIntact checks that.
    m_hwndFirst = CreateChild(kPaneClass, "", WS_BORDER, m_hwndTop, {0, 0, rc.right, nBar}, this);
    m_hwndSecond = CreateChild(kPaneClass, "", WS_CLIPCHILDREN, m_hwndTop,
                               {0, nBar, rc.right, rc.bottom}, this);
    GetClientRect(m_hwndSecond, &rc);
    m_hwndActive =
        CreateChild(kPaneClass, strTitle, WS_CAPTION | WS_CLIPCHILDREN, m_hwndSecond, rc, this);
    GetClientRect(m_hwndActive, &rc);
    m_hwndEdit =
        CreateChild("EDIT", "", WS_BORDER | ES_AUTOHSCROLL, m_hwndActive,
                    {0, rc.bottom - nEditHeight, rc.right - nListWidth, rc.bottom}, nullptr);
    m_hwndList =
        CreateChild("LISTBOX", "", WS_BORDER | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, m_hwndActive,
                    {rc.right - nListWidth, 0, rc.right, rc.bottom}, nullptr);
    if (!m_hwndTop || !m_hwndFirst || !m_hwndSecond || !m_hwndActive || !m_hwndEdit || !m_hwndList)
        return false;

    SendMessageA(m_hwndEdit, EM_LIMITTEXT, 0, 0); // keep every line Brisa types, however long
    for (HWND hwnd : {m_hwndEdit, m_hwndList})
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    const auto subclass = [](HWND hwnd) {
        return reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ChildProc)));
    };
    m_pfnEditProc = subclass(m_hwndEdit);
    m_pfnListProc = subclass(m_hwndList);
    ShowWindow(m_hwndTop, SW_SHOWNOACTIVATE);
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

bool CImitationClient::Invoke(const std::function<bool()>& fn) {
    const HWND hwndTop = TopLevel();
    return hwndTop && !m_bHung &&
           SendMessageA(hwndTop, kMsgInvoke, 0, reinterpret_cast<LPARAM>(&fn)) != 0;
}

bool CImitationClient::SetTitle(const std::string& strTitle) {
    return Invoke([&] { return m_hwndActive && SetWindowTextA(m_hwndActive, strTitle.c_str()); });
}

bool CImitationClient::SetNicknames(const std::vector<std::string>& listNicks) {
    return Invoke([&] { return FillNickList(listNicks); });
}

bool CImitationClient::SetEditText(const std::string& strText) {
    return Invoke([&] { return m_hwndEdit && SetWindowTextA(m_hwndEdit, strText.c_str()); });
}

bool CImitationClient::RemoveWindow(EStep step) {
    HWND* const path[] = {&m_hwndFirst, &m_hwndSecond, &m_hwndActive, &m_hwndEdit, &m_hwndList};
    return Invoke([&] {
        // The window of that step goes with every later one: its children and next sibling.
        for (size_t i = static_cast<size_t>(step); i < std::size(path); ++i)
            DestroyWindow(*path[i]);
        std::lock_guard<std::mutex> lock(m_mutex);
        for (HWND* pHwnd : path)
            *pHwnd = IsWindow(*pHwnd) ? *pHwnd : nullptr;
        return true;
    });
}

bool CImitationClient::Hang() {
    const HWND hwndTop = TopLevel();
    if (!hwndTop || m_bHung.exchange(true))
        return false;
    // Answered from the handler, once the thread goes no further than its wait for Resume.
    SendMessageA(hwndTop, kMsgHang, 0, 0);
    return true;
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

void CImitationClient::ClearRecords() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listEntered.clear();
    m_listRaised.clear();
    m_nNickTextReads = 0;
}

bool CImitationClient::FillNickList(const std::vector<std::string>& listNicks) {
    if (!m_hwndList)
        return false;
    SendMessageA(m_hwndList, WM_SETREDRAW, FALSE, 0);
    SendMessageA(m_hwndList, LB_RESETCONTENT, 0, 0);
    for (const std::string& strNick : listNicks)
        SendMessageA(m_hwndList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(strNick.c_str()));
    SendMessageA(m_hwndList, WM_SETREDRAW, TRUE, 0);
    return InvalidateRect(m_hwndList, nullptr, TRUE);
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
    case WM_COMMAND:
        if (HIWORD(wParam) == EN_CHANGE && reinterpret_cast<HWND>(lParam) == m_hwndEdit) {
            const std::string strText = TextOf(m_hwndEdit);
            std::lock_guard<std::mutex> lock(m_mutex);
            m_strEditText = strText;
        }
        break;
    case kMsgInvoke:
        return (*reinterpret_cast<const std::function<bool()>*>(lParam))();
    case kMsgHang:
        ReplyMessage(0);
        WaitForSingleObject(m_hResume, INFINITE);
        return 0;
    case WM_DESTROY:
        if (hwnd == m_hwndTop)
            PostQuitMessage(0);
        break;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

LRESULT CImitationClient::OnChildMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    const bool bEdit = hwnd == m_hwndEdit;
    if (bEdit && msg == WM_CHAR && wParam == VK_RETURN) {
        // The client executes the line and empties its edit line.
        Record(m_listEntered, TextOf(hwnd));
        SetWindowTextA(hwnd, "");
        return 0;
    }
    if (!bEdit && msg == LB_GETTEXT) {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_nNickTextReads;
    }
    return CallWindowProcA(bEdit ? m_pfnEditProc : m_pfnListProc, hwnd, msg, wParam, lParam);
}

// The window procedures find their client through GWLP_USERDATA and let no exception out.
LRESULT CALLBACK CImitationClient::WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_NCCREATE) {
        const auto* pCreate = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pCreate->lpCreateParams));
    }
    auto* pClient = reinterpret_cast<CImitationClient*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    try {
        return pClient ? pClient->OnMessage(hwnd, msg, wParam, lParam)
                       : DefWindowProcA(hwnd, msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}

LRESULT CALLBACK CImitationClient::ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* pClient = reinterpret_cast<CImitationClient*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
    try {
        return pClient->OnChildMessage(hwnd, msg, wParam, lParam);
    } catch (...) {
        return 0;
    }
}
