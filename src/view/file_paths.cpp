#include "view/file_paths.h"

#include "framework/text.h"

#include <windows.h>

namespace {

std::wstring FullPath(const std::wstring& path) {
    const DWORD size = ::GetFullPathNameW(path.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    full.resize(size ? ::GetFullPathNameW(path.c_str(), size, &full[0], nullptr) : 0);
    return full;
}

// Whether the folder is the root folder or lies below it, compared as Windows compares names:
// letter case ignored, a trailing backslash or none.
bool IsSameOrBelow(std::wstring folder, std::wstring root) {
    for (std::wstring* path : {&folder, &root}) {
        while (!path->empty() && path->back() == L'\\')
            path->pop_back();
    }
    const int length = static_cast<int>(root.size());
    return !root.empty() && folder.size() >= root.size() &&
           (folder.size() == root.size() || folder[root.size()] == L'\\') &&
           ::CompareStringOrdinal(folder.c_str(), length, root.c_str(), length, TRUE) == CSTR_EQUAL;
}

} // namespace

std::wstring ExactPath(const std::string& folder, const std::string& name) {
    std::wstring full = FullPath(fw::Widen(folder));
    if (full.compare(0, 4, L"\\\\?\\") != 0)
        full =
            full.compare(0, 2, L"\\\\") == 0 ? L"\\\\?\\UNC" + full.substr(1) : L"\\\\?\\" + full;
    if (full.back() != L'\\')
        full += L'\\';
    return full + fw::Widen(name);
}

bool CanPlayAsListed(const std::string& path) {
    const char last = path.back();
    return last != ' ' && last != '.' && fw::Widen(path).size() < MAX_PATH;
}

std::optional<std::string> FolderForClient(const std::string& wavDir,
                                           const std::optional<std::string>& clientFolder) {
    if (!clientFolder) // no way to ask it: named as always
        return std::nullopt;
    const std::wstring folder = FullPath(fw::Widen(wavDir));
    if (IsSameOrBelow(folder, FullPath(fw::Widen(*clientFolder))))
        return std::nullopt;
    return fw::Narrow(folder);
}
