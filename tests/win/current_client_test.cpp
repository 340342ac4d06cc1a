// Today's mIRC (class "mIRC"): Brisa reaches it through the interface it documents, in UTF-16 for
// version 7 and in the system's ANSI code page for version 6, and through its windows, found by
// class, when that interface is switched off.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

namespace {

TEST(CurrentClient, SendPromptAndDccSendGoThroughEachWayIn) {
    const struct {
        const char* version; // "": the interface is switched off
        std::string channel, file, nick;
        const char* lastCall; // of the interface: method 1 for a line, with 8 for UTF-16
    } cases[] = {
        {"7.72", "#чат", "ベル.wav", "Влад", "9/0"},
        {"6.35", "#café", "Été.wav", "Zoë", "1/0"},
        {"", "#чат", "ベル.wav", "山田", "0/0"}, // $version refused: the windows, found by class
    };
    for (const auto& c : cases) {
        for (const bool prompt : {false, true}) {
            SCOPED_TRACE(std::string(c.version) + (prompt ? " prompt" : ""));
            CImitationClient client("mIRC", c.channel + " [+nt]: hello", {"@" + c.nick, "+bob"},
                                    true, true);
            client.SetInterface(c.version);
            CBrisaHarness brisa(prompt ? "Client=1011\r\nTagPrompt=1" : "Client=1011\r\nFallBack=1",
                                {c.file});
            brisa.Click(IDC_SEND);
            const std::string line = "/sound " + c.channel + " " + c.file +
                                     (prompt ? " - " : " -plays Brisa: " + c.file);
            EXPECT_EQ(prompt ? Lines() : Lines{line}, client.EnteredLines());
            EXPECT_EQ(prompt ? line : "", client.EditText());
            EXPECT_EQ(Lines{"top"}, client.RaisedWindows());
            EXPECT_EQ(c.lastCall, client.LastInterfaceCall());
            if (prompt)
                continue;
            client.ClearRecords();
            brisa.Open(IDC_DCC, [&](HWND dialog) {
                EXPECT_EQ(Sorted({c.nick, "bob"}),
                          Sorted(ItemsOf(GetDlgItem(dialog, IDC_NICK_LIST))));
                SetText(GetDlgItem(dialog, IDC_NICK), c.nick);
                ClickItem(dialog, IDC_DCC_SEND);
                ClickItem(dialog, IDCANCEL);
            });
            EXPECT_EQ(Lines{"/dcc send " + c.nick + " " + brisa.WavDir() + "\\" + c.file},
                      client.EnteredLines());
            EXPECT_EQ(Lines{"active"}, client.RaisedWindows());
            client.SetTitle("Status");
            brisa.Click(IDC_SEND);
            EXPECT_EQ(Lines{Message(IDS_CHANNEL_NOT_ACTIVE)}, brisa.TakeMessageBoxes());
        }
    }
}

TEST(CurrentClient, AMappingNameInUseOrAClientShapedOtherwiseOrFrozen) {
    // Another program holds the name "mIRC": Brisa takes the next.
    const HANDLE held =
        CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, 4096, "mIRC");
    {
        CImitationClient client("mIRC", "#chat", {}, true, true);
        CBrisaHarness brisa("Client=1011");
        brisa.Click(IDC_SEND);
        EXPECT_EQ(Lines{"/sound #chat ding.wav -plays Brisa: ding.wav"}, client.EnteredLines());
        EXPECT_EQ("9/1", client.LastInterfaceCall());
    }
    CloseHandle(held);
    {
        // The bars turned off, the old path leads to the channel's display, which is no edit
        // line: the one found by class takes the line.
        CImitationClient client("mIRC", "#chat", {}, true, true);
        client.SetInterface("");
        client.TurnOffBars();
        CBrisaHarness brisa("Client=1011");
        brisa.Click(IDC_SEND);
        EXPECT_EQ(Lines{"/sound #chat ding.wav -plays Brisa: ding.wav"}, client.EnteredLines());
    }
    // No interface and no edit line where the windows should have one; a frozen client.
    for (const bool hang : {false, true}) {
        CImitationClient client("mIRC", "#chat", {}, true, true);
        if (hang) {
            client.Hang();
        } else {
            client.SetInterface("");
            client.RemoveWindow(CImitationClient::EStep::EditLine);
        }
        CBrisaHarness brisa("Client=1011");
        brisa.Click(IDC_SEND);
        EXPECT_EQ(Lines{hang ? Message(IDS_CLIENT_NOT_ANSWERING)
                                : Message(IDS_CLIENT_NO_EDIT_LINE, {"mIRC"})},
                  brisa.TakeMessageBoxes());
        client.Resume();
        EXPECT_EQ(Lines(), client.EnteredLines());
    }
}

} // namespace
