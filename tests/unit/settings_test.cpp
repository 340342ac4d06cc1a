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

TEST(Settings, OnlyTheThreeStoredClientNumbersNameAClientAndItsRadioButton) {
    const struct {
        int stored;
        const char* windowClass;
        int radio; // 0: none
    } cases[] = {{1009, "mIRC32", IDC_RADIO_MIRC32},
                 {1011, "mIRC", IDC_RADIO_MIRC},
                 {1012, "PIRCH", IDC_RADIO_PIRCH},
                 {1010, "", 0},
                 {0, "", 0},
                 {65536 + 1009, "", 0},
                 {-1, "", 0}};
    for (const auto& c : cases) {
        settings::Settings s;
        s.m_nClient = c.stored;
        EXPECT_EQ(c.windowClass, settings::ClientWindowClass(s)) << c.stored;
        const settings::ClientKind* chosen = settings::ClientChosenBy(c.radio);
        EXPECT_EQ(c.radio ? c.stored : -2, chosen ? chosen->stored : -2) << c.stored;
    }
    EXPECT_EQ(nullptr, settings::ClientChosenBy(IDC_PROMPT_FOR_TAG));
}

} // namespace
