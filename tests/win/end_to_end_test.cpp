// The real Brisa.exe, for what only the program itself shows: where its settings live, start-up
// and exit, Play of every type through winmm, and lines typed into a client in another process.
// Each test copies Brisa.exe with the recording winmm.dll into a folder of its own, starts it with
// this process's environment and drives it only through posted messages; every wait has a
// deadline.
#include "controls.h"
#include "framework/text.h"
#include "imitation_client.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

Lines operator+(Lines a, const Lines& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Polls until the predicate holds, for at most 10 s.
bool WaitUntil(const std::function<bool()>& predicate) {
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (!predicate()) {
        if (GetTickCount64() >= deadline)
            return false;
        Sleep(20);
    }
    return true;
}

std::string ExeFolder() {
    wchar_t path[MAX_PATH] = {};
    const std::string exe = fw::Narrow({path, GetModuleFileNameW(nullptr, path, MAX_PATH)});
    return exe.substr(0, exe.find_last_of('\\'));
}

std::string WindowsDirIni() {
    wchar_t folder[MAX_PATH] = {};
    return fw::Narrow({folder, GetWindowsDirectoryW(folder, MAX_PATH)}) + "\\Brisa.INI";
}

bool Exists(const std::string& path) {
    return std::filesystem::exists(PathOf(path));
}

class CBrisaProcess {
public:
    CBrisaProcess() : m_strDir(MakeTempFolder()) {
        CopyFileW(fw::Widen(ExeFolder() + "\\Brisa.exe").c_str(), PathOf("Brisa.exe").c_str(),
                  FALSE);
        CopyFileW(fw::Widen(ExeFolder() + "\\winmm_stub.dll").c_str(), PathOf("winmm.dll").c_str(),
                  FALSE);
    }
    ~CBrisaProcess() {
        if (m_process.hProcess) {
            if (IsWindowEnabled(m_hwndMain))
                PostMessageW(m_hwndMain, WM_CLOSE, 0, 0);
            if (WaitForSingleObject(m_process.hProcess, 3000) != WAIT_OBJECT_0)
                TerminateProcess(m_process.hProcess, 1);
            WaitForSingleObject(m_process.hProcess, 5000);
            CloseHandle(m_process.hProcess);
        }
        // The exiting process may hold its files a moment longer.
        WaitUntil([this] { return DeleteTree(m_strDir); });
    }

    std::string Path(const std::string& name) const { return m_strDir + "\\" + name; }
    std::wstring PathOf(const std::string& name) const { return fw::Widen(Path(name)); }
    // A folder holding one WAV file named after the folder, and the INI text naming it.
    std::string SoundFolder(const std::string& name) const {
        std::filesystem::create_directory(PathOf(name));
        WriteFileText(Path(name + "\\" + name + ".wav"), "RIFF");
        return "[Options]\r\nWAVDir=" + Path(name) + "\r\n";
    }

    // Starts Brisa and waits until its main window waits for input.
    bool Start() {
        if (!Launch(&m_process))
            return false;
        m_hwndMain = WaitForWindow(L"fwFrameWnd");
        return m_hwndMain && WaitForInputIdle(m_process.hProcess, 10000) == 0;
    }
    // Starts Brisa once more, and waits for that one to end; one that stays is ended.
    bool StartAgain() const {
        PROCESS_INFORMATION again = {};
        const bool ended = Launch(&again) && WaitForSingleObject(again.hProcess, 10000) == 0;
        if (!ended)
            TerminateProcess(again.hProcess, 1);
        CloseHandle(again.hProcess);
        return ended;
    }
    bool Exited() const { return WaitForSingleObject(m_process.hProcess, 10000) == 0; }
    HWND Item(int id) const { return GetDlgItem(GetWindow(m_hwndMain, GW_CHILD), id); }
    // Posted, as a click arrives; false when the button is disabled.
    bool Click(int id) const {
        const HWND button = Item(id);
        return IsWindowEnabled(button) &&
               PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                            reinterpret_cast<LPARAM>(button));
    }
    // Returns once Brisa has handled everything posted to it so far: a margin posted to the name
    // box shows once Brisa has handled it. Brisa never looks at the margins.
    bool Sync() const {
        const HWND nameBox = Item(IDC_FILE_NAME);
        const WORD margin = LOWORD(SendMessageW(nameBox, EM_GETMARGINS, 0, 0)) % 8 + 1;
        PostMessageW(nameBox, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(margin, 0));
        return WaitUntil(
            [&] { return LOWORD(SendMessageW(nameBox, EM_GETMARGINS, 0, 0)) == margin; });
    }
    // What the recording winmm.dll logged, a line a call.
    Lines SoundCalls() const {
        Lines calls;
        std::istringstream log(ReadFileText(Path("sound.log")));
        for (std::string line; std::getline(log, line);)
            calls.push_back(line);
        return calls;
    }

private:
    bool Launch(PROCESS_INFORMATION* process) const {
        std::wstring command = L"\"" + PathOf("Brisa.exe") + L"\"";
        STARTUPINFOW startup = {};
        startup.cb = sizeof(startup);
        const bool launched =
            CreateProcessW(PathOf("Brisa.exe").c_str(), &command[0], nullptr, nullptr, FALSE, 0,
                           nullptr, PathOf("").c_str(), &startup, process);
        CloseHandle(process->hThread);
        return launched;
    }
    // A visible top-level window of Brisa's, of the class.
    HWND WaitForWindow(const wchar_t* className) const {
        HWND found = nullptr;
        WaitUntil([&] {
            for (HWND w = GetTopWindow(nullptr); w && !found; w = GetWindow(w, GW_HWNDNEXT)) {
                DWORD owner = 0;
                wchar_t name[64] = {};
                GetWindowThreadProcessId(w, &owner);
                GetClassNameW(w, name, 64);
                if (owner == m_process.dwProcessId && IsWindowVisible(w) &&
                    !wcscmp(name, className))
                    found = w;
            }
            return found != nullptr;
        });
        return found;
    }

    std::string m_strDir;
    PROCESS_INFORMATION m_process = {};
    HWND m_hwndMain = nullptr;
};

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
        const std::string appData = brisa.Path(c.appData), userIni = appData + "\\Brisa\\Brisa.INI";
        std::filesystem::create_directory(PathOf(appData));
        if (c.beside)
            WriteFileText(brisa.Path("Brisa.INI"), brisa.SoundFolder("beside"));
        if (c.older)
            WriteFileText(WindowsDirIni(), brisa.SoundFolder("older"));
        if (c.userFolder)
            std::filesystem::create_directory(PathOf(appData + "\\Brisa"));
        if (c.user)
            WriteFileText(userIni, brisa.SoundFolder("user"));
        SetEnvironmentVariableW(L"APPDATA", fw::Widen(appData).c_str());
        ASSERT_TRUE(brisa.Start());
        EXPECT_TRUE(WaitUntil([&] { return TextOf(brisa.Item(IDC_FILE_NAME)) == c.listed; }))
            << TextOf(brisa.Item(IDC_FILE_NAME));
        EXPECT_EQ(c.userAfter, Exists(userIni));
        std::filesystem::remove(PathOf(WindowsDirIni()));
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
    ASSERT_TRUE(WaitUntil([&] { return brisa.SoundCalls().size() == 2; }));
    PressHotkey(VK_F10);
    ASSERT_TRUE(WaitUntil([&] { return brisa.SoundCalls().size() == 3; }));
    EXPECT_EQ((Lines{"volume|66666666", "1|" + file, "1|(null)"}), brisa.SoundCalls());
    const std::size_t hotkeyCalls = 3;

    CImitationClient client({"mIRC32", "#чат", {"Влад"}});
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(brisa.Item(IDC_SEND)) != FALSE; }));
    // Started again, Brisa brings the one that runs to the front, and ends.
    SetForegroundWindow(client.TopLevel());
    EXPECT_TRUE(brisa.StartAgain());
    EXPECT_TRUE(WaitUntil(
        [&] { return GetForegroundWindow() == GetAncestor(brisa.Item(IDC_PLAY), GA_ROOT); }));

    // Listed .mid, .mp3, .wav: each replaces the sound before it, of whatever type, and Stop
    // stops them all. With no entry selected there is no name: nothing to play.
    const auto play = [&](int index) {
        PostMessageW(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        return brisa.Click(IDC_PLAY);
    };
    const auto newCalls = [&] {
        const Lines calls = brisa.SoundCalls();
        return Lines(calls.begin() + std::min(hotkeyCalls, calls.size()), calls.end());
    };
    ASSERT_TRUE(play(0) && brisa.Click(IDC_STOP) && brisa.Sync());
    EXPECT_EQ((Lines{"1|(null)", "mci|open \"" + sound + ".mid\" type sequencer alias brisa",
                     "mci|play brisa", "1|(null)", "mci|close brisa"}),
              newCalls());
    ASSERT_TRUE(play(1) && play(-1) && play(2) && brisa.Sync());
    const Lines calls = newCalls();
    const Lines mp3 = {"1|(null)", "mci|open \"" + sound + ".mp3\" type mpegvideo alias brisa",
                       "mci|play brisa"};
    EXPECT_EQ((mp3 + Lines{"mci|close brisa", "1|" + file}),
              Lines(calls.begin() + std::min<std::size_t>(5, calls.size()), calls.end()));
    // Deleted while it plays, the MP3 file is let go of first: the service would hold it open.
    ASSERT_TRUE(play(1) && brisa.Click(IDC_DELETE));
    HWND question = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (question = FindWindowW(nullptr, L"Delete This File?")); }));
    PostMessageW(question, WM_COMMAND, IDYES, 0);
    ASSERT_TRUE(WaitUntil([&] { return !Exists(sound + ".mp3"); }) && brisa.Sync());
    const Lines deleted = brisa.SoundCalls();
    EXPECT_EQ((mp3 + Lines{"1|(null)", "mci|close brisa"}),
              Lines(deleted.end() - 5, deleted.end()));

    ASSERT_TRUE(brisa.Click(IDC_DCC));
    HWND dialog = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (dialog = FindWindowW(nullptr, L"Brisa - DCC Send")); }));
    PostMessageW(dialog, WM_COMMAND, IDC_DCC_SEND, 0);
    ASSERT_TRUE(WaitUntil([&] { return client.Entered().size() == 1; }));
    EXPECT_EQ("/dcc send Влад " + file, client.Entered()[0]);
    PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(dialog); }) && brisa.Sync());

    ASSERT_TRUE(brisa.Click(IDC_SEND));
    EXPECT_TRUE(brisa.Exited());
    EXPECT_EQ("/sound #чат Звонок.wav -plays Brisa: Звонок.wav", client.Entered().at(1));
}

} // namespace
