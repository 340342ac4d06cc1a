// The DCC Send dialog of a running Brisa.exe against the imitation IRC client: the copied
// nicknames, the typed nickname and the "/dcc send" lines it has the client enter.
#include "resource.h"
#include "support/driver.h"
#include "support/imitation_client.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

std::vector<std::string> Sorted(std::vector<std::string> list) {
    std::sort(list.begin(), list.end());
    return list;
}

// Brisa with a WAV folder holding ding.wav and other.wav, started against the client.
class CDccDialog {
public:
    explicit CDccDialog(const std::string& strMoreIni = "") : m_brisa("") {
        m_strWavDir = m_brisa.MakeDir("wav");
        WriteFileText(m_strWavDir + "\\ding.wav", "RIFF");
        WriteFileText(m_strWavDir + "\\other.wav", "RIFF");
        m_brisa.WriteIni("[Options]\r\nWAVDir=" + m_strWavDir + "\r\n" + strMoreIni);
    }

    bool Start() { return m_brisa.Start(); }
    HWND MainItem(int nId) const { return FindControl(m_brisa.MainWindow(), nId); }
    bool ClickDcc() { return (m_brisa.MainWindow() || Start()) && Click(MainItem(IDC_DCC)); }
    bool WaitShown() {
        return WaitUntil([this] {
            m_hwnd = FindProcessWindow(m_brisa.ProcessId(), "Brisa - DCC Send");
            return m_hwnd != nullptr;
        });
    }
    bool Open() { return ClickDcc() && WaitShown(); }
    bool Close() {
        return Click(Item(IDCANCEL)) && WaitUntil([this] { return !IsWindow(m_hwnd); });
    }
    HWND Item(int nId) const { return GetDlgItem(m_hwnd, nId); }
    std::string Nick() const { return ReadWindowText(Item(IDC_NICK)); }
    std::vector<std::string> Nicks() const { return ReadListItems(Item(IDC_NICK_LIST)); }
    int Selection() const { return ListSelection(Item(IDC_NICK_LIST)); }
    std::string Line(const std::string& strNick, const std::string& strFile = "ding.wav") const {
        return "/dcc send " + strNick + " " + m_strWavDir + "\\" + strFile;
    }
    CMessageBox WaitMessageBox() const {
        CMessageBox box;
        WaitUntil([&] { return (box = FindMessageBox(m_brisa.ProcessId())).m_hwnd != nullptr; });
        return box;
    }
    bool NoMessageBox() const { return !FindMessageBox(m_brisa.ProcessId()).m_hwnd; }
    // Waits until Brisa has handled everything posted to it so far: a posted select-all and
    // character must show in the nickname box.
    bool Sync(char chMarker) {
        PostMessageA(Item(IDC_NICK), EM_SETSEL, 0, -1);
        TypeText(Item(IDC_NICK), std::string(1, chMarker));
        return WaitUntil([&] { return Nick() == std::string(1, chMarker); });
    }

    CBrisaCase m_brisa;
    std::string m_strWavDir;
    HWND m_hwnd = nullptr;
};

bool WaitLines(const CImitationClient& client, size_t nCount) {
    return WaitUntil([&] { return client.EnteredLines().size() >= nCount; });
}

