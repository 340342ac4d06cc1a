// The settings and the soundboard: what the stored values mean, and how they are loaded and saved.
#include "rules/settings.h"
#include "rules/soundboard.h"

#include "fake_profile.h"
#include "text_helpers.h"

#include <gtest/gtest.h>

namespace {

TEST(Settings, FlagsAreOnWhenNonZeroButCloseOnSendOnlyAtOne) {
    const struct {
        int value;
        bool on, closes, offersFallBack;
    } cases[] = {{0, false, false, true}, {1, true, true, false}, {2, true, false, false}};
    for (const auto& c : cases) {
        settings::Settings s;
        s.m_bTagPrompt = s.m_bFallBack = s.m_bSendClose = c.value;
        EXPECT_EQ(c.on, settings::PromptsForTag(s)) << c.value;
        EXPECT_EQ(c.on, settings::FallsBack(s)) << c.value;
        EXPECT_EQ(c.closes, settings::ClosesOnSend(s)) << c.value;
        EXPECT_EQ(c.offersFallBack, settings::OffersFallBack(s)) << c.value;
    }
}

TEST(Settings, EachReaderHasItsDefaultsAndSaveWritesAllSixIntegersFirst) {
    FakeProfile profile;
    const settings::Settings forSend = settings::Load(profile, settings::kDefaultSendTagText);
    EXPECT_EQ("C:\\WAV", forSend.m_strWavDir);
    EXPECT_EQ("-plays Brisa: @", forSend.m_strTagText);
    EXPECT_EQ(1009, forSend.m_nClient);
    profile.values = {{"Options.TagText", ""},
                      {"Options.WAVDir", "D:\\S"},
                      {"Options.Client", "1011"},
                      {"Options.FallBack", "2"}};
    settings::Settings edited = settings::Load(profile, settings::kDefaultOptionsTagText);
    EXPECT_EQ("", edited.m_strTagText); // present but empty is not the default
    EXPECT_EQ("mIRC", settings::ClientWindowClass(edited));
    EXPECT_EQ("D:\\S", settings::LoadWavDir(profile));
    EXPECT_TRUE(settings::Save(profile, edited));
    EXPECT_EQ((std::vector<std::string>{"Options.TagPrompt=0", "Options.FallBack=2",
                                        "Options.SendClose=0", "Options.Client=1011",
                                        "Options.TagText=", "Options.WAVDir=D:\\S"}),
              profile.written);
    profile.writable = false;
    EXPECT_FALSE(settings::Save(profile, edited));
}

using soundboard::Hotkey;

TEST(Soundboard, HotkeysReadAsTheyAreWrittenAndOnlyWithCtrlAltOrWin) {
    const struct {
        const char* text;
        Hotkey hotkey;
        const char* written;
    } cases[] = {
        {"shift+ALT+a", Hotkey{5, 'A'}, "Alt+Shift+A"},
        {"Win+Shift+Num +", Hotkey{12, 0x6B}, "Shift+Win+Num +"},
        {"Ctrl+Win+Num 0", Hotkey{10, 0x60}, "Ctrl+Win+Num 0"},
        {"Ctrl+Shift+PgUp", Hotkey{6, 0x21}, "Ctrl+Shift+PgUp"},
        {"Ctrl+Alt+#186", Hotkey{3, 186}, "Ctrl+Alt+#186"},
        {"Ctrl+Alt+F24", Hotkey{3, 0x87}, "Ctrl+Alt+F24"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.hotkey, soundboard::Parse(c.text)) << c.text;
        EXPECT_EQ(c.written, soundboard::Format(c.hotkey)) << c.text;
    }
    // Ctrl+C is every program's Copy.
    for (const char* refused :
         {"Ctrl+C", "Shift+Win", "F5", "Ctrl+Alt+", "Hyper+A", "Ctrl+Alt+F25", ""})
        EXPECT_EQ(std::nullopt, soundboard::Parse(refused)) << refused;
}

TEST(Soundboard, OneSoundAHotkeyKeptInTheProfileWithTheStopHotkeyAndTheVolume) {
    FakeProfile profile;
    profile.values = {{"Hotkeys.Ctrl+Alt+F1", "fun\\ding.wav"}, {"Hotkeys.Ctrl+F2", "x.wav"},
                      {"Hotkeys.Ctrl+Alt+F3", ""}, {"Soundboard.StopHotkey", "Ctrl+Alt+S"},
                      {"Soundboard.Volume", "250"}};
    const soundboard::Soundboard board = soundboard::Load(profile);
    ASSERT_EQ(1u, board.bindings.size());
    EXPECT_EQ("fun\\ding.wav", board.bindings[0].sound);
    EXPECT_EQ(soundboard::Parse("Ctrl+Alt+S"), board.stop);
    EXPECT_EQ(100, board.volume);
    EXPECT_EQ(0, soundboard::VolumeOf(-5));

    const auto same = SameIgnoringCase;
    soundboard::Soundboard changed = board;
    const Hotkey ctrlAltF2{Hotkey::kControl | Hotkey::kAlt, 0x71};
    soundboard::Bind(changed, "FUN\\DING.wav", ctrlAltF2, same);
    soundboard::Bind(changed, "b.wav", Hotkey{Hotkey::kControl, 'B'}, same);
    soundboard::Bind(changed, "b.wav", std::nullopt, same);
    EXPECT_EQ(ctrlAltF2, soundboard::HotkeyOf(changed, "fun\\ding.wav", same));
    EXPECT_EQ("FUN\\DING.wav", soundboard::HolderOf(changed, ctrlAltF2, "b.wav", same));
    EXPECT_EQ(std::nullopt, soundboard::HolderOf(changed, ctrlAltF2, "fun\\ding.WAV", same));
    EXPECT_EQ(std::nullopt, soundboard::HotkeyOf(changed, "b.wav", same));

    EXPECT_TRUE(soundboard::SaveHotkeys(profile, board, changed));
    EXPECT_TRUE(soundboard::SaveVolume(profile, 40));
    EXPECT_EQ(
        (std::vector<std::string>{"Hotkeys.Ctrl+Alt+F1", "Hotkeys.Ctrl+Alt+F2=FUN\\DING.wav",
                                  "Soundboard.StopHotkey=Ctrl+Alt+S", "Soundboard.Volume=40"}),
        profile.written);
    const soundboard::Soundboard reread = soundboard::Load(profile);
    ASSERT_EQ(1u, reread.bindings.size());
    EXPECT_EQ(ctrlAltF2, reread.bindings[0].hotkey);
    EXPECT_EQ(40, reread.volume);
}

} // namespace
