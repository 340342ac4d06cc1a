// Access to the IRC client's windows. Handles are looked up afresh for every operation and
// never kept; every message to the client is a bounded call and raising it never waits for it, so
// a frozen client cannot freeze Brisa.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The windows along the client's fixed path.
struct ClientWindows {
    HWND topLevel = nullptr;
    HWND active = nullptr;   // first child of the top-level window's second child
    HWND editLine = nullptr; // first child of the active window
    HWND nickList = nullptr; // next sibling of the edit line, only when asked for
};

enum class ClientPath { ToEditLine, ToNickList };

// A text read from the client, as the client has it and in the program's code page.
struct ClientText {
    std::wstring wide;
    std::string text;
    bool cut = false; // longer than Brisa reads: only its beginning is here
    // Whether a beginning of text reads exactly as the client has it: on older Windows a
    // character that the code page lacks reads as '?'.
    bool StartsExactlyWith(const std::string& part) const;
};

// The entries of the client's list box; one that cannot be read reads as "".
struct ClientList {
    std::vector<std::string> items;
    bool whole = true; // false when its length, an entry's length or the time allowed cut it short
};

enum class TypeResult {
    Typed,
    NotAnswering,    // before the line was complete: nothing more was typed
    EnterUnanswered, // the line is there and Enter was sent; the client may still take it
};

// The first top-level window of that class, whatever its title; nullptr when there is none or
// the class name is empty.
HWND FindClientWindow(const std::string& className);

// Walks the path from the top-level window; nullopt when there is none or a step finds no window.
std::optional<ClientWindows> LocateClientWindows(HWND topLevel, ClientPath depth);

// The text of a client window; nullopt when the client does not answer.
std::optional<ClientText> ReadClientWindowText(HWND window);

// The client's list box, copied within bounds of length and time; nullopt when the client does
// not answer.
std::optional<ClientList> ReadClientList(HWND list);

// Replaces the edit line's text with the line and leaves the caret at its end. With prompt on,
// raises `raise` and sends no Enter; otherwise presses Enter and raises `raise` when fallBack is
// on. Nothing is sent after a step the client did not answer.
TypeResult TypeCommandLine(HWND editLine, const std::string& line, bool prompt, HWND raise,
                           bool fallBack);

// Brings a window of another program to the top without waiting for that program.
void RaiseWithoutWaiting(HWND window);

// Tells the user that the client did not answer, and what that left in it.
void ReportClientNotAnswering(TypeResult result = TypeResult::NotAnswering);
