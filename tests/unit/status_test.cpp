// What the main window shows of itself: its status line, and where it comes back.
#include "resource.h"
#include "rules/placement.h"
#include "rules/status.h"

#include "fake_profile.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(StatusLine, SaysHowManySoundsAreListedOrWhyNone) {
    using EState = FolderState::EState;
    const struct {
        EState state;
        std::size_t sounds;
        int message;
        Args args;
    } cases[] = {{EState::Listing, 0, IDS_STATUS_LISTING, {"C:\\WAV"}},
                 {EState::Listed, 0, IDS_STATUS_SOUNDS, {"0", "C:\\WAV"}},
                 {EState::Listed, 1, IDS_STATUS_ONE_SOUND, {"C:\\WAV"}},
                 {EState::Unlistable, 0, IDS_STATUS_UNLISTABLE, {"C:\\WAV"}}};
    for (const auto& c : cases) {
        const Notice notice = FolderStatus({c.state, c.sounds, "C:\\WAV", std::nullopt});
        EXPECT_EQ(c.message, notice.message) << c.sounds;
        EXPECT_EQ(c.args, notice.args) << c.sounds;
    }
}

TEST(StatusLine, SaysWhetherTheChosenClientRunsAndWhichOtherDoes) {
    const struct {
        ClientState client;
        int message;
        Args args;
    } cases[] = {
        {{"", false, "mIRC", ""}, IDS_STATUS_NO_CLIENT_CHOSEN, {}},
        {{"mIRC32", false, "", ""}, IDS_STATUS_NO_CLIENT, {"mIRC32"}},
        {{"mIRC32", false, "mIRC", ""}, IDS_STATUS_OTHER_CLIENT, {"mIRC32", "mIRC"}},
        {{"PIRCH", true, "mIRC", ""}, IDS_STATUS_CLIENT_RUNS, {"PIRCH"}},
        {{"mIRC", true, "", "7.72"}, IDS_STATUS_CLIENT_TOLD, {"mIRC", "7.72"}},
    };
    for (const auto& c : cases) {
        const Notice notice = ClientStatus(c.client);
        EXPECT_EQ(c.message, notice.message) << c.client.chosen;
        EXPECT_EQ(c.args, notice.args) << c.client.chosen;
    }
}

TEST(Placement, BackOnItsMonitorAtItsScaleWhole) {
    const WindowRect work = {0, 0, 1920, 1040}, minimum = {0, 0, 280, 160};
    const struct {
        WindowPlace saved;
        int dpi;
        WindowRect placed;
    } cases[] = {
        {{{100, 80, 700, 480}, true, 96}, 144, {100, 80, 1000, 680}}, // scaled with the monitor
        {{{100, 80, 700, 480}, false, 192}, 96, {100, 80, 400, 280}},
        {{{100, 80, 300, 180}, false, 192}, 96, {100, 80, 380, 240}},        // never below the form
        {{{1700, 900, 2300, 1300}, false, 96}, 96, {1320, 640, 1920, 1040}}, // inside the area
        {{{-50, -20, 3950, 2980}, false, 96}, 96, {0, 0, 1920, 1040}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.placed, PlaceOnMonitor(c.saved, work, c.dpi, minimum)) << c.saved.rect.left;
}

TEST(Placement, KeptInASectionOfItsOwnAndNoneWhenItMakesNoWindow) {
    FakeProfile profile;
    EXPECT_EQ(std::nullopt, settings::LoadPlace(profile));
    settings::SavePlace(profile, {{10, 20, 610, 420}, true, 120});
    const auto place = settings::LoadPlace(profile);
    ASSERT_TRUE(place);
    EXPECT_EQ((WindowRect{10, 20, 610, 420}), place->rect);
    EXPECT_TRUE(place->maximized && place->dpi == 120);
    for (const char* key : {"Right", "Dpi"}) {
        FakeProfile hand = profile;
        hand.values[std::string("Window.") + key] = "0"; // by hand: no window, or no scale
        EXPECT_EQ(std::nullopt, settings::LoadPlace(hand)) << key;
    }
}

} // namespace
