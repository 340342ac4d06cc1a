#include "framework/profile_text.h"

#include <algorithm>

namespace fw {
namespace {

constexpr std::string_view kUtf16Mark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";
constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// As the platform's strict conversion takes it: no overlong form, surrogate or value past U+10FFFF.
bool IsValidUtf8(std::string_view bytes) {
    const auto at = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    for (std::size_t i = 0; i < bytes.size();) {
        const unsigned lead = at(i);
        const std::size_t length = lead < 0x80                   ? 1
                                   : lead >= 0xC2 && lead < 0xE0 ? 2
                                   : lead >= 0xE0 && lead < 0xF0 ? 3
                                   : lead >= 0xF0 && lead < 0xF5 ? 4
                                                                 : 0;
        if (length == 0 || i + length > bytes.size())
            return false;
        for (std::size_t k = 1; k < length; ++k) {
            if ((at(i + k) & 0xC0) != 0x80)
                return false;
        }
        const unsigned second = length > 1 ? at(i + 1) : 0x80;
        if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
            (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
            return false;
        i += length;
    }
    return true;
}

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t';
}

std::u16string_view Trimmed(std::u16string_view text) {
    while (!text.empty() && IsSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? c - u'A' + u'a' : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

// The lines of a text, each with its end, so that joined again they give the text back.
std::vector<std::u16string> SplitLines(const std::u16string& text) {
    std::vector<std::u16string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(u'\n', start), text.size() - 1) + 1;
        lines.push_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::u16string_view Content(std::u16string_view line) {
    while (!line.empty() && (line.back() == u'\n' || line.back() == u'\r'))
        line.remove_suffix(1);
    return line;
}

// The section a line opens, or nullopt for another line.
std::optional<std::u16string_view> SectionOf(std::u16string_view line) {
    line = Trimmed(Content(line));
    if (line.empty() || line.front() != u'[')
        return std::nullopt;
    return Trimmed(line.substr(1, line.find(u']') - 1));
}

std::optional<std::u16string_view> KeyOf(std::u16string_view line) {
    line = Content(line);
    const std::size_t equals = line.find(u'=');
    if (equals == std::u16string_view::npos)
        return std::nullopt;
    return Trimmed(line.substr(0, equals));
}

} // namespace

FileEncoding EncodingOf(std::string_view bytes) {
    if (bytes.substr(0, 2) == kUtf16Mark)
        return FileEncoding::Utf16;
    if (bytes.substr(0, 2) == kUtf16BigEndianMark)
        return FileEncoding::Utf16BigEndian;
    if (bytes.substr(0, 3) == kUtf8Mark)
        return FileEncoding::Utf8;
    if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; }))
        return FileEncoding::Ascii;
    return IsValidUtf8(bytes) ? FileEncoding::Utf8 : FileEncoding::Ansi;
}

std::u16string WithValues(std::u16string text, std::u16string_view section,
                          const std::vector<ProfileValue>& values) {
    std::vector<std::u16string> lines = SplitLines(text);
    const std::u16string newLine =
        text.find(u"\r\n") != std::u16string::npos || text.find(u'\n') == std::u16string::npos
            ? u"\r\n"
            : u"\n";
    if (!lines.empty() && lines.back().back() != u'\n')
        lines.back() += newLine;
    const std::size_t header = std::find_if(lines.begin(), lines.end(),
                                            [&](const std::u16string& line) {
                                                const auto name = SectionOf(line);
                                                return name && SameName(*name, section);
                                            }) -
                               lines.begin();
    if (header == lines.size())
        lines.push_back(u"[" + std::u16string(section) + u"]" + newLine);
    const std::size_t first = header + 1;
    for (const auto& [key, value] : values) {
        std::size_t end = first, at = lines.size();
        for (; end < lines.size() && !SectionOf(lines[end]); ++end) {
            const auto name = KeyOf(lines[end]);
            if (!name || !SameName(*name, key))
                continue;
            if (!value)
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(end--));
            else if (at == lines.size())
                at = end;
        }
        if (!value)
            continue;
        const std::u16string line = key + u"=" + *value + newLine;
        if (at != lines.size()) {
            lines[at] = line;
            continue;
        }
        // After the section's last line that holds anything: blank lines stay between sections.
        while (end > first && Trimmed(Content(lines[end - 1])).empty())
            --end;
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(end), line);
    }
    std::u16string result;
    for (const std::u16string& line : lines)
        result += line;
    return result;
}

std::u16string StoredValue(std::u16string value) {
    const auto outer = [](char16_t c) { return IsSpace(c) || c == u'"' || c == u'\''; };
    if (!value.empty() && (outer(value.front()) || outer(value.back())))
        return u'"' + value + u'"';
    return value;
}

bool ReplaceWhole(IFileStore& files, const std::string& path, const std::string& bytes) {
    const std::string beside = files.NewFileBeside(path);
    if (beside.empty())
        return false;
    if (files.Write(beside, bytes) && files.Read(beside) == bytes && files.MoveOver(beside, path))
        return true;
    files.Remove(beside);
    return false;
}

} // namespace fw
