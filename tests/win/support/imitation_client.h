// CImitationClient: the model IRC client of tools/model_client.h on a thread of its own in the
// test process, so that it can freeze while the test goes on; with what the tests read of it and
// the faults they give it.
#pragma once
#include "model_client.h"

#include <atomic>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CImitationClient {
public:
    // The windows along the old client's path; RemoveWindow(step) takes away that one and every
    // later one.
    enum class EStep { FirstChild, SecondChild, ActiveWindow, EditLine, NickList };
    // What the client does wrong from now on, to see Brisa bear it.
    enum class EFault {
        None,
        BogusCount,     // LB_GETCOUNT answers 0x7FFFFFFF, and every read fails
        HugeLengths,    // LB_GETTEXTLEN answers 0x7FFFFFFF
        HangAfterEnter, // once a line is entered, the thread stops until Resume
        HangAfterCaret, // once the caret is put at the end of the line, likewise
    };

    explicit CImitationClient(const std::string& strClass = "mIRC32",
                              const std::string& strTitle = "#chat [+nt]: hello",
                              const std::vector<std::string>& listNicks = {}, bool bWide = true,
                              bool bCurrent = false);
    ~CImitationClient();
    CImitationClient(const CImitationClient&) = delete;
    CImitationClient& operator=(const CImitationClient&) = delete;

    HWND TopLevel() const { return m_hwndTop; } // null once closed
    HWND EditLine() const;

    // On the client's thread; false while it hangs, or once it is closed.
    bool SetTitle(const std::string& strTitle);
    bool SetNicknames(const std::vector<std::string>& listNicks);
    bool SetEditText(const std::string& strText); // as if the user had typed it
    bool SetInterface(const std::string& strVersion);
    bool SetSoundsFolder(const std::string& strKind, const std::string& strFolder);
    // See CModelClient.
    bool SetDelay(UINT message, DWORD ms);
    bool RefuseInterfaceAfter(int calls);
    bool RemoveWindow(EStep step);
    // Today's layout with the switchbar and the treebar turned off: the MDI client becomes the
    // main window's second child, where the old path looks for the workspace.
    bool TurnOffBars();
    void SetFault(EFault fault) { m_fault = fault; }

    void Hang(); // the client's thread stops answering until Resume
    void Resume();
    void Close();

    std::string EditText() const;
    std::vector<std::string> EnteredLines() const;
    // "top" or "active" for each time that window came to the top of its siblings, once the
    // client has taken every raise sent to it.
    std::vector<std::string> RaisedWindows() const;
    int NickListReads() const; // LB_GETTEXTLEN and LB_GETTEXT messages, answered or not
    // "<method>/<N>" of the last message of the interface (N of the mapping "mIRC<N>"), or "".
    std::string LastInterfaceCall() const;
    void ClearRecords();

private:
    class CRecorder;
    bool Invoke(const std::function<bool(CModelClient&)>& fn) const;
    void StopThread(); // answers the message being handled, then waits for Resume

    std::atomic<HWND> m_hwndTop{nullptr};
    std::thread m_thread;
    HANDLE m_hResume;
    std::atomic<bool> m_bHung{false};
    std::atomic<EFault> m_fault{EFault::None};

    mutable std::mutex m_mutex;
    std::vector<std::string> m_listEntered;
    std::vector<std::string> m_listRaised;
    int m_nNickListReads = 0;
    std::string m_strLastCall;
};
