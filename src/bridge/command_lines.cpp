#include "bridge/command_lines.h"

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

// The first maxCharacters characters of a UTF-8 text, never part of one.
std::string CutToCharacters(const std::string& text, std::size_t maxCharacters) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool continuation = (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80;
        if (!continuation && characters++ == maxCharacters)
            return text.substr(0, i);
    }
    return text;
}

} // namespace

std::string ExpandTag(const std::string& tagTemplate, char placeholder,
                      const std::string& replacement) {
    std::string tag;
    for (char c : tagTemplate) {
        if (c == '\0')
            break;
        if (c == placeholder)
            tag += replacement;
        else
            tag += c;
    }
    return CutToCharacters(tag, kMaxTagLength);
}

std::string ComposeSoundLine(const std::string& channel, const std::string& fileName,
                             const std::string& tagTemplate, bool tagPrompt) {
    const std::string tag = ExpandTag(tagPrompt ? std::string(kPromptTagTemplate) : tagTemplate,
                                      kTagPlaceholder, fileName);
    return kSoundLineHead + channel + ' ' + QuotedIfSpaced(fileName) + ' ' + tag;
}

std::string ComposeDccSendLine(const std::string& nick, const std::string& wavDir,
                               const std::string& fileName) {
    return kDccLineHead + nick + ' ' + QuotedIfSpaced(wavDir + '\\' + fileName);
}
