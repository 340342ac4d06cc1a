// Send, the double-click and the client-dependent buttons of a running Brisa.exe against the
// imitation IRC client: the "/sound" lines it has the client enter, what it raises, and how it
// copes with a client that is frozen, shaped differently or gone.
#include "support/brisa_fixture.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using Lines = std::vector<std::string>;
using EStep = CImitationClient::EStep;

// Brisa listing ding.wav and other.wav, with the tag "-plays Brisa: @" and more settings.
struct CSender : CBrisaCase {
    explicit CSender(const std::string& strMoreOptions = "")
        : m_strWavDir(UseWavDir("TagText=-plays Brisa: @\r\n" + strMoreOptions)) {}
    const std::string m_strWavDir;
};

std::string SoundLine(const std::string& strChannel, const std::string& strFile = "ding.wav") {
    return "/sound " + strChannel + " " + strFile + " -plays Brisa: " + strFile;
}

TEST(SendCommand, AnnouncesTheNameBoxToTheChannelOfTheActiveWindow) {
    Lines listNicks;
    for (int i = 0; i < 5000; ++i)
        listNicks.push_back("nick" + std::to_string(i));
    CImitationClient client("mIRC32", "#chat", listNicks);
    CSender brisa;
    ASSERT_TRUE(brisa.Start());
    ASSERT_EQ(2, brisa.EnabledClientButtons());
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
            brisa.TypeFileName(strFile);
            ASSERT_TRUE(brisa.Sync());
        }
        ASSERT_TRUE(Click(brisa.Item(IDC_SEND)));
        if (c.strChannel.empty()) {
            EXPECT_EQ("Sorry, channel window not active", brisa.AnswerMessageBox(IDOK, "Brisa"));
            ASSERT_TRUE(brisa.Sync());
            EXPECT_EQ("half typed", client.EditText());
            EXPECT_EQ(Lines(), client.EnteredLines());
        } else {
            ASSERT_TRUE(WaitEntered(client, 1) && brisa.Sync());
            EXPECT_EQ(Lines{SoundLine(c.strChannel, strFile)}, client.EnteredLines());
            EXPECT_EQ("", client.EditText());
        }
        EXPECT_EQ(Lines(), client.RaisedWindows());
    }
    EXPECT_EQ(0, client.NickTextReads());
    EXPECT_FALSE(brisa.ProcessExited(0));
}

TEST(SendCommand, PromptFallBackAndSendCloseSettings) {
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
        CSender brisa(c.pszIni);
        ASSERT_TRUE(brisa.Start());
        client.ClearRecords();
        ASSERT_TRUE(Click(brisa.Item(IDC_SEND)));
        if (c.bCloses) {
            EXPECT_TRUE(brisa.ProcessExited());
        } else {
            // The second mark is posted after any close that Send posted.
            EXPECT_TRUE(brisa.Sync() && brisa.Sync());
            EXPECT_FALSE(brisa.ProcessExited(0));
        }
        EXPECT_EQ(c.bEntered ? Lines{SoundLine("#chat")} : Lines(), client.EnteredLines());
        EXPECT_EQ(c.bEntered ? "" : "/sound #chat ding.wav - ", client.EditText());
        EXPECT_EQ(c.bRaised ? Lines{"top"} : Lines(), client.RaisedWindows());
    }
}

