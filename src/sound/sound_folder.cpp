#include "sound/sound_folder.h"

#include "framework/module.h"
#include "framework/text.h"
#include "rules/sound_files.h"
#include "sound/file_paths.h"

#include <atomic>
#include <memory>
#include <optional>
#include <utility>

namespace {

constexpr wchar_t kFolderClass[] = L"BrisaSoundFolder";
constexpr UINT kMsgTold = WM_APP + 1; // wParam: the listing's generation; lParam: a CTold
constexpr DWORD kChangesBytes = 64 * 1024;
// As the system's own directory listing shows files: no hidden or system file or folder, and no
// link to a folder elsewhere, which may lead back up.
constexpr DWORD kUnlisted =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT;

// What the follower tells the window.
struct CTold {
    enum class EKind { Listed, Changed, Unlistable } kind;
    std::vector<SortedName> sounds = {};
    std::vector<FolderChange> changes = {};
};

// The sound files of the folder and its subfolders, each by its path below the folder (the
// prefix); false when the folder cannot be listed.
bool ListSoundFiles(const std::wstring& folder, const std::string& prefix,
                    std::vector<std::string>* names) {
    WIN32_FIND_DATAW found;
    const HANDLE search =
        ::FindFirstFileExW((folder + L"\\*").c_str(), FindExInfoBasic, &found,
                           FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_NOT_FOUND)
        return false;
    for (bool more = search != INVALID_HANDLE_VALUE; more; more = ::FindNextFileW(search, &found)) {
        const std::wstring wide = found.cFileName;
        std::string name = prefix + fw::Narrow(wide);
        const DWORD attributes = found.dwFileAttributes;
        if (attributes & kUnlisted)
            continue;
        if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) && SoundTypeOf(name))
            names->push_back(std::move(name));
        else if ((attributes & FILE_ATTRIBUTE_DIRECTORY) && wide != L"." && wide != L"..")
            ListSoundFiles(folder + L"\\" + wide, name + "\\", names);
    }
    if (search != INVALID_HANDLE_VALUE)
        ::FindClose(search);
    return true;
}

