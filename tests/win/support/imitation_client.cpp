#include "imitation_client.h"

#include <future>

const UINT kMsgInvoke = WM_APP + 1; // lParam: the function to run on the client's thread

// The model client with what the tests record of it and the faults they give it.
class CImitationClient::CRecorder : public CModelClient {
public:
    CRecorder(const Options& options, CImitationClient& owner)
        : CModelClient(options), m_owner(owner) {}

protected:
    bool PreHandle(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override {
        const EFault fault = m_owner.m_fault;
        const bool list = hwnd == NickList();
        *pResult = 0;
        if (hwnd == TopLevel() && (msg == WM_USER + 200 || msg == WM_USER + 201))
            m_owner.m_strLastCall = std::to_string(wParam) + "/" + std::to_string(lParam);
        if (msg == WM_WINDOWPOSCHANGING && (hwnd == TopLevel() || hwnd == ActiveWindow()) &&
            !(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOZORDER))
            m_owner.m_listRaised.push_back(hwnd == TopLevel() ? "top" : "active");
        if (hwnd == TopLevel() && msg == kMsgInvoke) {
            (*reinterpret_cast<const std::function<void(CModelClient&)>*>(lParam))(*this);
            *pResult = 1;
        } else if (list && fault == EFault::BogusCount &&
                   (msg == LB_GETCOUNT || msg == LB_GETTEXTLEN || msg == LB_GETTEXT)) {
            *pResult = msg == LB_GETCOUNT ? 0x7FFFFFFF : LB_ERR;
        } else if (hwnd == EditLine() && msg == WM_CHAR && wParam == VK_RETURN &&
                   fault == EFault::HangAfterEnter) {
            OnEntered(EditText());
            SetEditText("");
            m_owner.StopThread();
        } else {
            return false;
        }
        return true;
    }
    void OnEntered(const std::string& line) override { m_owner.m_listEntered.push_back(line); }

private:
    CImitationClient& m_owner;
};

CImitationClient::CImitationClient(const CModelClient::Options& options) {
    std::promise<void> started;
    m_thread = std::thread([&] {
        CRecorder client(options, *this);
        m_hwndTop = client.TopLevel();
        started.set_value();
        MSG msg;
        while (client.IsCreated() && GetMessageW(&msg, nullptr, 0, 0) > 0)
            DispatchMessageW(&msg);
        m_hwndTop = nullptr;
    });
    started.get_future().wait();
    ClearRecords(); // what making the windows did
}

CImitationClient::~CImitationClient() {
    Resume();
    PostMessageW(TopLevel(), WM_CLOSE, 0, 0);
    m_thread.join();
    CloseHandle(m_hResume);
}

bool CImitationClient::Do(const std::function<void(CModelClient&)>& fn) const {
    return TopLevel() && !m_bHung &&
           SendMessageW(TopLevel(), kMsgInvoke, 0, reinterpret_cast<LPARAM>(&fn)) != 0;
}

// Five seconds at most: a Brisa that waits for the client fails its test instead of hanging it.
void CImitationClient::StopThread() {
    m_bHung = true;
    ReplyMessage(0);
    WaitForSingleObject(m_hResume, 5000);
    m_bHung = false;
}

void CImitationClient::Resume() {
    if (m_bHung.exchange(false))
        SetEvent(m_hResume);
}