TEST(DccSendDialog, CopiesTheClientsNicknamesLessOneOperatorMark) {
    // Longer than any fixed buffer of 255 or 511 characters; Wine 8 cannot pass a list entry
    // of more than 767 characters between threads, so that is as long as can be checked here.
    const std::string strLong(700, 'n');
    struct {
        std::vector<std::string> listClient;
        std::vector<std::string> listExpected;
    } const cases[] = {
        {{"@alice", "bob", "+carol", "@@dave"}, {"alice", "bob", "+carol", "@dave"}},
        {{"zed", "@", ""}, {"zed", ""}},
        {{"@" + strLong, "zz"}, {strLong, "zz"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.listClient[0]);
        CImitationClient client("mIRC32", "#chat", c.listClient);
        CDccDialog dialog;
        ASSERT_TRUE(dialog.Open());
        const std::vector<std::string> listNicks = dialog.Nicks();
        EXPECT_EQ(Sorted(c.listExpected), Sorted(listNicks));
        ASSERT_FALSE(listNicks.empty());
        // The dialog's list keeps its own sorted order and shows its first entry.
        EXPECT_EQ(0, dialog.Selection());
        EXPECT_EQ(listNicks[0], dialog.Nick());
        EXPECT_TRUE(dialog.NoMessageBox());
    }
}

TEST(DccSendDialog, SendEntersTheLineAndTheDialogStaysOnTop) {
    for (const int bFallBack : {0, 1}) {
        SCOPED_TRACE(bFallBack);
        CImitationClient client("mIRC32", "not a channel", {"bob", "carol"});
        CDccDialog dialog("FallBack=" + std::to_string(bFallBack) + "\r\n");
        ASSERT_TRUE(dialog.Open());
        ASSERT_EQ("bob", dialog.Nick());

        ASSERT_TRUE(Click(dialog.Item(IDC_DCC_SEND)));
        ASSERT_TRUE(WaitLines(client, 1));
        EXPECT_EQ(std::vector<std::string>{dialog.Line("bob")}, client.EnteredLines());
        EXPECT_EQ(bFallBack ? std::vector<std::string>{"active"} : std::vector<std::string>{},
                  client.RaisedWindows());
        EXPECT_TRUE(IsWindowVisible(dialog.m_hwnd));
        EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog.m_hwnd; }));
        EXPECT_EQ(0, dialog.Selection());
        EXPECT_EQ("bob", dialog.Nick());
        EXPECT_TRUE(IsEnabled(dialog.Item(IDC_DCC_SEND)));

        // A hand edit of the profile counts from the next send on.
        const std::string strOther = dialog.m_brisa.MakeDir("other");
        dialog.m_brisa.WriteIni("[Options]\r\nWAVDir=" + strOther + "\r\n");
        ASSERT_TRUE(SelectListItem(dialog.Item(IDC_NICK_LIST), 1));
        ASSERT_TRUE(WaitUntil([&] { return dialog.Nick() == "carol"; }));
        ASSERT_TRUE(Click(dialog.Item(IDC_DCC_SEND)));
        ASSERT_TRUE(WaitLines(client, 2));
        EXPECT_EQ("/dcc send carol " + strOther + "\\ding.wav", client.EnteredLines()[1]);
        EXPECT_TRUE(dialog.NoMessageBox());
    }
}

TEST(DccSendDialog, TypedNicknameSelectsByPrefixAndStopsAtTenCharacters) {
    CImitationClient client("mIRC32", "#chat", {"alice", "Bobby", "bob"});
    CDccDialog dialog;
    ASSERT_TRUE(dialog.Open());
    const std::vector<std::string> listNicks = dialog.Nicks();
    const auto indexOf = [&](const std::string& s) {
        return static_cast<int>(std::find(listNicks.begin(), listNicks.end(), s) -
                                listNicks.begin());
    };
    ASSERT_EQ(indexOf("alice"), dialog.Selection());
    SendMessageA(dialog.Item(IDC_NICK), EM_SETSEL, 0, -1);
    TypeText(dialog.Item(IDC_NICK), "BO");
    ASSERT_TRUE(WaitUntil([&] { return dialog.Nick() == "BO"; }));
    EXPECT_TRUE(WaitUntil(
        [&] { return dialog.Selection() == std::min(indexOf("bob"), indexOf("Bobby")); }));
    const int nSelected = dialog.Selection();
    TypeText(dialog.Item(IDC_NICK), "zzzzzzzzzz");
    ASSERT_TRUE(WaitUntil([&] { return dialog.Nick().size() == 10; }));
    EXPECT_EQ("BOzzzzzzzz", dialog.Nick());
    EXPECT_EQ(nSelected, dialog.Selection());

    ASSERT_TRUE(Click(dialog.Item(IDC_DCC_SEND)));
    ASSERT_TRUE(WaitLines(client, 1));
    EXPECT_EQ(dialog.Line("BOzzzzzzzz"), client.EnteredLines()[0]);
    EXPECT_TRUE(dialog.NoMessageBox());
}

TEST(DccSendDialog, LongNicknameFromTheListIsShownWholeAndSentAfterTheLengthMessage) {
    CImitationClient client("mIRC32", "#chat", {"abcdefghijkl", "zoe"});
    CDccDialog dialog;
    ASSERT_TRUE(dialog.Open());
    EXPECT_EQ("abcdefghijkl", dialog.Nick());
    EXPECT_TRUE(dialog.NoMessageBox());

    ASSERT_TRUE(Click(dialog.Item(IDC_DCC_SEND)));
    const CMessageBox box = dialog.WaitMessageBox();
    ASSERT_TRUE(box.m_hwnd);
    EXPECT_NE(std::string::npos, box.m_strText.find("10")) << box.m_strText;
    ASSERT_TRUE(PressButton(box.m_hwnd, IDOK));
    ASSERT_TRUE(WaitLines(client, 1));
    EXPECT_EQ(dialog.Line("abcdefghijkl"), client.EnteredLines()[0]);
}

