#include "rules/command_lines.h"

#include <gtest/gtest.h>

namespace {

const std::string kLong(300, 'f');

std::string Repeat(const std::string& text, int times) {
    std::string result;
    while (times-- > 0)
        result += text;
    return result;
}

TEST(CommandLines, ChannelFromTitle) {
    const struct {
        std::string title;
        std::optional<std::string> channel;
    } cases[] = {{"#chat [+nt]: hello", "#chat"},
                 {"#chat: hello world", "#chat"},
                 {"#chat::", "#chat:"},
                 {"&local", "&local"},
                 {"#", "#"},
                 {"#:", "#"},
                 {"# topic", "#"},
                 {"#a:b c", "#a:b"},
                 {"&x #y", "&x"},
                 {"+modeless topic", "+modeless"},
                 {"!12345chat", "!12345chat"},
                 {"#чат: Привет", "#чат"},
                 {"#a\tb: c", "#a\tb"},
                 {"#a\t:", "#a\t"},
                 {"Status", std::nullopt},
                 {" #chat", std::nullopt},
                 {"x&#", std::nullopt},
                 {"@op", std::nullopt},
                 {"", std::nullopt}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.title);
        EXPECT_EQ(ChannelFromTitle(c.title), c.channel);
    }
}

TEST(CommandLines, ExpandTag) {
    const struct {
        std::string tagTemplate, replacement, tag;
    } cases[] = {
        {"-plays Brisa: @", "ding.wav", "-plays Brisa: ding.wav"},
        {"@ @", "ding.wav", "ding.wav ding.wav"},
        {"plays a wav", "ding.wav", "plays a wav"},
        {"", "ding.wav", ""},
        {"- ", "ding.wav", "- "},
        {"<@@>", "", "<>"},
        {"x@y", "@", "x@y"},
        {std::string("a@\0@b", 5), "ding.wav", "ading.wav"},
        {std::string(300, 'x'), "ding.wav", std::string(255, 'x')},
        {std::string(254, 'x') + "@", "ding.wav", std::string(254, 'x') + "d"},
        {std::string(255, 'x') + "@y", "ding.wav", std::string(255, 'x')},
        {"@@@", kLong, kLong.substr(0, 255)},
        // Cut at 255 characters of UTF-8, never inside one: "Ж" is two bytes, "🔔" four.
        {std::string(254, 'x') + "@", "Жx", std::string(254, 'x') + "Ж"},
        {"@", Repeat("Ж", 300), Repeat("Ж", 255)},
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

TEST(CommandLines, ComposeSoundLine) {
    const struct {
        std::string channel, fileName, tagTemplate;
        int tagPrompt;
        std::string line;
        std::optional<std::string> folder = std::nullopt;
    } cases[] = {
        {"#chat", "ding.wav", "-plays Brisa: @", 0, "/sound #chat ding.wav -plays Brisa: ding.wav"},
        {"#chat", "ding.wav", "-plays Brisa: @", 1, "/sound #chat ding.wav - "},
        {"&local", "ding.wav", "@ @", 0, "/sound &local ding.wav ding.wav ding.wav"},
        {"#chat", "ding.wav", "", 0, "/sound #chat ding.wav "},
        {"#chat", "my ding.wav", "@", -1, "/sound #chat \"my ding.wav\" - "},
        {"#chat", "door bell.wav", "-plays Brisa: @", 0,
         "/sound #chat \"door bell.wav\" -plays Brisa: door bell.wav"},
        {"#чат", "ベル.wav", "@", 0, "/sound #чат ベル.wav ベル.wav"},
        {"#c", kLong, "@", 0, "/sound #c " + kLong + " " + kLong.substr(0, 255)},
        // Outside the client's sounds folder: by its path, the tag still naming the file.
        {"#c", "ding.mid", "@", 0, "/sound #c C:\\WAV\\ding.mid ding.mid", "C:\\WAV"},
        {"#c", "a.mp3", "@", 0, "/sound #c \"C:\\My Sounds\\a.mp3\" a.mp3", "C:\\My Sounds"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line.substr(0, 40));
        EXPECT_EQ(ComposeSoundLine(c.channel, c.fileName, c.tagTemplate, c.tagPrompt, c.folder),
                  c.line);
    }
}

TEST(CommandLines, ComposeDccSendLine) {
    const struct {
        std::string nick, wavDir, fileName, line;
    } cases[] = {
        {"bob", "C:\\WAV", "ding.wav", "/dcc send bob C:\\WAV\\ding.wav"},
        {"bob", "C:\\WAV\\", "ding.wav", "/dcc send bob C:\\WAV\\\\ding.wav"},
        {"", "C:\\WAV", "ding.wav", "/dcc send  C:\\WAV\\ding.wav"},
        {"", "", "", "/dcc send  \\"},
        {"bob", "C:\\My Sounds", "ding.wav", "/dcc send bob \"C:\\My Sounds\\ding.wav\""},
        {"bob", "C:\\WAV", "door bell.wav", "/dcc send bob \"C:\\WAV\\door bell.wav\""},
        {"Влад", "C:\\Été", "Звонок.wav", "/dcc send Влад C:\\Été\\Звонок.wav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(ComposeDccSendLine(c.nick, c.wavDir, c.fileName), c.line);
    }
}

TEST(CommandLines, NicknameFromListEntryDropsEveryStatusMark) {
    const struct {
        std::string entry, nick;
    } cases[] = {{"@alice", "alice"}, {"+carol", "carol"}, {"%half", "half"},  {"~own", "own"},
                 {"&adm", "adm"},     {"@+dave", "dave"},  {"@@dave", "dave"}, {"bob", "bob"},
                 {"b@b", "b@b"},      {"@", ""},           {"", ""},           {"@Влад", "Влад"}};
    for (const auto& c : cases)
        EXPECT_EQ(NicknameFromListEntry(c.entry), c.nick) << c.entry;
}

} // namespace
