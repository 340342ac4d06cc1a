#include "sound/sound_folder.h"

#include "framework/text.h"
#include "rules/sound_files.h"

namespace {

constexpr wchar_t kFolderClass[] = L"BrisaSoundFolder";
constexpr UINT_PTR kCheckTimer = 1;
constexpr UINT_PTR kListTimer = 2;

// The folder's sound files as the system's own listing shows them: no folder, hidden or system
// file. nullopt when the folder cannot be listed.
std::optional<std::vector<std::string>> SoundFilesOf(const std::string& folder) {
    if (!IsListableFolder(folder))
        return std::nullopt;
    WIN32_FIND_DATAW found;
    const HANDLE search =
        ::FindFirstFileExW(fw::Widen(folder + "\\*").c_str(), FindExInfoBasic, &found,
                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    std::vector<std::string> names;
    constexpr DWORD kUnlisted =
        FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        if (found.dwFileAttributes & kUnlisted)
            continue;
        std::string name = fw::Narrow(found.cFileName);
        if (SoundTypeOf(name))
            names.push_back(std::move(name));
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return names;
}

} // namespace

CSoundFolder::CSoundFolder(fw::CWinApp& app, ISoundFolderListener& listener, FolderTiming timing)
    : m_app(app), m_listener(listener), m_timing(timing), m_quiet(timing.quietMs, timing.latestMs) {
    fw::RegisterWindowClass(kFolderClass, fw::ObjectWindowProc<CSoundFolder>);
    ::CreateWindowExW(0, kFolderClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                      app.m_hInstance, this);
    ::SetTimer(m_hWnd, kCheckTimer, m_timing.checkMs, nullptr);
}

CSoundFolder::~CSoundFolder() {
    StopWatching();
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

void CSoundFolder::Open(const std::string& folder) {
    m_strFolder = folder;
    List();
    Watch();
}

void CSoundFolder::List() {
    ::KillTimer(m_hWnd, kListTimer);
    m_quiet.Listed();
    auto names = SoundFilesOf(m_strFolder);
    if (!names) {
        StopWatching();
        m_listener.OnUnlistable();
        return;
    }
    m_listener.OnListed(std::move(*names));
}

// Some folders cannot be watched (some network shares): they are simply not followed.
void CSoundFolder::Watch() {
    StopWatching();
    const HANDLE change = ::FindFirstChangeNotificationW(fw::Widen(m_strFolder).c_str(), FALSE,
                                                         FILE_NOTIFY_CHANGE_FILE_NAME);
    if (change == INVALID_HANDLE_VALUE)
        return;
    m_hChange = change;
    m_app.Watch(change, *this);
}

void CSoundFolder::StopWatching() {
    if (!m_hChange)
        return;
    m_app.StopWatching(m_hChange);
    ::FindCloseChangeNotification(m_hChange);
    m_hChange = nullptr;
}

void CSoundFolder::OnSignalled() {
    // A folder that went away can no longer be watched: its listing finds it gone.
    if (!::FindNextChangeNotification(m_hChange))
        StopWatching();
    const Ticks wait = m_quiet.Changed(::GetTickCount64());
    ::SetTimer(m_hWnd, kListTimer, static_cast<UINT>(wait), nullptr);
}

LRESULT CSoundFolder::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_TIMER)
        return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
    // Not every system signals a watched folder that goes away.
    if (wParam == kListTimer ||
        (m_hChange &&
         ::GetFileAttributesW(fw::Widen(m_strFolder).c_str()) == INVALID_FILE_ATTRIBUTES))
        List();
    return 0;
}
