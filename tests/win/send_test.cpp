// Send, the double-click and the client-dependent buttons of a running Brisa.exe against the
// imitation IRC client: the "/sound" lines it has the client enter, what it raises, and how it
// copes with a client that is frozen, shaped differently or gone.
#include "resource.h"
#include "support/driver.h"
#include "support/imitation_client.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Lines = std::vector<std::string>;
using EStep = CImitationClient::EStep;

LRESULT Ask(HWND hwnd, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR nResult = 0;
    SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &nResult);
    return static_cast<LRESULT>(nResult);
}

// Brisa listing ding.wav and other.wav, with the tag "-plays Brisa: @" and more settings.
class CSender {
public:
    explicit CSender(const std::string& strMoreIni = "") : m_brisa("") {
        m_strWavDir = m_brisa.MakeDir("wav");
        WriteFileText(m_strWavDir + "\\ding.wav", "RIFF");
        WriteFileText(m_strWavDir + "\\other.wav", "RIFF");
        m_brisa.WriteIni("[Options]\r\nWAVDir=" + m_strWavDir + "\r\nTagText=-plays Brisa: @\r\n" +
                         strMoreIni);
    }

    bool Start() { return m_brisa.Start(); }
    HWND Item(int nId) const { return FindControl(m_brisa.MainWindow(), nId); }
    std::string Name() const { return ReadWindowText(Item(IDC_FILE_NAME)); }
    bool ButtonsEnabled() const { return IsEnabled(Item(IDC_SEND)) && IsEnabled(Item(IDC_DCC)); }
    bool ButtonsDisabled() const { return !IsEnabled(Item(IDC_SEND)) && !IsEnabled(Item(IDC_DCC)); }
    // Waits until Brisa has handled everything posted to it so far: a margin change posted to
    // the name box must show. Brisa never looks at the margins.
    bool Sync() const {
        const HWND hwnd = Item(IDC_FILE_NAME);
        const WORD nMargin = LOWORD(Ask(hwnd, EM_GETMARGINS)) % 8 + 1;
        PostMessageA(hwnd, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(nMargin, 0));
        return WaitUntil([&] { return LOWORD(Ask(hwnd, EM_GETMARGINS)) == nMargin; });
    }
    bool Press(int nId) const { return Click(Item(nId)) && Sync(); }
    void Type(const std::string& strText) const {
        PostMessageA(Item(IDC_FILE_NAME), EM_SETSEL, 0, -1);
        TypeText(Item(IDC_FILE_NAME), strText);
    }
    CMessageBox WaitBox() const {
        CMessageBox box;
        WaitUntil([&] {
            box = FindMessageBox(m_brisa.ProcessId());
            return box.m_strCaption == "Brisa" && !box.m_strText.empty();
        });
        return box;
    }
    bool NoBox() const { return FindMessageBox(m_brisa.ProcessId()).m_hwnd == nullptr; }

    CBrisaCase m_brisa;
    std::string m_strWavDir;
};

std::string SoundLine(const std::string& strChannel, const std::string& strFile = "ding.wav") {
    return "/sound " + strChannel + " " + strFile + " -plays Brisa: " + strFile;
}

bool WaitLines(const CImitationClient& client, size_t nCount) {
    return WaitUntil([&] { return client.EnteredLines().size() >= nCount; });
}

