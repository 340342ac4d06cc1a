#include "bridge/client_window.h"

#include "framework/text.h"
#include "framework/wnd.h"

#include <algorithm>
#include <iterator>

namespace {

// Long enough for a busy client, short enough that Brisa never seems frozen.
constexpr Ticks kClientTimeoutMs = 1500;
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

// A text of the client, whole up to its bound; nullopt when the client does not answer.
std::optional<std::wstring> ReadClientText(HWND window, UINT lengthMsg, UINT textMsg, WPARAM item,
                                           Ticks deadline, bool* pCut, bool* pGone = nullptr) {
    const bool listEntry = textMsg == LB_GETTEXT;
    return fw::ReadSizedText(
        [&](LRESULT* length) {
            const bool answered = SendToClient(window, lengthMsg, item, 0, deadline, length);
            if (pGone)
                *pGone = answered && *length == LB_ERR; // gone since the count was taken
            return answered;
        },
        [&](std::wstring& buffer, LRESULT* copied) {
            return SendToClient(window, textMsg, listEntry ? item : buffer.size(),
                                reinterpret_cast<LPARAM>(&buffer[0]), deadline, copied);
        },
        kMaxTextLength, pCut);
}

// BringWindowToTop would wait for the client's thread, however long it is stuck.
void RaiseWithoutWaiting(HWND window) {
    ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_ASYNCWINDOWPOS);
}

} // namespace

HWND FindClientWindow(const std::string& className) {
    // An empty class name would match no window on Windows but is an error under Wine.
    return className.empty() ? nullptr : ::FindWindowW(fw::Widen(className).c_str(), nullptr);
}

Ticks TickCount() {
    return ::GetTickCount64();
}

// Wide: the system gives an ANSI client every text in that client's own code page.
bool SendToClient(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, Ticks deadline,
                  LRESULT* result) {
    const Ticks now = TickCount();
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

std::optional<CClientWindowsPath::Windows> CClientWindowsPath::Locate(bool withNickList,
                                                                      Ticks deadline) const {
    Windows windows;
    // The fixed path of the 32-bit client of the late 1990s, taken only where it leads to windows
    // of the right kinds: elsewhere it may lead to any window at all.
    const HWND first = ::GetWindow(m_hTopLevel, GW_CHILD);
    const HWND second = first ? ::GetWindow(first, GW_HWNDNEXT) : nullptr;
    windows.active = second ? ::GetWindow(second, GW_CHILD) : nullptr;
    windows.editLine = windows.active ? ::GetWindow(windows.active, GW_CHILD) : nullptr;
    windows.nickList = windows.editLine ? ::GetWindow(windows.editLine, GW_HWNDNEXT) : nullptr;
    if (windows.editLine && IsEditLine(windows.editLine) &&
        (!withNickList || (windows.nickList && IsListBox(windows.nickList))))
        return windows;
    // Current clients keep their windows in an MDI client among bars that the user moves: the
    // active child's edit line and list, by class.
    const HWND mdiClient = ::FindWindowExW(m_hTopLevel, nullptr, L"MDIClient", nullptr);
    LRESULT active = 0;
    if (!mdiClient || !SendToClient(mdiClient, WM_MDIGETACTIVE, 0, 0, deadline, &active) ||
        !::IsChild(mdiClient, reinterpret_cast<HWND>(active)))
        return std::nullopt;
    windows.active = reinterpret_cast<HWND>(active);
    windows.editLine = FindChild(windows.active, IsEditLine);
    windows.nickList = FindChild(windows.active, IsListBox);
    if (!windows.editLine || (withNickList && !windows.nickList))
        return std::nullopt;
    return windows;
}

ClientAnswer<ClientText> CClientWindowsPath::ActiveTitle(Ticks deadline) {
    const auto windows = Locate(false, deadline);
    if (!windows)
        return {ClientOutcome::NoEditLine};
    bool cut = false;
    const auto title =
        ReadClientText(windows->active, WM_GETTEXTLENGTH, WM_GETTEXT, 0, deadline, &cut);
    if (!title)
        return {ClientOutcome::NotAnswering};
    return {ClientOutcome::Done, {fw::Narrow(*title), cut}};
}

ClientAnswer<ClientList> CClientWindowsPath::NickList(Ticks deadline) {
    const auto windows = Locate(true, deadline);
    if (!windows)
        return {ClientOutcome::NoEditLine};
    const HWND list = windows->nickList;
    LRESULT count = 0;
    if (!SendToClient(list, LB_GETCOUNT, 0, 0, deadline, &count))
        return {ClientOutcome::NotAnswering};
    const auto readEntry = [list](long long index, long long, ClientList& copy, long long* pRead) {
        bool cut = false, gone = false;
        const auto text = ReadClientText(list, LB_GETTEXTLEN, LB_GETTEXT,
                                         static_cast<WPARAM>(index), kNoDeadline, &cut, &gone);
        if (!text)
            return ClientList::EEnd::NotAnswering;
        if (cut) // passed over, and the copy is no longer whole
            copy.end = ClientList::EEnd::Cut;
        else if (!gone)
            copy.items.push_back(fw::Narrow(*text));
        *pRead = 1;
        return ClientList::EEnd::Whole;
    };
    return {ClientOutcome::Done, CopyClientList(count, 1, readEntry, TickCount)};
}

// Nothing is sent after a step the client did not answer, and nothing at all to an ANSI edit
// line whose code page lacks a character of the line.
ClientOutcome CClientWindowsPath::TypeLine(const std::string& line, bool prompt, Ticks deadline,
                                           ClientWindowId* pTypedInto) {
    const auto windows = Locate(false, deadline);
    if (!windows)
        return ClientOutcome::NoEditLine;
    *pTypedInto = reinterpret_cast<ClientWindowId>(windows->active);
    const HWND editLine = windows->editLine;
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

ClientWindowId CClientWindowsPath::FindActive(Ticks deadline) {
    const auto windows = Locate(false, deadline);
    return windows ? reinterpret_cast<ClientWindowId>(windows->active) : 0;
}

// Only a window of the client: one that has gone since is passed over for the main window.
void CClientWindowsPath::Raise(ClientWindowId window) {
    const HWND target = reinterpret_cast<HWND>(window);
    RaiseWithoutWaiting(target && ::IsChild(m_hTopLevel, target) ? target : m_hTopLevel);
}
