#include "framework/text.h"

#include <windows.h>

namespace fw {

std::string Narrow(const wchar_t* text, std::size_t length, bool* pLossy) {
    // UTF-8 takes neither the flag nor the question; it holds every character.
    const bool utf8 = ::GetACP() == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* const pUsedDefault = utf8 ? nullptr : &lossy;
    const int size = static_cast<int>(length);
    std::string result(
        ::WideCharToMultiByte(CP_ACP, flags, text, size, nullptr, 0, nullptr, pUsedDefault), '\0');
    ::WideCharToMultiByte(CP_ACP, flags, text, size, &result[0], static_cast<int>(result.size()),
                          nullptr, pUsedDefault);
    if (pLossy)
        *pLossy = lossy != FALSE;
    return result;
}

std::wstring Widen(const std::string& text) {
    const int size = static_cast<int>(text.size());
    std::wstring result(::MultiByteToWideChar(CP_ACP, 0, text.data(), size, nullptr, 0), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), size, &result[0],
                          static_cast<int>(result.size()));
    return result;
}

} // namespace fw
