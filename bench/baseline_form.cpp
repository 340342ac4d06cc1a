// The least a Win32 program does to show Brisa's form: a frame with Brisa's menu around the
// form's dialog template, from Brisa's own resources (the same controls, and common controls 6
// through the same manifest), its list filled by one DlgDirListW; and to narrow that list as the
// search box changes. The reference for Brisa's start-up and its search.
//   baseline_form.exe "<folder>"
#include "resource.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace {

wchar_t g_szSpec[MAX_PATH]; // "<folder>\*.WAV"
// The names listed at start, in order, each after its lower-case form.
std::vector<std::pair<std::wstring, std::wstring>> g_listNames;

// Shows the names that contain the search box's text, case ignored. The names are copied from
// the list at the first search, not at start, which the start-up figures time.
void Narrow(HWND hwndForm) {
    const HWND hwndList = GetDlgItem(hwndForm, IDC_FILE_LIST);
    if (g_listNames.empty()) {
        const int nCount = static_cast<int>(SendMessageW(hwndList, LB_GETCOUNT, 0, 0));
        for (int i = 0; i < nCount; ++i) {
            std::wstring strName(SendMessageW(hwndList, LB_GETTEXTLEN, i, 0) + 1, L'\0');
            strName.resize(
                SendMessageW(hwndList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&strName[0])));
            std::wstring strLower = strName;
            CharLowerBuffW(&strLower[0], static_cast<DWORD>(strLower.size()));
            g_listNames.emplace_back(std::move(strLower), std::move(strName));
        }
        std::sort(g_listNames.begin(), g_listNames.end());
    }
    wchar_t szText[MAX_PATH];
    GetDlgItemTextW(hwndForm, IDC_FILTER, szText, MAX_PATH);
    CharLowerW(szText);
    SendMessageW(hwndList, WM_SETREDRAW, FALSE, 0);
    SendMessageW(hwndList, LB_RESETCONTENT, 0, 0);
    for (const auto& name : g_listNames) {
        if (name.first.find(szText) != std::wstring::npos)
            SendMessageW(hwndList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.second.c_str()));
    }
    SendMessageW(hwndList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hwndList, nullptr, TRUE);
}

INT_PTR CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_COMMAND && LOWORD(wParam) == IDC_FILTER && HIWORD(wParam) == EN_CHANGE) {
        Narrow(hwnd);
        return TRUE;
    }
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
