#include "framework/text.h"

#include <windows.h>

#include <cwchar>

namespace fw {

std::string Narrow(const wchar_t* text, std::size_t length, bool* pLossy, unsigned codePage) {
    // UTF-8 takes neither the flag nor the question; it holds every character.
    codePage = codePage ? codePage : ::GetACP();
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? 0 : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* const pUsedDefault = utf8 ? nullptr : &lossy;
    const int size = static_cast<int>(length);
    std::string result(
        ::WideCharToMultiByte(codePage, flags, text, size, nullptr, 0, nullptr, pUsedDefault),
        '\0');
    ::WideCharToMultiByte(codePage, flags, text, size, &result[0], static_cast<int>(result.size()),
                          nullptr, pUsedDefault);
    if (pLossy)
        *pLossy = lossy != FALSE;
    return result;
}

std::wstring Widen(const std::string& text, unsigned codePage) {
    codePage = codePage ? codePage : CP_ACP;
    const int size = static_cast<int>(text.size());
    std::wstring result(::MultiByteToWideChar(codePage, 0, text.data(), size, nullptr, 0), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), size, &result[0],
                          static_cast<int>(result.size()));
    return result;
}

unsigned SystemAnsiCodePage() {
    wchar_t number[8] = {};
    ::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, 8);
    return static_cast<unsigned>(std::wcstoul(number, nullptr, 10));
}

} // namespace fw
