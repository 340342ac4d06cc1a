// The main window in this process: the frame, its layout, keys, commands and status line, and help.
#include "brisa_harness.h"
#include "imitation_client.h"

#include <gtest/gtest.h>

static RECT RectIn(HWND window, HWND parent) {
    RECT rect = {};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(Shell, TheFrameFitsTheFormComesBackWhereItWasSaysWhatIsGoingOnAndOpensEachHelpTopic) {
    CBrisaHarness brisa("", {"ding.wav"});
    const HWND main = brisa.Main(), form = GetWindow(main, GW_CHILD);
    EXPECT_EQ("Brisa Server - Brisa", TextOf(main));
    // At a new scale the frame takes the suggested place, grown where the form would not show
    // whole (Wine keeps the form's size).
    const RECT formRect = RectIn(form, nullptr);
    RECT suggested = {100, 80, 110, 90}, client = {};
    SendMessageW(main, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    GetClientRect(main, &client);
    EXPECT_EQ(100, RectIn(main, nullptr).left);
    EXPECT_EQ(formRect.right - formRect.left, client.right);
    // Grown, closed and started again, the window comes back at that place and size.
    const RECT small = RectIn(main, nullptr);
    SetWindowPos(main, nullptr, 120, 90, small.right - small.left + 200,
                 small.bottom - small.top + 100, SWP_NOZORDER);
    SendMessageW(main, WM_CLOSE, 0, 0);
    brisa.Restart();
    const RECT again = RectIn(brisa.Main(), nullptr);
    EXPECT_EQ(120 + small.right - small.left + 200, again.right);
    EXPECT_EQ(90, again.top);
    CImitationClient imitation; // the status line follows it as it comes
    const std::string runs = ResourceText(IDS_STATUS_CLIENT_RUNS, {"mIRC32"});
    EXPECT_LE(0, brisa.PumpUntil([&] { return brisa.Status(1) == runs; }, 2000));
    EXPECT_TRUE(IsWindowEnabled(brisa.Item(IDC_SEND))); // and Send
    // The edit keys act on the focused box, not on the accelerators' empty commands.
    SetFocus(brisa.Item(IDC_FILE_NAME));
    SendMessageW(brisa.Item(IDC_FILE_NAME), EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L"x"));
    brisa.PressKey('Z', false, true);
    EXPECT_EQ("ding.wav", brisa.FileName());
    SendMessageW(brisa.Main(), WM_COMMAND, ID_OPEN_SOUNDS_FOLDER, 0);
    EXPECT_EQ(Lines{"open: " + brisa.WavDir()}, brisa.TakeMessageBoxes());
    // Each help context opens its topic.
    const struct {
        std::function<void()> action;
        UINT topic;
    } cases[] = {
        {[&] { SendMessageW(brisa.Main(), WM_COMMAND, ID_HELP_INDEX, 0); }, IDH_INDEX},
        {[&] { brisa.PressKey(VK_F1); }, IDH_MAIN_WINDOW},
        {[&] { brisa.Click(IDC_HELP_BUTTON); }, IDH_MAIN_WINDOW},
        {[&] { brisa.Open(IDC_OPTIONS, [](HWND dialog) { ClickItem(dialog, ID_HELP); }); },
         IDH_OPTIONS},
        // Shift+F1, then a click over a control; the frame, to hold the mouse, must be active.
        {[&] {
             SetForegroundWindow(brisa.Main());
             brisa.Pump(500); // activation comes through the X server
             brisa.PressKey(VK_F1, true);
             const RECT send = RectIn(brisa.Item(IDC_SEND), brisa.Main());
             SendMessageW(brisa.Main(), WM_LBUTTONDOWN, 0, MAKELPARAM(send.left + 2, send.top + 2));
         },
         IDH_ANNOUNCING},
    };
    for (const auto& c : cases) {
        c.action();
        const HWND help = FindWindowW(L"fwHelpWindow", nullptr);
        const std::string topic(brisa.LoadRaw(c.topic, L"HELPTEXT"));
        EXPECT_EQ("Brisa Help - " + topic.substr(0, topic.find('\n')), TextOf(help));
        DestroyWindow(help);
    }
    SendMessageW(brisa.Main(), WM_COMMAND, ID_APP_EXIT, 0);
    EXPECT_FALSE(brisa.PumpMessages());
    EXPECT_FALSE(IsWindow(brisa.Main()));
}
