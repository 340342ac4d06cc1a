// The DCC Send dialog of a running Brisa.exe against the imitation IRC client: the copied
// nicknames, the typed nickname and the "/dcc send" lines it has the client enter.
#include "support/brisa_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

using Names = std::vector<std::string>;

// Brisa with a WAV folder holding ding.wav and other.wav, and its DCC Send dialog.
struct CDccCase : CBrisaCase {
    explicit CDccCase(const std::string& strMoreOptions = "")
        : m_strWavDir(UseWavDir(strMoreOptions)) {}
    bool Open() { return (MainWindow() || Start()) && OpenDialog(IDC_DCC, kDccCaption); }
    std::string Nick() const { return ReadWindowText(DialogItem(IDC_NICK)); }
    Names Nicks() const { return ReadListItems(DialogItem(IDC_NICK_LIST)); }
    int NickSelection() const { return ListSelection(DialogItem(IDC_NICK_LIST)); }
    bool PressSend() const { return Click(DialogItem(IDC_DCC_SEND)); }
    std::string Line(const std::string& strNick, const std::string& strFile = "ding.wav") const {
        return "/dcc send " + strNick + " " + m_strWavDir + "\\" + strFile;
    }

    const std::string m_strWavDir;
};

TEST(DccSendDialog, CopiesTheClientsNicknamesLessOneOperatorMark) {
    // Longer than any fixed buffer of 255 or 511 characters; Wine 8 cannot pass a list entry
    // of more than 767 characters between threads, so that is as long as can be checked here.
    const std::string strLong(700, 'n');
    struct {
        Names listClient;
        Names listExpected;
    } const cases[] = {
        {{"@alice", "bob", "+carol", "@@dave"}, {"alice", "bob", "+carol", "@dave"}},
        {{"zed", "@", ""}, {"zed", ""}},
        {{"@" + strLong, "zz"}, {strLong, "zz"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.listClient[0]);
        CImitationClient client("mIRC32", "#chat", c.listClient);
        CDccCase brisa;
        ASSERT_TRUE(brisa.Open());
        const Names listNicks = brisa.Nicks();
        EXPECT_EQ(Sorted(c.listExpected), Sorted(listNicks));
        ASSERT_FALSE(listNicks.empty());
        // The dialog's list keeps its own sorted order and shows its first entry.
        EXPECT_EQ(0, brisa.NickSelection());
        EXPECT_EQ(listNicks[0], brisa.Nick());
        EXPECT_TRUE(brisa.NoMessageBox());
    }
}

TEST(DccSendDialog, SendEntersTheLineAndTheDialogStaysOnTop) {
    for (const int bFallBack : {0, 1}) {
        SCOPED_TRACE(bFallBack);
        CImitationClient client("mIRC32", "not a channel", {"bob", "carol"});
        CDccCase brisa("FallBack=" + std::to_string(bFallBack) + "\r\n");
        ASSERT_TRUE(brisa.Open());
        ASSERT_EQ("bob", brisa.Nick());

        ASSERT_TRUE(brisa.PressSend());
        ASSERT_TRUE(WaitEntered(client, 1));
        EXPECT_EQ(Names{brisa.Line("bob")}, client.EnteredLines());
        // Brisa raises the client's window after the line is entered.
        ASSERT_TRUE(brisa.Sync());
        EXPECT_EQ(bFallBack ? Names{"active"} : Names{}, client.RaisedWindows());
        EXPECT_TRUE(IsWindowVisible(brisa.Dialog()));
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == brisa.Dialog(); }));
        EXPECT_EQ(0, brisa.NickSelection());
        EXPECT_EQ("bob", brisa.Nick());
        EXPECT_TRUE(IsEnabled(brisa.DialogItem(IDC_DCC_SEND)));

        // A hand edit of the profile counts from the next send on.
        const std::string strOther = brisa.MakeDir("other");
        brisa.WriteWavDir(strOther);
        ASSERT_TRUE(SelectListItem(brisa.DialogItem(IDC_NICK_LIST), 1));
        ASSERT_TRUE(WaitUntil([&] { return brisa.Nick() == "carol"; }));
        ASSERT_TRUE(brisa.PressSend());
        EXPECT_EQ("/dcc send carol " + strOther + "\\ding.wav", WaitEnteredLine(client, 1));
        EXPECT_TRUE(brisa.NoMessageBox());
    }
}

TEST(DccSendDialog, TypedNicknameSelectsByPrefixAndStopsAtTenCharacters) {
    CImitationClient client("mIRC32", "#chat", {"alice", "Bobby", "bob"});
    CDccCase brisa;
    ASSERT_TRUE(brisa.Open());
    const Names listNicks = brisa.Nicks();
    const auto indexOf = [&](const std::string& s) {
        return static_cast<int>(std::find(listNicks.begin(), listNicks.end(), s) -
                                listNicks.begin());
    };
    ASSERT_EQ(indexOf("alice"), brisa.NickSelection());
    ReplaceText(brisa.DialogItem(IDC_NICK), "BO");
    ASSERT_TRUE(WaitUntil([&] { return brisa.Nick() == "BO"; }));
    EXPECT_TRUE(WaitUntil(
        [&] { return brisa.NickSelection() == std::min(indexOf("bob"), indexOf("Bobby")); }));
    const int nSelected = brisa.NickSelection();
    TypeText(brisa.DialogItem(IDC_NICK), "zzzzzzzzzz");
    ASSERT_TRUE(WaitUntil([&] { return brisa.Nick().size() == 10; }));
    EXPECT_EQ("BOzzzzzzzz", brisa.Nick());
    EXPECT_EQ(nSelected, brisa.NickSelection());

    ASSERT_TRUE(brisa.PressSend());
    EXPECT_EQ(brisa.Line("BOzzzzzzzz"), WaitEnteredLine(client, 0));
    EXPECT_TRUE(brisa.NoMessageBox());
}

