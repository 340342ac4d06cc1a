// The least a Win32 program does to list a folder's WAV files: a sorted list box filled by
// DlgDirListA at start and on each click of its Refresh button. The reference for Brisa's
// listing; the list box has the styles of Brisa's (sorted by the system here, where Brisa sorts
// its names itself), the controls its ids.
#include "resource.h"

#include <windows.h>

namespace {

char g_szSpec[MAX_PATH]; // "<folder>\*.WAV", from the command line

void FillList(HWND hwnd) {
    // The listing writes into the path pattern it is given.
    char szSpec[MAX_PATH];
    lstrcpynA(szSpec, g_szSpec, sizeof(szSpec));
    // Drawing is held off while the list fills, as Brisa does: a visible list under Wine
    // redraws its scroll bar for every entry added, some milliseconds each.
    const HWND hwndList = GetDlgItem(hwnd, IDC_FILE_LIST);
    SendMessageA(hwndList, WM_SETREDRAW, FALSE, 0);
    DlgDirListA(hwnd, szSpec, IDC_FILE_LIST, 0, DDL_READONLY);
    SendMessageA(hwndList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwndList, nullptr, TRUE);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        const HINSTANCE hInstance = reinterpret_cast<const CREATESTRUCTA*>(lParam)->hInstance;
        CreateWindowA("LISTBOX", "",
                      WS_CHILD | WS_VISIBLE | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT |
                          LBS_DISABLENOSCROLL | WS_BORDER | WS_VSCROLL | WS_TABSTOP,
                      80, 40, 180, 90, hwnd, reinterpret_cast<HMENU>(IDC_FILE_LIST), hInstance,
                      nullptr);
        CreateWindowA("BUTTON", "&Refresh", WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, 6, 70, 66, 26,
                      hwnd, reinterpret_cast<HMENU>(IDC_REFRESH), hInstance, nullptr);
        FillList(hwnd);
        return 0;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_REFRESH && HIWORD(wParam) == BN_CLICKED)
            FillList(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR pszCmdLine, int nCmdShow) {
    // Plain string calls of the system keep the program free of the C++ library.
    const char kPattern[] = "\\*.WAV";
    const int nDir = lstrlenA(pszCmdLine) - 2; // the folder comes in quotes
    if (nDir <= 0 || nDir + sizeof(kPattern) > sizeof(g_szSpec))
        return 1;
    lstrcpynA(g_szSpec, pszCmdLine + 1, nDir + 1);
    lstrcatA(g_szSpec, kPattern);

    WNDCLASSA wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BaselineList";
    RegisterClassA(&wc);
    const HWND hwnd =
        CreateWindowA(wc.lpszClassName, "Baseline list", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 300, 180, nullptr, nullptr, hInstance, nullptr);
    ShowWindow(hwnd, nCmdShow);
    UpdateWindow(hwnd);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
