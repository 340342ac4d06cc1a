// Access to the IRC client's windows. Handles are looked up afresh for every operation and
// never kept; every message to the client is a bounded call and raising it never waits for it, so
// a frozen client cannot freeze Brisa.
#pragma once
#include <windows.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

// The client's windows that Brisa types into and reads.
struct ClientWindows {
    HWND active = nullptr; // the active window: a channel window when a channel is active
    HWND editLine = nullptr;
    HWND nickList = nullptr;
};

enum class ClientPath { ToEditLine, ToNickList };

// A text read from the client.
struct ClientText {
    std::string text;
    bool cut = false; // longer than Brisa reads: only its beginning is here
};

// The entries of the client's list box that could be read.
struct ClientList {
    std::vector<std::string> items;
    bool whole = true; // false when its length, an entry's length or the time allowed cut it short
};

// How an operation on the client ended.
enum class ClientOutcome {
    Done,
    NotAnswering,    // before a line was complete: nothing more was typed
    EnterUnanswered, // the line was handed over; the client may still enter it
    NoEditLine,      // its windows are laid out otherwise: nothing was typed
};

// A channel's nicknames are copied within these bounds, whatever the client answers.
inline constexpr long kMaxListEntries = 10000;
inline constexpr unsigned long long kMaxListCopyMs = 5000;

// A message to a window of the client that waits a bounded time for the answer; false when the
// client did not answer in time.
bool SendToClient(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result = nullptr);

// The first top-level window of that class, whatever its title; nullptr when there is none or
// the class name is empty.
HWND FindClientWindow(const std::string& className);

// The client's active window, its edit line and (when asked for) its nickname list: along the
// path of the old client where that leads to an edit line and a list box, else found by class
// under the client's MDI client; nullopt when neither finds them.
std::optional<ClientWindows> LocateClientWindows(HWND topLevel, ClientPath depth);

// The text of a client window; nullopt when the client does not answer.
std::optional<ClientText> ReadClientWindowText(HWND window);

// The client's list box, copied within bounds of length and time; nullopt when the client does
// not answer.
std::optional<ClientList> ReadClientList(HWND list);

// Copies up to count entries, index 0 on, within the caps on their number and the time: each
// readEntry(index, copy) adds its entry to the copy, or marks the copy cut, and is false when the
// client did not answer, which ends the copy with nullopt.
template <class ReadEntry>
std::optional<ClientList> CopyClientList(long long count, ReadEntry readEntry) {
    ClientList copy;
    copy.whole = count <= kMaxListEntries;
    const ULONGLONG deadline = ::GetTickCount64() + kMaxListCopyMs;
    for (long long index = 0; index < std::min<long long>(count, kMaxListEntries); ++index) {
        if (::GetTickCount64() > deadline) {
            copy.whole = false;
            break;
        }
        if (!readEntry(index, copy))
            return std::nullopt;
    }
    return copy;
}

// Replaces the edit line's text with the line and leaves the caret at its end, then, unless
// prompt is on, presses Enter. Nothing is sent after a step the client did not answer.
ClientOutcome TypeCommandLine(HWND editLine, const std::string& line, bool prompt);

// Brings a window of another program to the top without waiting for that program.
void RaiseWithoutWaiting(HWND window);
