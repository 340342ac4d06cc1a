// The Options dialog of a running Brisa.exe: what it shows, what OK and Cancel leave in the
// profile, and how the view takes the settings up afterwards.
#include "support/brisa_fixture.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

HWND FocusOf(HWND hwnd) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
    return info.hwndFocus;
}

// Brisa on a profile, with its Options dialog.
struct COptionsCase : CBrisaCase {
    using CBrisaCase::CBrisaCase;
    bool Open() { return Start() && OpenDialog(IDC_OPTIONS, kOptionsCaption); }
    bool Checked(int nId) const { return IsChecked(DialogItem(nId)); }
    // The radio button that is checked, or 0.
    int CheckedClient() const {
        for (int nId : {IDC_RADIO_MIRC32, IDC_RADIO_MIRC, IDC_RADIO_PIRCH})
            if (Checked(nId))
                return nId;
        return 0;
    }
    bool ClickAndWaitChecked(int nId, bool bChecked) const {
        return Click(DialogItem(nId)) && WaitUntil([&] { return Checked(nId) == bChecked; });
    }
};

TEST(OptionsDialog, FirstRunShowsDefaultsAndOkWritesAllSixKeysInOrder) {
    COptionsCase brisa;
    ASSERT_TRUE(brisa.Open());
    char szClass[16] = {};
    GetClassNameA(brisa.Dialog(), szClass, sizeof(szClass));
    EXPECT_STREQ("#32770", szClass);
    EXPECT_EQ(brisa.MainWindow(), GetWindow(brisa.Dialog(), GW_OWNER));

    EXPECT_EQ("C:\\WAV", ReadWindowText(brisa.DialogItem(IDC_WAV_DIR)));
    EXPECT_EQ("plays a wav", ReadWindowText(brisa.DialogItem(IDC_TAG_TEXT)));
    for (int nId : {IDC_PROMPT_FOR_TAG, IDC_FALL_BACK, IDC_CLOSE_ON_SEND})
        EXPECT_FALSE(brisa.Checked(nId)) << nId;
    EXPECT_EQ(IDC_RADIO_MIRC32, brisa.CheckedClient());
    EXPECT_TRUE(IsEnabled(brisa.DialogItem(IDC_TAG_TEXT)));
    EXPECT_TRUE(IsEnabled(brisa.DialogItem(IDC_FALL_BACK)));
    EXPECT_FALSE(IsEnabled(brisa.DialogItem(IDC_RADIO_PIRCH)));
    EXPECT_EQ(brisa.DialogItem(IDC_WAV_DIR), FocusOf(brisa.Dialog()));

    ASSERT_TRUE(brisa.CloseDialog(IDOK));
    EXPECT_EQ((Lines{"TagPrompt=0", "FallBack=0", "SendClose=0", "Client=1009",
                     "TagText=plays a wav", "WAVDir=C:\\WAV"}),
              OptionsLines(brisa.IniText()));
}

TEST(OptionsDialog, OkStoresTheEditsAndTheViewTakesThemUp) {
    CImitationClient client("mIRC");
    COptionsCase brisa;
    brisa.WriteWavDir(brisa.MakeDir("old", {"old.wav"}));
    const std::string strNew = brisa.MakeDir("new", {"new.wav"});
    ASSERT_TRUE(brisa.Open());
    EXPECT_EQ(Lines{"old.wav"}, brisa.Files());
    EXPECT_FALSE(IsEnabled(brisa.Item(IDC_SEND)));

    ReplaceText(brisa.DialogItem(IDC_WAV_DIR), strNew);
    ASSERT_TRUE(brisa.ClickAndWaitChecked(IDC_RADIO_MIRC, true));
    ASSERT_TRUE(brisa.ClickAndWaitChecked(IDC_FALL_BACK, true));
    ASSERT_TRUE(brisa.CloseDialog(IDOK));

    EXPECT_EQ((Lines{"WAVDir=" + strNew, "TagPrompt=0", "FallBack=1", "SendClose=0", "Client=1011",
                     "TagText=plays a wav"}),
              OptionsLines(brisa.IniText()));
    EXPECT_TRUE(WaitUntil([&] { return brisa.Files() == Lines{"new.wav"}; }));
    EXPECT_TRUE(IsEnabled(brisa.Item(IDC_SEND)));
}

