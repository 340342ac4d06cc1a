#include "rules/command_lines.h"

#include <gtest/gtest.h>

namespace {

const std::string kLong(300, 'f');

TEST(CommandLines, ChannelFromTitle) {
    const struct {
        std::string title;
        std::optional<std::string> channel;
    } cases[] = {{"#chat [+nt]: hello", "#chat"}, {"#chat::", "#chat:"},
                 {"&local", "&local"},            {"#:", "#"},
                 {"#a:b c", "#a:b"},              {"+modeless topic", "+modeless"},
                 {"!12345chat", "!12345chat"},    {"#a\tb: c", "#a\tb"},
                 {"Status", std::nullopt},        {" #chat", std::nullopt},
                 {"x&#", std::nullopt},           {"", std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(c.channel, ChannelFromTitle(c.title)) << c.title;
}

TEST(CommandLines, ExpandTag) {
    const struct {
        std::string tagTemplate, replacement, tag;
    } cases[] = {
        {"-plays Brisa: @", "ding.wav", "-plays Brisa: ding.wav"},
        {"plays a wav", "ding.wav", "plays a wav"},
        {"<@@>", "", "<>"},
        {"x@y", "@", "x@y"},
        {std::string("a@\0@b", 5), "ding.wav", "ading.wav"},
        {std::string(300, 'x'), "ding.wav", std::string(255, 'x')},
        {std::string(254, 'x') + "@", "ding.wav", std::string(254, 'x') + "d"},
        {"@@@", kLong, kLong.substr(0, 255)},
        // Cut at 255 characters of UTF-8, never inside one: "Ж" is two bytes, "🔔" four.
        {std::string(254, 'x') + "@", "Жx", std::string(254, 'x') + "Ж"},
        {"@@", "\U0001F514", "\U0001F514\U0001F514"},
        {std::string(254, 'x') + "@", "\U0001F514\U0001F514", std::string(254, 'x') + "\U0001F514"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tagTemplate.substr(0, 20) + " / " + c.replacement.substr(0, 20));
        EXPECT_EQ(ExpandTag(c.tagTemplate, kTagPlaceholder, c.replacement), c.tag);
    }
    EXPECT_EQ(ExpandTag("%@", '%', "ding.wav"), "ding.wav@");
    // A hand-edited tag of millions of placeholders stops at the cut, not after a gigabyte.
    EXPECT_EQ(ExpandTag(std::string(4000000, '@'), kTagPlaceholder, kLong), kLong.substr(0, 255));
}

} // namespace
