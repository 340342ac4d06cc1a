// Send and DCC Send through each way into the imitation IRC client, clients that stall, freeze
// or answer late, and the DCC Send dialog.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

using EFault = CImitationClient::EFault;

TEST(Clients, SendAndDccSendGoThroughEachWayIn) {
    const struct {
        CModelClient::Options client;
        const char* version; // of the interface; "" when it is off
        bool barsOff;        // today's layout without its bars, where the old walk goes astray
        std::string channel, file, nick;
        const char* lastCall; // of the interface: method 1 for a line, with 8 for UTF-16
    } cases[] = {
        {{"mIRC32"}, "", false, "#чат", "ベル.wav", "Влад", "0/1"},
        {{"mIRC32", "", {}, false}, "", false, "#café", "Été.wav", "Zoë", "0/1"},
        {{"mIRC", "", {}, true, true}, "", true, "#чат", "ベル.wav", "山田", "0/1"},
        {{"mIRC", "", {}, true, true}, "7.72", false, "#чат", "ベル.wav", "Влад", "9/1"},
        {{"mIRC", "", {}, true, true}, "6.35", false, "#café", "Été.wav", "Zoë", "1/1"},
    };
    const std::string longNick(500, 'n'); // beyond the old buffer of 255 characters
    // Another program holds the mapping "mIRC": Brisa takes the next name.
    const HANDLE held =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "mIRC");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.client.className + " " + c.version + " " + c.file);
        CModelClient::Options options = c.client;
        options.title = c.channel + " [+nt]: hello";
        options.nicks = {"@" + c.nick, "", "+bob", "@" + longNick};
        CImitationClient client(options);
        client.Do([&](CModelClient& model) {
            model.SetInterface(c.version);
            for (const char* bar : {"mIRC_SwitchBar", "mIRC_TreeBar"})
                DestroyWindow(c.barsOff ? FindWindowExA(model.TopLevel(), 0, bar, 0) : nullptr);
        });
        const std::string selector = c.client.className == "mIRC" ? "Client=1011" : "Client=1009";
        CBrisaHarness brisa(selector + "\r\nFallBack=1", {c.file});
        std::string upper = brisa.WavDir(); // the client's folder in other letters: a bare name
        CharUpperA(&upper[0]);
        client.Do([&](CModelClient& model) { model.SetSoundsFolder("wave", upper); });
        brisa.Click(IDC_SEND);
        EXPECT_EQ(Lines{"/sound " + c.channel + " " + c.file + " -plays Brisa: " + c.file},
                  client.Entered());
        EXPECT_EQ(Lines{"top"}, client.Raised());
        EXPECT_EQ(c.lastCall, client.LastInterfaceCall());
        client.ClearRecords();
        brisa.Open(IDC_DCC, [&](HWND dialog) {
            EXPECT_EQ(Sorted({c.nick, "bob", longNick}),
                      Sorted(ItemsOf(GetDlgItem(dialog, IDC_NICK_LIST))));
            SetText(GetDlgItem(dialog, IDC_NICK), c.nick);
            ClickItem(dialog, IDC_DCC_SEND);
        });
        EXPECT_EQ(Lines{"/dcc send " + c.nick + " " + brisa.WavDir() + "\\" + c.file},
                  client.Entered());
        EXPECT_EQ(Lines{"active"}, client.Raised());
        // A client whose code page lacks a character gets nothing; a prompt is left to edit.
        client.ClearRecords();
        brisa.WriteOptions(selector + "\r\nTagPrompt=1\r\nWAVDir=" + brisa.WavDir());
        brisa.Restart();
        brisa.TypeFileName("\U0001F514.wav");
        brisa.Click(IDC_SEND);
        const bool carried = c.client.wide && *c.version != '6';
        EXPECT_EQ(carried ? Lines() : Lines{Message(IDS_CLIENT_CANNOT_CARRY, {c.client.className})},
                  brisa.TakeMessageBoxes());
        std::string typed;
        client.Do([&](CModelClient& model) { typed = model.EditText(); });
        EXPECT_EQ(carried ? "/sound " + c.channel + " \U0001F514.wav - " : "", typed);
        EXPECT_EQ(Lines(), client.Entered());
    }
    CloseHandle(held);
}

