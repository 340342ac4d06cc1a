// CImitationClient: an IRC client's window tree inside the test process, for Brisa to drive.
#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The windows live on a thread of their own with its own message loop, so the test thread stays
// free to wait on Brisa and the client can be frozen. The tree, as Brisa walks it:
//   top-level window (the client's class)
//     first child (a toolbar)
//     second child (the workspace)
//       active window (its title names the channel)
//         edit line (EDIT): Enter records its text as an entered line and empties it
//         nickname list (LISTBOX, unsorted)
class CImitationClient {
public:
    // The windows along the path; RemoveWindow(step) makes the walk find nothing at that step.
    enum class EStep {
        FirstChild,   // the top-level window has no children at all
        SecondChild,  // the first child has no next sibling
        ActiveWindow, // the second child has no child
        EditLine,     // the active window has no child (the nickname list goes too)
        NickList,     // the edit line has no next sibling
    };

    // Throws std::runtime_error when the windows cannot be created in the expected order.
    explicit CImitationClient(const std::string& strClass = "mIRC32",
                              const std::string& strTitle = "#chat [+nt]: hello",
                              const std::vector<std::string>& listNicks = {});
    ~CImitationClient();
    CImitationClient(const CImitationClient&) = delete;
    CImitationClient& operator=(const CImitationClient&) = delete;

    // Null once the window is removed or the client closed.
    HWND TopLevel() const { return Locked(m_hwndTop); }
    HWND ActiveWindow() const { return Locked(m_hwndActive); }
    HWND EditLine() const { return Locked(m_hwndEdit); }
    HWND NickList() const { return Locked(m_hwndList); }

    // These act on the client's thread; they do nothing and return false while the client
    // hangs, is closed, or when the window they act on was removed.
    bool SetTitle(const std::string& strTitle);
    bool SetNicknames(const std::vector<std::string>& listNicks);
    bool SetEditText(const std::string& strText); // as if the user had typed it
    bool RemoveWindow(EStep step);

    // Freezes the client's thread until Resume: it stops answering messages.
    bool Hang();
    void Resume();
    // Destroys the windows and ends the client's thread.
    void Close();

    std::string EditText() const { return Locked(m_strEditText); }
    std::vector<std::string> EnteredLines() const { return Locked(m_listEntered); }
    // "top" or "active" for each time that window was put on top of its siblings.
    std::vector<std::string> RaisedWindows() const { return Locked(m_listRaised); }
    int NickTextReads() const { return Locked(m_nNickTextReads); } // LB_GETTEXT messages
    void ClearRecords(); // entered lines, raised windows and nickname reads

private:
    template <class T> T Locked(const T& value) const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return value;
    }
    void Run(const std::string& strTitle, const std::vector<std::string>& listNicks,
             std::promise<bool>& started);
    bool CreateWindows(const std::string& strTitle);
    bool PathIsIntact() const;
    bool Invoke(const std::function<bool()>& fn);
    bool FillNickList(const std::vector<std::string>& listNicks);
    void Record(std::vector<std::string>& list, const std::string& str);

    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    LRESULT OnChildMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ChildProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    const std::string m_strClass;
    std::thread m_thread;
    HANDLE m_hResume = nullptr;
    std::atomic<bool> m_bHung{false};
    WNDPROC m_pfnEditProc = nullptr;
    WNDPROC m_pfnListProc = nullptr;

    // Written on the client's thread, under the lock once the constructor has returned.
    mutable std::mutex m_mutex;
    HWND m_hwndTop = nullptr;
    HWND m_hwndFirst = nullptr;
    HWND m_hwndSecond = nullptr;
    HWND m_hwndActive = nullptr;
    HWND m_hwndEdit = nullptr;
    HWND m_hwndList = nullptr;
    std::string m_strEditText;
    std::vector<std::string> m_listEntered;
    std::vector<std::string> m_listRaised;
    int m_nNickTextReads = 0;
};
