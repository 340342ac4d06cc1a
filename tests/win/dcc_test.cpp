// The DCC Send dialog in this process, against the imitation IRC client on its own thread: the
// nicknames it copies, the "/dcc send" lines it has the client enter, and a client that is
// shaped differently, gone or misbehaving.
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

int NickSelection(HWND dialog) {
    return static_cast<int>(SendDlgItemMessageW(dialog, IDC_NICK_LIST, LB_GETCURSEL, 0, 0));
}

// Whether window a is above window b among the top-level windows.
bool IsAbove(HWND a, HWND b) {
    HWND w = GetTopWindow(nullptr);
    while (w && w != a && w != b)
        w = GetWindow(w, GW_HWNDNEXT);
    return w == a;
}

TEST(DccSendDialog, CopiesTheClientsNicknamesLessTheirStatusMarks) {
    Lines many;
    for (int i = 0; i < 5000; ++i)
        many.push_back("nick" + std::to_string(i));
    const std::string longNick(500, 'n'); // longer than the old buffer of 255 characters
    const struct {
        Lines client, copied;
        bool wide;
    } cases[] = {
        {{"@alice", "bob", "+carol", "@+dave", "%e", "~f", "&g"},
         {"alice", "bob", "carol", "dave", "e", "f", "g"},
         true},
        {{"zed", "@", ""}, {"zed", ""}, false},
        {{"@" + longNick, "zz"}, {longNick, "zz"}, true},
        {{"@Влад", "山田", "+Łucja"}, {"Влад", "山田", "Łucja"}, true},
        {many, many, true},
    };
    for (const auto& c : cases) {
        CImitationClient client("mIRC32", "#chat", c.client, c.wide);
        CBrisaHarness brisa;
        const ULONGLONG start = GetTickCount64();
        brisa.Open(IDC_DCC, [&](HWND dialog) {
            EXPECT_LT(GetTickCount64() - start, 20000u);
            const Lines copied = ItemsOf(GetDlgItem(dialog, IDC_NICK_LIST));
            EXPECT_EQ(Sorted(c.copied), Sorted(copied)) << c.client[0];
            // The dialog's list keeps its own sorted order and shows its first entry.
            EXPECT_EQ(0, NickSelection(dialog));
            EXPECT_EQ(copied[0], TextOf(GetDlgItem(dialog, IDC_NICK)));
            ClickItem(dialog, IDCANCEL);
        });
        EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
        // A length read per entry, and a text read for each that is not empty.
        const auto texts = std::count_if(c.client.begin(), c.client.end(),
                                         [](const std::string& nick) { return !nick.empty(); });
        EXPECT_EQ(static_cast<int>(c.client.size() + texts), client.NickListReads());
    }
}

TEST(DccSendDialog, CopyIsBoundedAgainstABogusHugeOrSlowList) {
    Lines many;
    for (int i = 0; i < 1000; ++i)
        many.push_back("nick" + std::to_string(i));
    for (const EFault fault : {EFault::BogusCount, EFault::HugeLengths, EFault::None}) {
        CImitationClient client("mIRC32", "#chat", many);
        CBrisaHarness brisa;
        client.SetFault(fault);
        client.SetDelay(LB_GETTEXT, fault == EFault::None ? 10 : 0);
        const ULONGLONG start = GetTickCount64();
        brisa.Open(IDC_DCC, [&](HWND dialog) {
            EXPECT_LT(GetTickCount64() - start, 8000u);
            const size_t copied = ItemsOf(GetDlgItem(dialog, IDC_NICK_LIST)).size();
            EXPECT_EQ(fault == EFault::None, copied > 0); // no blank for a failed read
            EXPECT_LT(copied, many.size());
            ClickItem(dialog, IDCANCEL);
        });
        EXPECT_LE(client.NickListReads(), 10000); // the count claimed is not believed
        EXPECT_EQ(Lines{Message(IDS_NICKNAMES_CUT)}, brisa.TakeMessageBoxes());
    }
}

