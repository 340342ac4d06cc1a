// Driving Brisa.exe from a test: a case folder with its own copy of the program, and helpers
// that act on another process's windows only through messages, the way a user's input arrives.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Upper bound of every wait for Brisa; generous because Wine on a loaded host can be slow.
constexpr DWORD kWaitMs = 10000;

// Polls predicate until it holds or timeoutMs passes, handling this thread's messages meanwhile.
// Returns whether it held.
bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs = kWaitMs);

// The folder of the running test program, where Brisa.exe and winmm_stub.dll are built.
std::string TestBinDir();
std::string ReadFileText(const std::string& strPath); // "" when the file cannot be read
bool WriteFileText(const std::string& strPath, const std::string& strText);
bool FileExists(const std::string& strPath);

// A visible top-level window of that process with exactly this caption.
HWND FindProcessWindow(DWORD nProcessId, const std::string& strCaption);
// The first descendant of hwndTop with that control id.
HWND FindControl(HWND hwndTop, int nId);
std::string ReadWindowText(HWND hwnd);
bool IsEnabled(HWND hwnd);

// Posted, so a modal dialog the click opens does not block the test. False, doing nothing,
// when the button is missing or disabled: a user could not click it either.
bool Click(HWND hwndButton);
// A menu or accelerator command (WM_COMMAND with no control).
void PostCommand(HWND hwnd, int nId);
void TypeText(HWND hwnd, const std::string& strText); // one posted WM_CHAR per character
// Selects the item and notifies the list's parent with LBN_SELCHANGE, as a click would.
bool SelectListItem(HWND hwndList, int nIndex);
// Selects the item (notifying when the selection changes) and posts LBN_DBLCLK.
bool DoubleClickListItem(HWND hwndList, int nIndex);
// Every entry of a list box, also of another process.
std::vector<std::string> ReadListItems(HWND hwndList);
int ListSelection(HWND hwndList); // LB_ERR when nothing is selected

// A message box (MessageBoxA) shown by a process: its window, caption and text.
struct CMessageBox {
    HWND m_hwnd = nullptr;
    std::string m_strCaption;
    std::string m_strText;
};
// The process's message box, or one with m_hwnd null when it shows none.
CMessageBox FindMessageBox(DWORD nProcessId);
bool PressButton(HWND hwndBox, int nId); // IDOK, IDYES, IDNO...

// One run of Brisa in a folder of its own under the temp folder: a copy of Brisa.exe, its
// Brisa.INI and, for sound checks, the recording winmm.dll. The destructor ends Brisa and
// deletes the folder.
class CBrisaCase {
public:
    static constexpr const char* kMainCaption = "Brisa Server - Brisa";

    // strIni becomes Brisa.INI beside the copy, which makes Brisa keep its settings there;
    // std::nullopt writes none, so Brisa looks for them under %APPDATA% (see SetEnv).
    // bSoundStub puts the recording winmm.dll beside it: see SoundCalls.
    explicit CBrisaCase(const std::optional<std::string>& strIni = std::string(),
                        bool bSoundStub = true);
    ~CBrisaCase();
    CBrisaCase(const CBrisaCase&) = delete;
    CBrisaCase& operator=(const CBrisaCase&) = delete;

    const std::string& Dir() const { return m_strDir; }
    std::string PathOf(const std::string& strName) const { return m_strDir + "\\" + strName; }
    std::string MakeDir(const std::string& strName) const; // creates PathOf(strName)
    void WriteIni(const std::string& strText) const;
    std::string IniText() const;
    // One "<flags>|<name>" or "<flags>|(null)" per sndPlaySoundA call, flags in decimal.
    std::vector<std::string> SoundCalls() const;
    // An environment variable for Brisa's next Start, for example APPDATA.
    void SetEnv(const std::string& strName, const std::string& strValue);

    // Starts Brisa and waits for its main window; false (with the reason on stderr) otherwise.
    bool Start(DWORD timeoutMs = kWaitMs);
    HWND MainWindow() const { return m_hwndMain; }
    DWORD ProcessId() const { return m_nProcessId; }
    bool ProcessExited(DWORD timeoutMs = kWaitMs) const;
    // Closes Brisa with WM_CLOSE, or ends it when it does not close.
    void Stop();

private:
    std::string m_strDir;
    std::vector<std::pair<std::string, std::string>> m_listEnv;
    HANDLE m_hProcess = nullptr;
    DWORD m_nProcessId = 0;
    HWND m_hwndMain = nullptr;
};
