// The main window in this process: the frame, its keys and commands, and help.
#include "brisa_harness.h"

#include <gtest/gtest.h>

namespace {

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
    // Moved to a monitor of another scale, the frame takes the place the system suggests and fits
    // the form again: Wine keeps one scale, so the form keeps its size here.
    RECT suggested = {100, 80, 700, 600};
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    GetWindowRect(main, &moved);
    EXPECT_EQ(100, moved.left);
    EXPECT_EQ(formRect.right - formRect.left, ClientSize(main).cx);
    EXPECT_EQ(formRect.bottom - formRect.top, ClientSize(main).cy);
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
