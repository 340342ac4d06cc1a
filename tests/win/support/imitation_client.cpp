#include "imitation_client.h"

#include <stdexcept>

namespace {

const UINT kMsgInvoke = WM_APP + 1; // lParam: the function to run on the client's thread
const UINT kMsgHang = WM_APP + 2;

} // namespace

// The model client with what the tests record of it and the faults they give it.
class CImitationClient::CRecorder : public CModelClient {
public:
    CRecorder(const Options& options, CImitationClient& owner)
        : CModelClient(options), m_owner(owner) {}

protected:
    bool PreHandle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;
    void OnEntered(const std::string& line) override { Record(m_owner.m_listEntered, line); }
    void OnRaised(bool topLevel) override {
        Record(m_owner.m_listRaised, topLevel ? "top" : "active");
    }
    void OnInterfaceCall(WPARAM method, unsigned index) override {
        std::lock_guard<std::mutex> lock(m_owner.m_mutex);
        m_owner.m_strLastCall = std::to_string(method) + "/" + std::to_string(index);
    }

private:
    void Record(std::vector<std::string>& list, const std::string& text) {
        std::lock_guard<std::mutex> lock(m_owner.m_mutex);
        list.push_back(text);
    }

    CImitationClient& m_owner;
};

bool CImitationClient::CRecorder::PreHandle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam,
                                            LRESULT* pResult) {
    const bool edit = hwnd == EditLine(), list = hwnd == NickList();
    const EFault fault = m_owner.m_fault;
    *pResult = 0;
    if (list && (msg == LB_GETTEXTLEN || msg == LB_GETTEXT)) {
        std::lock_guard<std::mutex> lock(m_owner.m_mutex);
        ++m_owner.m_nNickListReads;
    }
    if (hwnd == TopLevel() && msg == kMsgInvoke) {
        *pResult = (*reinterpret_cast<const std::function<bool(CModelClient&)>*>(lParam))(*this);
    } else if (hwnd == TopLevel() && msg == kMsgHang) {
        m_owner.StopThread();
    } else if (list && fault == EFault::BogusCount &&
               (msg == LB_GETCOUNT || msg == LB_GETTEXTLEN || msg == LB_GETTEXT)) {
        *pResult = msg == LB_GETCOUNT ? 0x7FFFFFFF : LB_ERR;
    } else if (list && fault == EFault::HugeLengths && msg == LB_GETTEXTLEN) {
        *pResult = 0x7FFFFFFF;
    } else if (edit && msg == WM_CHAR && wParam == VK_RETURN && fault == EFault::HangAfterEnter) {
        OnEntered(EditText());
        SetEditText("");
        m_owner.StopThread();
    } else if (edit && msg == EM_SETSEL && fault == EFault::HangAfterCaret &&
               wParam == static_cast<WPARAM>(-1)) {
        CallDefault(hwnd, msg, wParam, lParam);
        m_owner.StopThread();
    } else {
        return false;
    }
    return true;
}

CImitationClient::CImitationClient(const std::string& strClass, const std::string& strTitle,
                                   const std::vector<std::string>& listNicks, bool bWide,
                                   bool bCurrent)
    : m_hResume(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {
    std::promise<bool> started;
    m_thread = std::thread([&] {
        CRecorder client({strClass, strTitle, listNicks, bWide, bCurrent}, *this);
        m_hwndTop = client.TopLevel();
        ClearRecords(); // what making the windows did
        started.set_value(client.IsCreated());
        MSG msg;
        while (client.IsCreated() && GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        m_hwndTop = nullptr;
    });
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

bool CImitationClient::Invoke(const std::function<bool(CModelClient&)>& fn) const {
    const HWND hwndTop = TopLevel();
    return hwndTop && !m_bHung &&
           SendMessageW(hwndTop, kMsgInvoke, 0, reinterpret_cast<LPARAM>(&fn)) != 0;
}

bool CImitationClient::SetTitle(const std::string& strTitle) {
    return Invoke([&](CModelClient& client) { return client.SetTitle(strTitle), true; });
}

bool CImitationClient::SetNicknames(const std::vector<std::string>& listNicks) {
    return Invoke([&](CModelClient& client) { return client.SetNicknames(listNicks), true; });
}

bool CImitationClient::SetEditText(const std::string& strText) {
    return Invoke([&](CModelClient& client) { return client.SetEditText(strText), true; });
}

bool CImitationClient::SetInterface(const std::string& strVersion) {
    return Invoke([&](CModelClient& client) { return client.SetInterface(strVersion), true; });
}

bool CImitationClient::SetSoundsFolder(const std::string& strKind, const std::string& strFolder) {
    return Invoke(
        [&](CModelClient& client) { return client.SetSoundsFolder(strKind, strFolder), true; });
}

bool CImitationClient::SetDelay(UINT message, DWORD ms) {
    return Invoke([&](CModelClient& client) { return client.SetDelay(message, ms), true; });
}

bool CImitationClient::RefuseInterfaceAfter(int calls) {
    return Invoke([&](CModelClient& client) { return client.RefuseInterfaceAfter(calls), true; });
}

bool CImitationClient::RemoveWindow(EStep step) {
    return Invoke([&](CModelClient& client) {
        const HWND first = GetWindow(client.TopLevel(), GW_CHILD);
        const HWND path[] = {first, GetWindow(first, GW_HWNDNEXT), client.ActiveWindow(),
                             client.EditLine(), client.NickList()};
        for (std::size_t i = static_cast<std::size_t>(step); i < std::size(path); ++i)
            DestroyWindow(path[i]);
        return true;
    });
}

bool CImitationClient::TurnOffBars() {
    return Invoke([](CModelClient& client) {
        for (const char* bar : {"mIRC_SwitchBar", "mIRC_TreeBar"})
            DestroyWindow(FindWindowExA(client.TopLevel(), nullptr, bar, nullptr));
        return true;
    });
}

void CImitationClient::Hang() {
    // Answered from the handler, once the thread goes no further than its wait for Resume.
    if (!m_bHung)
        SendMessageW(TopLevel(), kMsgHang, 0, 0);
}

void CImitationClient::StopThread() {
    m_bHung = true;
    ReplyMessage(0);
    WaitForSingleObject(m_hResume, INFINITE);
}

void CImitationClient::Resume() {
    if (m_bHung.exchange(false))
        SetEvent(m_hResume);
}

void CImitationClient::Close() {
    Resume();
    if (!m_thread.joinable())
        return;
    PostMessageW(TopLevel(), WM_CLOSE, 0, 0);
    m_thread.join();
}

HWND CImitationClient::EditLine() const {
    HWND editLine = nullptr;
    Invoke([&](CModelClient& client) { return editLine = client.EditLine(), true; });
    return editLine;
}

std::string CImitationClient::EditText() const {
    std::string text;
    Invoke([&](CModelClient& client) { return text = client.EditText(), true; });
    return text;
}

std::vector<std::string> CImitationClient::EnteredLines() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_listEntered;
}

std::vector<std::string> CImitationClient::RaisedWindows() const {
    Invoke([](CModelClient&) { return true; }); // taken after what was sent before it
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_listRaised;
}

int CImitationClient::NickListReads() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_nNickListReads;
}

std::string CImitationClient::LastInterfaceCall() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_strLastCall;
}

void CImitationClient::ClearRecords() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_listEntered.clear();
    m_listRaised.clear();
    m_nNickListReads = 0;
}
