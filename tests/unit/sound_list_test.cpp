// The main list's names as the folder changes, and when a changing folder is told again.
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

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    return LowerKey(a).substr(0, a.size()) == LowerKey(b).substr(0, b.size());
}

std::vector<std::string> NamesOf(const CSoundList& list) {
    std::vector<std::string> names;
    for (const SortedName& entry : list.Entries())
        names.push_back(entry.name);
    return names;
}

TEST(SoundList, OrderedByTheirKeysFollowingEachChangeAndFoundOnlyByTheSameName) {
    CSoundList list(LowerKey, SameIgnoringCase);
    list.Assign(CSoundList::Sort({"b.WAV", "strasse.wav", "A.wav", "di\u00ADng.wav"}, LowerKey));
    const struct {
        FolderChange change;
        int index; // where the list changes, -1 for nowhere
    } changes[] = {{{true, "straße.wav"}, 4}, {{true, "a2.mid"}, 1},  {{true, "B.wav"}, -1},
                   {{false, "A.WAV"}, 0},     {{false, "x.wav"}, -1}, {{true, "ding.wav"}, 2}};
    for (const auto& c : changes)
        EXPECT_EQ(c.index, list.Apply(c.change)) << c.change.name;
    EXPECT_EQ((std::vector<std::string>{"a2.mid", "b.WAV", "ding.wav", "di\u00ADng.wav",
                                        "strasse.wav", "straße.wav"}),
              NamesOf(list));
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
    EXPECT_EQ(std::nullopt, list.At(6));
}

TEST(QuietPeriod, ABurstIsToldOnceItPausesOrAtTheLatestAfterItsFirstChange) {
    const struct {
        Ticks change;
        Ticks wait; // before telling, from this change
        bool told;  // before the next change
    } burst[] = {{1000, 250, false},
                 {1100, 250, false},
                 {1700, 200, false},
                 {1850, 50, true},
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
