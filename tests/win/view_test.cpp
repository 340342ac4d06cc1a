// The main window in this process: the frame, its commands and help, and the form with the
// WAV directory's files, the name box and the buttons that act on them.
#include "brisa_harness.h"
#include "framework/framework_ids.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;

// The title of a help topic: its resource's first line.
std::string TopicTitle(UINT topic) {
    const HRSRC resource = FindResourceA(nullptr, MAKEINTRESOURCEA(topic), "HELPTEXT");
    const char* text = static_cast<const char*>(LockResource(LoadResource(nullptr, resource)));
    const std::string all(text, SizeofResource(nullptr, resource));
    return all.substr(0, all.find('\n'));
}

TEST(Shell, FixedFrameFitsTheFormNewRelistsAndExitEndsTheLoop) {
    CBrisaHarness brisa;
    const HWND main = brisa.Main();
    EXPECT_EQ("Brisa Server - Brisa", TextOf(main));
    const LONG style = GetWindowLongA(main, GWL_STYLE);
    EXPECT_EQ(WS_MINIMIZEBOX, style & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
    RECT client = {}, form = {};
    GetClientRect(main, &client);
    GetWindowRect(GetWindow(main, GW_CHILD), &form);
    EXPECT_EQ(form.right - form.left, client.right);
    EXPECT_EQ(form.bottom - form.top, client.bottom);

    // Moved to a monitor of another scale: the frame takes the place the system suggests and fits
    // the form again (Wine keeps one scale, so the form keeps its size here).
    RECT suggested = {100, 80, 100 + 3 * client.right, 80 + 3 * client.bottom}, moved = {};
    SendMessageA(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(main, &moved);
    EXPECT_EQ(100, moved.left);
    EXPECT_EQ(80, moved.top);
    GetClientRect(main, &client);
    EXPECT_EQ(form.right - form.left, client.right);
    EXPECT_EQ(form.bottom - form.top, client.bottom);

    SendMessageA(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, 1, 0);
    brisa.PressKey('N', false, true);
    EXPECT_EQ(0, brisa.Selection());
    EXPECT_EQ("ding.wav", brisa.FileName());
    SendMessageA(main, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_FALSE(brisa.Pump());
    EXPECT_FALSE(IsWindow(main));
}

TEST(Shell, EachHelpContextOpensItsTopic) {
    CBrisaHarness brisa;
    const HWND main = brisa.Main();
    // Context help: Shift+F1, then a click on the frame over a control, or where none is. The
    // frame must be active to hold the mouse; activation comes back through the X server.
    const auto clickInHelpMode = [&](int id) {
        SetForegroundWindow(main);
        brisa.Settle();
        brisa.PressKey(VK_F1, true);
        RECT rect = {0, 0, 2, 2};
        if (id) {
            GetWindowRect(brisa.Item(id), &rect);
            MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
        }
        SendMessageA(main, WM_LBUTTONDOWN, 0,
                     MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    };
    const struct {
        const char* name;
        std::function<void()> action;
        UINT topic;
    } cases[] = {
        {"Help Index", [&] { SendMessageA(main, WM_COMMAND, ID_HELP_INDEX, 0); }, IDH_INDEX},
        {"F1", [&] { brisa.PressKey(VK_F1); }, IDH_MAIN_WINDOW},
        {"Help button", [&] { brisa.Click(IDC_HELP_BUTTON); }, IDH_MAIN_WINDOW},
        {"Options' Help",
         [&] {
             DuringModal([&] { brisa.Click(IDC_OPTIONS); },
                         [](HWND dialog) {
                             ClickItem(dialog, ID_HELP);
                             ClickItem(dialog, IDCANCEL);
                         });
         },
         IDH_OPTIONS},
        {"on Send", [&] { clickInHelpMode(IDC_SEND); }, IDH_ANNOUNCING},
        {"on the frame", [&] { clickInHelpMode(0); }, IDH_MAIN_WINDOW},
    };
    for (const auto& c : cases) {
        c.action();
        const HWND help = FindWindowA("fwHelpWindow", nullptr);
        EXPECT_EQ("Brisa Help - " + TopicTitle(c.topic), TextOf(help)) << c.name;
        DestroyWindow(help);
    }
    // The help window follows a new scale: at 192 dpi its margins are 16 pixels.
    SendMessageA(main, WM_COMMAND, ID_HELP_INDEX, 0);
    const HWND help = FindWindowA("fwHelpWindow", nullptr);
    RECT suggested = {50, 40, 1050, 740}, placed = {}, list = {};
    SendMessageA(help, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(help, &placed);
    EXPECT_TRUE(EqualRect(&suggested, &placed));
    GetWindowRect(GetWindow(help, GW_CHILD), &list);
    MapWindowPoints(nullptr, help, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(16, list.left);
    DestroyWindow(help);

    // Escape leaves context-help mode: the next click is an ordinary one.
    SetForegroundWindow(main);
    brisa.Settle();
    brisa.PressKey(VK_F1, true);
    brisa.PressKey(VK_ESCAPE);
    SendMessageA(main, WM_LBUTTONDOWN, 0, MAKELPARAM(1, 1));
    EXPECT_EQ(nullptr, FindWindowA("fwHelpWindow", nullptr));
}

TEST(WavListView, ListsTheFolderSortedAndTakesTheFirstEntry) {
    Lines many;
    for (int i = 0; i < 3000; ++i)
        many.push_back("s" + std::to_string(10000 + i) + ".wav");
    const std::string longName = std::string(251, 'n') + ".wav";
    const struct {
        const char* name;
        Lines files;
        Lines listed;
    } cases[] = {
        {"sorted in any case", {"b.WAV", "A.wav", "c.txt", "a2.wav"}, {"A.wav", "a2.wav", "b.WAV"}},
        {"empty", {}, {}},
        {"names with spaces and long ones",
         {"door bell.wav", longName},
         {"door bell.wav", longName}},
        {"3,000 files", many, many},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CBrisaHarness brisa("", c.files);
        const ULONGLONG start = GetTickCount64();
        brisa.Click(IDC_REFRESH);
        EXPECT_LT(GetTickCount64() - start, 2000u); // a list redrawn per entry takes many seconds
        EXPECT_EQ(c.listed, brisa.Files());
        EXPECT_EQ(c.listed.empty() ? -1 : 0, brisa.Selection());
        EXPECT_EQ(c.listed.empty() ? "" : c.listed[0], brisa.FileName());
    }
}

TEST(WavListView, FolderLimitsReadOnlyFilesAndARelativeFolder) {
    CBrisaHarness brisa;
    SetFileAttributesA((brisa.WavDir() + "\\ding.wav").c_str(), FILE_ATTRIBUTE_READONLY);
    // The listing pattern "<dir>\*.WAV" fits its 255 characters with a folder of 249.
    const std::string base = brisa.PathOf("");
    std::string folders[2];
    for (int length : {249, 250}) {
        std::string& dir = folders[length - 249];
        dir = base + std::string(length - base.size(), length == 249 ? 'd' : 'e');
        CreateDirectoryA(dir.c_str(), nullptr);
        WriteFileText(dir + "\\" + std::to_string(length) + ".wav", "RIFF");
    }
    const Lines wav = {"ding.wav", "other.wav"};
    const struct {
        std::string wavDir;
        Lines listed; // a folder that cannot be listed leaves the list and the name box empty
    } cases[] = {
        {folders[0], {"249.wav"}},     {folders[1], {}}, {"wav\\", wav},
        {brisa.PathOf("missing"), {}}, {"wav", wav},
    };
    char current[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof current, current);
    SetCurrentDirectoryA(base.c_str());
    for (const auto& c : cases) {
        brisa.WriteOptions("WAVDir=" + c.wavDir);
        DuringModal([&] { brisa.Click(IDC_OPTIONS); },
                    [](HWND dialog) { ClickItem(dialog, IDCANCEL); });
        EXPECT_EQ(c.listed, brisa.Files()) << c.wavDir;
        if (c.listed.empty()) {
            EXPECT_EQ("", brisa.FileName());
        }
    }
    // With no name, Delete has nothing to ask about (and Play nothing to play).
    brisa.WriteOptions("WAVDir=missing");
    brisa.Restart();
    brisa.Click(IDC_DELETE);
    EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
    // Relative folders go on meaning the same: the listing left the current folder as it was.
    char after[MAX_PATH] = {};
    GetCurrentDirectoryA(sizeof after, after);
    EXPECT_EQ(base, std::string(after) + "\\");
    SetCurrentDirectoryA(current);
}

TEST(WavListView, TypedPrefixSelectsTheFirstMatchInAnyCase) {
    CBrisaHarness brisa("", {"AB.WAV", "ab2.wav", "Abc.WAV", "zed.wav"});
    const struct {
        const char* typed;
        int selection;
    } cases[] = {{"ab", 0}, {"ZE", 3}, {"abc", 2}, {"x", 2}, {"", 2}};
    for (const auto& c : cases) {
        brisa.TypeFileName(c.typed);
        EXPECT_EQ(c.selection, brisa.Selection()) << c.typed;
        EXPECT_EQ(c.typed, brisa.FileName());
    }
}

TEST(WavListView, DeleteAsksThenRemovesAndSelectsTheNextEntry) {
    CBrisaHarness brisa("", {"a.wav", "b.wav", "c.wav"});
    const std::string dir = brisa.WavDir();
    const HANDLE held =
        CreateFileA((dir + "\\c.wav").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    const struct {
        int select, answer;
        Lines boxes, files;
        int selection;
    } cases[] = {
        {1, IDNO, {"Delete This File?: " + dir + "\\b.wav"}, {"a.wav", "b.wav", "c.wav"}, 1},
        {1, IDYES, {"Delete This File?: " + dir + "\\b.wav"}, {"a.wav", "c.wav"}, 1},
        {1,
         IDYES,
         {"Delete This File?: " + dir + "\\c.wav",
          "Error Removing File: Unable to Remove File : " + dir + "\\c.wav"},
         {"a.wav", "c.wav"},
         1},
        {0, IDYES, {"Delete This File?: " + dir + "\\a.wav"}, {"c.wav"}, 0},
    };
    for (const auto& c : cases) {
        SendMessageA(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, c.select, 0);
        brisa.m_answers = {c.answer, IDOK};
        brisa.Click(IDC_DELETE);
        EXPECT_EQ(c.boxes, brisa.TakeMessageBoxes());
        EXPECT_EQ(c.files, brisa.Files());
        EXPECT_EQ(c.selection, brisa.Selection());
    }
    CloseHandle(held);
}

TEST(WavListView, NamesInAnyScriptAreListedShownAndDeleted) {
    const Lines names = {"Łódź.wav", "Звонок.wav", "ベル.wav", "Été.wav", "\U0001F514.wav"};
    CBrisaHarness brisa("", names);
    Lines listed = brisa.Files(), sorted = names;
    std::sort(listed.begin(), listed.end());
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, listed);
    for (const std::string& name : names) {
        SendMessageA(brisa.Item(IDC_FILE_LIST), LB_SELECTSTRING, -1,
                     reinterpret_cast<LPARAM>(name.c_str()));
        brisa.Notify(IDC_FILE_LIST, LBN_SELCHANGE);
        EXPECT_EQ(name, brisa.FileName());
        brisa.m_answers = {IDYES};
        brisa.Click(IDC_DELETE);
        EXPECT_EQ(Lines{"Delete This File?: " + brisa.WavDir() + "\\" + name},
                  brisa.TakeMessageBoxes());
    }
    EXPECT_EQ(Lines(), brisa.Files());
}

TEST(WavListView, ClientPresenceDrivesSendAndDcc) {
    const auto enabled = [](const CBrisaHarness& brisa) {
        return IsWindowEnabled(brisa.Item(IDC_SEND)) + IsWindowEnabled(brisa.Item(IDC_DCC));
    };
    const struct {
        const char *client, *className; // the stored selector, the client running
        int enabled;
    } cases[] = {{"1011", "mIRC", 2}, {"1011", "mIRC32", 0}, {"1010", "mIRC32", 0}};
    for (const auto& c : cases) {
        CImitationClient client(c.className);
        CBrisaHarness brisa(std::string("Client=") + c.client);
        EXPECT_EQ(c.enabled, enabled(brisa)) << c.client << " " << c.className;
    }
    // Absent at start, Send and DCC stay disabled; a double-click finds the client, enables them
    // and sends; one that finds none leaves them; Refresh follows the client.
    CBrisaHarness brisa;
    EXPECT_EQ(0, enabled(brisa));
    auto client = std::make_unique<CImitationClient>();
    brisa.Notify(IDC_FILE_LIST, LBN_DBLCLK);
    EXPECT_EQ(2, enabled(brisa));
    EXPECT_EQ(Lines{"/sound #chat ding.wav -plays Brisa: ding.wav"}, client->EnteredLines());
    client.reset();
    brisa.Notify(IDC_FILE_LIST, LBN_DBLCLK);
    EXPECT_EQ(2, enabled(brisa));
    brisa.Click(IDC_REFRESH);
    EXPECT_EQ(0, enabled(brisa));
}

} // namespace
