// The DCC Send dialog in this process, against the imitation IRC client on its own thread: the
// nicknames it copies, the "/dcc send" lines it has the client enter, and a client that comes,
// goes or misbehaves.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using EFault = CImitationClient::EFault;

void SelectNick(HWND dialog, int index) {
    SendDlgItemMessageW(dialog, IDC_NICK_LIST, LB_SETCURSEL, index, 0);
    Notify(GetDlgItem(dialog, IDC_NICK_LIST), LBN_SELCHANGE);
}

// Whether window a is above window b among the top-level windows.
bool IsAbove(HWND a, HWND b) {
    HWND w = GetTopWindow(nullptr);
    while (w && w != a && w != b)
        w = GetWindow(w, GW_HWNDNEXT);
    return w == a;
}

TEST(DccSendDialog, CopiesTheNicknamesWithinBoundsWhateverTheClientClaims) {
    Lines many;
    for (int i = 0; i < 5000; ++i)
        many.push_back("nick" + std::to_string(i));
    const std::string longNick(500, 'n'); // longer than the old buffer of 255 characters
    const struct {
        Lines client, copied;
        bool wide;
        EFault fault;
    } cases[] = {
        {{"@alice", "bob", "+Влад", "", "@" + longNick},
         {"alice", "bob", "Влад", longNick},
         true,
         EFault::None},
        {{"zed", "@"}, {"zed", ""}, false, EFault::None},
        {many, many, true, EFault::None},
        // Every read fails, or every entry claims 2 GB: a message, and nothing made up.
        {many, {}, true, EFault::BogusCount},
        {many, {}, true, EFault::HugeLengths},
    };
    for (const auto& c : cases) {
        CImitationClient client({"mIRC32", "#chat", c.client, c.wide});
        client.SetFault(c.fault);
        CBrisaHarness brisa;
        brisa.Open(IDC_DCC, [&](HWND dialog) {
            const Lines copied = ItemsOf(GetDlgItem(dialog, IDC_NICK_LIST));
            EXPECT_EQ(Sorted(c.copied), Sorted(copied)) << c.client[0];
            // The dialog's list keeps its own sorted order and shows its first entry.
            EXPECT_EQ(copied.empty() ? "" : copied[0], TextOf(GetDlgItem(dialog, IDC_NICK)));
            ClickItem(dialog, IDCANCEL);
        });
        EXPECT_EQ(c.fault == EFault::None ? Lines() : Lines{Message(IDS_NICKNAMES_CUT)},
                  brisa.TakeMessageBoxes());
    }
}

