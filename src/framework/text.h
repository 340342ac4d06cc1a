// Brisa's one string model: std::string in the active code page, for the "A" calls. Under the
// manifest's UTF-8 code page (Windows 10 version 1903 and later) that holds every script; on older
// Windows it is the system's ANSI code page. These are the only conversions from and to the
// UTF-16 of the "W" calls.
#pragma once
#include <string>

namespace fw {

// A character the code page cannot hold becomes '?', never a look-alike that could name another
// file, user or channel; *pLossy tells whether that happened. Another code page than the
// program's may be named, for a program that uses that one.
std::string Narrow(const wchar_t* text, std::size_t length, bool* pLossy = nullptr,
                   unsigned codePage = 0);
inline std::string Narrow(const std::wstring& text, bool* pLossy = nullptr, unsigned codePage = 0) {
    return Narrow(text.data(), text.size(), pLossy, codePage);
}
std::wstring Widen(const std::string& text, unsigned codePage = 0);

// The ANSI code page of the system, which programs without the UTF-8 manifest use: also where the
// program's own is UTF-8.
unsigned SystemAnsiCodePage();

} // namespace fw
