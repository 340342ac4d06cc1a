// Send in this process, against the imitation IRC client on its own thread: the "/sound" lines
// it has the client enter, what it raises, and how it copes with a client that is frozen or
// shaped differently.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;
using EStep = CImitationClient::EStep;

std::string SoundLine(const std::string& channel, const std::string& file = "ding.wav") {
    const bool quoted = file.find(' ') != std::string::npos;
    return "/sound " + channel + (quoted ? " \"" + file + "\"" : " " + file) +
           " -plays Brisa: " + file;
}

TEST(SendCommand, AnnouncesTheNameBoxToTheChannelOfTheActiveWindow) {
    for (const bool wide : {true, false}) {
        SCOPED_TRACE(wide ? "wide client" : "ANSI client");
        CImitationClient client("mIRC32", "#chat", {"nick"}, wide);
        CBrisaHarness brisa("TagText=-plays Brisa: @");
        const std::string longText(5000, 'x');
        const struct {
            std::string title;
            const char* typed;   // into the name box first, unless empty
            std::string channel; // empty: not a channel window
        } cases[] = {
            {"#chat [+nt]: hello", "", "#chat"},
            {"&local", "", "&local"},
            {"#:", "", "#"},
            {"#big " + longText, "", "#big"},
            {"#" + longText, "", ""}, // read in part: its name may be cut
            {"+modeless", "", "+modeless"},
            {"Status", "", ""},
            {"", "", ""},
            {"#chat", "oth", "#chat"}, // selects other.wav, but Send takes what was typed
            {"#chat", "my sound.wav", "#chat"},
            {"#чат: Привет", "ベル.wav", "#чат"},
            {"#\U0001F514", "Łódź.wav", "#\U0001F514"},
        };
        std::string file = "ding.wav";
        for (const auto& c : cases) {
            SCOPED_TRACE(c.title.substr(0, 20) + " " + c.typed);
            client.SetTitle(c.title);
            client.SetEditText("half typed");
            client.ClearRecords();
            if (*c.typed)
                brisa.TypeFileName(file = c.typed);
            brisa.Click(IDC_SEND);
            if (c.channel.empty()) {
                EXPECT_EQ(Lines{"Brisa: Sorry, channel window not active"},
                          brisa.TakeMessageBoxes());
                EXPECT_EQ("half typed", client.EditText());
                EXPECT_EQ(Lines(), client.EnteredLines());
            } else {
                EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
                EXPECT_EQ(Lines{SoundLine(c.channel, file)}, client.EnteredLines());
                EXPECT_EQ("", client.EditText());
            }
            EXPECT_EQ(Lines(), client.RaisedWindows());
        }
        EXPECT_EQ(0, client.NickTextReads());
    }
}

TEST(SendCommand, PromptFallBackAndCloseOnSend) {
    const struct {
        const char* options;
        bool entered; // otherwise the prompted line waits in the edit line
        bool raised;  // the client's top-level window
        bool closes;
    } cases[] = {
        {"", true, false, false},
        {"FallBack=1", true, true, false},
        {"FallBack=2\r\nSendClose=2", true, true, false},
        {"SendClose=1", true, false, true},
        {"TagPrompt=1\r\nTagText=unused @", false, true, false},
        {"TagPrompt=2\r\nSendClose=1", false, true, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        CImitationClient client;
        CBrisaHarness brisa(c.options);
        brisa.Click(IDC_SEND);
        EXPECT_EQ(!c.closes, brisa.Pump()); // a close was posted, and the main window is gone
        EXPECT_EQ(!c.closes, IsWindow(brisa.Main()) != FALSE);
        EXPECT_EQ(c.entered ? Lines{SoundLine("#chat")} : Lines(), client.EnteredLines());
        EXPECT_EQ(c.entered ? "" : "/sound #chat ding.wav - ", client.EditText());
        EXPECT_EQ(c.raised ? Lines{"top"} : Lines(), client.RaisedWindows());
    }
}

TEST(SendCommand, AClientThatStopsOrStallsIsNeverWaitedFor) {
    using EFault = CImitationClient::EFault;
    const std::string enterUnanswered =
        "Brisa: The IRC client does not answer. The line was typed into it and may still be "
        "entered when the client answers again.";
    const struct {
        const char* options;
        EFault fault;
        Lines boxes, entered, raised;
        bool closes;
    } cases[] = {
        {"FallBack=1", EFault::HangAfterEnter, {}, {SoundLine("#chat")}, {"top"}, false},
        {"TagPrompt=1", EFault::HangAfterCaret, {}, {}, {"top"}, false},
        {"SendClose=1", EFault::SlowEnter, {enterUnanswered}, {SoundLine("#chat")}, {}, false},
    };
    for (const auto& c : cases) {
        CImitationClient client;
        CBrisaHarness brisa(c.options);
        client.SetFault(c.fault);
        const ULONGLONG start = GetTickCount64();
        brisa.Click(IDC_SEND);
        EXPECT_LT(GetTickCount64() - start, 2000u) << c.options;
        EXPECT_EQ(c.boxes, brisa.TakeMessageBoxes());
        EXPECT_EQ(!c.closes, brisa.Pump());
        client.Resume();
        EXPECT_EQ(c.raised, client.RaisedWindows()); // also waits for the stalled client
        EXPECT_EQ(c.entered, client.EnteredLines());
    }
}

TEST(SendCommand, FrozenClientIsReportedAndNothingMoreIsTyped) {
    CImitationClient client;
    CBrisaHarness brisa;
    client.SetEditText("half typed");
    client.Hang();
    for (int attempt = 0; attempt < 2; ++attempt) {
        const ULONGLONG start = GetTickCount64();
        brisa.Click(IDC_SEND);
        EXPECT_LT(GetTickCount64() - start, 4000u);
        EXPECT_EQ(Lines{"Brisa: The IRC client does not answer. Nothing more was typed into it."},
                  brisa.TakeMessageBoxes());
    }
    client.Resume();
    EXPECT_EQ("half typed", client.EditText());
    EXPECT_EQ(Lines(), client.EnteredLines());
}

TEST(SendCommand, WindowMissingOnThePathTypesNothingAndSaysSo) {
    CBrisaHarness brisa;
    for (const EStep step : {EStep::FirstChild, EStep::SecondChild, EStep::ActiveWindow,
                             EStep::EditLine, EStep::NickList}) {
        const bool typed = step == EStep::NickList; // Send never needs the nickname list
        CImitationClient client;
        client.RemoveWindow(step);
        brisa.Click(IDC_REFRESH);
        EXPECT_TRUE(brisa.Click(IDC_SEND)); // the client is there, however it is shaped
        EXPECT_EQ(typed ? Lines()
                        : Lines{"Brisa: Brisa cannot find the command line of the IRC client "
                                "(mIRC32): its windows are not laid out as Brisa knows them. "
                                "Nothing was typed."},
                  brisa.TakeMessageBoxes());
        EXPECT_EQ(typed ? Lines{SoundLine("#chat")} : Lines(), client.EnteredLines());
    }
}

} // namespace
