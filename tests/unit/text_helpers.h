// Text helpers of the tests: a letter-case fold of ASCII only, as the system's stand-in.
#pragma once
#include <cctype>
#include <string>
#include <string_view>

inline std::string Lower(std::string_view text) {
    std::string lower;
    for (const char c : text)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

inline bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return Lower(a) == Lower(b);
}

inline std::string Repeat(std::string_view text, int times) {
    std::string result;
    while (times-- > 0)
        result += text;
    return result;
}
