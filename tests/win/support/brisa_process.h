// The real Brisa.exe, copied with the recording winmm.dll into a fresh folder of its own, started
// with this process's environment and driven only through window messages from this process.
// Every wait has a deadline.
#pragma once
#include "controls.h"

// Polls until predicate holds or 10 s pass, handling this thread's messages meanwhile.
bool WaitUntil(const std::function<bool()>& predicate);
std::string TextOfWindow(HWND window); // of any process, by a bounded WM_GETTEXT
std::string TestBinDir();              // where Brisa.exe is built

class CBrisaProcess {
public:
    CBrisaProcess(); // with no Brisa.INI beside the copy yet
    ~CBrisaProcess();

    std::string PathOf(const std::string& name) const { return m_strDir + "\\" + name; }
    // Starts Brisa and waits until its main window waits for input.
    bool Start();
    bool Exited() const { return WaitForSingleObject(m_process.hProcess, 10000) == 0; }
    HWND Item(int id) const { return GetDlgItem(GetWindow(m_hwndMain, GW_CHILD), id); }
    // Posted, as a click arrives; false when the button is disabled.
    bool Click(int id) const;
    // Returns once Brisa has handled everything posted to it so far.
    bool Sync() const;
    // Waits for a message box of Brisa's and presses its OK: its text, "" when none came.
    std::string AnswerMessageBox() const;
    // One "<flags>|<name>" per sndPlaySoundA call, "(null)" for no name.
    Lines SoundCalls() const;

private:
    std::string m_strDir;
    PROCESS_INFORMATION m_process = {};
    HWND m_hwndMain = nullptr;
};
