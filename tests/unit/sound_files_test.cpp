// The sound files Brisa lists and the paths that reach them.
#include "rules/sound_files.h"

#include "text_helpers.h"

#include <gtest/gtest.h>

namespace {

TEST(SoundFiles, TheTypesTheClientPlaysInAnyCaseAndNoOther) {
    const struct {
        const char* name;
        std::optional<SoundType> type;
    } cases[] = {
        {"DING.WAV", SoundType::Wave},    {"ding.wav ", SoundType::Wave}, // as Windows reads it
        {"ding.wav. .", SoundType::Wave}, {"b.Mid", SoundType::Midi},
        {"a b.mP3", SoundType::Mp3},      {"ding.wave", std::nullopt},
        {"ding.midi", std::nullopt},      {"mp3", std::nullopt},
        {"x.wav.txt", std::nullopt},      {"   ", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.type, SoundTypeOf(c.name)) << c.name;
}

// Lengths count as Windows counts them: a character beyond the first plane takes two.
TEST(SoundFiles, FolderAndPathLimitsCountUtf16Units) {
    const std::string bell = "\U0001F514";
    const std::string folder249 = Repeat("Ж", 249), emoji249 = Repeat(bell, 124) + "x";
    EXPECT_TRUE(IsListableFolder(folder249));
    EXPECT_FALSE(IsListableFolder(folder249 + "x"));
    EXPECT_TRUE(IsListableFolder(emoji249));
    EXPECT_FALSE(IsListableFolder(emoji249 + "x"));

    const struct {
        std::string path;
        bool playable;
    } cases[] = {{"C:\\WAV\\ding.wav", true},
                 {"C:\\WAV\\ding.wav ", false}, // Windows would open ding.wav
                 {"C:\\WAV\\ding.", false},
                 {"C:\\" + std::string(256, 'x'), true},
                 {"C:\\" + std::string(257, 'x'), false},
                 {"C:\\" + std::string(128, 'x') + bell + std::string(127, 'x'), false}};
    for (const auto& c : cases)
        EXPECT_EQ(c.playable, CanPlayAsListed(c.path)) << c.path.size();
    EXPECT_EQ(std::nullopt, PathInFolder("C:\\WAV", "")); // the folder's own path
    EXPECT_EQ("C:\\WAV\\\\a.wav", PathInFolder("C:\\WAV\\", "a.wav"));
}

TEST(SoundFiles, ExactPathsAreAbsoluteAndKeepTheNameAsItIs) {
    const struct {
        const char *folder, *name, *path;
    } cases[] = {
        {"C:\\WAV", "ding.wav ", "\\\\?\\C:\\WAV\\ding.wav "},
        {"C:\\WAV\\", "a.wav", "\\\\?\\C:\\WAV\\a.wav"},
        {"\\\\server\\share\\s", "a.wav", "\\\\?\\UNC\\server\\share\\s\\a.wav"},
        {"\\\\?\\C:\\long", "a.wav", "\\\\?\\C:\\long\\a.wav"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.path, ExactPath(c.folder, c.name)) << c.folder;
}

TEST(SoundFiles, DroppedSoundsAreCopiedOthersRefusedAndTheBinTakesWhatTheShellReaches) {
    const DropPlan plan =
        PlanDrop({"D:\\in\\a.wav", "D:\\in\\notes.txt", "D:/x/B.MP3", "C:\\photo.jpg"});
    EXPECT_EQ((std::vector<std::string>{"D:\\in\\a.wav", "D:/x/B.MP3"}), plan.sounds);
    EXPECT_EQ("notes.txt, photo.jpg", plan.refused);
    EXPECT_EQ("", PlanDrop({"a.mid"}).refused);
    EXPECT_TRUE(GoesToRecycleBin("C:\\WAV\\a.wav", true));
    EXPECT_FALSE(GoesToRecycleBin("C:\\WAV\\a.wav", false)); // a share, say
    EXPECT_FALSE(GoesToRecycleBin("C:\\WAV\\a.wav ", true)); // the shell would reach a.wav
}

TEST(SoundFiles, AFolderIsBelowAnotherOnlyAtAPathBoundary) {
    const struct {
        const char *folder, *root;
        bool below;
    } cases[] = {
        {"C:\\WAV", "c:\\wav\\", true}, {"C:\\WAV\\fun", "C:\\WAV", true},
        {"C:\\WAV", "C:\\", true},      {"C:\\WAVES", "C:\\WAV", false},
        {"C:\\WA", "C:\\WAV", false},   {"C:\\WAV", "", false},
        {"D:\\WAV", "C:\\WAV", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.below, IsSameOrBelow(c.folder, c.root, SameIgnoringCase))
            << c.folder << " " << c.root;
}

} // namespace
