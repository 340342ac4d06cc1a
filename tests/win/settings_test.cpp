// Brisa's settings as its behaviour shows them: defaults, empty values, the client selector, the
// send flags, and which settings file it uses.
#include "support/brisa_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

constexpr char kDefaultLine[] = "/sound #chat ding.wav -plays Brisa: ding.wav";

// A file outside the case folder, removed again however the test ends.
struct CStrayFile {
    CStrayFile(std::string strPath, const std::string& strText) : m_strPath(std::move(strPath)) {
        WriteFileText(m_strPath, strText);
    }
    ~CStrayFile() { DeleteFileA(m_strPath.c_str()); }
    const std::string m_strPath;
};

std::string WindowsDirIni() {
    char szDir[MAX_PATH] = {};
    const UINT nLength = GetWindowsDirectoryA(szDir, sizeof(szDir));
    return std::string(szDir, nLength) + "\\Brisa.INI";
}

// Brisa on a profile, observed through Play (the recording winmm.dll) and Send.
struct CSettingsCase : CBrisaCase {
    using CBrisaCase::CBrisaCase;
    // The path Play hands the sound service.
    std::string PlayedPath() const {
        const size_t nBefore = SoundCalls().size();
        if (!Click(Item(IDC_PLAY)) || !WaitUntil([&] { return SoundCalls().size() > nBefore; }))
            return "(nothing played)";
        const std::string strCall = LastSound();
        return strCall.substr(strCall.find('|') + 1);
    }
    // The line the client enters when ding.wav is typed into the name box and Send pressed.
    std::string SentLine(const CImitationClient& client) const {
        TypeFileName("ding.wav");
        return WaitUntil([&] { return FileName() == "ding.wav"; }) && Click(Item(IDC_SEND))
                   ? WaitEnteredLine(client, 0)
                   : "(nothing typed)";
    }
};

TEST(Settings, AbsentProfileOrKeysGiveTheDefaults) {
    for (const char* pszIni : {static_cast<const char*>(nullptr), "[Options]\r\n",
                               "[Other]\r\nWAVDir=X:\\other\r\nSendClose=1\r\n"}) {
        SCOPED_TRACE(pszIni ? pszIni : "no profile");
        CImitationClient client;
        CSettingsCase brisa(pszIni ? std::optional<std::string>(pszIni) : std::nullopt);
        const std::string strAppData = brisa.MakeDir("appdata");
        brisa.SetEnv("APPDATA", strAppData);
        ASSERT_TRUE(brisa.Start());
        EXPECT_EQ("C:\\WAV\\", brisa.PlayedPath());
        EXPECT_EQ(kDefaultLine, brisa.SentLine(client));
        ASSERT_TRUE(brisa.Sync());
        EXPECT_FALSE(brisa.ProcessExited(0));
        EXPECT_TRUE(client.RaisedWindows().empty());
        // Reading writes nothing.
        EXPECT_EQ(pszIni ? pszIni : "", brisa.IniText());
        EXPECT_FALSE(FileExists(strAppData + "\\Brisa\\Brisa.INI"));
    }
}

TEST(Settings, EmptyValuesReadAsEmpty) {
    CImitationClient client;
    CSettingsCase brisa(std::string("[Options]\r\nTagText=\r\nWAVDir=\r\n"));
    // An empty WAV directory puts the files at the root of the current drive.
    const std::string strName = "brisa-settings-" + std::to_string(GetCurrentProcessId()) + ".wav";
    const CStrayFile file(brisa.Dir().substr(0, 3) + strName, "RIFF");
    ASSERT_TRUE(brisa.Start());
    const std::vector<std::string> listFiles = brisa.Files();
    const auto found = std::find(listFiles.begin(), listFiles.end(), strName);
    ASSERT_NE(listFiles.end(), found);
    ASSERT_TRUE(
        SelectListItem(brisa.Item(IDC_FILE_LIST), static_cast<int>(found - listFiles.begin())));
    EXPECT_EQ("\\" + strName, brisa.PlayedPath());
    EXPECT_EQ("/sound #chat ding.wav ", brisa.SentLine(client));
}