TEST(DccSendDialog, SendEntersTheLineWithTheStoredFolderAndTheDialogStaysOnTop) {
    for (const char* fallBack : {"0", "1"}) {
        CImitationClient client("mIRC32", "not a channel", {"bob", "carol"});
        CBrisaHarness brisa(std::string("SendClose=1\r\nFallBack=") + fallBack);
        const std::string other = brisa.PathOf("other");
        brisa.Open(IDC_DCC, [&](HWND dialog) {
            SetWindowPos(client.TopLevel(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
            client.ClearRecords();
            ClickItem(dialog, IDC_DCC_SEND);
            EXPECT_EQ(Lines{"/dcc send bob " + brisa.WavDir() + "\\ding.wav"},
                      client.EnteredLines());
            EXPECT_EQ(*fallBack == '1' ? Lines{"active"} : Lines(), client.RaisedWindows());
            EXPECT_TRUE(IsAbove(dialog, client.TopLevel()));
            EXPECT_EQ("bob", TextOf(GetDlgItem(dialog, IDC_NICK)));
            // A hand edit of the profile counts from the next send on.
            brisa.WriteOptions("WAVDir=" + other);
            SelectNick(dialog, 1);
            ClickItem(dialog, IDC_DCC_SEND);
            EXPECT_EQ("/dcc send carol " + other + "\\ding.wav", client.EnteredLines().at(1));
            ClickItem(dialog, IDCANCEL);
        });
        EXPECT_TRUE(IsWindow(brisa.Main())); // Close on Send is not for DCC
        EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
    }
}

TEST(DccSendDialog, TypedNicknameSelectsByPrefixAndALongOneIsSentAfterTheLengthMessage) {
    CImitationClient client("mIRC32", "#chat", {"alice", "bob", "abcdefghijkl"});
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
            EXPECT_EQ(indexOf(*typed == 'A' ? "abcdefghijkl" : "bob"), NickSelection(dialog));
        }
        // No nickname, no line.
        SetText(nick, "");
        ClickItem(dialog, IDC_DCC_SEND);
        EXPECT_EQ(Lines{Message(IDS_NO_NICKNAME)}, brisa.TakeMessageBoxes());
        // Taken from the list, it shows whole without a word; Send warns, then sends it all.
        SelectNick(dialog, indexOf("abcdefghijkl"));
        EXPECT_EQ("abcdefghijkl", TextOf(nick));
        EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
        ClickItem(dialog, IDC_DCC_SEND);
        EXPECT_EQ(Lines{Message(AFX_IDP_PARSE_STRING_SIZE, {"10"})}, brisa.TakeMessageBoxes());
        EXPECT_EQ(Lines{"/dcc send abcdefghijkl " + brisa.WavDir() + "\\ding.wav"},
                  client.EnteredLines());
        ClickItem(dialog, IDCANCEL);
    });
}

TEST(DccSendDialog, RefreshAndDoubleClickFollowTheClient) {
    auto client = std::make_unique<CImitationClient>("mIRC32", "#chat", Lines{"bob", "carol"});
    CBrisaHarness brisa;
    brisa.Open(IDC_DCC, [&](HWND dialog) {
        const HWND send = GetDlgItem(dialog, IDC_DCC_SEND),
                   list = GetDlgItem(dialog, IDC_NICK_LIST);
        const Lines before = {"bob", "carol"};
        // A frozen client, entries that cannot be read, an emptied channel or a path with a gap
        // leave the copied names.
        client->Hang();
        ClickItem(dialog, IDC_NICK_REFRESH);
        EXPECT_EQ(Lines{Message(IDS_CLIENT_NOT_ANSWERING)}, brisa.TakeMessageBoxes());
        client->Resume();
        client->SetFault(EFault::BogusCount); // not one entry can be read
        ClickItem(dialog, IDC_NICK_REFRESH);
        EXPECT_EQ(Lines{Message(IDS_NICKNAMES_CUT)}, brisa.TakeMessageBoxes());
        client->SetFault(EFault::None);
        client->SetNicknames({});
        ClickItem(dialog, IDC_NICK_REFRESH);
        client->SetNicknames({"zed"});
        client->RemoveWindow(CImitationClient::EStep::NickList);
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
        client = std::make_unique<CImitationClient>("mIRC32", "#chat", Lines{"dave"});
        SelectNick(dialog, 1);
        Notify(list, LBN_DBLCLK);
        EXPECT_TRUE(IsWindowEnabled(send));
        EXPECT_EQ(Lines{"/dcc send carol " + brisa.WavDir() + "\\ding.wav"},
                  client->EnteredLines());
        ClickItem(dialog, IDCANCEL);
    });
    EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
}

} // namespace