std::optional<std::vector<std::string>> SoundFilesOf(const std::wstring& folder) {
    std::vector<std::string> names;
    if (!ListSoundFiles(folder, "", &names))
        return std::nullopt;
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

// One kind of change below a folder, watched through the system's notifications.
class CWatch {
public:
    CWatch(HANDLE folder, DWORD filter)
        : m_hFolder(folder), m_nFilter(filter), m_buffer(kChangesBytes / sizeof(DWORD)),
          m_changed(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {
        m_overlapped.hEvent = m_changed.get();
    }
    ~CWatch() {
        if (m_bPending) {
            ::CancelIoEx(m_hFolder, &m_overlapped);
            DWORD bytes = 0;
            ::GetOverlappedResult(m_hFolder, &m_overlapped, &bytes, TRUE);
        }
    }
    CWatch(const CWatch&) = delete;
    CWatch& operator=(const CWatch&) = delete;

    bool Start() {
        ::ResetEvent(m_changed.get());
        m_bPending = m_hFolder &&
                     ::ReadDirectoryChangesW(m_hFolder, m_buffer.data(), kChangesBytes, TRUE,
                                             m_nFilter, nullptr, &m_overlapped, nullptr);
        return m_bPending;
    }
    HANDLE Event() const { return m_changed.get(); }
    // The records of the changes that woke the event; nullptr when there were more than the
    // system could keep.
    const DWORD* Records() {
        DWORD bytes = 0;
        m_bPending = false;
        return ::GetOverlappedResult(m_hFolder, &m_overlapped, &bytes, FALSE) && bytes
                   ? m_buffer.data()
                   : nullptr;
    }

private:
    const HANDLE m_hFolder;
    const DWORD m_nFilter;
    std::vector<DWORD> m_buffer;
    const CHandle m_changed;
    OVERLAPPED m_overlapped{};
    bool m_bPending = false;
};

// Lists and follows one folder on a thread of its own until it is told to stop, and lists it
// again when asked; what it finds it posts to the window with the generation that was asked for
// when the listing began, so that the window drops what was found before it asked again.
class CFollower {
public:
    CFollower(std::wstring folder, HWND target, std::shared_ptr<std::atomic<WPARAM>> generation,
              HANDLE stop, HANDLE relist, FolderTiming timing)
        : m_strFolder(std::move(folder)), m_hTarget(target), m_pGeneration(std::move(generation)),
          m_stop(stop), m_relist(relist), m_timing(timing),
          m_quiet(timing.quietMs, timing.latestMs) {}

    static DWORD WINAPI Run(void* follower) {
        std::unique_ptr<CFollower>(static_cast<CFollower*>(follower))->Follow();
        return 0;
    }

private:
    void Tell(CTold told) {
        auto* message = new CTold(std::move(told));
        if (!::PostMessageW(m_hTarget, kMsgTold, m_nGeneration, reinterpret_cast<LPARAM>(message)))
            delete message;
    }

    // The folder missing, or not readable, is looked at again and again until it is there; asked
    // to list it again, the follower tells that it cannot once more.
    void Follow() {
        bool unlistableTold = false;
        for (;;) {
            TakeRequest();
            const CHandle folder =
                IsListableFolder(fw::Narrow(m_strFolder)) ? OpenFolder(m_strFolder) : CHandle();
            const auto id = IdOf(folder.get());
            if (!(id && ListAndTell())) {
                if (!std::exchange(unlistableTold, true))
                    Tell({CTold::EKind::Unlistable});
                const HANDLE handles[] = {m_stop.get(), m_relist.get()};
                const DWORD woke = ::WaitForMultipleObjects(2, handles, FALSE, m_timing.checkMs);
                if (woke == WAIT_OBJECT_0)
                    return;
                unlistableTold = unlistableTold && woke != WAIT_OBJECT_0 + 1;
                continue;
            }
            unlistableTold = false;
            if (!FollowChanges(folder.get(), *id))
                return;
        }
    }

    // What is told from now on answers the window's latest request to list the folder.
    void TakeRequest() {
        ::ResetEvent(m_relist.get());
        m_nGeneration = m_pGeneration->load();
    }

    // False when the folder cannot be listed.
    bool ListAndTell() {
        auto names = SoundFilesOf(m_strFolder);
        if (names)
            Tell({CTold::EKind::Listed,
                  CSoundList::Sort(std::move(*names), TextSortKey, FoldedText)});
        return names.has_value();
    }

    // Tells the folder's changes, once they pause; false once stopped, true when the folder must
    // be listed again: a subfolder came, went or was renamed, changes ran beyond what the system
    // could tell, or the folder is gone or replaced. Asked by the window, it lists the folder with
    // its watches kept: closing and starting them again costs more than a small folder's listing,
    // and a change seen while listing is told after, where it finds the list already as it is.
    bool FollowChanges(HANDLE folder, const FolderId& id) {
        const CHandle second = OpenFolder(m_strFolder);
        CWatch files(folder, FILE_NOTIFY_CHANGE_FILE_NAME),
            subfolders(second.get(), FILE_NOTIFY_CHANGE_DIR_NAME);
        // Some folders cannot be watched (some network shares): they are only looked at.
        const bool watched = files.Start() && subfolders.Start();
        std::vector<FolderChange> pending;
        bool relist = false;
        Ticks due = 0, check = ::GetTickCount64() + m_timing.checkMs;
        for (;;) {
            const Ticks now = ::GetTickCount64(), until = due ? std::min(due, check) : check;
            const HANDLE handles[] = {m_stop.get(), m_relist.get(), files.Event(),
                                      subfolders.Event()};
            const DWORD woke = ::WaitForMultipleObjects(
                watched ? 4 : 2, handles, FALSE, static_cast<DWORD>(until > now ? until - now : 0));
            if (woke == WAIT_OBJECT_0)
                return false;
            if (woke == WAIT_OBJECT_0 + 1) {
                TakeRequest();
                if (!ListAndTell())
                    return true;
                pending.clear();
                relist = false;
                due = 0;
                continue;
            }
            if (woke == WAIT_OBJECT_0 + 2 || woke == WAIT_OBJECT_0 + 3) {
                CWatch& watch = woke == WAIT_OBJECT_0 + 2 ? files : subfolders;
                const DWORD* records = watch.Records();
                if (!records)
                    return true;
                relist = relist || &watch == &subfolders;
                if (relist || Collect(records, &pending))
                    due = ::GetTickCount64() + m_quiet.Changed(::GetTickCount64());
                if (!watch.Start())
                    return true;
            }
            if (due && ::GetTickCount64() >= due) {
                m_quiet.Told();
                if (relist)
                    return true;
                Tell({CTold::EKind::Changed, {}, std::move(pending)});
                pending.clear();
                due = 0;
            }
            if (::GetTickCount64() >= check) {
                if (!(IdOf(OpenFolder(m_strFolder).get()) == std::optional<FolderId>(id)))
                    return true;
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
            if (SoundTypeOf(name) && (!added || IsListed(wide)))
                pending->push_back({added, std::move(name)});
            if (!record->NextEntryOffset)
                break;
        }
        return pending->size() > before;
    }

    // A file come below the folder is listed unless it or a folder on its way is hidden.
    bool IsListed(std::wstring path) const {
        for (;;) {
            const DWORD attributes = ::GetFileAttributesW((m_strFolder + L"\\" + path).c_str());
            if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & kUnlisted))
                return false;
            const std::size_t slash = path.find_last_of(L'\\');
            if (slash == std::wstring::npos)
                return true;
            path.resize(slash);
        }
    }

    const std::wstring m_strFolder;
    const HWND m_hTarget;
    const std::shared_ptr<std::atomic<WPARAM>> m_pGeneration; // the window's latest ask
    WPARAM m_nGeneration = 0;                                 // of this listing
    const CHandle m_stop, m_relist;
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
    for (HANDLE* event : {&m_hStop, &m_hRelist})
        ::CloseHandle(std::exchange(*event, nullptr));
}

// The same folder is listed again by its follower: a new thread and watch cost more than the
// listing of a small folder.
void CSoundFolder::Open(const std::string& folder) {
    ++m_nGeneration;
    m_bListing = true;
    if (m_hStop && folder == m_strFolder) {
        m_pGeneration->store(m_nGeneration);
        ::SetEvent(m_hRelist);
        return;
    }
    Stop();
    m_strFolder = folder;
    m_pGeneration = std::make_shared<std::atomic<WPARAM>>(m_nGeneration);
    HANDLE followerEvents[2] = {};
    for (int i = 0; i < 2; ++i) {
        HANDLE& event = i == 0 ? m_hStop : m_hRelist;
        event = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
        ::DuplicateHandle(::GetCurrentProcess(), event, ::GetCurrentProcess(), &followerEvents[i],
                          0, FALSE, DUPLICATE_SAME_ACCESS);
    }
    auto follower = std::make_unique<CFollower>(fw::Widen(folder), m_hWnd, m_pGeneration,
                                                followerEvents[0], followerEvents[1], m_timing);
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
