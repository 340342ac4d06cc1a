// The main list's names as the folder changes, and when a changing folder is told again.
#include "rules/sound_list.h"

#include "text_helpers.h"

#include <gtest/gtest.h>

namespace {

TEST(SoundList, TopFolderFirstOrderedByKeysFollowingEachChangeAndFoundOnlyByTheSameName) {
    CSoundList list(Lower, Lower, SameIgnoringCase);
    list.Assign(CSoundList::Sort({"fun\\z.wav", "b.WAV", "strasse.wav", "A.wav", "di\u00ADng.wav",
                                  "Fun\\a.wav", "ab\\b.wav"},
                                 Lower, Lower));
    const struct {
        FolderChange change;
        int index; // where the list changes, -1 for nowhere
    } changes[] = {{{true, "straße.wav"}, 4}, {{true, "a2.mid"}, 1},  {{true, "B.wav"}, -1},
                   {{false, "A.WAV"}, 0},     {{false, "x.wav"}, -1}, {{true, "ding.wav"}, 2},
                   {{true, "fun\\b.wav"}, 8}};
    for (const auto& c : changes)
        EXPECT_EQ(c.index, list.Apply(c.change)) << c.change.name;
    const std::vector<std::string> all = {
        "a2.mid",     "b.WAV",     "ding.wav",   "di\u00ADng.wav", "strasse.wav",
        "straße.wav", "ab\\b.wav", "Fun\\a.wav", "fun\\b.wav",     "fun\\z.wav"};
    EXPECT_EQ(all, list.Shown());
    // Look-alikes are other files: the one chosen stays the one found.
    const struct {
        const char* name;
        int index;
    } found[] = {{"strasse.wav", 4}, {"STRASSE.WAV", 4},    {"straße.wav", 5},
                 {"ding.wav", 2},    {"di\u00ADng.wav", 3}, {"", -1}};
    for (const auto& c : found)
        EXPECT_EQ(c.index, list.IndexOf(c.name)) << c.name;
    EXPECT_EQ("b.WAV", list.At(1));
    EXPECT_EQ(std::nullopt, list.At(-1));
    EXPECT_EQ(std::nullopt, list.At(10));
    EXPECT_EQ(3u, list.CountNamed("B.wav"));
}

TEST(SoundList, ASearchShowsTheNamesThatHoldItAndChangesWhereTheyShow) {
    CSoundList list(Lower, Lower, SameIgnoringCase);
    list.Assign(CSoundList::Sort({"Ding.wav", "dong.wav", "fun\\ding.mid", "x.wav"}, Lower, Lower));
    list.Filter("DIN");
    EXPECT_TRUE(list.IsFiltered());
    EXPECT_EQ((std::vector<std::string>{"Ding.wav", "fun\\ding.mid"}), list.Shown());
    EXPECT_EQ(2u, list.ShownCount());
    EXPECT_EQ(-1, list.IndexOf("x.wav"));
    EXPECT_TRUE(list.Contains("X.WAV"));
    EXPECT_EQ("fun\\ding.mid", list.At(1));
    EXPECT_EQ(-1, list.Apply({true, "y.wav"}));   // not shown
    EXPECT_EQ(0, list.Apply({true, "ading.wav"}));
    EXPECT_EQ(2, list.Apply({false, "fun\\ding.mid"})); // after dong, x and y, not shown
    EXPECT_EQ(-1, list.Apply({false, "x.wav"}));
    list.Filter("");
    EXPECT_FALSE(list.IsFiltered());
    EXPECT_EQ((std::vector<std::string>{"ading.wav", "Ding.wav", "dong.wav", "y.wav"}), list.Shown());
}

TEST(QuietPeriod, ABurstIsToldOnceItPausesOrAtTheLatestAfterItsFirstChange) {
    const struct {
        Ticks change;
        Ticks wait; // before telling, from this change
        bool told;  // before the next change
    } burst[] = {{1000, 250, false}, {1100, 250, false}, {1700, 200, false}, {1850, 50, true},
                 {5000, 250, false}};
    CQuietPeriod quiet(250, 900);
    for (const auto& c : burst) {
        EXPECT_EQ(c.wait, quiet.Changed(c.change)) << c.change;
        if (c.told)
            quiet.Told();
    }
    EXPECT_EQ(0u, quiet.Changed(5950)); // past the latest of the burst that began at 5000
}

} // namespace
