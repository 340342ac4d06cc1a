#include "controls.h"

#include "framework/text.h"

#include <algorithm>
#include <fstream>
#include <sstream>

Lines Sorted(Lines lines) {
    std::sort(lines.begin(), lines.end());
    return lines;
}

bool ClickItem(HWND dialog, int id) {
    const HWND button = GetDlgItem(dialog, id);
    if (!IsWindowEnabled(button))
        return false;
    Notify(button, BN_CLICKED);
    return true;
}

void Notify(HWND control, UINT code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

Lines ItemsOf(HWND list) {
    fw::CListBox listBox;
    listBox.m_hWnd = list;
    Lines items(listBox.SendMessage(LB_GETCOUNT));
    for (std::size_t i = 0; i < items.size(); ++i)
        items[i] = listBox.GetText(static_cast<int>(i));
    return items;
}

std::string ResourceText(UINT id, const std::vector<std::string>& args) {
    const wchar_t* text = nullptr;
    const int length =
        LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<LPWSTR>(&text), 0);
    return fw::FormatText(fw::Narrow({text, static_cast<std::size_t>(std::max(length, 0))}), args);
}

std::filesystem::path PathOf(const std::string& utf8) {
    return std::filesystem::path(fw::Widen(utf8));
}

std::string ReadFileText(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(PathOf(path), std::ios::binary).rdbuf();
    return text.str();
}

void WriteFileText(const std::string& path, const std::string& text) {
    std::filesystem::create_directories(PathOf(path).parent_path());
    std::ofstream(PathOf(path), std::ios::binary) << text;
}

void PressHotkey(UINT key) {
    for (const BYTE k : {BYTE{VK_CONTROL}, BYTE{VK_MENU}, static_cast<BYTE>(key)})
        keybd_event(k, 0, 0, 0);
    for (const BYTE k : {static_cast<BYTE>(key), BYTE{VK_MENU}, BYTE{VK_CONTROL}})
        keybd_event(k, 0, KEYEVENTF_KEYUP, 0);
}

std::string MakeTempFolder() {
    static int s_nFolders = 0;
    std::filesystem::path folder;
    do {
        folder =
            std::filesystem::temp_directory_path() /
            ("brisa-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++s_nFolders));
    } while (!std::filesystem::create_directory(folder));
    return fw::Narrow(folder.wstring());
}

// The path verbatim, which a name with a trailing space needs.
bool DeleteTree(const std::string& path) {
    std::error_code error;
    std::filesystem::remove_all(PathOf("\\\\?\\" + path), error);
    return !error;
}
