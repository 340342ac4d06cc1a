// Access to the IRC client's windows. Handles are looked up afresh for every operation and
// never kept; every message to the client is a bounded call, so a frozen client cannot freeze
// Brisa.
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

// The first top-level window of that class, whatever its title; nullptr when there is none or
// the class name is empty.
HWND FindClientWindow(const std::string& className);

// Walks the path from the top-level window; nullopt when there is none or a step finds no window.
std::optional<ClientWindows> LocateClientWindows(HWND topLevel, ClientPath depth);

// A text read from the client, as the client has it and in the program's code page.
struct ClientText {
    std::wstring wide;
    std::string text;
    // Whether a beginning of text reads exactly as the client has it: on older Windows a
    // character that the code page lacks reads as '?'.
    bool StartsExactlyWith(const std::string& part) const;
};

// The whole text of a client window; nullopt when the client does not answer.
std::optional<ClientText> ReadClientWindowText(HWND window);

// The items of the client's list box (an unreadable item reads as ""); nullopt when the client
// does not answer.
std::optional<std::vector<std::string>> ReadClientList(HWND list);

// Replaces the edit line's text with the line and leaves the caret at its end. With prompt on,
// raises `raise` and sends no Enter; otherwise presses Enter and raises `raise` when fallBack is
// on. false when the client stopped answering (nothing further was sent).
bool TypeCommandLine(HWND editLine, const std::string& line, bool prompt, HWND raise,
                     bool fallBack);

// Tells the user that the client does not answer.
void ReportClientNotAnswering();
