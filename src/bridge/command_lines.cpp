#include "bridge/command_lines.h"

#include <algorithm>

std::optional<std::string> ChannelFromTitle(const std::string& title) {
    if (title.empty() || (title[0] != '#' && title[0] != '&'))
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

std::string ExpandTag(const std::string& tagTemplate, char placeholder,
                      const std::string& replacement) {
    std::string tag;
    tag.reserve(kMaxTagLength);
    for (char c : tagTemplate) {
        if (c == '\0' || tag.size() == kMaxTagLength)
            break;
        if (c == placeholder)
            tag.append(replacement, 0, std::min(replacement.size(), kMaxTagLength - tag.size()));
        else
            tag += c;
    }
    return tag;
}

std::string ComposeSoundLine(const std::string& channel, const std::string& fileName,
                             const std::string& tagTemplate, bool tagPrompt) {
    const std::string tag = ExpandTag(tagPrompt ? std::string(kPromptTagTemplate) : tagTemplate,
                                      kTagPlaceholder, fileName);
    return kSoundLineHead + channel + ' ' + fileName + ' ' + tag;
}

std::string ComposeDccSendLine(const std::string& nick, const std::string& wavDir,
                               const std::string& fileName) {
    return kDccLineHead + nick + ' ' + wavDir + '\\' + fileName;
}
