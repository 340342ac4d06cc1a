// Brisa's one string model: UTF-8 in std::string everywhere inside, UTF-16 for the "W" calls at
// the edge, so that every Windows behaves alike whatever its code page. These are the only
// conversions between the two, and to and from the code page of a program that has no other.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace fw {

std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

// The text in a code page of the system (as an ANSI program reads it); nullopt when the code page
// lacks one of its characters, which would otherwise become '?' or a look-alike letter naming
// another file, user or channel.
std::optional<std::string> ToCodePage(std::wstring_view text, unsigned codePage);
std::wstring FromCodePage(std::string_view text, unsigned codePage);

// The system's ANSI code page: the one that programs without a code page of their own use.
unsigned SystemAnsiCodePage();

// The pattern with %1 to %9 replaced by the arguments, in order.
std::string FormatText(std::string_view pattern, const std::vector<std::string>& args);

} // namespace fw