TEST(OptionsDialog, CancelWritesNothingAndTheViewReloads) {
    COptionsCase brisa;
    brisa.WriteWavDir(brisa.MakeDir("old", {"old.wav"}), "TagText=tag\r\n");
    const std::string strNew = brisa.MakeDir("new", {"new.wav"});
    ASSERT_TRUE(brisa.Open());

    TypeText(brisa.DialogItem(IDC_TAG_TEXT), "more");
    for (const int nId : {IDC_RADIO_MIRC, IDC_PROMPT_FOR_TAG, IDC_CLOSE_ON_SEND})
        ASSERT_TRUE(brisa.ClickAndWaitChecked(nId, true)) << nId;
    // Someone else changes the profile meanwhile: Cancel must leave exactly that.
    brisa.WriteWavDir(strNew, "TagText=tag\r\n");
    const std::string strEdited = brisa.IniText();
    ASSERT_TRUE(brisa.CloseDialog(IDCANCEL));

    EXPECT_TRUE(WaitUntil([&] { return brisa.Files() == Lines{"new.wav"}; }));
    EXPECT_EQ(strEdited, brisa.IniText());
}

TEST(OptionsDialog, CheckBoxesEnableTheTagBoxAndFallBack) {
    struct {
        const char* pszStored;
        bool bPrompt, bCloseOnSend, bFallBack;
    } const cases[] = {
        {"", false, false, false},
        {"TagPrompt=1\r\nSendClose=1\r\nFallBack=1\r\n", true, true, true},
        {"TagPrompt=2\r\nSendClose=2\r\n", true, true, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszStored);
        COptionsCase brisa;
        brisa.WriteOptions(c.pszStored);
        ASSERT_TRUE(brisa.Open());
        EXPECT_EQ(c.bPrompt, brisa.Checked(IDC_PROMPT_FOR_TAG));
        EXPECT_EQ(c.bCloseOnSend, brisa.Checked(IDC_CLOSE_ON_SEND));
        EXPECT_EQ(c.bFallBack, brisa.Checked(IDC_FALL_BACK));
        EXPECT_EQ(!c.bPrompt, IsEnabled(brisa.DialogItem(IDC_TAG_TEXT)));
        EXPECT_EQ(!c.bCloseOnSend, IsEnabled(brisa.DialogItem(IDC_FALL_BACK)));

        ASSERT_TRUE(brisa.ClickAndWaitChecked(IDC_PROMPT_FOR_TAG, !c.bPrompt));
        EXPECT_TRUE(
            WaitUntil([&] { return IsEnabled(brisa.DialogItem(IDC_TAG_TEXT)) == c.bPrompt; }));
        ASSERT_TRUE(brisa.ClickAndWaitChecked(IDC_CLOSE_ON_SEND, !c.bCloseOnSend));
        EXPECT_TRUE(WaitUntil(
            [&] { return IsEnabled(brisa.DialogItem(IDC_FALL_BACK)) == c.bCloseOnSend; }));
        EXPECT_EQ(c.bFallBack, brisa.Checked(IDC_FALL_BACK));

        ASSERT_TRUE(brisa.CloseDialog(IDOK));
        const std::string strIni = brisa.IniText();
        EXPECT_TRUE(HasOption(strIni, "TagPrompt=" + std::to_string(!c.bPrompt)));
        EXPECT_TRUE(HasOption(strIni, "SendClose=" + std::to_string(!c.bCloseOnSend)));
        EXPECT_TRUE(HasOption(strIni, "FallBack=" + std::to_string(c.bFallBack)));
    }
}

