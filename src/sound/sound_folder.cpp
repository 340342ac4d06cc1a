#include "sound/sound_folder.h"

#include "framework/module.h"
#include "framework/text.h"
#include "rules/sound_files.h"
#include "sound/file_paths.h"

#include <memory>
#include <optional>
#include <utility>

namespace {

constexpr wchar_t kFolderClass[] = L"BrisaSoundFolder";
constexpr UINT kMsgTold = WM_APP + 1; // wParam: the folder's generation; lParam: a CTold
constexpr DWORD kChangesBytes = 64 * 1024;
// As the system's own directory listing shows files: no folder, hidden or system file.
constexpr DWORD kUnlisted =
    FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// What the follower tells the window.
struct CTold {
    enum class EKind { Listed, Changed, Unlistable } kind;
    std::vector<SortedName> sounds = {};
    std::vector<FolderChange> changes = {};
};

// The folder's sound files; nullopt when it cannot be listed.
std::optional<std::vector<std::string>> SoundFilesOf(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    const HANDLE search =
        ::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return std::nullopt;
    std::vector<std::string> names;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        std::string name = fw::Narrow(found.cFileName);
        if (!(found.dwFileAttributes & kUnlisted) && SoundTypeOf(name))
            names.push_back(std::move(name));
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return names;
}

// A folder as the file system knows it, whatever its path: another folder put in its place is
// another.
struct FolderId {
    DWORD volume = 0, high = 0, low = 0;
    bool operator==(const FolderId& other) const {
        return volume == other.volume && high == other.high && low == other.low;
    }
};

struct CHandleCloser {
    void operator()(HANDLE handle) const { ::CloseHandle(handle); }
};
using CHandle = std::unique_ptr<void, CHandleCloser>;

CHandle OpenFolder(const std::wstring& folder) {
    const HANDLE handle = ::CreateFileW(
        folder.c_str(), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
    return CHandle(handle == INVALID_HANDLE_VALUE ? nullptr : handle);
}

std::optional<FolderId> IdOf(HANDLE folder) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!folder || !::GetFileInformationByHandle(folder, &info))
        return std::nullopt;
    return FolderId{info.dwVolumeSerialNumber, info.nFileIndexHigh, info.nFileIndexLow};
}

// Lists and follows one folder on a thread of its own until it is told to stop; what it finds
// it posts to the window, which drops it once another folder has been opened.
class CFollower {
public:
    CFollower(std::wstring folder, HWND target, WPARAM generation, HANDLE stop, FolderTiming timing)
        : m_strFolder(std::move(folder)), m_hTarget(target), m_nGeneration(generation),
          m_stop(stop), m_timing(timing), m_quiet(timing.quietMs, timing.latestMs) {}

    static DWORD WINAPI Run(void* follower) {
        std::unique_ptr<CFollower>(static_cast<CFollower*>(follower))->Follow();
        return 0;
    }

private:
    bool Stopped(DWORD waitMs) const {
        return ::WaitForSingleObject(m_stop.get(), waitMs) == WAIT_OBJECT_0;
    }
    void Tell(CTold told) {
        auto* message = new CTold(std::move(told));
        if (!::PostMessageW(m_hTarget, kMsgTold, m_nGeneration, reinterpret_cast<LPARAM>(message)))
            delete message;
    }

    // The folder missing, or not readable, is looked at again and again until it is there.
    void Follow() {
        bool unlistableTold = false;
        while (!Stopped(0)) {
            const CHandle folder =
                IsListableFolder(fw::Narrow(m_strFolder)) ? OpenFolder(m_strFolder) : CHandle();
            const auto id = IdOf(folder.get());
            auto names = id ? SoundFilesOf(m_strFolder) : std::nullopt;
            if (!names) {
                if (!std::exchange(unlistableTold, true))
                    Tell({CTold::EKind::Unlistable});
                if (Stopped(m_timing.checkMs))
                    return;
                continue;
            }
            unlistableTold = false;
            Tell({CTold::EKind::Listed, CSoundList::Sort(std::move(*names), ListSortKey)});
            if (!FollowChanges(folder.get(), *id))
                return;
        }
    }

