// Today's mIRC (class "mIRC"): Brisa reaches it through the interface it documents, in UTF-16 for
// version 7 and in the system's ANSI code page for version 6, and through its windows, found by
// class, when that interface is switched off.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

#include <algorithm>

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
            client.SetSoundsFolder("wave", brisa.WavDir());
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

// The lines the client has entered once it has entered that many, or after 2.5 s.
Lines EnteredOnceThere(const CImitationClient& client, std::size_t count) {
    const ULONGLONG deadline = GetTickCount64() + 2500;
    while (client.EnteredLines().size() < count && GetTickCount64() < deadline)
        Sleep(20);
    return client.EnteredLines();
}

TEST(CurrentClient, ALateSlowOrRefusingClientGetsEachLineOnceAndBrisaSaysWhatHappened) {
    const std::string line = "/sound #chat ding.wav -plays Brisa: ding.wav";
    const UINT kMCommand = WM_USER + 200;
    const struct {
        const char* version;
        UINT delayed; // the messages that wait, 0 for all of them
        DWORD delay;
        int refuseAfter;
        const char* file;
        Lines entered;
        UINT message;
    } cases[] = {
        // Answered after Brisa stopped waiting, the line is still there for the client to find.
        {"7.72", kMCommand, 2000, -1, "ding.wav", {line}, IDS_CLIENT_ENTER_UNANSWERED},
        // Slow at every message: one deadline for them all, about 3 s.
        {"7.72", 0, 900, -1, "ding.wav", {line}, IDS_CLIENT_ENTER_UNANSWERED},
        // Carried out, then answered as failed: not typed again through the windows.
        {"7.72", 0, 0, 3, "ding.wav", {line}, IDS_CLIENT_REFUSED},
        {"7.72", 0, 0, 1, "ding.wav", {}, IDS_CLIENT_REFUSED}, // $active refused
        // Version 6 reads its ANSI code page, which lacks characters of the line.
        {"6.35", 0, 0, -1, "ベル.wav", {}, IDS_CLIENT_CANNOT_CARRY},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.delay) + " " + std::to_string(c.refuseAfter) + " " + c.file);
        CImitationClient client("mIRC", "#chat", {}, true, true);
        client.SetInterface(c.version);
        client.SetDelay(c.delayed, c.delay);
        client.RefuseInterfaceAfter(c.refuseAfter);
        CBrisaHarness brisa("Client=1011", {c.file});
        client.SetSoundsFolder("wave", brisa.WavDir());
        const ULONGLONG start = GetTickCount64();
        brisa.Click(IDC_SEND);
        EXPECT_LT(GetTickCount64() - start, 3300u);
        const std::string mapping = client.LastInterfaceCall().substr(2);
        EXPECT_EQ(Lines{Message(c.message, {"mIRC"})}, brisa.TakeMessageBoxes());
        EXPECT_EQ(c.entered, EnteredOnceThere(client, c.entered.size() + 1));
        if (!c.delay)
            continue;
        // The mapping the late answer read stays reserved: the next line goes by the next name.
        client.SetDelay(0, 0);
        brisa.Click(IDC_SEND);
        EXPECT_EQ((Lines{line, line}), client.EnteredLines());
        EXPECT_EQ("9/" + std::to_string(std::stoi(mapping) + 1), client.LastInterfaceCall());
    }
    // A copy of the nicknames refused part-way keeps what was read, and says so.
    CImitationClient client("mIRC", "#chat", {"a", "b", "c"}, true, true);
    client.RefuseInterfaceAfter(4); // $version, the count, and two nicknames
    CBrisaHarness brisa("Client=1011");
    brisa.Open(IDC_DCC, [&](HWND dialog) {
        EXPECT_EQ((Lines{"a", "b"}), ItemsOf(GetDlgItem(dialog, IDC_NICK_LIST)));
        ClickItem(dialog, IDCANCEL);
    });
    EXPECT_EQ(Lines{Message(IDS_NICKNAMES_REFUSED)}, brisa.TakeMessageBoxes());
}

TEST(CurrentClient, TheSoundLineNamesByItsPathAFileOutsideTheClientsSoundsFolder) {
    CImitationClient client("mIRC", "#chat", {}, true, true);
    CBrisaHarness brisa("Client=1011", {"ding.wav", "door bell.mp3"});
    const std::string wav = brisa.WavDir();
    std::string upper = wav;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    const struct {
        std::string waveFolder; // the client's, for WAVE files; it gives none for MP3 files
        const char* file;
        std::string named;
    } cases[] = {
        // The folder itself, however its letters and its end are written, and a folder above it,
        // which the client searches too: the file goes by its name.
        {upper + "\\", "ding.wav", "ding.wav"},
        {brisa.PathOf(""), "ding.wav", "ding.wav"},
        // A folder whose name only begins alike, none, or none for the file's kind: its path.
        {wav.substr(0, wav.size() - 1), "ding.wav", wav + "\\ding.wav"},
        {"", "ding.wav", wav + "\\ding.wav"},
        {wav, "door bell.mp3", "\"" + wav + "\\door bell.mp3\""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.waveFolder + " " + c.file);
        client.SetSoundsFolder("wave", c.waveFolder);
        client.ClearRecords();
        brisa.TypeFileName(c.file);
        brisa.Click(IDC_SEND);
        EXPECT_EQ(Lines{"/sound #chat " + c.named + " -plays Brisa: " + c.file},
                  client.EnteredLines());
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
        EXPECT_EQ(Lines{"/sound #chat " + brisa.WavDir() + "\\ding.wav -plays Brisa: ding.wav"},
                  client.EnteredLines());
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
