// shot_driver: opens Brisa's windows one at a time for scripts/screenshots.sh, which builds it.
//   shot_driver rect <title>   waits for the top-level window with this title
//   shot_driver post <id>      posts the command to Brisa's main window
//   shot_driver open <id>      posts the command and waits for the window it opens
//   shot_driver close <hwnd>   posts WM_CLOSE to the window and waits until it has gone
// rect and open print "<hwnd> WxH+X+Y", the window's handle and its rectangle on the screen.
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

} // namespace

int main(int argc, char** argv) {
    // Rectangles in the screen's own pixels, also when the display is scaled.
    SetProcessDPIAware();
    if (argc != 3)
        return Fail("usage: shot_driver rect <title> | post <id> | open <id> | close <hwnd>");
    const char* verb = argv[1];
    if (std::strcmp(verb, "rect") == 0) {
        const HWND hwnd = WaitForTitle(argv[2]);
        return hwnd ? Print(hwnd) : Fail("no such window");
    }
    if (std::strcmp(verb, "close") == 0) {
        const HWND hwnd = reinterpret_cast<HWND>(std::strtoull(argv[2], nullptr, 16));
        if (!PostMessageA(hwnd, WM_CLOSE, 0, 0))
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
    const WPARAM command = static_cast<WPARAM>(std::strtoul(argv[2], nullptr, 10));
    DWORD processId = 0;
    GetWindowThreadProcessId(main, &processId);
    const std::set<HWND> before = VisibleWindows(processId);
    if (!PostMessageA(main, WM_COMMAND, command, 0))
        return Fail("posting the command failed");
    if (std::strcmp(verb, "post") == 0)
        return 0;
    if (std::strcmp(verb, "open") != 0)
        return Fail("unknown verb");
    for (DWORD start = GetTickCount(); GetTickCount() - start < kWaitMs; Sleep(50)) {
        for (HWND hwnd : VisibleWindows(processId)) {
            if (!before.count(hwnd))
                return Print(hwnd);
        }
    }
    return Fail("the command opened no window");
}
