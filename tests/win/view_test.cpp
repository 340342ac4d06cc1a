// The main form of a running Brisa.exe: listing the WAV folder, the name box, Play, Stop, Delete
// and Refresh. Sound is observed through the recording winmm.dll.
#include "resource.h"
#include "support/driver.h"

#include <gtest/gtest.h>

namespace {

using Names = std::vector<std::string>;

LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR nResult = 0;
    SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &nResult);
    return static_cast<LRESULT>(nResult);
}

// Brisa whose profile names one WAV folder.
class CView {
public:
    CView() : m_brisa("") {}

    // Creates the folder under the case, or adds to it, with these files.
    std::string MakeFolder(const std::string& strName, const Names& listFiles) const {
        const std::string strDir = m_brisa.MakeDir(strName);
        for (const std::string& strFile : listFiles)
            WriteFileText(strDir + "\\" + strFile, "RIFF");
        return strDir;
    }
    void UseFolder(const std::string& strWavDir) const {
        m_brisa.WriteIni("[Options]\r\nWAVDir=" + strWavDir + "\r\n");
    }
    bool Start() { return m_brisa.Start(); }
    HWND Item(int nId) const { return FindControl(m_brisa.MainWindow(), nId); }
    Names Files() const { return ReadListItems(Item(IDC_FILE_LIST)); }
    int Selection() const { return ListSelection(Item(IDC_FILE_LIST)); }
    std::string Name() const { return ReadWindowText(Item(IDC_FILE_NAME)); }
    std::string LastSound() const {
        const Names listCalls = m_brisa.SoundCalls();
        return listCalls.empty() ? "" : listCalls.back();
    }
    // Waits until Brisa has handled everything posted to it so far: a margin change posted to
    // the name box must show. Brisa never looks at the margins.
    bool Sync() const {
        const HWND hwnd = Item(IDC_FILE_NAME);
        const WORD nMargin = LOWORD(Ask(hwnd, EM_GETMARGINS)) % 8 + 1;
        PostMessageA(hwnd, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(nMargin, 0));
        return WaitUntil([&] { return LOWORD(Ask(hwnd, EM_GETMARGINS)) == nMargin; });
    }
    bool Press(int nId) const { return Click(Item(nId)) && Sync(); }
    bool Select(int nIndex) const { return SelectListItem(Item(IDC_FILE_LIST), nIndex) && Sync(); }
    void Type(const std::string& strText) const {
        PostMessageA(Item(IDC_FILE_NAME), EM_SETSEL, 0, -1);
        TypeText(Item(IDC_FILE_NAME), strText);
    }
    // A box is found while it is being filled in, so wait for the one expected.
    CMessageBox WaitBox(const std::string& strCaption) const {
        CMessageBox box;
        WaitUntil([&] {
            box = FindMessageBox(m_brisa.ProcessId());
            return box.m_strCaption == strCaption && !box.m_strText.empty();
        });
        return box;
    }
    bool NoBox() const { return FindMessageBox(m_brisa.ProcessId()).m_hwnd == nullptr; }
    // The Options dialog closed with Cancel: the settings are read again and the list redone.
    bool ReloadThroughOptions() const {
        HWND hwndDialog = nullptr;
        return Click(Item(IDC_OPTIONS)) && WaitUntil([&] {
                   hwndDialog = FindProcessWindow(m_brisa.ProcessId(), "Brisa - Options");
                   return hwndDialog != nullptr;
               }) &&
               Click(GetDlgItem(hwndDialog, IDCANCEL)) &&
               WaitUntil([&] { return !IsWindow(hwndDialog); }) && Sync();
    }

    CBrisaCase m_brisa;
};

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
        CView view;
        std::string strName = "wav";
        if (c.nPathLength)
            strName = std::string(c.nPathLength - view.m_brisa.Dir().size() - 1, 'd');
        std::string strDir = view.MakeFolder(strName, c.listFiles);
        if (!c.listFiles.empty())
            SetFileAttributesA((strDir + "\\" + c.listFiles[0]).c_str(), FILE_ATTRIBUTE_READONLY);
        ASSERT_TRUE(FileExists(strDir) && (!c.nPathLength || strDir.size() == c.nPathLength));
        strDir = std::string(c.pszStoredAs) == "relative" ? strName : strDir + c.pszStoredAs;
        view.UseFolder(strDir);
        ASSERT_TRUE(view.Start());

        EXPECT_EQ(c.listShown, view.Files());
        EXPECT_EQ(c.listShown.empty() ? LB_ERR : 0, view.Selection());
        const std::string strFirst = c.listShown.empty() ? "" : c.listShown[0];
        EXPECT_EQ(strFirst, view.Name());
        ASSERT_TRUE(view.Press(IDC_PLAY));
        EXPECT_EQ("1|" + strDir + "\\" + strFirst, view.LastSound());
        EXPECT_TRUE(view.NoBox());
    }
}

