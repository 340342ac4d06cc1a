#include "rules/command_lines.h"

#include <algorithm>
#include <string_view>

std::optional<std::string> ChannelFromTitle(const std::string& title) {
    if (title.empty() || std::string_view("#&+!").find(title[0]) == std::string_view::npos)
        return std::nullopt;

    // Only a space ends the name; a tab is part of it.
    std::size_t length = title.find(' ');
    if (length == std::string::npos)
        length = title.size();
    // In "#chat: topic" the colon belongs to the title, not to the channel.
    if (title[length - 1] == ':')
        --length;
    return title.substr(0, length);
}

std::string NicknameFromListEntry(const std::string& entry) {
    return entry.substr(std::min(entry.find_first_not_of("@+%~&"), entry.size()));
}

namespace {

// A command's file field: a client reads up to the first space unless it is quoted.
std::string QuotedIfSpaced(const std::string& field) {
    return field.find(' ') == std::string::npos ? field : '"' + field + '"';
}

// Exactly one backslash added, whatever the folder ends in.
std::string FilePath(const std::string& folder, const std::string& fileName) {
    return folder + '\\' + fileName;
}

// Appends text, character by character, while the count stays within kMaxTagLength characters
// of UTF-8; false once the cut is reached.
bool AppendWithinCut(std::string& tag, std::size_t& characters, const std::string& text) {
    for (const char c : text) {
        const bool continuation = (static_cast<unsigned char>(c) & 0xC0) == 0x80;
        if (!continuation && characters++ == kMaxTagLength)
            return false;
        tag += c;
    }
    return true;
}

} // namespace

std::string ExpandTag(const std::string& tagTemplate, char placeholder,
                      const std::string& replacement) {
    std::string tag;
    std::size_t characters = 0;
    for (const char c : tagTemplate) {
        if (c == '\0' ||
            !AppendWithinCut(tag, characters, c == placeholder ? replacement : std::string(1, c)))
            break;
    }
    return tag;
}

std::string ComposeSoundLine(const std::string& channel, const std::string& fileName,
                             const std::string& tagTemplate, bool tagPrompt,
                             const std::optional<std::string>& folder) {
    const std::string bareName = fileName.substr(fileName.find_last_of('\\') + 1);
    const std::string tag = ExpandTag(tagPrompt ? std::string(kPromptTagTemplate) : tagTemplate,
                                      kTagPlaceholder, bareName);
    const std::string file = folder ? FilePath(*folder, fileName) : bareName;
    return kSoundLineHead + channel + ' ' + QuotedIfSpaced(file) + ' ' + tag;
}

std::string ComposeDccSendLine(const std::string& nick, const std::string& wavDir,
                               const std::string& fileName) {
    return kDccLineHead + nick + ' ' + QuotedIfSpaced(FilePath(wavDir, fileName));
}
