// CImitationClient: an IRC client's window tree on a thread of its own in the test process, for
// Brisa to drive. Its own thread lets it freeze while the test goes on. The tree, as Brisa walks
// it:
//   top-level window (the client's class)
//     first child (a toolbar)
//     second child (the workspace)
//       active window (its title names the channel)
//         edit line (EDIT): Enter records its text as an entered line and empties it
//         nickname list (LISTBOX, unsorted)
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class CImitationClient {
public:
    // The windows along the path; RemoveWindow(step) makes the walk find nothing from that step.
    enum class EStep { FirstChild, SecondChild, ActiveWindow, EditLine, NickList };

    explicit CImitationClient(const std::string& strClass = "mIRC32",
                              const std::string& strTitle = "#chat [+nt]: hello",
                              const std::vector<std::string>& listNicks = {}, bool bWide = true,
                              bool bCurrent = false);
    ~CImitationClient();
    CImitationClient(const CImitationClient&) = delete;
    CImitationClient& operator=(const CImitationClient&) = delete;

    HWND TopLevel() const { return m_hwnd[kTop]; } // null once closed
    HWND ActiveWindow() const { return m_hwnd[kActive]; }
    HWND EditLine() const { return m_hwnd[kEdit]; }
    HWND NickList() const { return m_hwnd[kList]; }

    // On the client's thread; false while it hangs, once it is closed or the window is gone.
    bool SetTitle(const std::string& strTitle);
    bool SetNicknames(const std::vector<std::string>& listNicks);
    bool SetEditText(const std::string& strText); // as if the user had typed it
    bool RemoveWindow(EStep step);

    void Hang(); // the client's thread stops answering until Resume
    void Resume();
    void Close();

    // What the client does wrong from now on, to see Brisa bear it.
    enum class EFault {
        None,
        BogusCount,     // LB_GETCOUNT answers 0x7FFFFFFF, and every read fails
        HugeLengths,    // LB_GETTEXTLEN answers 0x7FFFFFFF
        SlowList,       // each LB_GETTEXT takes 10 ms
        SlowEnter,      // Enter takes 2.5 s: the line is entered after Brisa has stopped waiting
        HangAfterEnter, // once a line is entered, the thread stops until Resume
        HangAfterCaret, // once the caret is put at the end of the line, likewise
    };
    void SetFault(EFault fault) { m_fault = fault; }
    // Answers the documented interface as this version of the client; "" refuses it (returns 0).
    void SetInterface(const std::string& strVersion);
    // "<method>/<N>" of the last message of the interface (N of the mapping "mIRC<N>"), or "".
    std::string LastInterfaceCall() const;

    std::string EditText() const;
    std::vector<std::string> EnteredLines() const;
    // "top" or "active" for each time that window was put on top of its siblings, once the client
    // has taken every raise sent to it.
    std::vector<std::string> RaisedWindows() const;
    int NickTextReads() const; // LB_GETTEXT messages
    void ClearRecords();

private:
    enum { kTop, kFirst, kSecond, kActive, kEdit, kList, kWindows };

    void Run(const std::string& strTitle, const std::vector<std::string>& listNicks,
             std::promise<bool>& started);
    bool Invoke(const std::function<bool()>& fn) const;
    bool FillNickList(const std::vector<std::string>& listNicks) const;
    void Record(std::vector<std::string>& list, const std::string& str);
    void StopThread(); // answers the message being handled, then waits for Resume
    LRESULT OnInterface(bool evaluate, WPARAM method, unsigned index);
    std::string Evaluate(const std::string& expression, const std::string& version) const;
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    const std::string m_strClass;
    const bool m_bWide;
    const bool m_bCurrent;
    std::atomic<HWND> m_hwnd[kWindows] = {};
    WNDPROC m_pfnControlProc[kWindows] = {};
    std::thread m_thread;
    HANDLE m_hResume;
    std::atomic<bool> m_bHung{false};
    std::atomic<EFault> m_fault{EFault::None};

    mutable std::mutex m_mutex;
    std::vector<std::string> m_listEntered;
    std::vector<std::string> m_listRaised;
    int m_nNickTextReads = 0;
    std::string m_strVersion;
    std::string m_strLastCall;
};