TEST(DccSendDialog, LongNicknameFromTheListIsShownWholeAndSentAfterTheLengthMessage) {
    CImitationClient client("mIRC32", "#chat", {"abcdefghijkl", "zoe"});
    CDccCase brisa;
    ASSERT_TRUE(brisa.Open());
    EXPECT_EQ("abcdefghijkl", brisa.Nick());
    EXPECT_TRUE(brisa.NoMessageBox());

    ASSERT_TRUE(brisa.PressSend());
    const std::string strMessage = brisa.AnswerMessageBox(IDOK);
    EXPECT_NE(std::string::npos, strMessage.find("10")) << strMessage;
    EXPECT_EQ(brisa.Line("abcdefghijkl"), WaitEnteredLine(client, 0));
}

TEST(DccSendDialog, RefreshAndDoubleClickFollowTheClient) {
    auto client = std::make_unique<CImitationClient>("mIRC32", "#chat", Names{"bob", "carol"});
    CDccCase brisa;
    ASSERT_TRUE(brisa.Open());
    const Names listBefore = {"bob", "carol"};
    const HWND hwndSend = brisa.DialogItem(IDC_DCC_SEND);
    const auto refreshed = [&] {
        return Click(brisa.DialogItem(IDC_NICK_REFRESH)) && brisa.Sync();
    };

    // An emptied channel list leaves the copied names alone.
    ASSERT_TRUE(client->SetNicknames({}));
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(listBefore, brisa.Nicks());
    EXPECT_TRUE(IsEnabled(hwndSend));

    // A client whose window path has a gap is not acted on.
    ASSERT_TRUE(client->SetNicknames({"zed"}));
    ASSERT_TRUE(client->RemoveWindow(CImitationClient::EStep::NickList));
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(listBefore, brisa.Nicks());
    EXPECT_TRUE(IsEnabled(hwndSend));
    EXPECT_TRUE(brisa.NoMessageBox());

    client.reset();
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(listBefore, brisa.Nicks());
    EXPECT_FALSE(IsEnabled(hwndSend));
    ASSERT_TRUE(DoubleClickListItem(brisa.DialogItem(IDC_NICK_LIST), 1));
    ASSERT_TRUE(brisa.Sync());
    EXPECT_FALSE(IsEnabled(hwndSend));

    // Back again: a double-click enables Send and sends to the entry double-clicked.
    client = std::make_unique<CImitationClient>("mIRC32", "#chat", Names{"dave"});
    ASSERT_TRUE(DoubleClickListItem(brisa.DialogItem(IDC_NICK_LIST), 0));
    EXPECT_EQ(brisa.Line("bob"), WaitEnteredLine(*client, 0));
    EXPECT_TRUE(IsEnabled(hwndSend));
    EXPECT_EQ(listBefore, brisa.Nicks());
}

TEST(DccSendDialog, OffersTheFileTheViewLastTookUp) {
    CImitationClient client("mIRC32", "#chat", {"bob"});
    CDccCase brisa;
    ASSERT_TRUE(brisa.Start());
    struct {
        const char* pszTyped;
        bool bPlay; // Play takes the list's selection, whatever the name box holds
        const char* pszOffered;
    } const cases[] = {
        {"zz.wav", false, "zz.wav"},
        {"di", true, "ding.wav"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszTyped);
        client.ClearRecords();
        brisa.TypeFileName(c.pszTyped);
        ASSERT_TRUE(WaitUntil([&] { return brisa.FileName() == c.pszTyped; }));
        if (c.bPlay) {
            ASSERT_TRUE(Click(brisa.Item(IDC_PLAY)));
        }
        ASSERT_TRUE(brisa.Open());
        ASSERT_TRUE(brisa.PressSend());
        EXPECT_EQ(brisa.Line("bob", c.pszOffered), WaitEnteredLine(client, 0));
        ASSERT_TRUE(brisa.CloseDialog(IDCANCEL));
    }
}

TEST(DccSendDialog, FrozenClientIsReportedAndBrisaStaysResponsive) {
    CImitationClient client("mIRC32", "#chat", {"bob"});
    CDccCase brisa;
    ASSERT_TRUE(brisa.Start());
    ASSERT_TRUE(client.Hang());
    // The copy of the nicknames fails while the dialog opens, before it shows.
    ASSERT_TRUE(Click(brisa.Item(IDC_DCC)));
    ASSERT_NE("", brisa.AnswerMessageBox(IDOK));
    ASSERT_TRUE(brisa.WaitDialog(brisa.kDccCaption));
    EXPECT_TRUE(brisa.Nicks().empty());

    TypeText(brisa.DialogItem(IDC_NICK), "bob");
    ASSERT_TRUE(WaitUntil([&] { return brisa.Nick() == "bob"; }));
    ASSERT_TRUE(brisa.PressSend());
    ASSERT_NE("", brisa.AnswerMessageBox(IDOK));

    TypeText(brisa.DialogItem(IDC_NICK), "!");
    EXPECT_TRUE(WaitUntil([&] { return brisa.Nick() == "bob!"; }, 3000));
    client.Resume();
    // Once the client answers again, whatever Brisa had sent it has been handled.
    ASSERT_TRUE(client.SetTitle("#chat"));
    EXPECT_TRUE(client.EnteredLines().empty());
}

} // namespace
