// CImitationClient: the model IRC client of tools/model_client.h on a thread of its own in the
// test process, so that it can freeze while the test goes on; with what the tests read of it and
// the faults they give it.
#pragma once
#include "model_client.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class CImitationClient {
public:
    // What the client does wrong from now on, to see Brisa bear it.
    enum class EFault {
        None,
        BogusCount,     // LB_GETCOUNT answers 0x7FFFFFFF, and every read fails
        HugeLengths,    // LB_GETTEXTLEN answers 0x7FFFFFFF
        HangAfterEnter, // once a line is entered, the thread stops as Hang makes it
    };

    explicit CImitationClient(const CModelClient::Options& options = {});
    ~CImitationClient();
    CImitationClient(const CImitationClient&) = delete;
    CImitationClient& operator=(const CImitationClient&) = delete;

    HWND TopLevel() const { return m_hwndTop; } // null once closed
    // Runs fn on the client's thread, as the client would; false while it hangs, or once closed.
    bool Do(const std::function<void(CModelClient&)>& fn) const;
    void SetFault(EFault fault) { m_fault = fault; }
    // The thread stops answering until Resume, five seconds at most.
    void Hang() {
        Do([this](CModelClient&) { StopThread(); });
    }
    void Resume();

    // What the client recorded, read on its thread once it has taken what was sent before: the
    // lines it executed, "top" or "active" each time that window came to the top of its siblings,
    // and "<method>/<N>" of the last message of the interface (N of its mapping "mIRC<N>").
    std::vector<std::string> Entered() const { return Read(m_listEntered); }
    std::vector<std::string> Raised() const { return Read(m_listRaised); }
    std::string LastInterfaceCall() const { return Read(m_strLastCall); }
    void ClearRecords() {
        Do([this](CModelClient&) { m_listEntered.clear(), m_listRaised.clear(); });
    }

private:
    class CRecorder;
    void StopThread(); // answers the message being handled, then waits for Resume
    template <class T> T Read(const T& record) const {
        T copy{};
        Do([&](CModelClient&) { copy = record; });
        return copy;
    }

    std::atomic<HWND> m_hwndTop{nullptr};
    std::thread m_thread;
    const HANDLE m_hResume = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::atomic<bool> m_bHung{false};
    std::atomic<EFault> m_fault{EFault::None};
    std::vector<std::string> m_listEntered, m_listRaised; // of the client's thread
    std::string m_strLastCall;
};