TEST(Clients, AClientThatStallsFreezesOrAnswersLateIsNeverWaitedFor) {
    const std::string line = "/sound #chat ding.wav -plays Brisa: ding.wav";
    const UINT kPerform = WM_USER + 200;
    const struct {
        const char* client;
        bool hang, hangAfterEnter;
        UINT delayed; // the messages that wait, 0 for all of them
        DWORD delay;
        UINT message;
        Lines entered;
    } cases[] = {
        {"mIRC32", false, true, 0, 0, 0, {line}},
        {"mIRC32", true, false, 0, 0, IDS_CLIENT_NOT_ANSWERING, {}},
        {"mIRC32", false, false, WM_CHAR, 2000, IDS_CLIENT_ENTER_UNANSWERED, {line}},
        // Slow at every message: one deadline of about 3 s for them all.
        {"mIRC32", false, false, 0, 700, IDS_CLIENT_NOT_ANSWERING, {}},
        // Answered after Brisa stopped waiting: the line is still there, and the next one goes
        // by a mapping of another name.
        {"mIRC", false, false, kPerform, 2000, IDS_CLIENT_ENTER_UNANSWERED, {line}},
    };
    for (const auto& c : cases) {
        const bool current = std::string(c.client) == "mIRC";
        CImitationClient client({c.client, "#chat", {}, true, current});
        CBrisaHarness brisa(current ? "Client=1011\r\nFallBack=1" : "FallBack=1");
        client.SetFault(c.hangAfterEnter ? EFault::HangAfterEnter : EFault::None);
        client.Do([&](CModelClient& model) {
            model.SetDelay(c.delayed, c.delay);
            model.SetSoundsFolder("wave", brisa.WavDir());
        });
        if (c.hang)
            client.Hang();
        const ULONGLONG start = GetTickCount64();
        brisa.Click(IDC_SEND);
        EXPECT_LT(GetTickCount64() - start, c.delay == 700 ? 3300u : 2000u);
        EXPECT_EQ(c.message ? Lines{Message(c.message)} : Lines(), brisa.TakeMessageBoxes());
        client.Resume();
        EXPECT_LE(0, brisa.PumpUntil([&] { return client.Entered() == c.entered; }, 2500));
        if (c.delayed == kPerform) {
            const int lateMapping = std::stoi(client.LastInterfaceCall().substr(2));
            client.Do([](CModelClient& model) { model.SetDelay(0, 0); });
            brisa.Click(IDC_SEND);
            EXPECT_EQ((Lines{line, line}), client.Entered());
            EXPECT_EQ("9/" + std::to_string(lateMapping + 1), client.LastInterfaceCall());
            // Answered, the kept mapping is free again.
            brisa.Click(IDC_SEND);
            EXPECT_EQ("9/" + std::to_string(lateMapping), client.LastInterfaceCall());
        }
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
        // Typed, the first entry so begun is selected; "x" begins none.
        for (const auto& [typed, selected] : {std::pair{"BO", 2}, {"x", 2}, {"A", 0}}) {
            SetText(nick, typed);
            EXPECT_EQ(selected, SendMessageW(list, LB_GETCURSEL, 0, 0)) << typed;
        }
        // A long one from the list shows whole; Send warns, sends it all, and comes to the top.
        select(0);
        EXPECT_EQ("abcdefghijkl", TextOf(nick));
        EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
        SetWindowPos(client->TopLevel(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ClickItem(dialog, IDC_DCC_SEND);
        EXPECT_EQ(Lines{Message(AFX_IDP_PARSE_STRING_SIZE, {"10"})}, brisa.TakeMessageBoxes());
        EXPECT_EQ(Lines{"/dcc send abcdefghijkl " + brisa.WavDir() + ding}, client->Entered());
        EXPECT_EQ(dialog, GetTopWindow(nullptr));
        // A hand edit of the profile counts from the next send on.
        brisa.WriteOptions("WAVDir=" + other);
        select(2);
        ClickItem(dialog, IDC_DCC_SEND);
        EXPECT_EQ("/dcc send bob " + other + ding, client->Entered().back());
        // A client whose every read fails leaves the names copied, and nothing made up.
        client->SetFault(EFault::BogusCount);
        ClickItem(dialog, IDC_NICK_REFRESH);
        client->SetFault(EFault::None);
        EXPECT_EQ(Lines{Message(IDS_NICKNAMES_CUT)}, brisa.TakeMessageBoxes());
        EXPECT_EQ((Lines{"abcdefghijkl", "alice", "bob"}), ItemsOf(list));
        EXPECT_TRUE(IsWindowEnabled(send));
        // Gone, Refresh disables Send; back, a double-click enables it and sends.
        client.reset();
        ClickItem(dialog, IDC_NICK_REFRESH);
        Notify(list, LBN_DBLCLK);
        EXPECT_FALSE(IsWindowEnabled(send));
        client = std::make_unique<CImitationClient>(CModelClient::Options{"mIRC32"});
        select(1);
        Notify(list, LBN_DBLCLK);
        EXPECT_TRUE(IsWindowEnabled(send));
        EXPECT_EQ(Lines{"/dcc send alice " + other + ding}, client->Entered());
    });
    EXPECT_TRUE(IsWindow(brisa.Main())); // Close on Send is not for DCC
    EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
}
