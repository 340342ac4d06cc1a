#include "controls.h"

#include "framework/text.h"

#include <gtest/gtest.h>

#include <algorithm>
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
    std::exchange(g_whileOpen, nullptr)(dialog);
    // A dialog that has ended is hidden at once and destroyed once its loop returns.
    if (IsWindowVisible(dialog)) {
        ADD_FAILURE() << "the dialog was left open";
        SendMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}

} // namespace

Lines Sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

void DuringModal(const std::function<void()>& open, const std::function<void(HWND)>& whileOpen) {
    g_whileOpen = whileOpen;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, RunWhileOpen);
    open();
    KillTimer(nullptr, timer);
    if (std::exchange(g_whileOpen, nullptr))
        ADD_FAILURE() << "no dialog opened";
}

bool ClickItem(HWND dialog, int id) {
    const HWND button = GetDlgItem(dialog, id);
    if (!IsWindowEnabled(button))
        return false;
    Notify(button, BN_CLICKED);
    return true;
}

void Notify(HWND control, UINT code) {
    SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

std::string TextOf(HWND window) {
    std::string text(GetWindowTextLengthA(window) + 1, '\0');
    text.resize(GetWindowTextA(window, &text[0], static_cast<int>(text.size())));
    return text;
}

Lines ItemsOf(HWND list) {
    Lines items(SendMessageA(list, LB_GETCOUNT, 0, 0));
    for (std::size_t i = 0; i < items.size(); ++i) {
        items[i].resize(SendMessageA(list, LB_GETTEXTLEN, i, 0) + 1);
        items[i].resize(SendMessageA(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(&items[i][0])));
    }
    return items;
}

std::string ReadFileText(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

bool WriteFileText(const std::string& path, const std::string& text) {
    return static_cast<bool>(std::ofstream(path, std::ios::binary) << text);
}

bool DeleteTree(const std::string& path) {
    WIN32_FIND_DATAA data;
    const HANDLE find = FindFirstFileA((path + "\\*").c_str(), &data);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &data)) {
        const std::string name = data.cFileName, child = path + "\\" + name;
        if (name == "." || name == "..")
            continue;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            DeleteTree(child);
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
    }
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    return RemoveDirectoryA(path.c_str()) != FALSE;
}

std::string MakeTempFolder(const std::string& prefix) {
    static int s_nFolders = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string folder;
    do {
        folder = std::string(temp) + prefix + std::to_string(GetCurrentProcessId()) + "-" +
                 std::to_string(++s_nFolders);
    } while (!CreateDirectoryA(folder.c_str(), nullptr));
    return folder;
}

std::string FromUtf16(const std::string& bytes) {
    if (bytes.compare(0, 2, "\xFF\xFE") != 0)
        return bytes;
    return fw::Narrow(reinterpret_cast<const wchar_t*>(bytes.data() + 2), bytes.size() / 2 - 1,
                      nullptr, CP_UTF8);
}
