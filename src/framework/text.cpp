#include "framework/text.h"

#include <windows.h>

#include <cwchar>

namespace fw {

std::wstring Widen(std::string_view utf8) {
    return FromCodePage(utf8, CP_UTF8);
}

std::string Narrow(std::wstring_view utf16) {
    const int length = static_cast<int>(utf16.size());
    std::string result(
        ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, nullptr, 0, nullptr, nullptr),
        '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, utf16.data(), length, result.data(),
                          static_cast<int>(result.size()), nullptr, nullptr);
    return result;
}

std::optional<std::string> ToCodePage(std::wstring_view text, unsigned codePage) {
    // A system set to UTF-8 holds every character, and takes neither the flag nor the question.
    if (codePage == CP_UTF8)
        return Narrow(text);
    const int length = static_cast<int>(text.size());
    BOOL lossy = FALSE;
    std::string result(::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length,
                                             nullptr, 0, nullptr, &lossy),
                       '\0');
    ::WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, text.data(), length, result.data(),
                          static_cast<int>(result.size()), nullptr, &lossy);
    if (lossy)
        return std::nullopt;
    return result;
}

std::wstring FromCodePage(std::string_view text, unsigned codePage) {
    const int length = static_cast<int>(text.size());
    std::wstring result(::MultiByteToWideChar(codePage, 0, text.data(), length, nullptr, 0), L'\0');
    ::MultiByteToWideChar(codePage, 0, text.data(), length, result.data(),
                          static_cast<int>(result.size()));
    return result;
}

unsigned SystemAnsiCodePage() {
    wchar_t number[8] = {};
    ::GetLocaleInfoW(LOCALE_SYSTEM_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, number, 8);
    return static_cast<unsigned>(std::wcstoul(number, nullptr, 10));
}

std::string FormatText(std::string_view pattern, const std::vector<std::string>& args) {
    std::string text;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const std::size_t arg = i + 1 < pattern.size() && pattern[i] == '%'
                                    ? static_cast<std::size_t>(pattern[i + 1] - '1')
                                    : args.size();
        if (arg < args.size() && arg < 9) {
            text += args[arg];
            ++i;
        } else {
            text += pattern[i];
        }
    }
    return text;
}

} // namespace fw
