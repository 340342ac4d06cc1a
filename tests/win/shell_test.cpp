// The main window in this process: the frame, its keys and commands, and help.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

namespace {

SIZE ClientSize(HWND window) {
    RECT rect = {};
    GetClientRect(window, &rect);
    return {rect.right, rect.bottom};
}

TEST(Shell, TheFrameFitsTheFormOnAnyScaleNewRelistsAndExitEndsTheLoop) {
    CBrisaHarness brisa;
    const HWND main = brisa.Main(), form = GetWindow(main, GW_CHILD);
    EXPECT_EQ("Brisa Server - Brisa", TextOf(main));
    RECT formRect = {}, moved = {};
    GetWindowRect(form, &formRect);
    // Moved to a monitor of another scale, the frame takes the place the system suggests, and
    // grows only where the form would not show whole: Wine keeps one scale, so the form keeps
    // its size here.
    RECT suggested = {100, 80, 700, 600};
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(main, &moved);
    EXPECT_EQ(100, moved.left);
    EXPECT_EQ(600, moved.right - moved.left);
    suggested = {100, 80, 110, 90};
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(formRect.right - formRect.left, ClientSize(main).cx);
    EXPECT_EQ(formRect.bottom - formRect.top, ClientSize(form).cy);
    SendMessageW(brisa.Item(IDC_FILE_LIST), LB_SETCURSEL, 1, 0);
    brisa.PressKey('N', false, true);
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
    CBrisaHarness brisa("", {}, ViewTiming()); // its timers quiet enough for Settle
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
        const std::string topic(brisa.LoadRaw(c.topic, L"HELPTEXT"));
        EXPECT_EQ("Brisa Help - " + topic.substr(0, topic.find('\n')), TextOf(help));
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

} // namespace

namespace {

RECT ChildRect(HWND control) {
    RECT rect = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(Shell, TheWindowGrowsComesBackWhereItWasAndItsStatusLineSaysWhatIsGoingOn) {
    CBrisaHarness brisa;
    const HWND main = brisa.Main();
    RECT small = {}, list = ChildRect(brisa.Item(IDC_FILE_LIST)),
         play = ChildRect(brisa.Item(IDC_PLAY)), send = ChildRect(brisa.Item(IDC_SEND));
    GetWindowRect(main, &small);
    // The list grows with the window, the buttons on the right follow its edge, the others stay.
    SetWindowPos(main, nullptr, 120, 90, small.right - small.left + 200,
                 small.bottom - small.top + 100, SWP_NOZORDER);
    const RECT grown = ChildRect(brisa.Item(IDC_FILE_LIST)),
               moved = ChildRect(brisa.Item(IDC_PLAY));
    EXPECT_EQ(list.right - list.left + 200, grown.right - grown.left);
    EXPECT_EQ(list.bottom - list.top + 100, grown.bottom - grown.top);
    EXPECT_EQ(play.left + 200, moved.left);
    const RECT stayed = ChildRect(brisa.Item(IDC_SEND));
    EXPECT_TRUE(EqualRect(&send, &stayed));
    // Closed and started again, it comes back at that place; never smaller than the form.
    SendMessageW(main, WM_CLOSE, 0, 0);
    brisa.Restart();
    RECT again = {};
    GetWindowRect(brisa.Main(), &again);
    EXPECT_EQ(120 + small.right - small.left + 200, again.right);
    EXPECT_EQ(90, again.top);
    SetWindowPos(brisa.Main(), nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER);
    GetWindowRect(brisa.Main(), &again);
    EXPECT_EQ(small.right - small.left, again.right - again.left);
    // The status line: the sounds listed, and the client as it comes and goes.
    EXPECT_EQ(ResourceText(IDS_STATUS_SOUNDS, {"2", brisa.WavDir()}), brisa.Status(0));
    EXPECT_EQ(ResourceText(IDS_STATUS_NO_CLIENT, {"mIRC32"}), brisa.Status(1));
    {
        CImitationClient other({"mIRC", "#chat", {}, true, true});
        EXPECT_LE(0, brisa.PumpUntil(
                         [&] {
                             return brisa.Status(1) ==
                                    ResourceText(IDS_STATUS_OTHER_CLIENT, {"mIRC32", "mIRC"});
                         },
                         1000));
    }
    CImitationClient client({"mIRC32", "#chat [+nt]: hello"});
    client.Do([](CModelClient& model) { model.SetInterface("5.71"); });
    EXPECT_LE(0, brisa.PumpUntil(
                     [&] {
                         return brisa.Status(1) ==
                                ResourceText(IDS_STATUS_CLIENT_TOLD, {"mIRC32", "5.71", "#chat"});
                     },
                     1000));
    // File > Open Sounds Folder.
    SendMessageW(brisa.Main(), WM_COMMAND, ID_OPEN_SOUNDS_FOLDER, 0);
    EXPECT_EQ(Lines{"open: " + brisa.WavDir()}, brisa.TakeMessageBoxes());
}

} // namespace