TEST(SendCommand, AnnouncesTheNameBoxToTheChannelOfTheActiveWindow) {
    Lines listNicks;
    for (int i = 0; i < 5000; ++i)
        listNicks.push_back("nick" + std::to_string(i));
    CImitationClient client("mIRC32", "#chat", listNicks);
    CSender sender;
    ASSERT_TRUE(sender.Start());
    ASSERT_TRUE(sender.ButtonsEnabled());
    const std::string strLong(5000, 'x');
    struct {
        std::string strTitle;
        const char* pszTyped;   // into the name box first, unless empty; it selects nothing
        std::string strChannel; // empty: not a channel window
    } const cases[] = {
        {"#chat [+nt]: hello", "", "#chat"},
        {"&local", "", "&local"},
        {"#:", "", "#"},
        {"#big " + strLong, "", "#big"},
        {"#" + strLong, "", "#" + strLong},
        {"Status", "", ""},
        {"", "", ""},
        {"#chat", "zz.wav", "#chat"},
        {"#chat", "oth", "#chat"}, // selects other.wav, but Send takes what was typed
        {"#chat", "my sound.wav", "#chat"},
    };
    std::string strFile = "ding.wav";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.strTitle.substr(0, 20) + " " + c.pszTyped);
        ASSERT_TRUE(client.SetTitle(c.strTitle));
        ASSERT_TRUE(client.SetEditText("half typed"));
        client.ClearRecords();
        if (*c.pszTyped) {
            strFile = c.pszTyped;
            sender.Type(strFile);
            ASSERT_TRUE(sender.Sync());
        }
        ASSERT_TRUE(Click(sender.Item(IDC_SEND)));
        if (c.strChannel.empty()) {
            const CMessageBox box = sender.WaitBox();
            EXPECT_EQ("Sorry, channel window not active", box.m_strText);
            ASSERT_TRUE(PressButton(box.m_hwnd, IDOK));
            ASSERT_TRUE(sender.Sync());
            EXPECT_EQ("half typed", client.EditText());
            EXPECT_EQ(Lines(), client.EnteredLines());
        } else {
            ASSERT_TRUE(WaitLines(client, 1) && sender.Sync());
            EXPECT_EQ(Lines{SoundLine(c.strChannel, strFile)}, client.EnteredLines());
            EXPECT_EQ("", client.EditText());
        }
        EXPECT_EQ(Lines(), client.RaisedWindows());
    }
    EXPECT_EQ(0, client.NickTextReads());
    EXPECT_FALSE(sender.m_brisa.ProcessExited(0));
}

TEST(SendCommand, PromptFallBackAndSendCloseSettings) {
    const std::string strPrompted = "/sound #chat ding.wav - ";
    struct {
        const char* pszIni;
        bool bEntered; // otherwise the prompted line waits in the edit line
        bool bRaised;  // the client's top-level window
        bool bCloses;
    } const cases[] = {
        {"", true, false, false},
        {"FallBack=1\r\n", true, true, false},
        {"FallBack=2\r\nSendClose=2\r\n", true, true, false},
        {"SendClose=1\r\n", true, false, true},
        {"TagPrompt=1\r\n", false, true, false},
        {"TagPrompt=2\r\nSendClose=1\r\n", false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszIni);
        CImitationClient client;
        CSender sender(c.pszIni);
        ASSERT_TRUE(sender.Start());
        client.ClearRecords();
        ASSERT_TRUE(Click(sender.Item(IDC_SEND)));
        if (c.bCloses) {
            EXPECT_TRUE(sender.m_brisa.ProcessExited());
        } else {
            // The second mark is posted after any close that Send posted.
            EXPECT_TRUE(sender.Sync() && sender.Sync());
            EXPECT_FALSE(sender.m_brisa.ProcessExited(0));
        }
        EXPECT_EQ(c.bEntered ? Lines{SoundLine("#chat")} : Lines(), client.EnteredLines());
        EXPECT_EQ(c.bEntered ? "" : strPrompted, client.EditText());
        EXPECT_EQ(c.bRaised ? Lines{"top"} : Lines(), client.RaisedWindows());
    }
}