TEST(WavListView, RefreshRelistsTheLoadedFolderAndDialogsLoadANewOne) {
    CView view;
    view.MakeFolder("wav", {"a.wav", "b.wav"});
    const std::string strOther = view.MakeFolder("other", {"o.wav"});
    const std::string strMissing = view.m_brisa.PathOf("missing");
    const std::string strLong =
        view.MakeFolder(std::string(250 - view.m_brisa.Dir().size() - 1, 'd'), {"long.wav"});
    view.UseFolder("wav"); // relative: the listing moves the current folder
    ASSERT_TRUE(view.Start());
    ASSERT_TRUE(view.Select(1));

    Names listExpected = {"a.wav", "b.wav"};
    for (const char* pszAdded : {"c.wav", "d.wav", "e.wav"}) {
        SCOPED_TRACE(pszAdded);
        view.MakeFolder("wav", {pszAdded});
        listExpected.push_back(pszAdded);
        ASSERT_TRUE(view.Press(IDC_REFRESH));
        EXPECT_EQ(listExpected, view.Files());
        EXPECT_EQ(1, view.Selection());
        EXPECT_EQ("b.wav", view.Name());
    }
    ASSERT_TRUE(view.Press(IDC_PLAY));
    EXPECT_EQ("1|wav\\b.wav", view.LastSound());

    // Refresh relists the folder loaded at start; the profile is read again after a dialog.
    view.UseFolder(strOther);
    ASSERT_TRUE(view.Press(IDC_REFRESH));
    EXPECT_EQ(listExpected, view.Files());
    ASSERT_TRUE(view.ReloadThroughOptions());
    EXPECT_EQ(Names{"o.wav"}, view.Files());
    EXPECT_EQ(LB_ERR, view.Selection()); // the selection follows the index, not the name
    EXPECT_EQ("", view.Name());

    // A folder that cannot be listed leaves the list alone; its names meet the new folder.
    ASSERT_TRUE(view.Select(0));
    for (const std::string& strDir : {strMissing, strLong}) {
        SCOPED_TRACE(strDir);
        view.UseFolder(strDir);
        ASSERT_TRUE(view.ReloadThroughOptions());
        EXPECT_EQ(Names{"o.wav"}, view.Files());
        EXPECT_EQ(0, view.Selection());
        ASSERT_TRUE(view.Press(IDC_PLAY));
        EXPECT_EQ("1|" + strDir + "\\o.wav", view.LastSound());
        EXPECT_TRUE(view.NoBox());
    }
}

TEST(WavListView, TypedPrefixSelectsTheFirstMatchInAnyCase) {
    CView view;
    const std::string strDir =
        view.MakeFolder("wav", {"zz.wav", "Abc.WAV", "ab2.wav", "AB.WAV", "aa.wav"});
    view.UseFolder(strDir);
    ASSERT_TRUE(view.Start());
    ASSERT_EQ((Names{"aa.wav", "AB.WAV", "ab2.wav", "Abc.WAV", "zz.wav"}), view.Files());
    struct {
        const char* pszTyped;
        int nSelected; // 4, zz.wav, is selected before typing
    } const cases[] = {
        {"ab", 1},     {"AB", 1}, {"aB", 1},  {"abC", 3},
        {"AA.WAV", 0}, {"q", 4},  {"abd", 1}, // where "ab" took it
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszTyped);
        ASSERT_TRUE(view.Select(4));
        view.Type(c.pszTyped);
        ASSERT_TRUE(view.Sync());
        EXPECT_EQ(c.pszTyped, view.Name());
        EXPECT_EQ(c.nSelected, view.Selection());
        ASSERT_TRUE(view.Press(IDC_PLAY));
        EXPECT_EQ("1|" + strDir + "\\" + view.Files()[c.nSelected], view.LastSound());
        EXPECT_EQ(c.pszTyped, view.Name()); // Play leaves the name box alone
        ASSERT_TRUE(view.Press(IDC_STOP));
        EXPECT_EQ("1|(null)", view.LastSound());
    }
}

TEST(WavListView, DeleteAsksRemovesAndSelectsTheNextEntry) {
    CView view;
    const std::string strDir = view.MakeFolder("wav", {"a.wav", "b.wav", "c.wav", "d.wav"});
    view.UseFolder(strDir);
    ASSERT_TRUE(view.Start());
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
        const std::string strPath = strDir + "\\" + view.Files()[s.nSelect];
        SCOPED_TRACE(strPath + " " + std::to_string(s.nBreak));
        SetFileAttributesA(strPath.c_str(),
                           s.nBreak == kReadOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
        if (s.nBreak == kVanished)
            DeleteFileA(strPath.c_str());
        ASSERT_TRUE(view.Select(s.nSelect));
        ASSERT_TRUE(Click(view.Item(IDC_DELETE)));
        CMessageBox box = view.WaitBox("Delete This File?");
        EXPECT_EQ(strPath, box.m_strText);
        ASSERT_TRUE(PressButton(box.m_hwnd, s.nAnswer));
        if (s.nBreak != kNone) {
            box = view.WaitBox("Error Removing File");
            EXPECT_EQ("Unable to Remove File : " + strPath, box.m_strText);
            ASSERT_TRUE(PressButton(box.m_hwnd, IDOK));
        }
        ASSERT_TRUE(WaitUntil([&] { return view.NoBox(); }) && view.Sync());

        EXPECT_EQ(s.nAnswer == IDNO || s.nBreak == kReadOnly, FileExists(strPath));
        EXPECT_EQ(s.listLeft, view.Files());
        EXPECT_EQ(s.nSelected, view.Selection());
        EXPECT_EQ(s.nSelected == LB_ERR ? "" : s.listLeft[s.nSelected], view.Name());
    }
}

} // namespace
