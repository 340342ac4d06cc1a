// The real Brisa.exe, copied with the recording winmm.dll into a fresh folder of its own, started
// and driven only through window messages from this process. Every wait has a deadline.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

constexpr DWORD kWaitMs = 10000; // generous: Wine on a loaded host can be slow

// Polls until predicate holds or timeoutMs passes, handling this thread's messages meanwhile.
bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs = kWaitMs);
// SendMessageTimeoutW, so a frozen window fails the test instead of hanging it.
LRESULT Ask(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
std::string TextOfWindow(HWND window); // of any process, by WM_GETTEXT
std::string TestBinDir();              // where Brisa.exe is built

class CBrisaProcess {
public:
    // ini: the text of Brisa.INI beside the copy; none: no such file, so Brisa uses %APPDATA%.
    explicit CBrisaProcess(const std::optional<std::string>& ini);
    ~CBrisaProcess();
    CBrisaProcess(const CBrisaProcess&) = delete;
    CBrisaProcess& operator=(const CBrisaProcess&) = delete;

    std::string PathOf(const std::string& name) const { return m_strDir + "\\" + name; }
    void SetEnv(const std::string& name, const std::string& value) {
        m_listEnv.emplace_back(name, value);
    }
    // Starts Brisa and waits until its main window waits for input.
    bool Start();
    bool Exited(DWORD timeoutMs = kWaitMs) const;
    HWND Main() const { return m_hwndMain; }
    HWND Item(int id) const; // a control of the main form
    // Posted, as a click arrives; false when the button is disabled.
    bool Click(int id) const;
    // Returns once Brisa has handled everything posted to it so far.
    bool Sync() const;
    // Waits for a message box of Brisa's and presses the button: its text, "" when none came.
    std::string AnswerMessageBox(int button) const;
    // One "<flags>|<name>" per sndPlaySoundA call, "(null)" for no name.
    std::vector<std::string> SoundCalls() const;

private:
    std::string m_strDir;
    std::vector<std::pair<std::string, std::string>> m_listEnv;
    PROCESS_INFORMATION m_process = {};
    HWND m_hwndMain = nullptr;
};