    // Tells the folder's changes, once they pause; false once stopped, true when the folder must
    // be listed again: changes beyond what the system could tell, or the folder gone or replaced.
    bool FollowChanges(HANDLE folder, const FolderId& id) {
        std::vector<DWORD> buffer(kChangesBytes / sizeof(DWORD));
        OVERLAPPED overlapped{};
        const CHandle changed(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
        overlapped.hEvent = changed.get();
        const auto watch = [&] {
            return ::ReadDirectoryChangesW(folder, buffer.data(), kChangesBytes, FALSE,
                                           FILE_NOTIFY_CHANGE_FILE_NAME, nullptr, &overlapped,
                                           nullptr) != FALSE;
        };
        // Some folders cannot be watched (some network shares): they are only looked at.
        const bool watched = watch();
        std::vector<FolderChange> pending;
        Ticks due = 0, check = ::GetTickCount64() + m_timing.checkMs;
        const auto stopWatching = [&] {
            if (watched) {
                ::CancelIoEx(folder, &overlapped);
                DWORD bytes = 0;
                ::GetOverlappedResult(folder, &overlapped, &bytes, TRUE);
            }
        };
        for (;;) {
            const Ticks now = ::GetTickCount64(), until = due ? std::min(due, check) : check;
            const HANDLE handles[] = {m_stop.get(), changed.get()};
            const DWORD woke = ::WaitForMultipleObjects(
                watched ? 2 : 1, handles, FALSE, static_cast<DWORD>(until > now ? until - now : 0));
            if (woke == WAIT_OBJECT_0) {
                stopWatching();
                return false;
            }
            if (woke == WAIT_OBJECT_0 + 1) {
                DWORD bytes = 0;
                if (!::GetOverlappedResult(folder, &overlapped, &bytes, FALSE) || bytes == 0) {
                    stopWatching();
                    return true;
                }
                if (Collect(buffer.data(), &pending))
                    due = ::GetTickCount64() + m_quiet.Changed(::GetTickCount64());
                ::ResetEvent(changed.get());
                if (!watch())
                    return true;
            }
            if (due && ::GetTickCount64() >= due) {
                Tell({CTold::EKind::Changed, {}, std::move(pending)});
                pending.clear();
                m_quiet.Told();
                due = 0;
            }
            if (::GetTickCount64() >= check) {
                if (!(IdOf(OpenFolder(m_strFolder).get()) == std::optional<FolderId>(id))) {
                    stopWatching();
                    return true;
                }
                check = ::GetTickCount64() + m_timing.checkMs;
            }
        }
    }

    // Adds the changes of sound files that the system reported; true when there was one.
    bool Collect(const DWORD* records, std::vector<FolderChange>* pending) const {
        const std::size_t before = pending->size();
        for (auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(records);;
             record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(
                 reinterpret_cast<const char*>(record) + record->NextEntryOffset)) {
            const std::wstring wide(record->FileName, record->FileNameLength / sizeof(wchar_t));
            std::string name = fw::Narrow(wide);
            const bool added = record->Action == FILE_ACTION_ADDED ||
                               record->Action == FILE_ACTION_RENAMED_NEW_NAME;
            const DWORD attributes =
                added ? ::GetFileAttributesW((m_strFolder + L"\\" + wide).c_str()) : 0;
            if (SoundTypeOf(name) && (!added || !(attributes & kUnlisted)))
                pending->push_back({added, std::move(name)});
            if (!record->NextEntryOffset)
                break;
        }
        return pending->size() > before;
    }

    const std::wstring m_strFolder;
    const HWND m_hTarget;
    const WPARAM m_nGeneration;
    const CHandle m_stop;
    const FolderTiming m_timing;
    CQuietPeriod m_quiet;
};

} // namespace

CSoundFolder::CSoundFolder(ISoundFolderListener& listener, FolderTiming timing)
    : m_listener(listener), m_timing(timing) {
    fw::RegisterWindowClass(kFolderClass, fw::ObjectWindowProc<CSoundFolder>);
    ::CreateWindowExW(0, kFolderClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                      fw::Module().m_hInstance, this);
}

CSoundFolder::~CSoundFolder() {
    Stop();
    if (m_hWnd)
        ::DestroyWindow(m_hWnd);
}

// The follower of the folder before is told to stop, and never waited for: it may be held by a
// share that does not answer.
void CSoundFolder::Stop() {
    if (!m_hStop)
        return;
    ::SetEvent(m_hStop);
    ::CloseHandle(m_hStop);
    m_hStop = nullptr;
}

void CSoundFolder::Open(const std::string& folder) {
    Stop();
    ++m_nGeneration;
    m_bListing = true;
    HANDLE stop = ::CreateEventW(nullptr, TRUE, FALSE, nullptr), followerStop = nullptr;
    ::DuplicateHandle(::GetCurrentProcess(), stop, ::GetCurrentProcess(), &followerStop, 0, FALSE,
                      DUPLICATE_SAME_ACCESS);
    m_hStop = stop;
    auto follower = std::make_unique<CFollower>(fw::Widen(folder), m_hWnd, m_nGeneration,
                                                followerStop, m_timing);
    const HANDLE thread = ::CreateThread(nullptr, 0, &CFollower::Run, follower.get(), 0, nullptr);
    if (thread) {
        follower.release();
        ::CloseHandle(thread);
    }
}

LRESULT CSoundFolder::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != kMsgTold)
        return ::DefWindowProcW(m_hWnd, msg, wParam, lParam);
    const std::unique_ptr<CTold> told(reinterpret_cast<CTold*>(lParam));
    if (wParam != m_nGeneration)
        return 0; // of a folder that is no longer the chosen one
    m_bListing = false;
    switch (told->kind) {
    case CTold::EKind::Listed:
        m_listener.OnListed(std::move(told->sounds));
        break;
    case CTold::EKind::Changed:
        m_listener.OnChanged(told->changes);
        break;
    case CTold::EKind::Unlistable:
        m_listener.OnUnlistable();
        break;
    }
    return 0;
}
