#include "framework/text.h"

#include <windows.h>

namespace fw {

std::string Narrow(const wchar_t* text, std::size_t length) {
    const int size = static_cast<int>(length);
    std::string result(::WideCharToMultiByte(CP_ACP, 0, text, size, nullptr, 0, nullptr, nullptr),
                       '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text, size, &result[0], static_cast<int>(result.size()),
                          nullptr, nullptr);
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