TEST(Settings, ClientSelectorNamesTheClientWindowClass) {
    struct {
        const char* pszClient;
        std::vector<std::string> listClasses; // the first one is expected to be found, if any
        bool bFound;
    } const cases[] = {
        {"1011", {"mIRC"}, true},
        {"1011", {"mIRC32"}, false},
        {"1010", {"mIRC32", "mIRC"}, false},
        {"99999", {"mIRC32", "mIRC"}, false},
        {"-1", {"mIRC32", "mIRC"}, false},
        {"66545", {"mIRC32", "mIRC"}, false},
        {"abc", {"mIRC32", "mIRC"}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszClient);
        std::vector<std::unique_ptr<CImitationClient>> listClients;
        for (const std::string& strClass : c.listClasses)
            listClients.push_back(std::make_unique<CImitationClient>(strClass));
        CSettingsCase brisa;
        brisa.UseWavDir("Client=" + std::string(c.pszClient) + "\r\n");
        ASSERT_TRUE(brisa.Start());
        EXPECT_EQ(c.bFound ? 2 : 0, brisa.EnabledClientButtons());

        // A double-click sends while the client is found and plays otherwise.
        ASSERT_TRUE(DoubleClickListItem(brisa.Item(IDC_FILE_LIST), 0));
        ASSERT_TRUE(WaitUntil([&] {
            return !brisa.SoundCalls().empty() || !listClients[0]->EnteredLines().empty();
        }));
        ASSERT_TRUE(brisa.Sync());
        EXPECT_EQ(c.bFound ? 0u : 1u, brisa.SoundCalls().size());
        EXPECT_EQ(c.bFound ? 1u : 0u, listClients[0]->EnteredLines().size());
        if (listClients.size() > 1) {
            EXPECT_TRUE(listClients[1]->EnteredLines().empty());
        }
    }
}

TEST(Settings, SendCloseOnlyAtOneAndFallBackWheneverNonZero) {
    struct {
        const char* pszIni;
        bool bCloses;
        std::vector<std::string> listRaised;
    } const cases[] = {
        {"SendClose=1\r\n", true, {}},
        {"SendClose=2\r\n", false, {}},
        {"FallBack=2\r\n", false, {"top"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszIni);
        CImitationClient client;
        CSettingsCase brisa(std::string("[Options]\r\n") + c.pszIni);
        ASSERT_TRUE(brisa.Start());
        EXPECT_EQ(kDefaultLine, brisa.SentLine(client));
        if (c.bCloses) {
            EXPECT_TRUE(brisa.ProcessExited());
        } else {
            ASSERT_TRUE(brisa.Sync());
            EXPECT_FALSE(brisa.ProcessExited(0));
        }
        EXPECT_EQ(c.listRaised, client.RaisedWindows());
    }
}

TEST(Settings, FileBesideTheProgramElseTheUsersOneWithAnOlderOneCopiedOnce) {
    const char* const pszOlder = "[Options]\r\nWAVDir=X:\\older\r\nFallBack=2\r\nClient=1011\r\n";
    const char* const pszUser = "[Options]\r\nWAVDir=X:\\user\r\n";
    struct {
        const char* pszBeside; // the files before the start: beside the program,
        const char* pszOlder;  // in the Windows directory
        const char* pszUser;   // and in the user's folder
        const char* pszPlayed;
        const char* pszUserAfter; // the user's file after the start
        const char* pszWritten;   // a line that OK in the Options dialog writes
    } const cases[] = {
        {"[Options]\r\nWAVDir=X:\\beside\r\n", pszOlder, pszUser, "X:\\beside\\", pszUser,
         "FallBack=0"},
        {nullptr, nullptr, nullptr, "C:\\WAV\\", "", "Client=1009"},
        {nullptr, pszOlder, nullptr, "X:\\older\\", pszOlder, "FallBack=1"},
        {nullptr, pszOlder, pszUser, "X:\\user\\", pszUser, "FallBack=0"},
    };
    ASSERT_FALSE(FileExists(WindowsDirIni()));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszPlayed);
        std::unique_ptr<CStrayFile> older;
        if (c.pszOlder)
            older = std::make_unique<CStrayFile>(WindowsDirIni(), c.pszOlder);
        CSettingsCase brisa(c.pszBeside ? std::optional<std::string>(c.pszBeside) : std::nullopt);
        const std::string strAppData = brisa.MakeDir("appdata");
        const std::string strUserIni = strAppData + "\\Brisa\\Brisa.INI";
        if (c.pszUser) {
            brisa.MakeDir("appdata\\Brisa");
            WriteFileText(strUserIni, c.pszUser);
        }
        brisa.SetEnv("APPDATA", strAppData);
        ASSERT_TRUE(brisa.Start());
        EXPECT_EQ(c.pszPlayed, brisa.PlayedPath());
        EXPECT_EQ(c.pszUserAfter, ReadFileText(strUserIni));

        ASSERT_TRUE(brisa.PassOptions(IDOK));
        const std::string strWritten = c.pszBeside ? brisa.IniText() : ReadFileText(strUserIni);
        EXPECT_TRUE(HasOption(strWritten, "TagPrompt=0")) << strWritten;
        EXPECT_TRUE(HasOption(strWritten, c.pszWritten)) << strWritten;
        // The other file stays as it was.
        EXPECT_EQ(c.pszBeside ? c.pszUser : "",
                  c.pszBeside ? ReadFileText(strUserIni) : brisa.IniText());
        EXPECT_EQ(c.pszOlder ? c.pszOlder : "", ReadFileText(WindowsDirIni()));
    }
}

} // namespace
