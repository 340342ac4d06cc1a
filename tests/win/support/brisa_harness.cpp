#include "brisa_harness.h"

#include "framework/text.h"

#include <gtest/gtest.h>

#include <array>

CBrisaHarness::CBrisaHarness(const std::string& moreOptions,
                             const std::vector<std::string>& wavFiles) {
    static int s_nFolders = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    do {
        m_strDir = std::string(temp) + "brisa-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(++s_nFolders);
    } while (!CreateDirectoryA(m_strDir.c_str(), nullptr));
    CreateDirectoryA(WavDir().c_str(), nullptr);
    for (const std::string& file : wavFiles)
        WriteFileText(WavDir() + "\\" + file, "RIFF");
    WriteOptions("WAVDir=" + WavDir() + "\r\n" + moreOptions);
    if (!InitApplication(GetModuleHandleA(nullptr), SW_SHOW))
        ADD_FAILURE() << "Brisa did not start";
}

CBrisaHarness::~CBrisaHarness() {
    Close();
    DeleteTree(m_strDir);
}

void CBrisaHarness::Close() {
    ExitInstance();
    // The frame's WM_QUIT, and anything else Brisa left for a message loop that no longer runs.
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
}

void CBrisaHarness::Restart() {
    Close();
    if (!InitApplication(GetModuleHandleA(nullptr), SW_SHOW))
        ADD_FAILURE() << "Brisa did not start again";
}

std::wstring CBrisaHarness::LocateProfile() const {
    return fw::Widen(PathOf("Brisa.INI"));
}

std::string CBrisaHarness::Ini() const {
    return FromUtf16(ReadFileText(PathOf("Brisa.INI")));
}

void CBrisaHarness::WriteOptions(const std::string& options) const {
    WriteFileText(PathOf("Brisa.INI"), "[Options]\r\n" + options);
}

HWND CBrisaHarness::Item(int id) const {
    return GetDlgItem(GetWindow(Main(), GW_CHILD), id);
}

bool CBrisaHarness::Click(int id) const {
    return ClickItem(GetWindow(Main(), GW_CHILD), id);
}

void CBrisaHarness::Notify(int id, UINT code) const {
    SendMessageA(GetWindow(Main(), GW_CHILD), WM_COMMAND, MAKEWPARAM(id, code),
                 reinterpret_cast<LPARAM>(Item(id)));
}

void CBrisaHarness::TypeFileName(const std::string& text) const {
    SetWindowTextA(Item(IDC_FILE_NAME), text.c_str()); // notifies EN_CHANGE, as typing does
}

bool CBrisaHarness::Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT)
            return false;
        if (!PreTranslateMessage(msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
    return true;
}

void CBrisaHarness::Settle() {
    const ULONGLONG deadline = GetTickCount64() + 2000;
    while (MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT) != WAIT_TIMEOUT &&
           GetTickCount64() < deadline)
        Pump();
    Pump();
}

void CBrisaHarness::PressKey(UINT key, bool shift, bool control) {
    BYTE state[256] = {};
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(state);
    PostMessageA(GetFocus() ? GetFocus() : Main(), WM_KEYDOWN, key, 1);
    Pump();
    SetKeyboardState(std::array<BYTE, 256>{}.data());
}

std::vector<std::string> CBrisaHarness::Files() const {
    return ItemsOf(Item(IDC_FILE_LIST));
}

std::string CBrisaHarness::FileName() const {
    return TextOf(Item(IDC_FILE_NAME));
}

int CBrisaHarness::Selection() const {
    return static_cast<int>(SendMessageA(Item(IDC_FILE_LIST), LB_GETCURSEL, 0, 0));
}

std::vector<std::string> CBrisaHarness::TakeMessageBoxes() {
    return std::exchange(m_listBoxes, {});
}

int CBrisaHarness::ShowMessageBox(HWND, const std::string& text, const std::string& caption, UINT) {
    m_listBoxes.push_back(caption + ": " + text);
    if (m_answers.empty())
        return IDOK;
    const int answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}
