// The least a Win32 program does to show Brisa's form: a frame with Brisa's menu around the
// form's dialog template, from Brisa's own resources (the same controls, and common controls 6
// through the same manifest), its list filled by one DlgDirListW. The reference for Brisa's
// start-up.
//   baseline_form.exe "<folder>"
#include "resource.h"

#include <windows.h>
#include <commctrl.h>

namespace {

wchar_t g_szSpec[MAX_PATH]; // "<folder>\*.WAV"

INT_PTR CALLBACK FormProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CREATE: {
        const HINSTANCE hInstance = reinterpret_cast<const CREATESTRUCTW*>(lParam)->hInstance;
        const HWND hwndForm =
            CreateDialogW(hInstance, MAKEINTRESOURCEW(IDD_BRISA_FORM), hwnd, FormProc);
        RECT rc;
        GetWindowRect(hwndForm, &rc);
        AdjustWindowRect(&rc, WS_OVERLAPPEDWINDOW, TRUE);
        SetWindowPos(hwnd, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                     SWP_NOMOVE | SWP_NOZORDER);
        ShowWindow(hwndForm, SW_SHOW);
        // Drawn once when full, as Brisa's list is.
        const HWND hwndList = GetDlgItem(hwndForm, IDC_FILE_LIST);
        SendMessageW(hwndList, WM_SETREDRAW, FALSE, 0);
        DlgDirListW(hwndForm, g_szSpec, IDC_FILE_LIST, 0, DDL_READONLY);
        SendMessageW(hwndList, WM_SETREDRAW, TRUE, 0);
        return 0;
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wParam, lParam);
}

} // namespace

int WINAPI WinMain(HINSTANCE hInstance, HINSTANCE, LPSTR, int nCmdShow) {
    // The folder, in quotes, after the program's own quoted path; shell32's parser would add
    // a DLL that Brisa does not load at start.
    LPCWSTR pszArgs = GetCommandLineW();
    for (int nQuotes = 0; *pszArgs && nQuotes < 3; ++pszArgs)
        nQuotes += *pszArgs == L'"';
    const int nDir = lstrlenW(pszArgs) - 1;
    if (nDir <= 0 || nDir + 7 > MAX_PATH)
        return 1;
    lstrcpynW(g_szSpec, pszArgs, nDir + 1);
    lstrcatW(g_szSpec, L"\\*.WAV");
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = WndProc;
    wc.hInstance = hInstance;
    wc.hIcon = LoadIconW(hInstance, MAKEINTRESOURCEW(IDR_MAINFRAME));
    wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszMenuName = MAKEINTRESOURCEW(IDR_MAINFRAME);
    wc.lpszClassName = L"BaselineForm";
    RegisterClassW(&wc);
    const HWND hwnd =
        CreateWindowW(wc.lpszClassName, L"Baseline form", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                      CW_USEDEFAULT, 400, 200, nullptr, nullptr, hInstance, nullptr);
    ShowWindow(hwnd, nCmdShow);
    UpdateWindow(hwnd);
    // The focus in the name box, its caret blinking, as in Brisa's form.
    SetFocus(GetDlgItem(GetWindow(hwnd, GW_CHILD), IDC_FILE_NAME));
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
