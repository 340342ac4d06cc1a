// Today's mIRC (class "mIRC"): Brisa reaches it through the interface it documents, in UTF-16 for
// version 7 and in the system's ANSI code page for version 6, and through its windows, found by
// class, when that interface is switched off.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

Lines Sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

TEST(CurrentClient, SendPromptAndDccSendGoThroughEachWayIn) {
    const struct {
        const char* way;
        const char* version; // "": the interface is switched off
        const char *channel, *file, *nick;
        const char* lastCall; // by the interface: method 1 for a line, with 8 for UTF-16
    } cases[] = {
        {"interface, UTF-16", "7.72", "#чат", "ベル.wav", "Влад", "9/0"},
        {"interface, ANSI", "6.35", "#café", "Été.wav", "Zoë", "1/0"},
        {"windows found by class", "", "#чат", "ベル.wav", "山田", "0/0"}, // $version refused
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.way);
        for (const char* options : {"FallBack=1", "TagPrompt=1"}) {
            const bool prompt = options[0] == 'T';
            CImitationClient client("mIRC", std::string(c.channel) + " [+nt]: hello",
                                    {"@" + std::string(c.nick), "+bob"}, true, true);
            client.SetInterface(c.version);
            CBrisaHarness brisa(std::string("Client=1011\r\n") + options, {c.file});
            brisa.Click(IDC_SEND);
            const std::string line = "/sound " + std::string(c.channel) + " " + c.file +
                                     (prompt ? " - " : std::string(" -plays Brisa: ") + c.file);
            EXPECT_EQ(prompt ? Lines() : Lines{line}, client.EnteredLines());
            EXPECT_EQ(prompt ? line : "", client.EditText());
            EXPECT_EQ(Lines{"top"}, client.RaisedWindows());
            EXPECT_EQ(c.lastCall, client.LastInterfaceCall());
            if (prompt)
                continue;
            client.ClearRecords();
            DuringModal([&] { brisa.Click(IDC_DCC); },
                        [&](HWND dialog) {
                            EXPECT_EQ(Sorted({c.nick, "bob"}),
                                      Sorted(ItemsOf(GetDlgItem(dialog, IDC_NICK_LIST))));
                            SetDlgItemTextA(dialog, IDC_NICK, c.nick);
                            ClickItem(dialog, IDC_DCC_SEND);
                            ClickItem(dialog, IDCANCEL);
                        });
            EXPECT_EQ(
                Lines{"/dcc send " + std::string(c.nick) + " " + brisa.WavDir() + "\\" + c.file},
                client.EnteredLines());
            EXPECT_EQ(Lines{"active"}, client.RaisedWindows());
            client.SetTitle("Status");
            brisa.Click(IDC_SEND);
            EXPECT_EQ(Lines{"Brisa: Sorry, channel window not active"}, brisa.TakeMessageBoxes());
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
    // No interface and no edit line where the windows should have one; a frozen client.
    const std::string noEditLine = "Brisa: Brisa cannot find the command line of the IRC client "
                                   "(mIRC): its windows are not laid out as Brisa knows them. "
                                   "Nothing was typed.";
    const std::string frozen =
        "Brisa: The IRC client does not answer. Nothing more was typed into it.";
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
        EXPECT_EQ(Lines{hang ? frozen : noEditLine}, brisa.TakeMessageBoxes());
        client.Resume();
        EXPECT_EQ(Lines(), client.EnteredLines());
    }
}

} // namespace
