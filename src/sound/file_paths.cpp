#include "sound/file_paths.h"

#include "framework/text.h"
#include "rules/sound_files.h"

#include <windows.h>

std::string FullPath(const std::string& path) {
    const std::wstring wide = fw::Widen(path);
    const DWORD size = ::GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    std::wstring full(size, L'\0');
    full.resize(size ? ::GetFullPathNameW(wide.c_str(), size, &full[0], nullptr) : 0);
    return fw::Narrow(full);
}

bool SameName(std::string_view a, std::string_view b) {
    const std::wstring wideA = fw::Widen(a), wideB = fw::Widen(b);
    return ::CompareStringOrdinal(wideA.c_str(), static_cast<int>(wideA.size()), wideB.c_str(),
                                  static_cast<int>(wideB.size()), TRUE) == CSTR_EQUAL;
}

// The system's sort key ends in a zero byte, so a text's key never runs on into what follows it.
// A key seldom takes more than a few bytes a character: one call fills it, and only a longer one
// is asked for its size first.
std::string TextSortKey(std::string_view text) {
    const std::wstring wide = fw::Widen(text);
    const int length = static_cast<int>(wide.size());
    const auto map = [&](std::string* key) {
        return ::LCMapStringW(LOCALE_USER_DEFAULT, LCMAP_SORTKEY | NORM_IGNORECASE, wide.c_str(),
                              length, key ? reinterpret_cast<LPWSTR>(key->data()) : nullptr,
                              key ? static_cast<int>(key->size()) : 0);
    };
    std::string key(wide.size() * 6 + 16, '\0');
    int size = map(&key);
    if (size == 0) {
        key.resize(static_cast<std::size_t>(map(nullptr)));
        size = map(&key);
    }
    key.resize(static_cast<std::size_t>(size));
    return key;
}

// Lower case maps one UTF-16 unit to one, so the text keeps its length.
std::string FoldedText(std::string_view text) {
    const std::wstring wide = fw::Widen(text);
    std::wstring folded(wide.size(), L'\0');
    ::LCMapStringW(LOCALE_INVARIANT, LCMAP_LOWERCASE, wide.c_str(), static_cast<int>(wide.size()),
                   folded.data(), static_cast<int>(folded.size()));
    return fw::Narrow(folded);
}

std::wstring ExactPathOf(const std::string& folder, const std::string& name) {
    return fw::Widen(ExactPath(FullPath(folder), name));
}

std::optional<std::string> FolderForClient(const std::string& wavDir,
                                           const std::optional<std::string>& clientFolder) {
    if (!clientFolder)
        return std::nullopt;
    const std::string folder = FullPath(wavDir);
    if (IsSameOrBelow(folder, FullPath(*clientFolder), SameName))
        return std::nullopt;
    return folder;
}
