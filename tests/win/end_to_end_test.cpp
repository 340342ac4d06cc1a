// The real Brisa.exe with the recording winmm.dll in a folder of its own, driven by posted
// messages: where its settings live, start and exit, playback, a client in another process.
#include "controls.h"
#include "imitation_client.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

static bool WaitUntil(const std::function<bool()>& predicate) { // for 10 s at most
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!predicate() && GetTickCount64() < deadline)
        Sleep(20);
    return predicate();
}

class CBrisaProcess {
public:
    CBrisaProcess() : m_strDir(MakeTempFolder()) {
        wchar_t exe[MAX_PATH] = {};
        const std::wstring tests(exe, GetModuleFileNameW(nullptr, exe, MAX_PATH));
        const std::wstring from = tests.substr(0, tests.find_last_of(L'\\') + 1);
        CopyFileW((from + L"Brisa.exe").c_str(), PathOf(Path("Brisa.exe")).c_str(), FALSE);
        CopyFileW((from + L"winmm_stub.dll").c_str(), PathOf(Path("winmm.dll")).c_str(), FALSE);
    }
    ~CBrisaProcess() {
        if (m_hwndMain)
            PostMessageW(m_hwndMain, WM_CLOSE, 0, 0);
        if (m_process.hProcess && WaitForSingleObject(m_process.hProcess, 3000) != WAIT_OBJECT_0)
            TerminateProcess(m_process.hProcess, 1);
        WaitUntil([this] { return DeleteTree(m_strDir); }); // once the process lets go of them
        CloseHandle(m_process.hProcess);
    }

    std::string Path(const std::string& name) const { return m_strDir + "\\" + name; }
    // A folder holding one WAV file named after the folder, and the INI text naming it.
    std::string SoundFolder(const std::string& name) const {
        WriteFileText(Path(name + "\\" + name + ".wav"), "RIFF");
        return "[Options]\r\nWAVDir=" + Path(name) + "\r\n";
    }
    // Starts Brisa and waits until its main window waits for input; again: one more, to end.
    bool Start(bool again = false) {
        PROCESS_INFORMATION process = {};
        std::wstring command = L"\"" + PathOf(Path("Brisa.exe")).wstring() + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr,
                            PathOf(m_strDir).c_str(), &startup, &process))
            return false;
        CloseHandle(process.hThread);
        if (again) { // ended by force if it does not end itself
            const bool ended = WaitForSingleObject(process.hProcess, 10000) == 0;
            TerminateProcess(process.hProcess, 1);
            return CloseHandle(process.hProcess) && ended;
        }
        m_process = process;
        return WaitUntil([&] { return IsWindowVisible(FindWindowW(L"fwFrameWnd", nullptr)); }) &&
               (m_hwndMain = FindWindowW(L"fwFrameWnd", nullptr)) &&
               WaitForInputIdle(m_process.hProcess, 10000) == 0;
    }
    HWND Item(int id) const { return GetDlgItem(GetWindow(m_hwndMain, GW_CHILD), id); }
    // Posted, as a click arrives; false when the button is disabled.
    bool Click(int id) const {
        return IsWindowEnabled(Item(id)) &&
               PostMessageW(GetParent(Item(id)), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(Item(id)));
    }
    // The calls winmm.dll logged from number first on, once there are count of them.
    Lines SoundCalls(std::size_t first, std::size_t count) const {
        Lines calls;
        WaitUntil([&] {
            calls.clear();
            std::istringstream log(ReadFileText(Path("sound.log")));
            for (std::string line; std::getline(log, line);)
                calls.push_back(line);
            return calls.size() >= first + count;
        });
        return Lines(calls.begin() + std::min(first, calls.size()), calls.end());
    }

    std::string m_strDir;
    PROCESS_INFORMATION m_process = {};
    HWND m_hwndMain = nullptr;
};

TEST(EndToEnd, SettingsLiveBesideTheProgramElseInTheUsersFolder) {
    const struct {
        bool beside, older, user, userFolder; // where a Brisa.INI is; Brisa's user folder
        std::string listed;                   // whose folder Brisa lists
        const char* appData;
    } cases[] = {
        {true, true, true, true, "beside.wav", "appdata"},
        {false, true, false, false, "older.wav", "Łukasz"}, // copied at the first start
        {false, true, false, true, "", "appdata"},          // the user deleted the file to reset
    };
    const std::string windowsIni = std::string(std::getenv("SystemRoot")) + "\\Brisa.INI";
    for (const auto& c : cases) {
        CBrisaProcess brisa;
        const std::string appData = brisa.Path(c.appData), userIni = appData + "\\Brisa\\Brisa.INI";
        std::filesystem::create_directories(PathOf(appData + (c.userFolder ? "\\Brisa" : "")));
        if (c.beside)
            WriteFileText(brisa.Path("Brisa.INI"), brisa.SoundFolder("beside"));
        if (c.older)
            WriteFileText(windowsIni, brisa.SoundFolder("older"));
        if (c.user)
            WriteFileText(userIni, brisa.SoundFolder("user"));
        SetEnvironmentVariableW(L"APPDATA", PathOf(appData).c_str());
        ASSERT_TRUE(brisa.Start());
        EXPECT_TRUE(WaitUntil([&] { return TextOf(brisa.Item(IDC_FILE_NAME)) == c.listed; }))
            << c.listed;
        EXPECT_EQ(c.user || c.listed == "older.wav", std::filesystem::exists(PathOf(userIni)));
        std::filesystem::remove(PathOf(windowsIni));
    }
}

