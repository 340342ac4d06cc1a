// Brisa's one string model: std::string in the active code page, for the "A" calls. Under the
// manifest's UTF-8 code page (Windows 10 version 1903 and later) that holds every script; on older
// Windows it is the system's ANSI code page. These are the only conversions from and to the
// UTF-16 of the "W" calls.
#pragma once
#include <string>

namespace fw {

// A character the code page cannot hold becomes '?', never a look-alike that could name another
// file, user or channel; *pLossy tells whether that happened.
std::string Narrow(const wchar_t* text, std::size_t length, bool* pLossy = nullptr);
inline std::string Narrow(const std::wstring& text, bool* pLossy = nullptr) {
    return Narrow(text.data(), text.size(), pLossy);
}
std::wstring Widen(const std::string& text);

} // namespace fw