TEST(DccSendDialog, RefreshAndDoubleClickFollowTheClient) {
    auto client = std::make_unique<CImitationClient>("mIRC32", "#chat",
                                                     std::vector<std::string>{"bob", "carol"});
    CDccDialog dialog;
    ASSERT_TRUE(dialog.Open());
    const std::vector<std::string> listBefore = {"bob", "carol"};
    char chMarker = 'a';
    const auto refreshed = [&] {
        return Click(dialog.Item(IDC_NICK_REFRESH)) && dialog.Sync(++chMarker);
    };

    // An emptied channel list leaves the copied names alone.
    ASSERT_TRUE(client->SetNicknames({}));
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(listBefore, dialog.Nicks());
    EXPECT_TRUE(IsEnabled(dialog.Item(IDC_DCC_SEND)));

    // A client whose window path has a gap is not acted on.
    ASSERT_TRUE(client->SetNicknames({"zed"}));
    ASSERT_TRUE(client->RemoveWindow(CImitationClient::EStep::NickList));
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(listBefore, dialog.Nicks());
    EXPECT_TRUE(IsEnabled(dialog.Item(IDC_DCC_SEND)));
    EXPECT_TRUE(dialog.NoMessageBox());

    client.reset();
    ASSERT_TRUE(refreshed());
    EXPECT_EQ(listBefore, dialog.Nicks());
    EXPECT_FALSE(IsEnabled(dialog.Item(IDC_DCC_SEND)));
    ASSERT_TRUE(DoubleClickListItem(dialog.Item(IDC_NICK_LIST), 1));
    ASSERT_TRUE(dialog.Sync('z'));
    EXPECT_FALSE(IsEnabled(dialog.Item(IDC_DCC_SEND)));

    // Back again: a double-click enables Send and sends to the entry double-clicked.
    client =
        std::make_unique<CImitationClient>("mIRC32", "#chat", std::vector<std::string>{"dave"});
    ASSERT_TRUE(DoubleClickListItem(dialog.Item(IDC_NICK_LIST), 0));
    ASSERT_TRUE(WaitLines(*client, 1));
    EXPECT_EQ(dialog.Line("bob"), client->EnteredLines()[0]);
    EXPECT_TRUE(IsEnabled(dialog.Item(IDC_DCC_SEND)));
    EXPECT_EQ(listBefore, dialog.Nicks());
}

TEST(DccSendDialog, OffersTheFileTheViewLastTookUp) {
    CImitationClient client("mIRC32", "#chat", {"bob"});
    CDccDialog dialog;
    ASSERT_TRUE(dialog.Start());
    const HWND hwndName = dialog.MainItem(IDC_FILE_NAME);
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
        SendMessageA(hwndName, EM_SETSEL, 0, -1);
        TypeText(hwndName, c.pszTyped);
        ASSERT_TRUE(WaitUntil([&] { return ReadWindowText(hwndName) == c.pszTyped; }));
        if (c.bPlay) {
            ASSERT_TRUE(Click(dialog.MainItem(IDC_PLAY)));
        }
        ASSERT_TRUE(dialog.Open());
        ASSERT_TRUE(Click(dialog.Item(IDC_DCC_SEND)));
        ASSERT_TRUE(WaitLines(client, 1));
        EXPECT_EQ(dialog.Line("bob", c.pszOffered), client.EnteredLines()[0]);
        ASSERT_TRUE(dialog.Close());
    }
}

TEST(DccSendDialog, FrozenClientIsReportedAndBrisaStaysResponsive) {
    CImitationClient client("mIRC32", "#chat", {"bob"});
    CDccDialog dialog;
    ASSERT_TRUE(dialog.Start());
    ASSERT_TRUE(client.Hang());
    // The copy of the nicknames fails while the dialog opens, before it shows.
    ASSERT_TRUE(dialog.ClickDcc());
    CMessageBox box = dialog.WaitMessageBox();
    ASSERT_TRUE(box.m_hwnd);
    ASSERT_TRUE(PressButton(box.m_hwnd, IDOK));
    ASSERT_TRUE(dialog.WaitShown());
    EXPECT_TRUE(dialog.Nicks().empty());

    TypeText(dialog.Item(IDC_NICK), "bob");
    ASSERT_TRUE(WaitUntil([&] { return dialog.Nick() == "bob"; }));
    ASSERT_TRUE(Click(dialog.Item(IDC_DCC_SEND)));
    box = dialog.WaitMessageBox();
    ASSERT_TRUE(box.m_hwnd);
    ASSERT_TRUE(PressButton(box.m_hwnd, IDOK));

    TypeText(dialog.Item(IDC_NICK), "!");
    EXPECT_TRUE(WaitUntil([&] { return dialog.Nick() == "bob!"; }, 3000));
    client.Resume();
    // Once the client answers again, whatever Brisa had sent it has been handled.
    ASSERT_TRUE(client.SetTitle("#chat"));
    EXPECT_TRUE(client.EnteredLines().empty());
}

} // namespace
