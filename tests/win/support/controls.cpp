#include "controls.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace {

std::function<void(HWND)> g_whileOpen;

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam) {
    char className[8] = {};
    GetClassNameA(hwnd, className, sizeof className);
    if (std::string(className) != "#32770" || !IsWindowVisible(hwnd))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hwnd;
    return FALSE;
}

void CALLBACK RunWhileOpen(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND dialog = nullptr;
    EnumThreadWindows(GetCurrentThreadId(), FindDialog, reinterpret_cast<LPARAM>(&dialog));
    if (!dialog || !g_whileOpen)
        return;
    KillTimer(nullptr, timer);
    const auto whileOpen = std::move(g_whileOpen);
    g_whileOpen = nullptr;
    whileOpen(dialog);
    // What whileOpen posted (a close box posts its Cancel), as the dialog's loop would take it.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogMessageA(dialog, &msg))
            DispatchMessageA(&msg);
    }
    // A dialog that has ended is hidden at once and destroyed once its loop returns.
    if (IsWindowVisible(dialog)) {
        ADD_FAILURE() << "the dialog was left open";
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

} // namespace

void DuringModal(const std::function<void()>& open, const std::function<void(HWND)>& whileOpen) {
    g_whileOpen = whileOpen;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, RunWhileOpen);
    open();
    KillTimer(nullptr, timer);
    if (g_whileOpen)
        ADD_FAILURE() << "no dialog opened";
    g_whileOpen = nullptr;
}

bool ClickItem(HWND dialog, int id) {
    const HWND button = GetDlgItem(dialog, id);
    if (!IsWindowEnabled(button))
        return false;
    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
    return true;
}

std::string TextOf(HWND window) {
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, &text[0], static_cast<int>(text.size())));
    return text;
}

std::vector<std::string> ItemsOf(HWND list) {
    std::vector<std::string> items;
    const int count = static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        std::string item(SendMessageA(list, LB_GETTEXTLEN, i, 0) + 1, '\0');
        item.resize(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&item[0])));
        items.push_back(item);
    }
    return items;
}

std::string ReadFileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

bool WriteFileText(const std::string& path, const std::string& text) {
    std::ofstream file(path, std::ios::binary);
    return static_cast<bool>(file << text);
}

bool DeleteTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName, child = path + "\\" + name;
            if (name == "." || name == "..")
                continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                DeleteTree(child);
            SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(child.c_str());
        } while (FindNextFileA(find, &data));
        FindClose(find);
    }
    return RemoveDirectoryA(path.c_str()) != FALSE;
}

std::string FromUtf16(const std::string& bytes) {
    if (bytes.compare(0, 2, "\xFF\xFE") != 0)
        return bytes;
    const auto* text = reinterpret_cast<const wchar_t*>(bytes.data() + 2);
    const int length = static_cast<int>(bytes.size() / 2 - 1);
    std::string result(length * 3, '\0');
    result.resize(WideCharToMultiByte(CP_UTF8, 0, text, length, &result[0],
                                      static_cast<int>(result.size()), nullptr, nullptr));
    return result;
}
