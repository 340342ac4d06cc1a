// The main form of a running Brisa.exe: listing the WAV folder, the name box, Play, Stop, Delete
// and Refresh. Sound is observed through the recording winmm.dll.
#include "support/brisa_fixture.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

TEST(WavListView, ListsTheFolderSortedAndTakesTheFirstEntry) {
    const Names listMixed = {"beta.wav", "mid.wav", "zulu.WAV", "Alpha.WAV", "notes.txt"};
    struct {
        const char* pszCase;
        size_t nPathLength;      // the folder's name is padded to give its path this length
        const char* pszStoredAs; // "relative", or appended to the full path in the profile
        Names listFiles;         // the first is made read-only
        Names listShown;
    } const cases[] = {
        {"plain", 0, "", listMixed, {"Alpha.WAV", "beta.wav", "mid.wav", "zulu.WAV"}},
        {"empty", 0, "", {}, {}},
        {"missing", 0, "\\missing", {"a.wav"}, {}},
        {"trailing backslash", 0, "\\", {"b.wav", "a.wav"}, {"a.wav", "b.wav"}},
        {"relative", 0, "relative", {"a.wav"}, {"a.wav"}},
        // The pattern "<folder>\*.WAV" listed then has exactly 255 characters.
        {"249 characters", 249, "", {"a.wav"}, {"a.wav"}},
        {"250 characters", 250, "", {"a.wav"}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszCase);
        CBrisaCase brisa;
        const std::string strName =
            c.nPathLength ? std::string(c.nPathLength - brisa.Dir().size() - 1, 'd') : "wav";
        std::string strDir = brisa.MakeDir(strName, c.listFiles);
        if (!c.listFiles.empty())
            SetFileAttributesA((strDir + "\\" + c.listFiles[0]).c_str(), FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(FileExists(strDir) && (!c.nPathLength || strDir.size() == c.nPathLength));
        strDir = std::string(c.pszStoredAs) == "relative" ? strName : strDir + c.pszStoredAs;
        brisa.WriteWavDir(strDir);
        ASSERT_TRUE(brisa.Start());

        EXPECT_EQ(c.listShown, brisa.Files());
        EXPECT_EQ(c.listShown.empty() ? LB_ERR : 0, brisa.Selection());
        const std::string strFirst = c.listShown.empty() ? "" : c.listShown[0];
        EXPECT_EQ(strFirst, brisa.FileName());
        ASSERT_TRUE(brisa.Press(IDC_PLAY));
        EXPECT_EQ("1|" + strDir + "\\" + strFirst, brisa.LastSound());
        EXPECT_TRUE(brisa.NoMessageBox());
    }
}

TEST(WavListView, RefreshRelistsTheLoadedFolderAndDialogsLoadANewOne) {
    CBrisaCase brisa;
    brisa.MakeDir("wav", {"a.wav", "b.wav"});
    const std::string strOther = brisa.MakeDir("other", {"o.wav"});
    const std::string strMissing = brisa.PathOf("missing");
    const std::string strLong =
        brisa.MakeDir(std::string(250 - brisa.Dir().size() - 1, 'd'), {"long.wav"});
    brisa.WriteWavDir("wav"); // relative: the listing moves the current folder
    ASSERT_TRUE(brisa.Start());
    ASSERT_TRUE(brisa.Select(1));

    Names listExpected = {"a.wav", "b.wav"};
    for (const char* pszAdded : {"c.wav", "d.wav", "e.wav"}) {
        SCOPED_TRACE(pszAdded);
        brisa.MakeDir("wav", {pszAdded});
        listExpected.push_back(pszAdded);
        ASSERT_TRUE(brisa.Press(IDC_REFRESH));
        EXPECT_EQ(listExpected, brisa.Files());
        EXPECT_EQ(1, brisa.Selection());
        EXPECT_EQ("b.wav", brisa.FileName());
    }
    ASSERT_TRUE(brisa.Press(IDC_PLAY));
    EXPECT_EQ("1|wav\\b.wav", brisa.LastSound());

    // Refresh relists the folder loaded at start; the profile is read again after a dialog.
    brisa.WriteWavDir(strOther);
    ASSERT_TRUE(brisa.Press(IDC_REFRESH));
    EXPECT_EQ(listExpected, brisa.Files());
    ASSERT_TRUE(brisa.PassOptions(IDCANCEL));
    EXPECT_EQ(Names{"o.wav"}, brisa.Files());
    EXPECT_EQ(LB_ERR, brisa.Selection()); // the selection follows the index, not the name
    EXPECT_EQ("", brisa.FileName());

    // A folder that cannot be listed leaves the list alone; its names meet the new folder.
    ASSERT_TRUE(brisa.Select(0));
    for (const std::string& strDir : {strMissing, strLong}) {
        SCOPED_TRACE(strDir);
        brisa.WriteWavDir(strDir);
        ASSERT_TRUE(brisa.PassOptions(IDCANCEL));
        EXPECT_EQ(Names{"o.wav"}, brisa.Files());
        EXPECT_EQ(0, brisa.Selection());
        ASSERT_TRUE(brisa.Press(IDC_PLAY));
        EXPECT_EQ("1|" + strDir + "\\o.wav", brisa.LastSound());
        EXPECT_TRUE(brisa.NoMessageBox());
    }
}

TEST(WavListView, TypedPrefixSelectsTheFirstMatchInAnyCase) {
    CBrisaCase brisa;
    const std::string strDir =
        brisa.MakeDir("wav", {"zz.wav", "Abc.WAV", "ab2.wav", "AB.WAV", "aa.wav"});
    brisa.WriteWavDir(strDir);
    ASSERT_TRUE(brisa.Start());
    ASSERT_EQ((Names{"aa.wav", "AB.WAV", "ab2.wav", "Abc.WAV", "zz.wav"}), brisa.Files());
    struct {
        const char* pszTyped;
        int nSelected; // 4, zz.wav, is selected before typing
    } const cases[] = {
        {"ab", 1},     {"AB", 1}, {"aB", 1},  {"abC", 3},
        {"AA.WAV", 0}, {"q", 4},  {"abd", 1}, // where "ab" took it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszTyped);
        ASSERT_TRUE(brisa.Select(4));
        brisa.TypeFileName(c.pszTyped);
        ASSERT_TRUE(brisa.Sync());
        EXPECT_EQ(c.pszTyped, brisa.FileName());
        EXPECT_EQ(c.nSelected, brisa.Selection());
        ASSERT_TRUE(brisa.Press(IDC_PLAY));
        EXPECT_EQ("1|" + strDir + "\\" + brisa.Files()[c.nSelected], brisa.LastSound());
        EXPECT_EQ(c.pszTyped, brisa.FileName()); // Play leaves the name box alone
        ASSERT_TRUE(brisa.Press(IDC_STOP));
        EXPECT_EQ("1|(null)", brisa.LastSound());
    }
}

TEST(WavListView, DeleteAsksRemovesAndSelectsTheNextEntry) {
    CBrisaCase brisa;
    const std::string strDir = brisa.MakeDir("wav", {"a.wav", "b.wav", "c.wav", "d.wav"});
    brisa.WriteWavDir(strDir);
    ASSERT_TRUE(brisa.Start());
    enum EBreak { kNone, kReadOnly, kVanished }; // what keeps the removal from working
    struct {
        int nSelect;
        EBreak nBreak;
        int nAnswer;
        Names listLeft;
        int nSelected;
    } const steps[] = {
        {1, kNone, IDNO, {"a.wav", "b.wav", "c.wav", "d.wav"}, 1},
        {1, kNone, IDYES, {"a.wav", "c.wav", "d.wav"}, 1},
        {2, kNone, IDYES, {"a.wav", "c.wav"}, LB_ERR},
        {0, kReadOnly, IDYES, {"a.wav", "c.wav"}, 0},
        {0, kVanished, IDYES, {"c.wav"}, 0}, // the list is redone after the error too
    };
    for (const auto& s : steps) {
        const std::string strPath = strDir + "\\" + brisa.Files()[s.nSelect];
        SCOPED_TRACE(strPath + " " + std::to_string(s.nBreak));
        SetFileAttributesA(strPath.c_str(),
                           s.nBreak == kReadOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        if (s.nBreak == kVanished)
            DeleteFileA(strPath.c_str());
        ASSERT_TRUE(brisa.Select(s.nSelect));
        ASSERT_TRUE(Click(brisa.Item(IDC_DELETE)));
        EXPECT_EQ(strPath, brisa.AnswerMessageBox(s.nAnswer, "Delete This File?"));
        if (s.nBreak != kNone) {
            EXPECT_EQ("Unable to Remove File : " + strPath,
                      brisa.AnswerMessageBox(IDOK, "Error Removing File"));
        }
        ASSERT_TRUE(WaitUntil([&] { return brisa.NoMessageBox(); }) && brisa.Sync());

        EXPECT_EQ(s.nAnswer == IDNO || s.nBreak == kReadOnly, FileExists(strPath));
        EXPECT_EQ(s.listLeft, brisa.Files());
        EXPECT_EQ(s.nSelected, brisa.Selection());
        EXPECT_EQ(s.nSelected == LB_ERR ? "" : s.listLeft[s.nSelected], brisa.FileName());
    }
}

} // namespace
