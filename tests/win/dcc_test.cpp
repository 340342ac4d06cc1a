// The DCC Send dialog in this process, against the imitation IRC client on its own thread: the
// nicknames it copies, the "/dcc send" lines it has the client enter, and a client that comes,
// goes or misbehaves.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

namespace {

using EFault = CImitationClient::EFault;

TEST(DccSendDialog, CopiesTheNicknamesWithinBoundsWhateverTheClientClaims) {
    const std::string longNick(500, 'n'); // longer than the old buffer of 255 characters
    const struct {
        EFault fault;
        Lines copied;
    } cases[] = {
        {EFault::None, {"alice", "bob", "Влад", longNick}},
        // Every read fails, or every entry claims 2 GB: a message, and nothing made up.
        {EFault::BogusCount, {}},
        {EFault::HugeLengths, {}},
    };
    for (const auto& c : cases) {
        CImitationClient client(
            {"mIRC32", "#chat", {"@alice", "bob", "+Влад", "", "@" + longNick}});
        client.SetFault(c.fault);
        CBrisaHarness brisa;
        brisa.Open(IDC_DCC, [&](HWND dialog) {
            // The dialog's list keeps its own sorted order and shows its first entry.
            const Lines copied = ItemsOf(GetDlgItem(dialog, IDC_NICK_LIST));
            EXPECT_EQ(Sorted(c.copied), Sorted(copied));
            EXPECT_EQ(copied.empty() ? "" : copied[0], TextOf(GetDlgItem(dialog, IDC_NICK)));
            ClickItem(dialog, IDCANCEL);
        });
        EXPECT_EQ(c.fault == EFault::None ? Lines() : Lines{Message(IDS_NICKNAMES_CUT)},
                  brisa.TakeMessageBoxes());
    }
}

TEST(DccSendDialog, SendsToTheNicknameChosenOrTypedStaysOnTopAndFollowsTheClient) {
    auto client = std::make_unique<CImitationClient>(
        CModelClient::Options{"mIRC32", "not a channel", {"alice", "bob", "abcdefghijkl"}});
    CBrisaHarness brisa("SendClose=1");
    const std::string ding = "\\ding.wav", other = brisa.PathOf("other");
    brisa.Open(IDC_DCC, [&](HWND dialog) {
        const HWND nick = GetDlgItem(dialog, IDC_NICK), list = GetDlgItem(dialog, IDC_NICK_LIST),
                   send = GetDlgItem(dialog, IDC_DCC_SEND);
        const auto select = [&](int index) {
            SendMessageW(list, LB_SETCURSEL, index, 0);
            Notify(list, LBN_SELCHANGE);
        };
        EXPECT_EQ(10, SendMessageW(nick, EM_GETLIMITTEXT, 0, 0));
        // Typed, the first entry that begins so is selected; "x" begins none and leaves it.
        for (const auto& [typed, selected] : {std::pair{"BO", 2}, {"x", 2}, {"A", 0}}) {
            SetText(nick, typed);
            EXPECT_EQ(typed, TextOf(nick));
            EXPECT_EQ(selected, SendMessageW(list, LB_GETCURSEL, 0, 0)) << typed;
        }
        // Taken from the list, a long one shows whole without a word; Send warns, then sends it
        // all, and the dialog comes above the client.
        select(0);
        EXPECT_EQ("abcdefghijkl", TextOf(nick));
        EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
        SetWindowPos(client->TopLevel(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ClickItem(dialog, IDC_DCC_SEND);
        EXPECT_EQ(Lines{Message(AFX_IDP_PARSE_STRING_SIZE, {"10"})}, brisa.TakeMessageBoxes());
        EXPECT_EQ(Lines{"/dcc send abcdefghijkl " + brisa.WavDir() + ding}, client->Entered());
        HWND above = GetTopWindow(nullptr);
        while (above != dialog && above != client->TopLevel())
            above = GetWindow(above, GW_HWNDNEXT);
        EXPECT_EQ(dialog, above);
        // A hand edit of the profile counts from the next send on.
        brisa.WriteOptions("WAVDir=" + other);
        select(2);
        ClickItem(dialog, IDC_DCC_SEND);
        EXPECT_EQ("/dcc send bob " + other + ding, client->Entered().back());
        // A frozen client or a path with a gap leave the copied names.
        client->Hang();
        ClickItem(dialog, IDC_NICK_REFRESH);
        EXPECT_EQ(Lines{Message(IDS_CLIENT_NOT_ANSWERING)}, brisa.TakeMessageBoxes());
        client->Resume();
        client->Do([](CModelClient& c) { c.SetNicknames({"zed"}), DestroyWindow(c.NickList()); });
        ClickItem(dialog, IDC_NICK_REFRESH);
        EXPECT_EQ((Lines{"abcdefghijkl", "alice", "bob"}), ItemsOf(list));
        EXPECT_TRUE(IsWindowEnabled(send));
        // Gone: Refresh disables Send, a double-click does nothing; back: a double-click enables
        // Send and sends to the entry double-clicked.
        client.reset();
        ClickItem(dialog, IDC_NICK_REFRESH);
        Notify(list, LBN_DBLCLK);
        EXPECT_FALSE(IsWindowEnabled(send));
        client = std::make_unique<CImitationClient>(CModelClient::Options{"mIRC32"});
        select(1);
        Notify(list, LBN_DBLCLK);
        EXPECT_TRUE(IsWindowEnabled(send));
        EXPECT_EQ(Lines{"/dcc send alice " + other + ding}, client->Entered());
        ClickItem(dialog, IDCANCEL);
    });
    EXPECT_TRUE(IsWindow(brisa.Main())); // Close on Send is not for DCC
    EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
}

} // namespace