TEST(SendCommand, ClientPresenceDrivesTheButtonsAndTheDoubleClick) {
    CSender sender("Client=1011\r\n");
    CImitationClient other("mIRC32"); // not the class chosen
    ASSERT_TRUE(sender.Start());
    const HWND hwndList = sender.Item(IDC_FILE_LIST);
    EXPECT_TRUE(sender.ButtonsDisabled());
    ASSERT_TRUE(DoubleClickListItem(hwndList, 1) && sender.Sync());
    EXPECT_EQ(Lines{"1|" + sender.m_strWavDir + "\\other.wav"}, sender.m_brisa.SoundCalls());
    EXPECT_TRUE(sender.ButtonsDisabled());

    // A client started later goes unnoticed until Refresh or a double-click.
    auto client = std::make_unique<CImitationClient>("mIRC");
    ASSERT_TRUE(sender.Sync());
    EXPECT_TRUE(sender.ButtonsDisabled());
    ASSERT_TRUE(DoubleClickListItem(hwndList, 0));
    ASSERT_TRUE(WaitLines(*client, 1));
    EXPECT_EQ(Lines{SoundLine("#chat")}, client->EnteredLines());
    EXPECT_TRUE(sender.ButtonsEnabled());
    EXPECT_EQ(1u, sender.m_brisa.SoundCalls().size());
    EXPECT_EQ(Lines(), other.EnteredLines());

    client.reset();
    ASSERT_TRUE(sender.Sync());
    EXPECT_TRUE(sender.ButtonsEnabled());
    ASSERT_TRUE(sender.Press(IDC_REFRESH));
    EXPECT_TRUE(sender.ButtonsDisabled());
    client = std::make_unique<CImitationClient>("mIRC");
    ASSERT_TRUE(sender.Press(IDC_REFRESH));
    EXPECT_TRUE(sender.ButtonsEnabled());
    EXPECT_TRUE(sender.NoBox());
}

TEST(SendCommand, FrozenClientIsReportedAndBrisaStaysResponsive) {
    CImitationClient client;
    CSender sender;
    ASSERT_TRUE(sender.Start());
    ASSERT_TRUE(client.SetEditText("half typed"));
    ASSERT_TRUE(client.Hang());
    for (int nAttempt = 1; nAttempt <= 2; ++nAttempt) {
        SCOPED_TRACE(nAttempt);
        const ULONGLONG nStart = GetTickCount64();
        ASSERT_TRUE(Click(sender.Item(IDC_SEND)));
        const CMessageBox box = sender.WaitBox();
        ASSERT_TRUE(box.m_hwnd);
        EXPECT_LT(GetTickCount64() - nStart, 5000u);
        EXPECT_NE(std::string::npos, box.m_strText.find("does not answer")) << box.m_strText;
        // A posted character is handled at once, under the message box too.
        sender.Type(std::to_string(nAttempt));
        EXPECT_TRUE(WaitUntil([&] { return sender.Name() == std::to_string(nAttempt); }, 3000));
        ASSERT_TRUE(PressButton(box.m_hwnd, IDOK));
        ASSERT_TRUE(WaitUntil([&] { return sender.NoBox(); }));
    }
    client.Resume();
    // Once the client answers again, whatever Brisa had sent it has been handled.
    ASSERT_TRUE(client.SetTitle("#chat"));
    EXPECT_EQ("half typed", client.EditText());
    EXPECT_EQ(Lines(), client.EnteredLines());
    EXPECT_EQ(Lines(), client.RaisedWindows());
}

TEST(SendCommand, WindowMissingOnThePathTypesNothing) {
    CSender sender;
    ASSERT_TRUE(sender.Start());
    for (const EStep step : {EStep::FirstChild, EStep::SecondChild, EStep::ActiveWindow,
                             EStep::EditLine, EStep::NickList}) {
        SCOPED_TRACE(static_cast<int>(step));
        const bool bTyped = step == EStep::NickList; // Send never needs the nickname list
        CImitationClient client;
        ASSERT_TRUE(client.SetEditText("half typed"));
        ASSERT_TRUE(client.RemoveWindow(step));
        ASSERT_TRUE(sender.Press(IDC_REFRESH));
        EXPECT_TRUE(sender.ButtonsEnabled()); // the client is there, however it is shaped
        ASSERT_TRUE(sender.Press(IDC_SEND));
        EXPECT_TRUE(sender.NoBox());
        EXPECT_EQ(bTyped ? Lines{SoundLine("#chat")} : Lines(), client.EnteredLines());
        EXPECT_EQ(bTyped ? "" : "half typed", client.EditText());
    }
}

} // namespace
