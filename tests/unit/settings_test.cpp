// The settings: the rules that give the stored values their meaning, and the one load and save.
#include "rules/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

TEST(Settings, FlagsAreOnWhenNonZeroButCloseOnSendOnlyAtOne) {
    const struct {
        int value;
        bool on, closes, offersFallBack;
    } cases[] = {{0, false, false, true},
                 {1, true, true, false},
                 {2, true, false, false},
                 {-1, true, false, false}};
    for (const auto& c : cases) {
        settings::Settings s;
        s.m_bTagPrompt = s.m_bFallBack = s.m_bSendClose = c.value;
        EXPECT_EQ(c.on, settings::PromptsForTag(s)) << c.value;
        EXPECT_EQ(c.on, settings::FallsBack(s)) << c.value;
        EXPECT_EQ(c.closes, settings::ClosesOnSend(s)) << c.value;
        EXPECT_EQ(c.offersFallBack, settings::OffersFallBack(s)) << c.value;
    }
}

TEST(Settings, OnlyTheThreeStoredClientNumbersNameAClient) {
    const struct {
        int stored;
        const char* windowClass;
    } cases[] = {{1009, "mIRC32"}, {1011, "mIRC"}, {1012, "PIRCH"},
                 {1010, ""},       {0, ""},        {65536 + 1009, ""}};
    for (const auto& c : cases) {
        settings::Settings s;
        s.m_nClient = c.stored;
        EXPECT_EQ(c.windowClass, settings::ClientWindowClass(s)) << c.stored;
    }
}

// A profile of one section that records what is written, in order.
struct FakeProfile {
    std::map<std::string, std::string> values;
    mutable std::vector<std::string> written;
    bool writable = true;

    std::string GetString(const char*, const char* key, const char* defaultValue) const {
        const auto found = values.find(key);
        return found == values.end() ? defaultValue : found->second;
    }
    int GetInt(const char* section, const char* key, int defaultValue) const {
        const std::string value = GetString(section, key, "");
        return value.empty() ? defaultValue : std::stoi(value);
    }
    bool Write(const char* section,
               std::initializer_list<std::pair<const char*, std::string>> pairs) const {
        for (const auto& [key, value] : pairs)
            written.push_back(std::string(section) + "." + key + "=" + value);
        return writable;
    }
};

TEST(Settings, EachReaderHasItsDefaultsAndSaveWritesAllSixIntegersFirst) {
    FakeProfile profile;
    const settings::Settings forSend = settings::Load(profile, settings::kDefaultSendTagText);
    EXPECT_EQ("C:\\WAV", forSend.m_strWavDir);
    EXPECT_EQ("-plays Brisa: @", forSend.m_strTagText);
    EXPECT_EQ(1009, forSend.m_nClient);
    EXPECT_EQ(0, forSend.m_bTagPrompt + forSend.m_bFallBack + forSend.m_bSendClose);
    profile.values = {{"TagText", ""}, {"WAVDir", "D:\\S"}, {"Client", "1011"}, {"FallBack", "2"}};
    settings::Settings edited = settings::Load(profile, settings::kDefaultOptionsTagText);
    EXPECT_EQ("", edited.m_strTagText); // present but empty is not the default
    EXPECT_EQ("D:\\S", settings::LoadWavDir(profile));
    EXPECT_TRUE(settings::Save(profile, edited));
    EXPECT_EQ((std::vector<std::string>{"Options.TagPrompt=0", "Options.FallBack=2",
                                        "Options.SendClose=0", "Options.Client=1011",
                                        "Options.TagText=", "Options.WAVDir=D:\\S"}),
              profile.written);
    profile.writable = false;
    EXPECT_FALSE(settings::Save(profile, edited));
}

} // namespace