TEST(OptionsDialog, StoredClientSelectsItsRadioButtonOnly) {
    struct {
        int nStored;
        int nClick; // radio button clicked before OK, or 0
        int nShown; // radio button checked at opening, or 0
        int nWritten;
    } const cases[] = {
        {1011, 0, IDC_RADIO_MIRC, 1011},
        {1012, 0, IDC_RADIO_PIRCH, 1012},
        {1012, IDC_RADIO_MIRC32, IDC_RADIO_PIRCH, 1009},
        // Values naming another control, or none, select nothing and are kept.
        {1010, 0, 0, 1010},
        {1, 0, 0, 1},
        {1007, 0, 0, 1007},
        {4242, 0, 0, 4242},
        {4242, IDC_RADIO_MIRC, 0, 1011},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.nStored);
        COptionsCase brisa;
        brisa.WriteOptions("Client=" + std::to_string(c.nStored) + "\r\n");
        ASSERT_TRUE(brisa.Open());
        EXPECT_EQ(c.nShown, brisa.CheckedClient());
        EXPECT_FALSE(brisa.Checked(IDC_PROMPT_FOR_TAG));
        EXPECT_FALSE(IsEnabled(brisa.DialogItem(IDC_RADIO_PIRCH)));
        if (c.nClick) {
            ASSERT_TRUE(brisa.ClickAndWaitChecked(c.nClick, true));
        }
        ASSERT_TRUE(brisa.CloseDialog(IDOK));
        EXPECT_EQ(6u, OptionsLines(brisa.IniText()).size());
        EXPECT_TRUE(HasOption(brisa.IniText(), "TagPrompt=0"));
        EXPECT_TRUE(HasOption(brisa.IniText(), "Client=" + std::to_string(c.nWritten)));
    }
}

TEST(OptionsDialog, TypingStopsAtTheLimitsAndFullBoxesAreStored) {
    COptionsCase brisa;
    brisa.WriteOptions("TagText=\r\nWAVDir=\r\n");
    ASSERT_TRUE(brisa.Open());
    TypeText(brisa.DialogItem(IDC_TAG_TEXT), std::string(60, 't'));
    TypeText(brisa.DialogItem(IDC_WAV_DIR), std::string(300, 'd'));
    // Both boxes take their characters from one queue in order.
    ASSERT_TRUE(
        WaitUntil([&] { return ReadWindowText(brisa.DialogItem(IDC_WAV_DIR)).size() >= 256; }));
    ASSERT_TRUE(brisa.CloseDialog(IDOK));
    EXPECT_TRUE(brisa.NoMessageBox());
    EXPECT_TRUE(HasOption(brisa.IniText(), "TagText=" + std::string(50, 't')));
    EXPECT_TRUE(HasOption(brisa.IniText(), "WAVDir=" + std::string(256, 'd')));
}

TEST(OptionsDialog, OverLongStoredTextIsRefusedAndNothingIsWritten) {
    struct {
        const char* pszKey;
        size_t nLength;
        int nBox;
        const char* pszLimit;
    } const cases[] = {
        {"TagText", 51, IDC_TAG_TEXT, "50"},
        {"WAVDir", 257, IDC_WAV_DIR, "256"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszKey);
        COptionsCase brisa;
        brisa.WriteOptions(std::string(c.pszKey) + "=" + std::string(c.nLength, 'x') + "\r\n");
        const std::string strIni = brisa.IniText();
        ASSERT_TRUE(brisa.Open());
        ASSERT_TRUE(brisa.ClickAndWaitChecked(IDC_FALL_BACK, true));
        ASSERT_TRUE(brisa.ClickAndWaitChecked(IDC_RADIO_MIRC, true));

        ASSERT_TRUE(Click(brisa.DialogItem(IDOK)));
        const CMessageBox box = brisa.WaitMessageBox();
        ASSERT_TRUE(box.m_hwnd);
        EXPECT_NE(std::string::npos, box.m_strText.find(c.pszLimit)) << box.m_strText;
        EXPECT_EQ(strIni, brisa.IniText());
        ASSERT_TRUE(PressButton(box.m_hwnd, IDOK));

        const HWND hwndBox = brisa.DialogItem(c.nBox);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(brisa.Dialog()) == hwndBox; }));
        const DWORD nSel = static_cast<DWORD>(Ask(hwndBox, EM_GETSEL));
        EXPECT_EQ(0u, LOWORD(nSel));
        EXPECT_EQ(c.nLength, HIWORD(nSel));
        EXPECT_TRUE(IsWindow(brisa.Dialog()));
        EXPECT_EQ(strIni, brisa.IniText());

        ASSERT_TRUE(brisa.CloseDialog(IDCANCEL));
        EXPECT_EQ(strIni, brisa.IniText());
    }
}

} // namespace
