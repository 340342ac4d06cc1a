// The real Brisa.exe, for what only the program itself shows: where its settings live, start-up
// and exit, Play through winmm, lines typed into a client in another process, and a frozen client.
#include "brisa_process.h"
#include "imitation_client.h"
#include "resource.h"

#include <gtest/gtest.h>

namespace {

std::string WindowsDirIni() {
    char folder[MAX_PATH] = {};
    GetWindowsDirectoryA(folder, sizeof folder);
    return std::string(folder) + "\\Brisa.INI";
}

// A folder holding one WAV file named after the folder, and the INI text naming it.
std::string SoundFolder(const CBrisaProcess& brisa, const std::string& name) {
    CreateDirectoryA(brisa.PathOf(name).c_str(), nullptr);
    WriteFileText(brisa.PathOf(name + "\\" + name + ".wav"), "RIFF");
    return "[Options]\r\nWAVDir=" + brisa.PathOf(name) + "\r\n";
}

TEST(EndToEnd, SettingsLiveBesideTheProgramElseInTheUsersFolder) {
    const struct {
        bool beside, older, user; // where a Brisa.INI is before the start
        bool userFolder;          // Brisa's folder in the user's is there (not the first start)
        const char* listed;       // whose folder Brisa lists
        bool userAfter;           // the user's file exists afterwards
        const char* appData;
    } cases[] = {
        {true, true, true, true, "beside.wav", true, "appdata"},
        {false, false, false, false, "", false, "appdata"},
        {false, true, false, false, "older.wav", true, "Łukasz"},
        {false, true, true, true, "user.wav", true, "appdata"},
        {false, true, false, true, "", false, "appdata"}, // the user deleted the file to reset
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.listed);
        CBrisaProcess brisa;
        const std::string appData = brisa.PathOf(c.appData);
        const std::string userIni = appData + "\\Brisa\\Brisa.INI";
        CreateDirectoryA(appData.c_str(), nullptr);
        if (c.beside)
            WriteFileText(brisa.PathOf("Brisa.INI"), SoundFolder(brisa, "beside"));
        if (c.older)
            WriteFileText(WindowsDirIni(), SoundFolder(brisa, "older"));
        if (c.userFolder)
            CreateDirectoryA((appData + "\\Brisa").c_str(), nullptr);
        if (c.user)
            WriteFileText(userIni, SoundFolder(brisa, "user"));
        SetEnvironmentVariableA("APPDATA", appData.c_str());
        ASSERT_TRUE(brisa.Start());
        EXPECT_EQ(c.listed, TextOfWindow(brisa.Item(IDC_FILE_NAME)));
        EXPECT_EQ(c.userAfter, GetFileAttributesA(userIni.c_str()) != INVALID_FILE_ATTRIBUTES);
        DeleteFileA(WindowsDirIni().c_str());
    }
}

TEST(EndToEnd, PlayStopSendAndDccSendThenCloseOnSendEndsBrisa) {
    CImitationClient client("mIRC32", "#чат", {"Влад"});
    CBrisaProcess brisa;
    const std::string wav = SoundFolder(brisa, "Звонок");
    WriteFileText(brisa.PathOf("Brisa.INI"), wav + "SendClose=1\r\n");
    ASSERT_TRUE(brisa.Start());
    const std::string file = brisa.PathOf("Звонок\\Звонок.wav");

    ASSERT_TRUE(brisa.Click(IDC_PLAY) && brisa.Click(IDC_STOP));
    // With no entry selected there is no name: nothing to play.
    PostMessageA(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    ASSERT_TRUE(brisa.Click(IDC_PLAY));
    PostMessageA(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, 0, 0);
    ASSERT_TRUE(brisa.Click(IDC_PLAY) && brisa.Sync());
    EXPECT_EQ((Lines{"1|" + file, "1|(null)", "1|" + file}), brisa.SoundCalls());

    ASSERT_TRUE(brisa.Click(IDC_DCC));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindWindowA(nullptr, "Brisa - DCC Send")); }));
    PostMessageA(dialog, WM_COMMAND, IDC_DCC_SEND, 0);
    ASSERT_TRUE(WaitUntil([&] { return client.EnteredLines().size() == 1; }));
    EXPECT_EQ("/dcc send Влад " + file, client.EnteredLines()[0]);
    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }) && brisa.Sync());

    ASSERT_TRUE(brisa.Click(IDC_SEND));
    EXPECT_TRUE(brisa.Exited());
    EXPECT_EQ("/sound #чат Звонок.wav -plays Brisa: Звонок.wav", client.EnteredLines().at(1));
}

TEST(EndToEnd, FrozenClientLeavesBrisaAnswering) {
    CImitationClient client;
    CBrisaProcess brisa;
    WriteFileText(brisa.PathOf("Brisa.INI"), SoundFolder(brisa, "wav"));
    ASSERT_TRUE(brisa.Start());
    client.Hang();
    const ULONGLONG start = GetTickCount64();
    ASSERT_TRUE(brisa.Click(IDC_SEND));
    EXPECT_EQ("The IRC client does not answer. Nothing more was typed into it.",
              brisa.AnswerMessageBox());
    EXPECT_LT(GetTickCount64() - start, 5000u);
    // Posted input is handled at once again.
    EXPECT_TRUE(brisa.Sync());
    client.Resume();
    EXPECT_EQ(Lines(), client.EnteredLines());
}

} // namespace
