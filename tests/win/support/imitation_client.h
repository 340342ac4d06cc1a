// CImitationClient: the model IRC client on a thread of its own, so that it can freeze while the
// test goes on; with what the tests read of it and the faults they give it.
#pragma once
#include "model_client.h"

#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class CImitationClient {
public:
    // What it does wrong from now on: a nickname list that counts 2^31 entries and fails every
    // read; a Hang once a line is entered.
    enum class EFault { None, BogusCount, HangAfterEnter };

    explicit CImitationClient(const CModelClient::Options& options = {});
    ~CImitationClient();
    CImitationClient(const CImitationClient&) = delete;
    CImitationClient& operator=(const CImitationClient&) = delete;

    HWND TopLevel() const { return m_hwndTop; } // null once closed
    // Runs fn on the client's thread, as the client would; false while it hangs, or once closed.
    bool Do(const std::function<void(CModelClient&)>& fn) const;
    void SetFault(EFault fault) { m_fault = fault; }
    void Hang() {
        Do([this](CModelClient&) { StopThread(); });
    } // until Resume, 5 s at most
    void Resume();

    // Read on its thread, after what was sent before: the lines executed, "top" or "active" each
    // time that window came to the top, and "<method>/<N>" of the last message of the interface.
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
