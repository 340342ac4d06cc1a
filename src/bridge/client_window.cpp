#include "bridge/client_window.h"

#include "framework/text.h"

#include <algorithm>
#include <iterator>

namespace {

// Long enough for a busy client, short enough that Brisa never seems frozen.
constexpr UINT kClientTimeoutMs = 1500;
// Far beyond any channel name, nickname or topic that a server sends.
constexpr LRESULT kMaxTextLength = 1024;

} // namespace

// Wide: the system gives an ANSI client every text in that client's own code page.
bool SendToClient(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    DWORD_PTR answer = 0;
    if (!::SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK,
                               kClientTimeoutMs, &answer))
        return false;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return true;
}

HWND FindClientWindow(const std::string& className) {
    // An empty class name would match no window on Windows but is an error under Wine.
    return className.empty() ? nullptr : ::FindWindowW(fw::Widen(className).c_str(), nullptr);
}

namespace {

std::wstring ClassOf(HWND window) {
    wchar_t name[64] = {};
    return std::wstring(name, static_cast<std::size_t>(
                                  std::max(0, ::GetClassNameW(window, name, std::size(name)))));
}

// An edit line as clients make them: the system's edit control, or a rich edit (current mIRC).
bool IsEditLine(HWND window) {
    const std::wstring name = ClassOf(window);
    return _wcsicmp(name.c_str(), L"Edit") == 0 || _wcsnicmp(name.c_str(), L"RichEdit", 8) == 0;
}

bool IsListBox(HWND window) {
    return _wcsicmp(ClassOf(window).c_str(), L"ListBox") == 0;
}

HWND FindChild(HWND parent, bool (*isWanted)(HWND)) {
    for (HWND child = ::GetWindow(parent, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (isWanted(child))
            return child;
    }
    return nullptr;
}

} // namespace

std::optional<ClientWindows> LocateClientWindows(HWND topLevel, ClientPath depth) {
    const bool wantsList = depth == ClientPath::ToNickList;
    ClientWindows windows;
    // The fixed path of the 32-bit client of the late 1990s, taken only where it leads to windows
    // of the right kinds: elsewhere it may lead to any window at all.
    const HWND first = ::GetWindow(topLevel, GW_CHILD);
    const HWND second = first ? ::GetWindow(first, GW_HWNDNEXT) : nullptr;
    windows.active = second ? ::GetWindow(second, GW_CHILD) : nullptr;
    windows.editLine = windows.active ? ::GetWindow(windows.active, GW_CHILD) : nullptr;
    windows.nickList = windows.editLine ? ::GetWindow(windows.editLine, GW_HWNDNEXT) : nullptr;
    if (windows.editLine && IsEditLine(windows.editLine) &&
        (!wantsList || (windows.nickList && IsListBox(windows.nickList))))
        return windows;
    // Current clients keep their windows in an MDI client among bars that the user moves: the
    // active child's edit line and list, by class.
    const HWND mdiClient = ::FindWindowExW(topLevel, nullptr, L"MDIClient", nullptr);
    LRESULT active = 0;
    if (!mdiClient || !SendToClient(mdiClient, WM_MDIGETACTIVE, 0, 0, &active) ||
        !::IsChild(mdiClient, reinterpret_cast<HWND>(active)))
        return std::nullopt;
    windows.active = reinterpret_cast<HWND>(active);
    windows.editLine = FindChild(windows.active, IsEditLine);
    windows.nickList = FindChild(windows.active, IsListBox);
    if (!windows.editLine || (wantsList && !windows.nickList))
        return std::nullopt;
    return windows;
}

// The length asked first, here and for the list below: a text comes back whole up to its bound.
std::optional<ClientText> ReadClientWindowText(HWND window) {
    LRESULT length = 0;
    if (!SendToClient(window, WM_GETTEXTLENGTH, 0, 0, &length))
        return std::nullopt;
    const bool cut = length > kMaxTextLength;
    length = std::clamp<LRESULT>(length, 0, kMaxTextLength);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (!SendToClient(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]), &copied))
        return std::nullopt;
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return ClientText{fw::Narrow(text), cut};
}

std::optional<ClientList> ReadClientList(HWND list) {
    LRESULT count = 0;
    if (!SendToClient(list, LB_GETCOUNT, 0, 0, &count))
        return std::nullopt;
    return CopyClientList(count, [list](long long index, ClientList& copy) {
        LRESULT length = 0;
        if (!SendToClient(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0, &length))
            return false;
        if (length == LB_ERR) // gone since the count was taken
            return true;
        if (length > kMaxTextLength) {
            copy.whole = false;
            return true;
        }
        std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
        LRESULT copied = 0;
        if (length > 0 && !SendToClient(list, LB_GETTEXT, static_cast<WPARAM>(index),
                                        reinterpret_cast<LPARAM>(&text[0]), &copied))
            return false;
        text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
        copy.items.push_back(fw::Narrow(text));
        return true;
    });
}

ClientOutcome TypeCommandLine(HWND editLine, const std::string& line, bool prompt) {
    const std::wstring wideLine = fw::Widen(line);
    if (!SendToClient(editLine, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wideLine.c_str())) ||
        !SendToClient(editLine, EM_SETSEL, 0, -1) || !SendToClient(editLine, EM_SETSEL, -1, 0))
        return ClientOutcome::NotAnswering;
    if (!prompt && !SendToClient(editLine, WM_CHAR, '\r', 1))
        return ClientOutcome::EnterUnanswered;
    return ClientOutcome::Done;
}

// BringWindowToTop would wait for the client's thread, however long it is stuck.
void RaiseWithoutWaiting(HWND window) {
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
}
