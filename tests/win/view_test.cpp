// The main window in this process: the frame, its commands and help, and the form with the WAV
// directory's files, the name box and the buttons that act on them.
#include "brisa_harness.h"
#include "framework/framework_ids.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

// The title of a help topic: its resource's first line.
std::string TopicTitle(UINT topic) {
    const HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(topic), L"HELPTEXT");
    const std::string text(static_cast<const char*>(LockResource(LoadResource(nullptr, resource))),
                           SizeofResource(nullptr, resource));
    return text.substr(0, text.find('\n'));
}

SIZE ClientSize(HWND window) {
    RECT rect = {};
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

TEST(Shell, FixedFrameFitsTheFormOnAnyScaleNewRelistsAndExitEndsTheLoop) {
    CBrisaHarness brisa;
    const HWND main = brisa.Main(), form = GetWindow(main, GW_CHILD);
    EXPECT_EQ("Brisa Server - Brisa", TextOf(main));
    EXPECT_EQ(WS_MINIMIZEBOX,
              GetWindowLongW(main, GWL_STYLE) & (WS_THICKFRAME | WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
    RECT formRect = {}, moved = {};
    GetWindowRect(form, &formRect);
    const SIZE formSize = {formRect.right - formRect.left, formRect.bottom - formRect.top};
    for (const bool dpiChanged : {false, true}) {
        // Moved to a monitor of another scale, the frame takes the place the system suggests and
        // fits the form again: Wine keeps one scale, so the form keeps its size here.
        if (dpiChanged) {
            RECT suggested = {100, 80, 700, 600};
            SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144),
                         reinterpret_cast<LPARAM>(&suggested));
            GetWindowRect(main, &moved);
            EXPECT_EQ(100, moved.left);
            EXPECT_EQ(80, moved.top);
        }
        EXPECT_EQ(formSize.cx, ClientSize(main).cx);
        EXPECT_EQ(formSize.cy, ClientSize(main).cy);
    }
    SendMessageW(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, 1, 0);
    brisa.PressKey('N', false, true);
    EXPECT_EQ(0, brisa.Selection());
    EXPECT_EQ("ding.wav", brisa.FileName());
    // The edit keys act on the focused box, not on the accelerators' empty commands.
    SetFocus(brisa.Item(IDC_FILE_NAME));
    SendMessageW(brisa.Item(IDC_FILE_NAME), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x"));
    brisa.PressKey('Z', false, true);
    EXPECT_EQ("ding.wav", brisa.FileName());
    SendMessageW(main, WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_FALSE(brisa.PumpMessages());
    EXPECT_FALSE(IsWindow(main));
}

TEST(Shell, EachHelpContextOpensItsTopicAndTheHelpWindowFollowsTheScale) {
    CBrisaHarness brisa;
    const HWND main = brisa.Main();
    // Context help: Shift+F1, then a click on the frame over a control, or where none is. The
    // frame must be active to hold the mouse; activation comes back through the X server.
    const auto clickInHelpMode = [&](int id, bool escapeFirst = false) {
        SetForegroundWindow(main);
        brisa.Settle();
        brisa.PressKey(VK_F1, true);
        if (escapeFirst)
            brisa.PressKey(VK_ESCAPE);
        RECT rect = {0, 0, 2, 2};
        if (id) {
            GetWindowRect(brisa.Item(id), &rect);
            MapWindowPoints(nullptr, main, reinterpret_cast<POINT*>(&rect), 2);
        }
        SendMessageW(main, WM_LBUTTONDOWN, 0,
                     MAKELPARAM((rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2));
    };
    const struct {
        std::function<void()> action;
        UINT topic;
    } cases[] = {
        {[&] { SendMessageW(main, WM_COMMAND, ID_HELP_INDEX, 0); }, IDH_INDEX},
        {[&] { brisa.PressKey(VK_F1); }, IDH_MAIN_WINDOW},
        {[&] { brisa.Click(IDC_HELP_BUTTON); }, IDH_MAIN_WINDOW},
        {[&] {
             brisa.Open(IDC_OPTIONS, [](HWND d) { ClickItem(d, ID_HELP), ClickItem(d, IDCANCEL); });
         },
         IDH_OPTIONS},
        {[&] { clickInHelpMode(IDC_SEND); }, IDH_ANNOUNCING},
        {[&] { clickInHelpMode(0); }, IDH_MAIN_WINDOW},
    };
    for (const auto& c : cases) {
        c.action();
        const HWND help = FindWindowW(L"fwHelpWindow", nullptr);
        EXPECT_EQ("Brisa Help - " + TopicTitle(c.topic), TextOf(help));
        DestroyWindow(help);
    }
    // At 192 dpi the help window's margins are 16 pixels.
    SendMessageW(main, WM_COMMAND, ID_HELP_INDEX, 0);
    const HWND help = FindWindowW(L"fwHelpWindow", nullptr);
    RECT suggested = {50, 40, 1050, 740}, placed = {}, list = {};
    SendMessageW(help, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(help, &placed);
    EXPECT_TRUE(EqualRect(&suggested, &placed));
    GetWindowRect(GetWindow(help, GW_CHILD), &list);
    MapWindowPoints(nullptr, help, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(16, list.left);
    DestroyWindow(help);
    // Escape leaves context-help mode: the next click is an ordinary one.
    clickInHelpMode(IDC_SEND, true);
    EXPECT_EQ(nullptr, FindWindowW(L"fwHelpWindow", nullptr));
}

TEST(WavListView, ListsTheFolderSortedAndTakesTheFirstEntry) {
    Lines many;
    for (int i = 0; i < 3000; ++i)
        many.push_back("s" + std::to_string(10000 + i) + ".wav");
    const std::string longName = std::string(251, 'n') + ".wav";
    const struct {
        Lines files, listed;
    } cases[] = {
        // Each type the client plays, in any case, and no other file.
        {{"b.WAV", "A.wav", "c.txt", "a2.wav", "m.MID", "s.Mp3", "x.midi", "y.mp4", "wav"},
         {"A.wav", "a2.wav", "b.WAV", "m.MID", "s.Mp3"}},
        {{}, {}},
        {{"door bell.wav", longName}, {"door bell.wav", longName}},
        {many, many},
    };
    for (const auto& c : cases) {
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
    SetFileAttributesW(PathOf(brisa.WavDir() + "\\ding.wav").c_str(), FILE_ATTRIBUTE_READONLY);
    // Not listed, as the system's own listing would not show them: a folder, a hidden file.
    std::filesystem::create_directory(PathOf(brisa.WavDir() + "\\folder.wav"));
    WriteFileText(brisa.WavDir() + "\\hidden.wav", "RIFF");
    SetFileAttributesW(PathOf(brisa.WavDir() + "\\hidden.wav").c_str(), FILE_ATTRIBUTE_HIDDEN);
    // The listing pattern "<dir>\*.WAV" fits its 255 characters with a folder of 249.
    const std::string base = brisa.PathOf("");
    const std::string folder249 = base + std::string(249 - base.size(), 'd'),
                      folder250 = base + std::string(250 - base.size(), 'e');
    for (const std::string& folder : {folder249, folder250}) {
        std::filesystem::create_directory(PathOf(folder));
        WriteFileText(folder + "\\" + std::to_string(folder.size()) + ".wav", "RIFF");
    }
    const Lines wav = {"ding.wav", "other.wav"};
    const struct {
        std::string wavDir;
        Lines listed; // a folder that cannot be listed leaves the list and the name box empty
    } cases[] = {{folder249, {"249.wav"}},
                 {folder250, {}},
                 {"wav\\", wav},
                 {brisa.PathOf("missing"), {}},
                 {"wav", wav}};
    const std::filesystem::path current = std::filesystem::current_path();
    std::filesystem::current_path(PathOf(base));
    for (const auto& c : cases) {
        brisa.WriteOptions("WAVDir=" + c.wavDir);
        brisa.Open(IDC_OPTIONS, [](HWND dialog) { ClickItem(dialog, IDCANCEL); });
        EXPECT_EQ(c.listed, brisa.Files()) << c.wavDir;
        if (c.listed.empty()) {
            EXPECT_EQ("", brisa.FileName());
        }
    }
    // Relative folders go on meaning the same: the listing left the current folder as it was.
    EXPECT_EQ(PathOf(base), std::filesystem::current_path() / "");
    std::filesystem::current_path(current);
    // With no name, Delete has nothing to ask about (and Play nothing to play).
    brisa.WriteOptions("WAVDir=missing");
    brisa.Restart();
    brisa.Click(IDC_DELETE);
    EXPECT_EQ(Lines(), brisa.TakeMessageBoxes());
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

TEST(WavListView, DeleteAsksThenRemovesAndSelectsTheNextEntryInAnyScript) {
    const Lines names = {"a.wav", "Łódź.wav", "ベル.wav", "\U0001F514.wav"};
    CBrisaHarness brisa("", names);
    const Lines listed = brisa.Files();
    EXPECT_EQ(Sorted(names), Sorted(listed));
    const std::string path = brisa.WavDir() + "\\" + listed[1],
                      asked = ResourceText(IDS_DELETE_QUESTION) + ": " + path;
    const struct {
        int answer;
        bool held; // open in another program
        Lines boxes;
        std::size_t left;
    } cases[] = {
        {IDNO, false, {asked}, 4},
        {IDYES,
         true,
         {asked,
          ResourceText(IDS_REMOVE_FAILED_CAPTION) + ": " + ResourceText(IDS_REMOVE_FAILED, {path})},
         4},
        {IDYES, false, {asked}, 3},
    };
    for (const auto& c : cases) {
        const HANDLE held = c.held ? CreateFileW(PathOf(path).c_str(), GENERIC_READ, 0, nullptr,
                                                 OPEN_EXISTING, 0, nullptr)
                                   : INVALID_HANDLE_VALUE;
        SendMessageW(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, 1, 0);
        brisa.m_answers = {c.answer, IDOK};
        brisa.Click(IDC_DELETE);
        CloseHandle(held);
        EXPECT_EQ(c.boxes, brisa.TakeMessageBoxes());
        EXPECT_EQ(c.left, brisa.Files().size());
        EXPECT_EQ(1, brisa.Selection()); // the entry that moved into its place
    }
    EXPECT_EQ(listed[2], brisa.FileName());
}

TEST(WavListView, DeleteAndPlayActOnTheListedFileOrOnNone) {
    // A name with a trailing space, as archives and shares bring, beside the one without.
    CBrisaHarness brisa;
    const std::string spaced = brisa.WavDir() + "\\ding.wav ";
    WriteFileText("\\\\?\\" + spaced, "RIFF");
    brisa.Click(IDC_REFRESH);
    const Lines listed = {"ding.wav", "ding.wav ", "other.wav"};
    ASSERT_EQ(listed, brisa.Files());
    SendMessageW(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, 1, 0);
    brisa.Click(IDC_PLAY);
    EXPECT_EQ(Lines{Message(IDS_CANNOT_PLAY, {spaced})}, brisa.TakeMessageBoxes());
    brisa.m_answers = {IDYES};
    brisa.Click(IDC_DELETE);
    EXPECT_EQ((Lines{"ding.wav", "other.wav"}), brisa.Files());
}

// The list box's LB_RESETCONTENT messages, one for each listing, counted while it lives.
int g_nListings = 0;
WNDPROC g_pfnListProc = nullptr;
LRESULT CALLBACK CountListings(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    g_nListings += msg == LB_RESETCONTENT;
    return CallWindowProcW(g_pfnListProc, hwnd, msg, wParam, lParam);
}

TEST(WavListView, TheListFollowsItsFolderWithinASecondOnceForABurstAndKeepsWhatIsTyped) {
    CBrisaHarness brisa;
    const HWND list = brisa.Item(IDC_FILE_LIST);
    g_pfnListProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(CountListings)));
    SendMessageW(list, LB_SETCURSEL, 1, 0);
    brisa.TypeFileName("oth"); // selects other.wav by its prefix
    g_nListings = 0;
    // Hundreds of files added and one renamed in a burst while Brisa runs: listed once, within
    // a second of the last change.
    Lines expected = {"other.wav", "zing.mid"};
    for (int i = 0; i < 300; ++i)
        expected.push_back("a" + std::to_string(100 + i) + ".mp3");
    std::atomic<ULONGLONG> burstEnd{0};
    std::thread burst([&] {
        for (std::size_t i = 2; i < expected.size(); ++i) {
            WriteFileText(brisa.WavDir() + "\\" + expected[i], "ID3");
            Sleep(1);
        }
        std::filesystem::rename(PathOf(brisa.WavDir() + "\\ding.wav"),
                                PathOf(brisa.WavDir() + "\\zing.mid"));
        burstEnd = GetTickCount64();
    });
    const auto listed = [&] { return burstEnd && brisa.Files() == Sorted(expected); };
    EXPECT_LE(0, brisa.PumpUntil(listed, 5000));
    burst.join();
    EXPECT_LT(GetTickCount64() - burstEnd, 1000u);
    brisa.PumpUntil([] { return false; }, 500);
    EXPECT_EQ(1, g_nListings);
    EXPECT_EQ(300, brisa.Selection()); // other.wav, after the 300 added
    EXPECT_EQ("oth", brisa.FileName());
    // A file removed later is followed as well.
    std::filesystem::remove(PathOf(brisa.WavDir() + "\\" + expected[2]));
    expected.erase(expected.begin() + 2);
    EXPECT_LT(brisa.PumpUntil(listed, 3000), 1000);
    // The folder goes away (here renamed): the list and the name box empty.
    EXPECT_TRUE(MoveFileW(PathOf(brisa.WavDir()).c_str(), PathOf(brisa.PathOf("gone")).c_str()));
    EXPECT_LE(0, brisa.PumpUntil([&] { return brisa.Files().empty() && brisa.FileName().empty(); },
                                 1500));
    SetWindowLongPtrW(list, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_pfnListProc));
}

TEST(WavListView, ClientPresenceDrivesSendAndDcc) {
    const auto enabled = [](const CBrisaHarness& brisa) {
        return IsWindowEnabled(brisa.Item(IDC_SEND)) + IsWindowEnabled(brisa.Item(IDC_DCC));
    };
    {
        // A selector that names no client's class finds none, whatever runs.
        CImitationClient client;
        EXPECT_EQ(0, enabled(CBrisaHarness("Client=1010")));
    }
    // Absent at start, Send and DCC stay disabled; a double-click finds the client, enables them
    // and sends; one that finds none leaves them; Refresh follows the client.
    CBrisaHarness brisa;
    EXPECT_EQ(0, enabled(brisa));
    auto client = std::make_unique<CImitationClient>();
    Notify(brisa.Item(IDC_FILE_LIST), LBN_DBLCLK);
    EXPECT_EQ(2, enabled(brisa));
    EXPECT_EQ(Lines{"/sound #chat ding.wav -plays Brisa: ding.wav"}, client->EnteredLines());
    client.reset();
    Notify(brisa.Item(IDC_FILE_LIST), LBN_DBLCLK);
    EXPECT_EQ(2, enabled(brisa));
    brisa.Click(IDC_REFRESH);
    EXPECT_EQ(0, enabled(brisa));
    // Without Refresh, they follow the client within a second, whatever its class.
    for (const char* className : {"mIRC32", "mIRC", "PIRCH"}) {
        const std::string selector = std::string("Client=") + (*className == 'P' ? "1012"
                                                               : className[4]    ? "1009"
                                                                                 : "1011");
        CBrisaHarness other(selector);
        client = std::make_unique<CImitationClient>(className);
        EXPECT_LT(other.PumpUntil([&] { return enabled(other) == 2; }, 1500), 1100) << className;
        client.reset();
        EXPECT_LT(other.PumpUntil([&] { return enabled(other) == 0; }, 1500), 1100) << className;
    }
}

} // namespace
