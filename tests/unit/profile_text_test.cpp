// The text of the settings file: its encodings, the keys set in it, and its replacement.
#include "framework/profile_text.h"

#include <gtest/gtest.h>

#include <map>

namespace {

using Encoding = fw::FileEncoding;

TEST(ProfileText, EachEncodingIsKnownByItsMarkOrItsBytes) {
    const struct {
        std::string bytes;
        Encoding encoding;
    } cases[] = {
        {"\xFF\xFE[\0", Encoding::Utf16},         {"\xFE\xFF\0[", Encoding::Utf16BigEndian},
        {"\xEF\xBB\xBF[O]", Encoding::Utf8},      {"Dir=C:\\\xC3\x89t\xC3\xA9", Encoding::Utf8},
        {"Dir=\xF0\x9F\x94\x94", Encoding::Utf8}, {"Dir=C:\\\xC9t\xE9", Encoding::Ansi},
        {"\xC3", Encoding::Ansi},                 {"\xED\xA0\x80", Encoding::Ansi},
        {"[Options]\r\n", Encoding::Ascii},       {"", Encoding::Ascii},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.encoding, fw::EncodingOf(c.bytes)) << c.bytes;
}

TEST(ProfileText, KeysAreSetInPlaceAndEverythingElseIsKept) {
    const std::vector<fw::ProfileValue> values = {
        {u"TagPrompt", u"1"}, {u"WAVDir", u"C:\\Ж"}, {u"Gone", std::nullopt}};
    const struct {
        std::u16string before, after;
    } cases[] = {
        {u"", u"[Options]\r\nTagPrompt=1\r\nWAVDir=C:\\Ж\r\n"},
        {u"[Options]\r\n", u"[Options]\r\nTagPrompt=1\r\nWAVDir=C:\\Ж\r\n"},
        {u"[a]\nx=1", u"[a]\nx=1\n[Options]\nTagPrompt=1\nWAVDir=C:\\Ж\n"},
        // Set or taken away where they stand, in any letter case; a user's section and notes stay.
        {u" [ options ]\r\n wavdir = D:\\\r\n;note\r\n\r\n[Mine]\r\nWAVDir=keep\r\nGone=1\r\n",
         u" [ options ]\r\nWAVDir=C:\\Ж\r\n;note\r\nTagPrompt=1\r\n\r\n[Mine]\r\nWAVDir=keep\r\nGone=1\r\n"},
        {u"[Options]\r\nWAVDir=1\r\ngone=a\r\nWAVDir=2\r\nGone=b\r\n",
         u"[Options]\r\nWAVDir=C:\\Ж\r\nWAVDir=2\r\nTagPrompt=1\r\n"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.after, fw::WithValues(c.before, u"Options", values));
    const struct {
        std::u16string value, stored;
    } quoted[] = {{u"plays", u"plays"},     {u"plays: ", u"\"plays: \""},
                  {u"\"@\"", u"\"\"@\"\""}, {u"'x", u"\"'x\""},
                  {u"a b", u"a b"},         {u"", u""}};
    for (const auto& c : quoted)
        EXPECT_EQ(c.stored, fw::StoredValue(c.value));
}

// Files that a test can make fail at any step.
struct FakeStore : fw::IFileStore {
    std::map<std::string, std::string> files{{"Brisa.INI", "old"}};
    std::string failAt; // "new", "write", "short", "move"

    std::optional<std::string> Read(const std::string& path) override {
        return files.count(path) ? std::optional<std::string>(files[path]) : std::nullopt;
    }
    std::string NewFileBeside(const std::string&) override {
        return failAt == "new" ? "" : (files["bri1.tmp"] = "", "bri1.tmp");
    }
    bool Write(const std::string& path, const std::string& bytes) override {
        files[path] = failAt == "short" ? bytes.substr(0, 2) : bytes;
        return failAt != "write";
    }
    bool MoveOver(const std::string& from, const std::string& to) override {
        if (failAt == "move")
            return false;
        files[to] = files[from];
        files.erase(from);
        return true;
    }
    void Remove(const std::string& path) override { files.erase(path); }
};

TEST(ProfileText, AFileIsReplacedWholeOrNotAtAll) {
    for (const char* failAt : {"", "new", "write", "short", "move"}) {
        FakeStore store;
        store.failAt = failAt;
        EXPECT_EQ(!*failAt, fw::ReplaceWhole(store, "Brisa.INI", "new bytes")) << failAt;
        const std::map<std::string, std::string> after = {
            {"Brisa.INI", *failAt ? "old" : "new bytes"}};
        EXPECT_EQ(after, store.files) << failAt;
    }
}

} // namespace
