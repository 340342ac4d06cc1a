// Brisa's one string model: std::string in the active code page, for the "A" calls. These are
// the only conversions from and to the UTF-16 of the "W" calls.
#pragma once
#include <string>

namespace fw {

std::string Narrow(const wchar_t* text, std::size_t length);
inline std::string Narrow(const std::wstring& text) {
    return Narrow(text.data(), text.size());
}
std::wstring Widen(const std::string& text);

} // namespace fw
