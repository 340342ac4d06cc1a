// The Options dialog of a running Brisa.exe: what it shows, what OK and Cancel leave in the
// profile, and how the view takes the settings up afterwards.
#include "resource.h"
#include "support/driver.h"
#include "support/imitation_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

// The key=value lines of [Options], in file order.
std::vector<std::string> OptionsLines(const std::string& strIni) {
    std::vector<std::string> list;
    std::istringstream stream(strIni);
    bool bInSection = false;
    for (std::string strLine; std::getline(stream, strLine);) {
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        if (!strLine.empty() && strLine[0] == '[')
            bInSection = strLine == "[Options]";
        else if (bInSection && !strLine.empty())
            list.push_back(strLine);
    }
    return list;
}

bool HasLine(const std::vector<std::string>& lines, const std::string& strLine) {
    return std::find(lines.begin(), lines.end(), strLine) != lines.end();
}

HWND FocusOf(HWND hwnd) {
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info);
    return info.hwndFocus;
}

class COptionsDialog {
public:
    explicit COptionsDialog(const std::string& strIni) : m_brisa(strIni) {}

    bool Open() {
        if (!m_brisa.Start() || !Click(FindControl(m_brisa.MainWindow(), IDC_OPTIONS)))
            return false;
        return WaitUntil([this] {
            m_hwnd = FindProcessWindow(m_brisa.ProcessId(), "Brisa - Options");
            return m_hwnd != nullptr;
        });
    }
    HWND Item(int nId) const { return GetDlgItem(m_hwnd, nId); }
    bool Checked(int nId) const {
        return SendMessageA(Item(nId), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    // The radio button that is checked, or 0.
    int CheckedClient() const {
        for (int nId : {IDC_RADIO_MIRC32, IDC_RADIO_MIRC, IDC_RADIO_PIRCH})
            if (Checked(nId))
                return nId;
        return 0;
    }
    bool ClickAndWaitChecked(int nId, bool bChecked) {
        return Click(Item(nId)) && WaitUntil([&] { return Checked(nId) == bChecked; });
    }
    bool CloseWith(int nId) {
        return Click(Item(nId)) && WaitUntil([this] { return !IsWindow(m_hwnd); });
    }
    std::vector<std::string> ViewFiles() const {
        return ReadListItems(FindControl(m_brisa.MainWindow(), IDC_FILE_LIST));
    }

    CBrisaCase m_brisa;
    HWND m_hwnd = nullptr;
};

std::string OptionsIni(const std::string& strLines) {
    return "[Options]\r\n" + strLines;
}

TEST(OptionsDialog, FirstRunShowsDefaultsAndOkWritesAllSixKeysInOrder) {
    COptionsDialog dialog("");
    ASSERT_TRUE(dialog.Open());
    char szClass[16] = {};
    GetClassNameA(dialog.m_hwnd, szClass, sizeof(szClass));
    EXPECT_STREQ("#32770", szClass);
    EXPECT_EQ(dialog.m_brisa.MainWindow(), GetWindow(dialog.m_hwnd, GW_OWNER));

    EXPECT_EQ("C:\\WAV", ReadWindowText(dialog.Item(IDC_WAV_DIR)));
    EXPECT_EQ("plays a wav", ReadWindowText(dialog.Item(IDC_TAG_TEXT)));
    for (int nId : {IDC_PROMPT_FOR_TAG, IDC_FALL_BACK, IDC_CLOSE_ON_SEND})
        EXPECT_FALSE(dialog.Checked(nId)) << nId;
    EXPECT_EQ(IDC_RADIO_MIRC32, dialog.CheckedClient());
    EXPECT_TRUE(IsEnabled(dialog.Item(IDC_TAG_TEXT)));
    EXPECT_TRUE(IsEnabled(dialog.Item(IDC_FALL_BACK)));
    EXPECT_FALSE(IsEnabled(dialog.Item(IDC_RADIO_PIRCH)));
    EXPECT_EQ(dialog.Item(IDC_WAV_DIR), FocusOf(dialog.m_hwnd));

    ASSERT_TRUE(dialog.CloseWith(IDOK));
    EXPECT_EQ((std::vector<std::string>{"TagPrompt=0", "FallBack=0", "SendClose=0", "Client=1009",
                                        "TagText=plays a wav", "WAVDir=C:\\WAV"}),
              OptionsLines(dialog.m_brisa.IniText()));
}

TEST(OptionsDialog, OkStoresTheEditsAndTheViewTakesThemUp) {
    CImitationClient client("mIRC");
    COptionsDialog dialog("");
    const std::string strOld = dialog.m_brisa.MakeDir("old");
    const std::string strNew = dialog.m_brisa.MakeDir("new");
    WriteFileText(strOld + "\\old.wav", "RIFF");
    WriteFileText(strNew + "\\new.wav", "RIFF");
    dialog.m_brisa.WriteIni(OptionsIni("WAVDir=" + strOld + "\r\n"));
    ASSERT_TRUE(dialog.Open());
    EXPECT_EQ(std::vector<std::string>{"old.wav"}, dialog.ViewFiles());
    EXPECT_FALSE(IsEnabled(FindControl(dialog.m_brisa.MainWindow(), IDC_SEND)));

    SendMessageA(dialog.Item(IDC_WAV_DIR), EM_SETSEL, 0, -1);
    TypeText(dialog.Item(IDC_WAV_DIR), strNew);
    ASSERT_TRUE(dialog.ClickAndWaitChecked(IDC_RADIO_MIRC, true));
    ASSERT_TRUE(dialog.ClickAndWaitChecked(IDC_FALL_BACK, true));
    ASSERT_TRUE(dialog.CloseWith(IDOK));

    EXPECT_EQ((std::vector<std::string>{"WAVDir=" + strNew, "TagPrompt=0", "FallBack=1",
                                        "SendClose=0", "Client=1011", "TagText=plays a wav"}),
              OptionsLines(dialog.m_brisa.IniText()));
    EXPECT_TRUE(
        WaitUntil([&] { return dialog.ViewFiles() == std::vector<std::string>{"new.wav"}; }));
    EXPECT_TRUE(IsEnabled(FindControl(dialog.m_brisa.MainWindow(), IDC_SEND)));
}

TEST(OptionsDialog, CancelWritesNothingAndTheViewReloads) {
    COptionsDialog dialog("");
    const std::string strOld = dialog.m_brisa.MakeDir("old");
    const std::string strNew = dialog.m_brisa.MakeDir("new");
    WriteFileText(strOld + "\\old.wav", "RIFF");
    WriteFileText(strNew + "\\new.wav", "RIFF");
    dialog.m_brisa.WriteIni(OptionsIni("WAVDir=" + strOld + "\r\nTagText=tag\r\n"));
    ASSERT_TRUE(dialog.Open());

    TypeText(dialog.Item(IDC_TAG_TEXT), "more");
    ASSERT_TRUE(dialog.ClickAndWaitChecked(IDC_RADIO_MIRC, true));
    ASSERT_TRUE(dialog.ClickAndWaitChecked(IDC_PROMPT_FOR_TAG, true));
    ASSERT_TRUE(dialog.ClickAndWaitChecked(IDC_CLOSE_ON_SEND, true));
    // Someone else changes the profile meanwhile: Cancel must leave exactly that.
    const std::string strEdited = OptionsIni("WAVDir=" + strNew + "\r\nTagText=tag\r\n");
    dialog.m_brisa.WriteIni(strEdited);
    ASSERT_TRUE(dialog.CloseWith(IDCANCEL));

    EXPECT_TRUE(
        WaitUntil([&] { return dialog.ViewFiles() == std::vector<std::string>{"new.wav"}; }));
    EXPECT_EQ(strEdited, dialog.m_brisa.IniText());
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
        COptionsDialog dialog(OptionsIni(c.pszStored));
        ASSERT_TRUE(dialog.Open());
        EXPECT_EQ(c.bPrompt, dialog.Checked(IDC_PROMPT_FOR_TAG));
        EXPECT_EQ(c.bCloseOnSend, dialog.Checked(IDC_CLOSE_ON_SEND));
        EXPECT_EQ(c.bFallBack, dialog.Checked(IDC_FALL_BACK));
        EXPECT_EQ(!c.bPrompt, IsEnabled(dialog.Item(IDC_TAG_TEXT)));
        EXPECT_EQ(!c.bCloseOnSend, IsEnabled(dialog.Item(IDC_FALL_BACK)));

        ASSERT_TRUE(dialog.ClickAndWaitChecked(IDC_PROMPT_FOR_TAG, !c.bPrompt));
        EXPECT_TRUE(WaitUntil([&] { return IsEnabled(dialog.Item(IDC_TAG_TEXT)) == c.bPrompt; }));
        ASSERT_TRUE(dialog.ClickAndWaitChecked(IDC_CLOSE_ON_SEND, !c.bCloseOnSend));
        EXPECT_TRUE(
            WaitUntil([&] { return IsEnabled(dialog.Item(IDC_FALL_BACK)) == c.bCloseOnSend; }));
        EXPECT_EQ(c.bFallBack, dialog.Checked(IDC_FALL_BACK));

        ASSERT_TRUE(dialog.CloseWith(IDOK));
        const std::vector<std::string> lines = OptionsLines(dialog.m_brisa.IniText());
        EXPECT_TRUE(HasLine(lines, "TagPrompt=" + std::to_string(!c.bPrompt)));
        EXPECT_TRUE(HasLine(lines, "SendClose=" + std::to_string(!c.bCloseOnSend)));
        EXPECT_TRUE(HasLine(lines, "FallBack=" + std::to_string(c.bFallBack)));
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
        COptionsDialog dialog(OptionsIni("Client=" + std::to_string(c.nStored) + "\r\n"));
        ASSERT_TRUE(dialog.Open());
        EXPECT_EQ(c.nShown, dialog.CheckedClient());
        EXPECT_FALSE(dialog.Checked(IDC_PROMPT_FOR_TAG));
        EXPECT_FALSE(IsEnabled(dialog.Item(IDC_RADIO_PIRCH)));
        if (c.nClick) {
            ASSERT_TRUE(dialog.ClickAndWaitChecked(c.nClick, true));
        }
        ASSERT_TRUE(dialog.CloseWith(IDOK));
        const std::vector<std::string> lines = OptionsLines(dialog.m_brisa.IniText());
        EXPECT_EQ(6u, lines.size());
        EXPECT_TRUE(HasLine(lines, "TagPrompt=0"));
        EXPECT_TRUE(HasLine(lines, "Client=" + std::to_string(c.nWritten)));
    }
}

TEST(OptionsDialog, TypingStopsAtTheLimitsAndFullBoxesAreStored) {
    COptionsDialog dialog(OptionsIni("TagText=\r\nWAVDir=\r\n"));
    ASSERT_TRUE(dialog.Open());
    TypeText(dialog.Item(IDC_TAG_TEXT), std::string(60, 't'));
    TypeText(dialog.Item(IDC_WAV_DIR), std::string(300, 'd'));
    // Both boxes take their characters from one queue in order.
    ASSERT_TRUE(WaitUntil([&] { return ReadWindowText(dialog.Item(IDC_WAV_DIR)).size() >= 256; }));
    ASSERT_TRUE(dialog.CloseWith(IDOK));
    EXPECT_EQ(nullptr, FindMessageBox(dialog.m_brisa.ProcessId()).m_hwnd);
    const std::vector<std::string> lines = OptionsLines(dialog.m_brisa.IniText());
    EXPECT_TRUE(HasLine(lines, "TagText=" + std::string(50, 't')));
    EXPECT_TRUE(HasLine(lines, "WAVDir=" + std::string(256, 'd')));
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
        const std::string strIni =
            OptionsIni(std::string(c.pszKey) + "=" + std::string(c.nLength, 'x') + "\r\n");
        COptionsDialog dialog(strIni);
        ASSERT_TRUE(dialog.Open());
        ASSERT_TRUE(dialog.ClickAndWaitChecked(IDC_FALL_BACK, true));
        ASSERT_TRUE(dialog.ClickAndWaitChecked(IDC_RADIO_MIRC, true));

        ASSERT_TRUE(Click(dialog.Item(IDOK)));
        CMessageBox box;
        ASSERT_TRUE(
            WaitUntil([&] { return (box = FindMessageBox(dialog.m_brisa.ProcessId())).m_hwnd; }));
        EXPECT_NE(std::string::npos, box.m_strText.find(c.pszLimit)) << box.m_strText;
        EXPECT_EQ(strIni, dialog.m_brisa.IniText());
        ASSERT_TRUE(PressButton(box.m_hwnd, IDOK));

        const HWND hwndBox = dialog.Item(c.nBox);
        EXPECT_TRUE(WaitUntil([&] { return FocusOf(dialog.m_hwnd) == hwndBox; }));
        const DWORD nSel = static_cast<DWORD>(SendMessageA(hwndBox, EM_GETSEL, 0, 0));
        EXPECT_EQ(0u, LOWORD(nSel));
        EXPECT_EQ(c.nLength, HIWORD(nSel));
        EXPECT_TRUE(IsWindow(dialog.m_hwnd));
        EXPECT_EQ(strIni, dialog.m_brisa.IniText());

        ASSERT_TRUE(dialog.CloseWith(IDCANCEL));
        EXPECT_EQ(strIni, dialog.m_brisa.IniText());
    }
}

} // namespace