TEST(EndToEnd, PlayStopSendAndDccSendThenCloseOnSendEndsBrisa) {
    CBrisaProcess brisa;
    WriteFileText(brisa.Path("Brisa.INI"),
                  brisa.SoundFolder("Звонок") +
                      "SendClose=1\r\n[Hotkeys]\r\nCtrl+Alt+F9=Звонок.wav\r\n"
                      "[Soundboard]\r\nStopHotkey=Ctrl+Alt+F10\r\nVolume=40\r\n");
    const std::string sound = brisa.Path("Звонок\\Звонок"), file = sound + ".wav";
    for (const char* type : {".mid", ".mp3"})
        WriteFileText(sound + type, "");
    ASSERT_TRUE(brisa.Start() && WaitUntil([&] {
                    return SendMessageW(brisa.Item(IDC_FILE_LIST), LB_GETCOUNT, 0, 0) == 3;
                }));
    // With no client, a sound's hotkey plays it, at the volume kept, and the stop hotkey stops it.
    PressHotkey(VK_F9);
    brisa.SoundCalls(0, 2);
    PressHotkey(VK_F10);
    EXPECT_EQ((Lines{"volume|66666666", "1|" + file, "1|(null)"}), brisa.SoundCalls(0, 3));

    CImitationClient client({"mIRC32", "#чат", {"Влад"}});
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(brisa.Item(IDC_SEND)) != FALSE; }));
    // Started again, Brisa brings the one that runs to the front, and ends.
    SetForegroundWindow(client.TopLevel());
    EXPECT_TRUE(brisa.Start(true));
    EXPECT_TRUE(WaitUntil(
        [&] { return GetForegroundWindow() == GetAncestor(brisa.Item(IDC_PLAY), GA_ROOT); }));

    // Listed .mid, .mp3, .wav: each replaces the sound before it, and Stop stops them all; with
    // no entry selected nothing plays.
    const auto play = [&](int index) {
        PostMessageW(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        return brisa.Click(IDC_PLAY);
    };
    // A MIDI or MP3 sound through the MCI, the WAVE sound stopped first; then what follows.
    const auto mci = [&](const char* type, const char* device, const Lines& then) {
        Lines calls = {"1|(null)",
                       "mci|open \"" + sound + type + "\" type " + device + " alias brisa",
                       "mci|play brisa"};
        calls.insert(calls.end(), then.begin(), then.end());
        return calls;
    };
    ASSERT_TRUE(play(0) && brisa.Click(IDC_STOP));
    EXPECT_EQ(mci(".mid", "sequencer", {"1|(null)", "mci|close brisa"}), brisa.SoundCalls(3, 5));
    ASSERT_TRUE(play(1) && play(-1) && play(2));
    EXPECT_EQ(mci(".mp3", "mpegvideo", {"mci|close brisa", "1|" + file}), brisa.SoundCalls(8, 5));
    // Deleted while it plays, the MP3 file is let go of first: the service would hold it open.
    ASSERT_TRUE(play(1) && brisa.Click(IDC_DELETE));
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = FindWindowW(nullptr, L"Delete This File?")); }));
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitUntil([&] { return TextOf(brisa.Item(IDC_FILE_NAME)) == "Звонок.wav"; }));
    EXPECT_FALSE(std::filesystem::exists(PathOf(sound + ".mp3")));
    EXPECT_EQ(mci(".mp3", "mpegvideo", {"1|(null)", "mci|close brisa"}), brisa.SoundCalls(13, 5));

    ASSERT_TRUE(brisa.Click(IDC_DCC));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindWindowW(nullptr, L"Brisa - DCC Send")); }));
    PostMessageW(dialog, WM_COMMAND, IDC_DCC_SEND, 0);
    ASSERT_TRUE(WaitUntil([&] { return client.Entered().size() == 1; }));
    EXPECT_EQ("/dcc send Влад " + file, client.Entered()[0]);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }));

    ASSERT_TRUE(brisa.Click(IDC_SEND));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(brisa.m_process.hProcess, 10000));
    EXPECT_EQ("/sound #чат Звонок.wav -plays Brisa: Звонок.wav", client.Entered().at(1));
}
