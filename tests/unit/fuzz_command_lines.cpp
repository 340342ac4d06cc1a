// Input: title, file name, tag template, nickname and WAV directory, one per line; the first
// byte of a sixth line, when there is one, is the prompt flag.
#include "bridge/command_lines.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace {

void Check(bool holds) {
    if (!holds)
        __builtin_trap();
}

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> fields(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == '\n' && fields.size() < 6)
            fields.emplace_back();
        else
            fields.back() += static_cast<char>(data[i]);
    }
    fields.resize(6);
    const std::string& title = fields[0];
    const std::string& fileName = fields[1];
    const std::string& tagTemplate = fields[2];
    const int tagPrompt = fields[5].empty() ? 0 : static_cast<signed char>(fields[5][0]);

    const std::optional<std::string> channel = ChannelFromTitle(title);
    const bool isChannelWindow = !title.empty() && (title[0] == '#' || title[0] == '&');
    Check(channel.has_value() == isChannelWindow);
    if (channel) {
        Check(!channel->empty() && StartsWith(title, *channel));
        Check(channel->find(' ') == std::string::npos);
    }

    const std::string tag = ExpandTag(tagTemplate, kTagPlaceholder, fileName);
    Check(tag.size() <= kMaxTagLength);
    if (tagTemplate.find(kTagPlaceholder) == std::string::npos &&
        tagTemplate.find('\0') == std::string::npos && tagTemplate.size() <= kMaxTagLength)
        Check(tag == tagTemplate);

    const std::string channelName = channel.value_or(title);
    const std::string line = ComposeSoundLine(channelName, fileName, tagTemplate, tagPrompt);
    const std::string head = kSoundLineHead + channelName + ' ' + fileName + ' ';
    Check(StartsWith(line, head));
    Check(line.size() - head.size() <= kMaxTagLength);
    if (tagPrompt)
        Check(line.substr(head.size()) == kPromptTagTemplate);

    Check(ComposeDccSendLine(fields[3], fields[4], fileName) ==
          kDccLineHead + fields[3] + ' ' + fields[4] + '\\' + fileName);
    return 0;
}
