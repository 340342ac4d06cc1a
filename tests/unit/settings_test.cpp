// The rules that turn the stored settings into behaviour.
#include "settings/settings.h"

#include <gtest/gtest.h>

namespace {

TEST(Settings, FlagsAreOnWhenNonZeroButCloseOnSendOnlyAtOne) {
    const struct {
        int value;
        bool on, closes;
    } cases[] = {{0, false, false}, {1, true, true}, {2, true, false}, {-1, true, false}};
    for (const auto& c : cases) {
        settings::Settings s;
        s.m_bTagPrompt = s.m_bFallBack = s.m_bSendClose = c.value;
        EXPECT_EQ(c.on, settings::PromptsForTag(s)) << c.value;
        EXPECT_EQ(c.on, settings::FallsBack(s)) << c.value;
        EXPECT_EQ(c.closes, settings::ClosesOnSend(s)) << c.value;
    }
}

TEST(Settings, TheClientSelectorNamesAStringOrNoneAndOnlyThreeAreRadioButtons) {
    const struct {
        int client;
        std::optional<unsigned> stringId;
        bool radio;
    } cases[] = {{1009, 1009, true},        {1011, 1011, true}, {1012, 1012, true},
                 {1010, 1010, false},       {0, 0, false},      {65535, 65535, false},
                 {65536 + 1009, {}, false}, {-1, {}, false}}; // would wrap onto another string
    for (const auto& c : cases) {
        settings::Settings s;
        s.m_nClient = c.client;
        EXPECT_EQ(c.stringId, settings::ClientClassStringId(s)) << c.client;
        EXPECT_EQ(c.radio, settings::IsClientRadio(c.client)) << c.client;
    }
}

} // namespace