TEST(DccSendDialog, SendEntersTheLineWithTheStoredFolderAndTheDialogStaysOnTop) {
    for (const char* fallBack : {"0", "1"}) {
        CImitationClient client({"mIRC32", "not a channel", {"bob", "carol"}});
        // Fall Back raises the window the line went into, though another is above it by then.
        if (*fallBack == '1')
            client.SetFault(CImitationClient::EFault::OtherOnTopAfterEnter);
        CBrisaHarness brisa(std::string("SendClose=1\r\nFallBack=") + fallBack);
        const std::string other = brisa.PathOf("other");
        brisa.Open(IDC_DCC, [&](HWND dialog) {
            SetWindowPos(client.TopLevel(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            client.ClearRecords();
            ClickItem(dialog, IDC_DCC_SEND);
            EXPECT_EQ(Lines{"/dcc send bob " + brisa.WavDir() + "\\ding.wav"}, client.Entered());
            EXPECT_EQ(*fallBack == '1' ? Lines{"active"} : Lines(), client.Raised());
            EXPECT_TRUE(IsAbove(dialog, client.TopLevel()));
            // A hand edit of the profile counts from the next send on.
            brisa.WriteOptions("WAVDir=" + other);
            SelectNick(dialog, 1);
            client.ClearRecords();
            if (*fallBack == '0')
                ClickItem(dialog, IDC_DCC_SEND);
            EXPECT_EQ(*fallBack == '0' ? Lines{"/dcc send carol " + other + "\\ding.wav"} : Lines(),
                      client.Entered());
            ClickItem(dialog, IDCANCEL);
        });
        EXPECT_TRUE(IsWindow(brisa.Main())); // Close on Send is not for DCC
        EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
    }
}

TEST(DccSendDialog, TypedNicknameSelectsByPrefixAndALongOneIsSentAfterTheLengthMessage) {
    CImitationClient client({"mIRC32", "#chat", {"alice", "bob", "abcdefghijkl"}});
    CBrisaHarness brisa;
    brisa.Open(IDC_DCC, [&](HWND dialog) {
        const HWND nick = GetDlgItem(dialog, IDC_NICK);
        EXPECT_EQ(10, SendMessageW(nick, EM_GETLIMITTEXT, 0, 0));
        const Lines nicks = ItemsOf(GetDlgItem(dialog, IDC_NICK_LIST));
        const auto indexOf = [&](const char* s) {
            return static_cast<int>(std::find(nicks.begin(), nicks.end(), s) - nicks.begin());
        };
        for (const char* typed : {"BO", "x", "ABC"}) {
            SetText(nick, typed);
            EXPECT_EQ(typed, TextOf(nick));
            EXPECT_EQ(indexOf(*typed == 'A' ? "abcdefghijkl" : "bob"),
                      SendDlgItemMessageW(dialog, IDC_NICK_LIST, LB_GETCURSEL, 0, 0));
        }
        // Taken from the list, it shows whole without a word; Send warns, then sends it all.
        SelectNick(dialog, indexOf("abcdefghijkl"));
        EXPECT_EQ("abcdefghijkl", TextOf(nick));
        EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
        ClickItem(dialog, IDC_DCC_SEND);
        EXPECT_EQ(Lines{Message(AFX_IDP_PARSE_STRING_SIZE, {"10"})}, brisa.TakeMessageBoxes());
        EXPECT_EQ(Lines{"/dcc send abcdefghijkl " + brisa.WavDir() + "\\ding.wav"},
                  client.Entered());
        ClickItem(dialog, IDCANCEL);
    });
}

TEST(DccSendDialog, RefreshAndDoubleClickFollowTheClient) {
    auto client = std::make_unique<CImitationClient>(
        CModelClient::Options{"mIRC32", "#chat", {"bob", "carol"}});
    CBrisaHarness brisa;
    brisa.Open(IDC_DCC, [&](HWND dialog) {
        const HWND send = GetDlgItem(dialog, IDC_DCC_SEND),
                   list = GetDlgItem(dialog, IDC_NICK_LIST);
        const Lines before = {"bob", "carol"};
        // A frozen client, an emptied channel or a path with a gap leave the copied names.
        client->Hang();
        ClickItem(dialog, IDC_NICK_REFRESH);
        EXPECT_EQ(Lines{Message(IDS_CLIENT_NOT_ANSWERING)}, brisa.TakeMessageBoxes());
        client->Resume();
        client->Do([](CModelClient& c) { c.SetNicknames({}); });
        ClickItem(dialog, IDC_NICK_REFRESH);
        client->Do([](CModelClient& c) { c.SetNicknames({"zed"}), DestroyWindow(c.NickList()); });
        ClickItem(dialog, IDC_NICK_REFRESH);
        EXPECT_EQ(before, ItemsOf(list));
        EXPECT_TRUE(IsWindowEnabled(send));
        // Gone: Refresh disables Send, a double-click does nothing.
        client.reset();
        ClickItem(dialog, IDC_NICK_REFRESH);
        EXPECT_EQ(before, ItemsOf(list));
        EXPECT_FALSE(IsWindowEnabled(send));
        Notify(list, LBN_DBLCLK);
        EXPECT_FALSE(IsWindowEnabled(send));
        // Back: a double-click enables Send and sends to the entry double-clicked.
        client = std::make_unique<CImitationClient>(CModelClient::Options{"mIRC32"});
        SelectNick(dialog, 1);
        Notify(list, LBN_DBLCLK);
        EXPECT_TRUE(IsWindowEnabled(send));
        EXPECT_EQ(Lines{"/dcc send carol " + brisa.WavDir() + "\\ding.wav"}, client->Entered());
        ClickItem(dialog, IDCANCEL);
    });
    EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
}

} // namespace
