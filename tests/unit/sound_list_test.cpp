// The main list's names and when a changing folder is listed again.
#include "rules/sound_list.h"

#include <gtest/gtest.h>

#include <cctype>

namespace {

std::string LowerKey(std::string_view name) {
    std::string key;
    for (const char c : name)
        key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return key + '\0' + std::string(name);
}

bool Exactly(std::string_view a, std::string_view b) {
    return a == b;
}

TEST(SoundList, OrderedByTheirKeysAndFoundOnlyByTheSameName) {
    CSoundList list(LowerKey, Exactly);
    list.Assign({"b.WAV", "strasse.wav", "A.wav", "straße.wav", "a.wav", "di\u00ADng.wav"});
    EXPECT_EQ((std::vector<std::string>{"A.wav", "a.wav", "b.WAV", "di\u00ADng.wav", "strasse.wav",
                                        "straße.wav"}),
              list.Names());
    const struct {
        const char* name;
        int index;
    } cases[] = {{"strasse.wav", 4}, {"straße.wav", 5}, {"ding.wav", -1}, {"a.wav", 1}, {"", -1}};
    for (const auto& c : cases)
        EXPECT_EQ(c.index, list.IndexOf(c.name)) << c.name;
    EXPECT_EQ("b.WAV", list.At(2));
    EXPECT_EQ(std::nullopt, list.At(-1));
    EXPECT_EQ(std::nullopt, list.At(6));
    list.Assign({});
    EXPECT_EQ(-1, list.IndexOf("a.wav"));
}

TEST(QuietPeriod, ABurstIsListedOnceItPausesOrAtTheLatestAfterItsFirstChange) {
    const struct {
        Ticks change;
        Ticks wait;  // before listing, from this change
        bool listed; // the listing ran before the next change
    } burst[] = {{1000, 250, false},
                 {1100, 250, false},
                 {1700, 200, false},
                 {1850, 50, true},
                 {5000, 250, false}};
    CQuietPeriod quiet(250, 900);
    for (const auto& c : burst) {
        EXPECT_EQ(c.wait, quiet.Changed(c.change)) << c.change;
        if (c.listed)
            quiet.Listed();
    }
    EXPECT_EQ(0u, quiet.Changed(5950)); // past the latest of the burst that began at 5000
}

} // namespace
