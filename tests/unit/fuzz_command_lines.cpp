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

std::size_t Utf8Characters(const std::string& text) {
    std::size_t characters = 0;
    for (const char c : text)
        characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    return characters;
}

std::string Quoted(const std::string& field) {
    return field.find(' ') == std::string::npos ? field : '"' + field + '"';
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
    const bool isChannelWindow = !title.empty() && std::string("#&+!").find(title[0]) < 4;
    Check(channel.has_value() == isChannelWindow);
    if (channel) {
        Check(!channel->empty() && StartsWith(title, *channel));
        Check(channel->find(' ') == std::string::npos);
    }

    const std::string tag = ExpandTag(tagTemplate, kTagPlaceholder, fileName);
    Check(Utf8Characters(tag) <= kMaxTagLength);
    if (tagTemplate.find(kTagPlaceholder) == std::string::npos &&
        tagTemplate.find('\0') == std::string::npos)
        Check(StartsWith(tagTemplate, tag) &&
              (tag == tagTemplate || Utf8Characters(tagTemplate) > kMaxTagLength));

    const std::string channelName = channel.value_or(title);
    const std::string line = ComposeSoundLine(channelName, fileName, tagTemplate, tagPrompt);
    const std::string head = kSoundLineHead + channelName + ' ' + Quoted(fileName) + ' ';
    Check(StartsWith(line, head));
    Check(Utf8Characters(line.substr(head.size())) <= kMaxTagLength);
    if (tagPrompt)
        Check(line.substr(head.size()) == kPromptTagTemplate);

    Check(ComposeDccSendLine(fields[3], fields[4], fileName) ==
          kDccLineHead + fields[3] + ' ' + Quoted(fields[4] + '\\' + fileName));

    const std::string nick = NicknameFromListEntry(fields[3]);
    Check(fields[3].size() >= nick.size() &&
          fields[3].compare(fields[3].size() - nick.size(), nick.size(), nick) == 0);
    Check(nick.empty() || std::string("@+%~&").find(nick[0]) == std::string::npos);
    return 0;
}
