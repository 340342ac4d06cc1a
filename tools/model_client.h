// CModelClient: the windows of a graphical IRC client, and the interface that mIRC documents for
// other programs, made on the thread that creates it: what Brisa drives. The stand-in client is
// built on it, and the tests drive Brisa against it. Its windows are wide (Unicode), as current
// clients' are, or ANSI; every text in and out of it is UTF-8, converted by the platform's own
// calls. Its two layouts, today's mIRC (class "mIRC", answering the interface as version "7.72" at
// first) and the old 32-bit client, are the tables of windows in model_client.cpp.
#pragma once
#include <windows.h>

#include <map>
#include <string>
#include <vector>

class CModelClient {
public:
    struct Options {
        std::string className = "mIRC32";
        std::string title = "#chat [+nt]: hello";
        std::vector<std::string> nicks = {};
        bool wide = true;
        bool current = false; // today's layout
    };

    explicit CModelClient(const Options& options);
    virtual ~CModelClient();
    CModelClient(const CModelClient&) = delete;
    CModelClient& operator=(const CModelClient&) = delete;

    bool IsCreated() const { return m_hwnd[kTop] != nullptr; }
    HWND TopLevel() const { return m_hwnd[kTop]; } // each null once its window is gone
    HWND ActiveWindow() const { return m_hwnd[kActive]; }
    HWND EditLine() const { return m_hwnd[kEdit]; }
    HWND NickList() const { return m_hwnd[kList]; }

    void SetTitle(const std::string& title);
    void SetEditText(const std::string& text);
    std::string EditText() const;
    // Answers the interface as this version of the client; "" refuses it, as a client does whose
    // user has locked other programs out.
    void SetInterface(const std::string& version) { m_strVersion = version; }
    // The folder the interface gives for $sound(kind), kind "wave", "midi" or "mp3"; "" at first.
    void SetSoundsFolder(const std::string& kind, const std::string& folder) {
        m_soundsFolders[kind] = folder;
    }
    // A slow client: each message of that kind (0: of every kind) sent by another thread waits
    // this long before the client handles it.
    void SetDelay(UINT message, DWORD ms) { m_nDelayedMessage = message, m_nDelayMs = ms; }

protected:
    // Every message to the client's windows comes here first: true, with *pResult, when taken.
    virtual bool PreHandle(HWND, UINT, WPARAM, LPARAM, LRESULT*) { return false; }
    // A line the client executed.
    virtual void OnEntered(const std::string&) {}

private:
    enum { kTop, kFirst, kSecond, kActive, kEdit, kList, kWindows };

    LRESULT CallDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) const;
    bool Create(const Options& options);
    LRESULT OnInterface(bool evaluate, WPARAM method, unsigned index);
    std::string Evaluate(const std::string& expression) const;
    std::string EvaluateOne(const std::string& identifier) const;
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    const bool m_bWide;
    HWND m_hwnd[kWindows] = {};
    WNDPROC m_pfnControlProc[kWindows] = {};
    std::string m_strVersion;
    std::map<std::string, std::string> m_soundsFolders;
    UINT m_nDelayedMessage = 0;
    DWORD m_nDelayMs = 0;
    int m_nNesting = 0; // messages being handled, one inside the other
};
