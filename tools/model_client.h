// CModelClient: a graphical IRC client's windows, wide or ANSI, and the interface mIRC documents,
// made on the creating thread; the tests and the stand-in client drive Brisa against it. Texts
// are UTF-8. Layouts: today's mIRC (class "mIRC", interface version "7.72") or the old client.
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
    // The version the interface answers as; "" refuses it, as a locked client does.
    void SetInterface(const std::string& version) { m_strVersion = version; }
    // $sound(kind), kind "wave", "midi" or "mp3"; "" at first.
    void SetSoundsFolder(const std::string& kind, const std::string& folder) {
        m_soundsFolders[kind] = folder;
    }
    // Each message of that kind (0: every kind) from another thread waits ms before handling.
    void SetDelay(UINT message, DWORD ms) { m_nDelayedMessage = message, m_nDelayMs = ms; }

protected:
    // Sees every message first: true, with *pResult, when it takes it.
    virtual bool PreHandle(HWND, UINT, WPARAM, LPARAM, LRESULT*) { return false; }
    // A line the client executed.
    virtual void OnEntered(const std::string&) {}

private:
    enum { kTop, kFirst, kSecond, kActive, kEdit, kList, kWindows };

    LRESULT CallDefault(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) const;
    bool Create(const Options& options);
    LRESULT OnInterface(bool evaluate, WPARAM method, unsigned index);
    std::string Evaluate(const std::string& identifier) const;
    LRESULT OnMessage(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    const bool m_bWide;
    HWND m_hwnd[kWindows] = {};
    WNDPROC m_pfnControlProc[kWindows] = {};
    std::string m_strVersion;
    std::map<std::string, std::string> m_soundsFolders;
    UINT m_nDelayedMessage = 0;
    DWORD m_nDelayMs = 0;
    int m_nNesting = 0; // messages being handled, nested
};
