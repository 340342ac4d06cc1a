#include "framework/shell.h"

#include "framework/system_function.h"
#include "framework/text.h"

#include <shlobj.h>
#include <shellapi.h>

namespace fw {
namespace {

template <class Function> Function Shell32(const char* name) {
    return LoadSystemFunction<Function>(L"shell32.dll", name);
}

// Starts the dialog in the folder the box names.
int CALLBACK OnBrowseEvent(HWND dialog, UINT event, LPARAM, LPARAM initial) {
    if (event == BFFM_INITIALIZED)
        ::SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, initial);
    return 0;
}

// The shell takes a list of paths ended by an empty one.
std::wstring PathList(const std::string& path) {
    return Widen(path) + L'\0';
}

} // namespace

std::optional<std::string> BrowseForFolder(HWND owner, const std::string& initial,
                                           const std::string& title) {
    using Browse = PIDLIST_ABSOLUTE(WINAPI*)(LPBROWSEINFOW);
    using PathOfList = BOOL(WINAPI*)(PCIDLIST_ABSOLUTE, LPWSTR);
    using Free = void(WINAPI*)(LPVOID);
    using Initialize = HRESULT(WINAPI*)(LPVOID, DWORD);
    static const auto browse = Shell32<Browse>("SHBrowseForFolderW");
    static const auto pathOf = Shell32<PathOfList>("SHGetPathFromIDListW");
    static const auto free = LoadSystemFunction<Free>(L"ole32.dll", "CoTaskMemFree");
    static const auto initialize = LoadSystemFunction<Initialize>(L"ole32.dll", "CoInitializeEx");
    if (!browse || !pathOf || !free || !initialize)
        return std::nullopt;
    // The dialog of today's look needs COM on this thread, as a single-threaded apartment.
    initialize(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring start = Widen(initial), caption = Widen(title);
    BROWSEINFOW info{};
    info.hwndOwner = owner;
    info.lpszTitle = caption.c_str();
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
    info.lpfn = OnBrowseEvent;
    info.lParam = reinterpret_cast<LPARAM>(start.c_str());
    const PIDLIST_ABSOLUTE chosen = browse(&info);
    if (!chosen)
        return std::nullopt;
    wchar_t path[MAX_PATH] = {};
    const bool named = pathOf(chosen, path);
    free(chosen);
    return named ? std::optional<std::string>(Narrow(path)) : std::nullopt;
}

bool OpenInFileManager(const std::string& folder) {
    using Execute = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static const auto execute = Shell32<Execute>("ShellExecuteW");
    return execute && reinterpret_cast<INT_PTR>(execute(nullptr, L"explore", Widen(folder).c_str(),
                                                        nullptr, nullptr, SW_SHOWNORMAL)) > 32;
}

bool HasRecycleBin(const std::string& path) {
    using Query = HRESULT(WINAPI*)(LPCWSTR, LPSHQUERYRBINFO);
    static const auto query = Shell32<Query>("SHQueryRecycleBinW");
    SHQUERYRBINFO info{};
    info.cbSize = sizeof info;
    return query && SUCCEEDED(query(Widen(path).c_str(), &info));
}

bool MoveToRecycleBin(const std::string& path) {
    using Operate = int(WINAPI*)(LPSHFILEOPSTRUCTW);
    static const auto operate = Shell32<Operate>("SHFileOperationW");
    const std::wstring from = PathList(path);
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_ALLOWUNDO | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
    return operate && operate(&operation) == 0 && !operation.fAnyOperationsAborted;
}

std::vector<std::string> TakeDroppedFiles(HANDLE drop) {
    using Query = UINT(WINAPI*)(HDROP, UINT, LPWSTR, UINT);
    using Finish = void(WINAPI*)(HDROP);
    static const auto query = Shell32<Query>("DragQueryFileW");
    static const auto finish = Shell32<Finish>("DragFinish");
    std::vector<std::string> files;
    const auto dropped = static_cast<HDROP>(drop);
    for (UINT i = 0, count = query ? query(dropped, 0xFFFFFFFF, nullptr, 0) : 0; i < count; ++i) {
        std::wstring path(query(dropped, i, nullptr, 0) + 1, L'\0');
        path.resize(query(dropped, i, &path[0], static_cast<UINT>(path.size())));
        files.push_back(Narrow(path));
    }
    if (finish)
        finish(dropped);
    return files;
}

} // namespace fw