TEST(SendCommand, ClientPresenceDrivesTheButtonsAndTheDoubleClick) {
    CSender brisa("Client=1011\r\n");
    CImitationClient other("mIRC32"); // not the class chosen
    ASSERT_TRUE(brisa.Start());
    const HWND hwndList = brisa.Item(IDC_FILE_LIST);
    EXPECT_EQ(0, brisa.EnabledClientButtons());
    ASSERT_TRUE(DoubleClickListItem(hwndList, 1) && brisa.Sync());
    EXPECT_EQ(Lines{"1|" + brisa.m_strWavDir + "\\other.wav"}, brisa.SoundCalls());
    EXPECT_EQ(0, brisa.EnabledClientButtons());

    // A client started later goes unnoticed until Refresh or a double-click.
    auto client = std::make_unique<CImitationClient>("mIRC");
    ASSERT_TRUE(brisa.Sync());
    EXPECT_EQ(0, brisa.EnabledClientButtons());
    ASSERT_TRUE(DoubleClickListItem(hwndList, 0));
    ASSERT_TRUE(WaitEntered(*client, 1));
    EXPECT_EQ(Lines{SoundLine("#chat")}, client->EnteredLines());
    EXPECT_EQ(2, brisa.EnabledClientButtons());
    EXPECT_EQ(1u, brisa.SoundCalls().size());
    EXPECT_EQ(Lines(), other.EnteredLines());

    client.reset();
    ASSERT_TRUE(brisa.Sync());
    EXPECT_EQ(2, brisa.EnabledClientButtons());
    ASSERT_TRUE(brisa.Press(IDC_REFRESH));
    EXPECT_EQ(0, brisa.EnabledClientButtons());
    client = std::make_unique<CImitationClient>("mIRC");
    ASSERT_TRUE(brisa.Press(IDC_REFRESH));
    EXPECT_EQ(2, brisa.EnabledClientButtons());
    EXPECT_TRUE(brisa.NoMessageBox());
}

TEST(SendCommand, FrozenClientIsReportedAndBrisaStaysResponsive) {
    CImitationClient client;
    CSender brisa;
    ASSERT_TRUE(brisa.Start());
    ASSERT_TRUE(client.SetEditText("half typed"));
    ASSERT_TRUE(client.Hang());
    for (const std::string strAttempt : {"1", "2"}) {
        SCOPED_TRACE(strAttempt);
        const ULONGLONG nStart = GetTickCount64();
        ASSERT_TRUE(Click(brisa.Item(IDC_SEND)));
        const CMessageBox box = brisa.WaitMessageBox("Brisa");
        ASSERT_TRUE(box.m_hwnd);
        EXPECT_LT(GetTickCount64() - nStart, 5000u);
        EXPECT_NE(std::string::npos, box.m_strText.find("does not answer")) << box.m_strText;
        // A posted character is handled at once, under the message box too.
        brisa.TypeFileName(strAttempt);
        EXPECT_TRUE(WaitUntil([&] { return brisa.FileName() == strAttempt; }, 3000));
        ASSERT_TRUE(PressButton(box.m_hwnd, IDOK));
        ASSERT_TRUE(WaitUntil([&] { return brisa.NoMessageBox(); }));
    }
    client.Resume();
    // Once the client answers again, whatever Brisa had sent it has been handled.
    ASSERT_TRUE(client.SetTitle("#chat"));
    EXPECT_EQ("half typed", client.EditText());
    EXPECT_EQ(Lines(), client.EnteredLines());
    EXPECT_EQ(Lines(), client.RaisedWindows());
}

TEST(SendCommand, WindowMissingOnThePathTypesNothing) {
    CSender brisa;
    ASSERT_TRUE(brisa.Start());
    for (const EStep step : {EStep::FirstChild, EStep::SecondChild, EStep::ActiveWindow,
                             EStep::EditLine, EStep::NickList}) {
        SCOPED_TRACE(static_cast<int>(step));
        const bool bTyped = step == EStep::NickList; // Send never needs the nickname list
        CImitationClient client;
        ASSERT_TRUE(client.SetEditText("half typed"));
        ASSERT_TRUE(client.RemoveWindow(step));
        ASSERT_TRUE(brisa.Press(IDC_REFRESH));
        EXPECT_EQ(2, brisa.EnabledClientButtons()); // the client is there, however it is shaped
        ASSERT_TRUE(brisa.Press(IDC_SEND));
        EXPECT_TRUE(brisa.NoMessageBox());
        EXPECT_EQ(bTyped ? Lines{SoundLine("#chat")} : Lines(), client.EnteredLines());
        EXPECT_EQ(bTyped ? "" : "half typed", client.EditText());
    }
}

} // namespace
