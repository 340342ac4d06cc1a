// Send in this process, against the imitation IRC client on its own thread: the "/sound" lines it
// has the client enter, what it raises, and how it copes with a client that stalls or is shaped
// differently.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

namespace {

using EFault = CImitationClient::EFault;
using EStep = CImitationClient::EStep;

std::string SoundLine(const std::string& channel, const std::string& file = "ding.wav") {
    const std::string field = file.find(' ') == std::string::npos ? file : '"' + file + '"';
    return "/sound " + channel + " " + field + " -plays Brisa: " + file;
}

TEST(SendCommand, AnnouncesTheNameBoxToTheChannelOfTheActiveWindow) {
    const std::string longText(5000, 'x');
    const struct {
        std::string title;
        const char* typed;   // into the name box first, unless empty
        std::string channel; // empty: not a channel window
    } cases[] = {
        {"#chat [+nt]: hello", "", "#chat"},
        {"#big " + longText, "", "#big"},
        {"#" + longText, "", ""}, // read in part: its name may be cut
        {"Status", "", ""},
        {"#chat", "oth", "#chat"}, // selects other.wav, but Send takes what was typed
        {"#chat", "my sound.wav", "#chat"},
        {"#чат: Привет", "ベル.wav", "#чат"},
        {"#\U0001F514", "Łódź.wav", "#\U0001F514"},
    };
    for (const bool wide : {true, false}) {
        CImitationClient client("mIRC32", "#chat", {"nick"}, wide);
        CBrisaHarness brisa("TagText=-plays Brisa: @");
        std::string file = "ding.wav";
        for (const auto& c : cases) {
            SCOPED_TRACE(c.title.substr(0, 20) + " " + c.typed + (wide ? "" : " ANSI"));
            client.SetTitle(c.title);
            client.SetEditText("half typed");
            client.ClearRecords();
            if (*c.typed)
                brisa.TypeFileName(file = c.typed);
            brisa.Click(IDC_SEND);
            const bool channel = !c.channel.empty();
            EXPECT_EQ(channel ? Lines() : Lines{kNotAChannel}, brisa.TakeMessageBoxes());
            EXPECT_EQ(channel ? "" : "half typed", client.EditText());
            EXPECT_EQ(channel ? Lines{SoundLine(c.channel, file)} : Lines(), client.EnteredLines());
            EXPECT_EQ(Lines(), client.RaisedWindows());
        }
        EXPECT_EQ(0, client.NickListReads());
    }
}

TEST(SendCommand, PromptFallBackAndCloseOnSendAndAClientThatStallsIsNeverWaitedFor) {
    const std::string enterUnanswered =
        "Brisa: The IRC client does not answer. The line was typed into it and may still be "
        "entered when the client answers again.";
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
        EXPECT_EQ(!c.closes, brisa.Pump()); // a close was posted, and the main window is gone
        client.Resume();
        EXPECT_EQ(c.raised ? Lines{"top"} : Lines(), client.RaisedWindows()); // waits for it
        EXPECT_EQ(c.entered ? Lines{SoundLine("#chat")} : Lines(), client.EnteredLines());
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
        EXPECT_EQ(typed ? Lines() : Lines{NoEditLineMessage("mIRC32")}, brisa.TakeMessageBoxes());
        EXPECT_EQ(typed ? Lines{SoundLine("#chat")} : Lines(), client.EnteredLines());
    }
}

} // namespace
