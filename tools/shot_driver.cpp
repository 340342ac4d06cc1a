// shot_driver: opens Brisa's windows one at a time for scripts/screenshots.sh, which builds it.
//   shot_driver rect <title>        waits for the top-level window with this title
//   shot_driver post <id>           posts the command to Brisa's main window
//   shot_driver open <id>           posts the command and waits for the window it opens
//   shot_driver close <hwnd>        closes the window (a menu by Esc) and waits until it has gone
//   shot_driver text <id> <text>    puts the text in the form's box, as if typed
//   shot_driver select <id> <name>  selects the entry in the form's list, as a click would
//   shot_driver size <W>x<H>        gives Brisa's main window this size and paints it whole
//   shot_driver menu <id>           opens the context menu of the form's control, as Shift+F10 does
// rect, open, size and menu print "<hwnd> WxH+X+Y", the window's handle and its rectangle on the
// screen.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace {

const char kMainTitle[] = "Brisa Server - Brisa";
const DWORD kWaitMs = 20000;

struct WindowSet {
    DWORD processId;
    std::set<HWND> windows;
};

BOOL CALLBACK CollectVisible(HWND hwnd, LPARAM lParam) {
    auto* found = reinterpret_cast<WindowSet*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(hwnd, &processId);
    if (processId == found->processId && IsWindowVisible(hwnd))
        found->windows.insert(hwnd);
    return TRUE;
}

std::set<HWND> VisibleWindows(DWORD processId) {
    WindowSet found{processId, {}};
    EnumWindows(CollectVisible, reinterpret_cast<LPARAM>(&found));
    return found.windows;
}

int Print(HWND hwnd) {
    RECT rc;
    GetWindowRect(hwnd, &rc);
    std::printf("%p %ldx%ld+%ld+%ld\n", static_cast<void*>(hwnd), rc.right - rc.left,
                rc.bottom - rc.top, rc.left, rc.top);
    return 0;
}

HWND WaitForTitle(const char* title) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < kWaitMs; Sleep(50)) {
        const HWND hwnd = FindWindowA(nullptr, title);
        if (hwnd && IsWindowVisible(hwnd))
            return hwnd;
    }
    return nullptr;
}

int Fail(const char* what) {
    std::fprintf(stderr, "shot_driver: %s\n", what);
    return 1;
}

// Prints the first window of the process that shows after `before`.
int PrintNewWindow(DWORD processId, const std::set<HWND>& before) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < kWaitMs; Sleep(50)) {
        for (HWND hwnd : VisibleWindows(processId)) {
            if (!before.count(hwnd))
                return Print(hwnd);
        }
    }
    return Fail("no window opened");
}

} // namespace

int main(int argc, char** argv) {
    // Rectangles in the screen's own pixels, also when the display is scaled.
    SetProcessDPIAware();
    if (argc < 3)
        return Fail("usage: shot_driver rect <title> | post <id> | open <id> | close <hwnd> | "
                    "text <id> <text> | select <id> <name> | size <W>x<H> | menu <id>");
    const char* verb = argv[1];
    if (std::strcmp(verb, "rect") == 0) {
        const HWND hwnd = WaitForTitle(argv[2]);
        return hwnd ? Print(hwnd) : Fail("no such window");
    }
    if (std::strcmp(verb, "close") == 0) {
        const HWND hwnd = reinterpret_cast<HWND>(std::strtoull(argv[2], nullptr, 16));
        char className[16] = "";
        GetClassNameA(hwnd, className, sizeof className);
        // A menu is not closed as a window: its loop takes the key from the queue.
        const bool menu = std::strcmp(className, "#32768") == 0;
        if (!PostMessageA(hwnd, menu ? WM_KEYDOWN : WM_CLOSE, menu ? VK_ESCAPE : 0, 0))
            return Fail("no such window");
        // A command posted while a modal dialog still runs would open a second one inside it.
        for (DWORD start = GetTickCount(); GetTickCount() - start < kWaitMs; Sleep(50)) {
            if (!IsWindow(hwnd) || !IsWindowVisible(hwnd))
                return 0;
        }
        return Fail("the window stays open");
    }
    const HWND main = FindWindowA(nullptr, kMainTitle);
    if (!main)
        return Fail("Brisa's main window is not there");
    // The form is the main window's first child.
    const HWND form = GetWindow(main, GW_CHILD);
    const int id = std::atoi(argv[2]);
    if (std::strcmp(verb, "text") == 0) {
        // An edit box tells the form of the change itself.
        if (argc != 4 || !SetDlgItemTextA(form, id, argv[3]))
            return Fail("no such box");
        return 0;
    }
    if (std::strcmp(verb, "select") == 0) {
        const HWND list = GetDlgItem(form, id);
        const LRESULT index = argc == 4 ? SendMessageA(list, LB_FINDSTRINGEXACT, -1,
                                                       reinterpret_cast<LPARAM>(argv[3]))
                                        : LB_ERR;
        if (index == LB_ERR)
            return Fail("no such entry");
        SendMessageA(list, LB_SETCURSEL, index, 0);
        SendMessageA(form, WM_COMMAND, MAKEWPARAM(id, LBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(list));
        return 0;
    }
    if (std::strcmp(verb, "size") == 0) {
        int width = 0, height = 0;
        if (std::sscanf(argv[2], "%dx%d", &width, &height) != 2 ||
            !SetWindowPos(main, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER))
            return Fail("the window was not resized");
        return Print(main);
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    const std::set<HWND> before = VisibleWindows(processId);
    if (std::strcmp(verb, "menu") == 0) {
        const HWND control = GetDlgItem(form, id);
        if (!control || !PostMessageA(form, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(control), -1))
            return Fail("no such control");
        return PrintNewWindow(processId, before);
    }
    if (!PostMessageA(main, WM_COMMAND, static_cast<WPARAM>(id), 0))
        return Fail("posting the command failed");
    if (std::strcmp(verb, "post") == 0)
        return 0;
    if (std::strcmp(verb, "open") != 0)
        return Fail("unknown verb");
    return PrintNewWindow(processId, before);
}
