#include "bridge/client_window.h"

#include "framework/text.h"

#include <algorithm>
#include <iterator>

namespace {

// Long enough for a busy client, short enough that Brisa never seems frozen.
constexpr ULONGLONG kClientTimeoutMs = 1500;
constexpr ULONGLONG kOperationMs = 3000;
// Far beyond any channel name, nickname or topic that a server sends.
constexpr LRESULT kMaxTextLength = 1024;

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

// A text of the client, the length asked first: it comes back whole up to its bound. nullopt
// when the client does not answer.
template <class AskLength, class AskText>
std::optional<std::wstring> ReadBounded(AskLength askLength, AskText askText, bool* pCut) {
    LRESULT length = 0;
    if (!askLength(&length))
        return std::nullopt;
    *pCut = length > kMaxTextLength;
    length = std::clamp<LRESULT>(length, 0, kMaxTextLength);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT copied = 0;
    if (length > 0 && !askText(text, &copied))
        return std::nullopt;
    text.resize(static_cast<std::size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

} // namespace

ULONGLONG OperationDeadline() {
    return ::GetTickCount64() + kOperationMs;
}

// Wide: the system gives an ANSI client every text in that client's own code page.
bool SendToClient(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, ULONGLONG deadline,
                  LRESULT* result) {
    const ULONGLONG now = ::GetTickCount64();
    if (now >= deadline)
        return false;
    DWORD_PTR answer = 0;
    const auto timeout = static_cast<UINT>(std::min(kClientTimeoutMs, deadline - now));
    if (!::SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_ABORTIFHUNG | SMTO_BLOCK, timeout,
                               &answer))
        return false;
    if (result)
        *result = static_cast<LRESULT>(answer);
    return true;
}

HWND FindClientWindow(const std::string& className) {
    // An empty class name would match no window on Windows but is an error under Wine.
    return className.empty() ? nullptr : ::FindWindowW(fw::Widen(className).c_str(), nullptr);
}

std::optional<ClientWindows> LocateClientWindows(HWND topLevel, ClientPath depth,
                                                 ULONGLONG deadline) {
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
    if (!mdiClient || !SendToClient(mdiClient, WM_MDIGETACTIVE, 0, 0, deadline, &active) ||
        !::IsChild(mdiClient, reinterpret_cast<HWND>(active)))
        return std::nullopt;
    windows.active = reinterpret_cast<HWND>(active);
    windows.editLine = FindChild(windows.active, IsEditLine);
    windows.nickList = FindChild(windows.active, IsListBox);
    if (!windows.editLine || (wantsList && !windows.nickList))
        return std::nullopt;
    return windows;
}

std::optional<ClientText> ReadClientWindowText(HWND window, ULONGLONG deadline) {
    bool cut = false;
    const auto text = ReadBounded(
        [&](LRESULT* length) {
            return SendToClient(window, WM_GETTEXTLENGTH, 0, 0, deadline, length);
        },
        [&](std::wstring& buffer, LRESULT* copied) {
            return SendToClient(window, WM_GETTEXT, buffer.size(),
                                reinterpret_cast<LPARAM>(&buffer[0]), deadline, copied);
        },
        &cut);
    if (!text)
        return std::nullopt;
    return ClientText{fw::Narrow(*text), cut};
}

std::optional<ClientList> ReadClientList(HWND list, ULONGLONG deadline) {
    LRESULT count = 0;
    if (!SendToClient(list, LB_GETCOUNT, 0, 0, deadline, &count))
        return std::nullopt;
    return CopyClientList(count, [list](long long index, ClientList& copy) {
        const auto item = static_cast<WPARAM>(index);
        bool cut = false, gone = false;
        const auto text = ReadBounded(
            [&](LRESULT* length) {
                const bool answered =
                    SendToClient(list, LB_GETTEXTLEN, item, 0, kNoDeadline, length);
                gone = answered && *length == LB_ERR; // gone since the count was taken
                return answered;
            },
            [&](std::wstring& buffer, LRESULT* copied) {
                return SendToClient(list, LB_GETTEXT, item, reinterpret_cast<LPARAM>(&buffer[0]),
                                    kNoDeadline, copied);
            },
            &cut);
        if (!text)
            return ClientList::EEnd::NotAnswering;
        if (cut) // passed over, and the copy is no longer whole
            copy.end = ClientList::EEnd::Cut;
        else if (!gone)
            copy.items.push_back(fw::Narrow(*text));
        return ClientList::EEnd::Whole;
    });
}

ClientOutcome TypeCommandLine(HWND editLine, const std::string& line, bool prompt,
                              ULONGLONG deadline) {
    const std::wstring wideLine = fw::Widen(line);
    if (!::IsWindowUnicode(editLine) && !fw::ToCodePage(wideLine, fw::SystemAnsiCodePage()))
        return ClientOutcome::CannotCarry;
    if (!SendToClient(editLine, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wideLine.c_str()),
                      deadline) ||
        !SendToClient(editLine, EM_SETSEL, 0, -1, deadline) ||
        !SendToClient(editLine, EM_SETSEL, -1, 0, deadline))
        return ClientOutcome::NotAnswering;
    if (!prompt && !SendToClient(editLine, WM_CHAR, '\r', 1, deadline))
        return ClientOutcome::EnterUnanswered;
    return ClientOutcome::Done;
}

// BringWindowToTop would wait for the client's thread, however long it is stuck.
void RaiseWithoutWaiting(HWND window) {
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
}
