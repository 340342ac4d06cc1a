// Send in this process, against the imitation IRC client on its own thread: the "/sound" lines it
// has the client enter, what it raises, and how it copes with a client that stalls.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

namespace {

using EFault = CImitationClient::EFault;

TEST(SendCommand, AnnouncesTheNameBoxToTheChannelOfTheActiveWindow) {
    const std::string longText(5000, 'x');
    const struct {
        std::string title;
        const char* typed; // into the name box first, unless null
        std::string line;  // empty: nothing typed
        UINT message;      // what Brisa says instead
        bool latin;        // an ANSI client in code page 1252 holds the line
    } cases[] = {
        {"#chat [+nt]: hello", nullptr, "/sound #chat ding.wav -plays Brisa: ding.wav", 0, true},
        {"#big " + longText, nullptr, "/sound #big ding.wav -plays Brisa: ding.wav", 0, true},
        {"#" + longText, nullptr, "", IDS_CHANNEL_NOT_ACTIVE, true}, // its name may be cut
        {"Status", nullptr, "", IDS_CHANNEL_NOT_ACTIVE, true},
        // "oth" selects other.wav, but Send takes what was typed.
        {"#chat", "oth", "/sound #chat oth -plays Brisa: oth", 0, true},
        {"#chat", "", "", IDS_NO_SOUND_NAME, true},
        {"#chat", "my sound.wav", "/sound #chat \"my sound.wav\" -plays Brisa: my sound.wav", 0,
         true},
        {"#café", "Été.wav", "/sound #café Été.wav -plays Brisa: Été.wav", 0, true},
        {"#чат: Привет", "ベル\U0001F514.wav",
         "/sound #чат ベル\U0001F514.wav -plays Brisa: ベル\U0001F514.wav", 0, false},
    };
    for (const bool wide : {true, false}) {
        CImitationClient client("mIRC32", "#chat", {"nick"}, wide);
        CBrisaHarness brisa;
        for (const auto& c : cases) {
            SCOPED_TRACE(c.title.substr(0, 20) + " " + (c.typed ? c.typed : "") +
                         (wide ? "" : " ANSI"));
            client.SetTitle(c.title);
            client.SetEditText("half typed");
            client.ClearRecords();
            if (c.typed)
                brisa.TypeFileName(c.typed);
            brisa.Click(IDC_SEND);
            // The ANSI client's code page lacks characters of the line: it is not typed.
            const bool typed = !c.line.empty() && (wide || c.latin);
            const UINT message = typed || c.message ? c.message : IDS_CLIENT_CANNOT_CARRY;
            EXPECT_EQ(message ? Lines{Message(message, {"mIRC32"})} : Lines(),
                      brisa.TakeMessageBoxes());
            EXPECT_EQ(typed ? "" : "half typed", client.EditText());
            EXPECT_EQ(typed ? Lines{c.line} : Lines(), client.EnteredLines());
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
        DWORD enterDelay;
        bool entered; // otherwise the prompted line waits in the edit line
        bool raised;  // the client's top-level window
        bool closes;
        Lines boxes;
    } cases[] = {
        {"", EFault::None, 0, true, false, false, {}},
        {"FallBack=1", EFault::None, 0, true, true, false, {}},
        {"SendClose=1", EFault::None, 0, true, false, true, {}},
        {"TagPrompt=1\r\nTagText=unused @", EFault::None, 0, false, true, false, {}},
        {"TagPrompt=2\r\nSendClose=1", EFault::None, 0, false, true, true, {}},
        // The client stops or stalls; Brisa goes on at once, and says what is true.
        {"FallBack=1", EFault::HangAfterEnter, 0, true, true, false, {}},
        {"TagPrompt=1", EFault::HangAfterCaret, 0, false, true, false, {}},
        {"SendClose=1", EFault::None, 2500, true, false, false, {enterUnanswered}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        CImitationClient client;
        CBrisaHarness brisa(c.options);
        client.SetFault(c.fault);
        client.SetDelay(WM_CHAR, c.enterDelay);
        const ULONGLONG start = GetTickCount64();
        brisa.Click(IDC_SEND);
        EXPECT_LT(GetTickCount64() - start, 2000u);
        EXPECT_EQ(c.boxes, brisa.TakeMessageBoxes());
        EXPECT_EQ(!c.closes,
                  brisa.PumpMessages()); // a close was posted, and the main window is gone
        client.Resume();
        EXPECT_EQ(c.raised ? Lines{"top"} : Lines(), client.RaisedWindows()); // waits for it
        EXPECT_EQ(c.entered ? Lines{"/sound #chat ding.wav -plays Brisa: ding.wav"} : Lines(),
                  client.EnteredLines());
        EXPECT_EQ(c.entered ? "" : "/sound #chat ding.wav - ", client.EditText());
    }
}

} // namespace
