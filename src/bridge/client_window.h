// Access to the IRC client's windows. Handles are looked up afresh for every operation and
// never kept; every message to the client is a bounded call, an operation has one deadline across
// all its messages, and raising the client never waits for it, so a frozen or slow client cannot
// freeze Brisa.
#pragma once
#include <windows.h>

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

// The entries of the client's list that could be read, and why the copy ended.
struct ClientList {
    enum class EEnd { Whole, Cut, Refused, NotAnswering };
    std::vector<std::string> items;
    EEnd end = EEnd::Whole; // Cut: its length, an entry's length or the time allowed cut it short
};

// How an operation on the client ended.
enum class ClientOutcome {
    Done,
    NotAnswering,    // before a line was complete: nothing more was typed
    EnterUnanswered, // the line was handed over; the client may still enter it
    NoEditLine,      // its windows are laid out otherwise: nothing was typed
    Refused,         // it refused what its interface was asked: nothing more was typed
    CannotCarry,     // its code page lacks a character of the line, or the line is too long
};

// The time an operation may take (about 3 s), counted from now, as a tick count.
ULONGLONG OperationDeadline();
// For a message that may take its whole time, whatever the operation's deadline.
inline constexpr ULONGLONG kNoDeadline = ~0ULL;
// A channel's nicknames are copied within these bounds, whatever the client answers.
inline constexpr long kMaxListEntries = 10000;
inline constexpr ULONGLONG kMaxListCopyMs = 5000;

// A message to a window of the client that waits for the answer at most 1.5 s, and not beyond the
// deadline; false when the client did not answer in time.
bool SendToClient(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, ULONGLONG deadline,
                  LRESULT* result = nullptr);

// The first top-level window of that class, whatever its title; nullptr when there is none or
// the class name is empty.
HWND FindClientWindow(const std::string& className);

// The client's active window, its edit line and (when asked for) its nickname list: along the
// path of the old client where that leads to an edit line and a list box, else found by class
// under the client's MDI client; nullopt when neither finds them.
std::optional<ClientWindows> LocateClientWindows(HWND topLevel, ClientPath depth,
                                                 ULONGLONG deadline);

// The text of a client window; nullopt when the client does not answer.
std::optional<ClientText> ReadClientWindowText(HWND window, ULONGLONG deadline);

// Copies up to count entries, index 0 on, within the caps on their number and the time, and ends
// early where the client refuses or does not answer, keeping what was read: each
// readEntry(index, copy) adds its entry to the copy (or marks the copy cut) and answers Whole, or
// says how the copy ends. The time is looked at between entries: each message of an entry may
// take its own time in full.
template <class ReadEntry> ClientList CopyClientList(long long count, ReadEntry readEntry) {
    ClientList copy;
    copy.end = count > kMaxListEntries ? ClientList::EEnd::Cut : ClientList::EEnd::Whole;
    const ULONGLONG deadline = ::GetTickCount64() + kMaxListCopyMs;
    for (long long index = 0; index < count && index < kMaxListEntries; ++index) {
        const auto end =
            ::GetTickCount64() > deadline ? ClientList::EEnd::Cut : readEntry(index, copy);
        if (end != ClientList::EEnd::Whole) {
            copy.end = end;
            break;
        }
    }
    return copy;
}

// The client's list box, copied within bounds of length and time; nullopt when the client does
// not answer its length.
std::optional<ClientList> ReadClientList(HWND list, ULONGLONG deadline);

// Replaces the edit line's text with the line and leaves the caret at its end, then, unless
// prompt is on, presses Enter. Nothing is sent after a step the client did not answer, and
// nothing at all to an ANSI edit line whose code page lacks a character of the line.
ClientOutcome TypeCommandLine(HWND editLine, const std::string& line, bool prompt,
                              ULONGLONG deadline);

// Brings a window of another program to the top without waiting for that program.
void RaiseWithoutWaiting(HWND window);
