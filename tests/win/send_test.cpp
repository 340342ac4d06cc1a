// Send in this process, against the imitation IRC client on its own thread: the "/sound" lines it
// has the client enter, what it raises, and how it copes with a client that stalls or is shaped
// differently.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

namespace {

using EFault = CImitationClient::EFault;
using EStep = CImitationClient::EStep;

TEST(SendCommand, AnnouncesTheNameBoxToTheChannelOfTheActiveWindow) {
    const std::string longText(5000, 'x');
    const struct {
        std::string title;
        const char* typed; // into the name box first, unless empty
        std::string line;  // empty: not a channel window
        bool latin;        // an ANSI client in code page 1252 holds its text
    } cases[] = {
        {"#chat [+nt]: hello", "", "/sound #chat ding.wav -plays Brisa: ding.wav", true},
        {"#big " + longText, "", "/sound #big ding.wav -plays Brisa: ding.wav", true},
        {"#" + longText, "", "", true}, // read in part: its name may be cut
        {"Status", "", "", true},
        // "oth" selects other.wav, but Send takes what was typed.
        {"#chat", "oth", "/sound #chat oth -plays Brisa: oth", true},
        {"#chat", "my sound.wav", "/sound #chat \"my sound.wav\" -plays Brisa: my sound.wav", true},
        {"#café", "Été.wav", "/sound #café Été.wav -plays Brisa: Été.wav", true},
        {"#чат: Привет", "ベル\U0001F514.wav",
         "/sound #чат ベル\U0001F514.wav -plays Brisa: ベル\U0001F514.wav", false},
    };
    for (const bool wide : {true, false}) {
        CImitationClient client("mIRC32", "#chat", {"nick"}, wide);
        CBrisaHarness brisa;
        for (const auto& c : cases) {
            if (!wide && !c.latin)
                continue;
            SCOPED_TRACE(c.title.substr(0, 20) + " " + c.typed + (wide ? "" : " ANSI"));
            client.SetTitle(c.title);
            client.SetEditText("half typed");
            client.ClearRecords();
            if (*c.typed)
                brisa.TypeFileName(c.typed);
            brisa.Click(IDC_SEND);
            const bool channel = !c.line.empty();
            EXPECT_EQ(channel ? Lines() : Lines{Message(IDS_CHANNEL_NOT_ACTIVE)},
                      brisa.TakeMessageBoxes());
            EXPECT_EQ(channel ? "" : "half typed", client.EditText());
            EXPECT_EQ(channel ? Lines{c.line} : Lines(), client.EnteredLines());
            EXPECT_EQ(Lines(), client.RaisedWindows());
        }
        EXPECT_EQ(0, client.NickListReads());
    }
}

TEST(SendCommand, PromptFallBackAndCloseOnSendAndAClientThatStallsIsNeverWaitedFor) {
    const std::string enterUnanswered = Message(IDS_CLIENT_ENTER_UNANSWERED);
    const struct {
        const char* options;
        EFault fault;
        bool entered; // otherwise the prompted line waits in the edit line
        bool raised;  // the client's top-level window
        bool closes;
        Lines boxes;
    } cases[] = {
        {"", EFault::None, true, false, false, {}},
        {"FallBack=1", EFault::None, true, true, false, {}},
        {"SendClose=1", EFault::None, true, false, true, {}},
        {"TagPrompt=1\r\nTagText=unused @", EFault::None, false, true, false, {}},
        {"TagPrompt=2\r\nSendClose=1", EFault::None, false, true, true, {}},
        // The client stops or stalls; Brisa goes on at once, and says what is true.
        {"FallBack=1", EFault::HangAfterEnter, true, true, false, {}},
        {"TagPrompt=1", EFault::HangAfterCaret, false, true, false, {}},
        {"SendClose=1", EFault::SlowEnter, true, false, false, {enterUnanswered}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        CImitationClient client;
        CBrisaHarness brisa(c.options);
        client.SetFault(c.fault);
        const ULONGLONG start = GetTickCount64();
        brisa.Click(IDC_SEND);
        EXPECT_LT(GetTickCount64() - start, 2000u);
        EXPECT_EQ(c.boxes, brisa.TakeMessageBoxes());
        EXPECT_EQ(!c.closes, brisa.PumpMessages()); // a close was posted, and the main window is gone
        client.Resume();
        EXPECT_EQ(c.raised ? Lines{"top"} : Lines(), client.RaisedWindows()); // waits for it
        EXPECT_EQ(c.entered ? Lines{"/sound #chat ding.wav -plays Brisa: ding.wav"} : Lines(),
                  client.EnteredLines());
        EXPECT_EQ(c.entered ? "" : "/sound #chat ding.wav - ", client.EditText());
    }
}

TEST(SendCommand, AWindowMissingOnThePathGetsNothingTypedAndAMessage) {
    CBrisaHarness brisa;
    for (const EStep step : {EStep::FirstChild, EStep::SecondChild, EStep::ActiveWindow,
                             EStep::EditLine, EStep::NickList}) {
        const bool typed = step == EStep::NickList; // Send never needs the nickname list
        CImitationClient client;
        client.RemoveWindow(step);
        brisa.Click(IDC_REFRESH);
        EXPECT_TRUE(brisa.Click(IDC_SEND)); // the client is there, however it is shaped
        EXPECT_EQ(typed ? Lines() : Lines{Message(IDS_CLIENT_NO_EDIT_LINE, {"mIRC32"})}, brisa.TakeMessageBoxes());
        EXPECT_EQ(typed ? Lines{"/sound #chat ding.wav -plays Brisa: ding.wav"} : Lines(),
                  client.EnteredLines());
    }
}

} // namespace
