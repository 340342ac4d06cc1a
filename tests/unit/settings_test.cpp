#include "settings/settings.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace {

using settings::Settings;

// A profile of one section in memory: absent keys read as the default, as the platform's do.
struct FakeProfile {
    std::map<std::string, std::string> values;
    mutable std::vector<std::string> writes;
    bool writable = true;

    std::string GetString(const char*, const char* key, const char* defaultValue) const {
        const auto found = values.find(key);
        return found == values.end() ? defaultValue : found->second;
    }
    int GetInt(const char*, const char* key, int defaultValue) const {
        const auto found = values.find(key);
        return found == values.end() ? defaultValue : std::stoi(found->second);
    }
    bool WriteString(const char* section, const char* key, const std::string& value) const {
        writes.push_back(std::string(section) + "/" + key + "=" + value);
        return writable;
    }
    bool WriteInt(const char* section, const char* key, int value) const {
        return WriteString(section, key, std::to_string(value));
    }
};

TEST(Settings, AbsentKeysReadAsEachReadersDefaultsAndEmptyOnesAsEmpty) {
    const FakeProfile none;
    const Settings view = settings::Load(none, settings::Reader::View);
    const Settings options = settings::Load(none, settings::Reader::OptionsDialog);
    for (const Settings& s : {view, options}) {
        EXPECT_EQ("C:\\WAV", s.m_strWavDir);
        EXPECT_EQ(0, s.m_bTagPrompt + s.m_bFallBack + s.m_bSendClose);
        EXPECT_EQ(1009, s.m_nClient);
    }
    EXPECT_EQ("-plays Brisa: @", view.m_strTagText);
    EXPECT_EQ("plays a wav", options.m_strTagText);

    FakeProfile stored;
    stored.values = {{"WAVDir", "D:\\s"}, {"TagText", ""},    {"TagPrompt", "1"},
                     {"FallBack", "2"},   {"SendClose", "1"}, {"Client", "1012"}};
    const Settings s = settings::Load(stored, settings::Reader::View);
    EXPECT_EQ("D:\\s", s.m_strWavDir);
    EXPECT_EQ("", s.m_strTagText);
    EXPECT_EQ(1, s.m_bTagPrompt);
    EXPECT_EQ(2, s.m_bFallBack);
    EXPECT_EQ(1, s.m_bSendClose);
    EXPECT_EQ(1012, s.m_nClient);
}

TEST(Settings, SaveWritesAllSixIntegersFirstAndReportsAFailedWrite) {
    Settings s;
    s.m_strWavDir = "D:\\s";
    s.m_strTagText = "t @";
    s.m_bTagPrompt = 1;
    s.m_nClient = 42;
    FakeProfile profile;
    EXPECT_TRUE(settings::Save(profile, s));
    EXPECT_EQ((std::vector<std::string>{"Options/TagPrompt=1", "Options/FallBack=0",
                                        "Options/SendClose=0", "Options/Client=42",
                                        "Options/TagText=t @", "Options/WAVDir=D:\\s"}),
              profile.writes);
    profile.writable = false;
    profile.writes.clear();
    EXPECT_FALSE(settings::Save(profile, s));
    EXPECT_EQ(6u, profile.writes.size()); // all six are tried all the same
}

TEST(Settings, RulesTurnStoredValuesIntoBehaviour) {
    const struct {
        int value;
        bool on, closes;
    } flags[] = {{0, false, false}, {1, true, true}, {2, true, false}, {-1, true, false}};
    for (const auto& f : flags) {
        Settings s;
        s.m_bTagPrompt = s.m_bFallBack = s.m_bSendClose = f.value;
        EXPECT_EQ(f.on, settings::PromptsForTag(s)) << f.value;
        EXPECT_EQ(f.on, settings::FallsBack(s)) << f.value;
        EXPECT_EQ(f.closes, settings::ClosesOnSend(s)) << f.value;
    }
    const struct {
        int client;
        std::optional<unsigned> stringId;
        bool radio;
    } clients[] = {{1009, 1009, true},
                   {1011, 1011, true},
                   {1012, 1012, true},
                   {1010, 1010, false},
                   {0, 0, false},
                   {65535, 65535, false},
                   {65536 + 1009, std::nullopt, false},
                   {-1, std::nullopt, false}};
    for (const auto& c : clients) {
        Settings s;
        s.m_nClient = c.client;
        EXPECT_EQ(c.stringId, settings::ClientClassStringId(s)) << c.client;
        EXPECT_EQ(c.radio, settings::IsClientRadio(c.client)) << c.client;
    }
}

} // namespace
