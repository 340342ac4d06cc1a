// Helpers that act on another process's windows only through messages, the way a user's input
// arrives, and wait for what it shows.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
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

// SendMessageTimeout with a bound, so a frozen window fails the test instead of hanging it;
// nFailed when the window does not answer.
LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT nFailed = 0);

// A visible top-level window of that process with exactly this caption.
HWND FindProcessWindow(DWORD nProcessId, const std::string& strCaption);
HWND WaitProcessWindow(DWORD nProcessId, const std::string& strCaption); // null after kWaitMs
// The first descendant of hwndTop with that control id.
HWND FindControl(HWND hwndTop, int nId);
std::string ReadWindowText(HWND hwnd);
bool IsEnabled(HWND hwnd);
bool IsChecked(HWND hwndButton);

// Posted, so a modal dialog the click opens does not block the test. False, doing nothing,
// when the button is missing or disabled: a user could not click it either.
bool Click(HWND hwndButton);
bool CloseDialog(HWND hwndDialog, int nButton); // clicks the button and waits for the close
// A menu or accelerator command (WM_COMMAND with no control).
void PostCommand(HWND hwnd, int nId);
void TypeText(HWND hwnd, const std::string& strText);        // one posted WM_CHAR per character
void ReplaceText(HWND hwndEdit, const std::string& strText); // selects all, then types
// Selects the item and notifies the list's parent with LBN_SELCHANGE, as a click would.
bool SelectListItem(HWND hwndList, int nIndex);
// Selects the item (notifying when the selection changes) and posts LBN_DBLCLK.
bool DoubleClickListItem(HWND hwndList, int nIndex);
// Every entry of a list box, also of another process.
std::vector<std::string> ReadListItems(HWND hwndList);
int ListSelection(HWND hwndList); // LB_ERR when nothing is selected
std::vector<std::string> Sorted(std::vector<std::string> list);

// A message box (MessageBoxA) shown by a process: its window, caption and text.
struct CMessageBox {
    HWND m_hwnd = nullptr;
    std::string m_strCaption;
    std::string m_strText;
};
// The process's message box, or one with m_hwnd null when it shows none.
CMessageBox FindMessageBox(DWORD nProcessId);
// Waits for one with that caption (any, when empty) until its text is filled in.
CMessageBox WaitMessageBox(DWORD nProcessId, const std::string& strCaption = "");
bool PressButton(HWND hwndBox, int nId); // IDOK, IDYES, IDNO...
