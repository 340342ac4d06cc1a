#include "brisa_harness.h"

#include "framework/text.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <array>

static std::function<void(HWND)> g_whileOpen;

static void CALLBACK RunWhileOpen(HWND, UINT, UINT_PTR timer, DWORD) {
    const HWND dialog = FindWindowW(L"#32770", nullptr);
    if (!IsWindowVisible(dialog) || !g_whileOpen)
        return;
    KillTimer(nullptr, timer);
    std::exchange(g_whileOpen, nullptr)(dialog);
    if (IsWindowVisible(dialog)) // one that has ended is hidden at once
        SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
}

CBrisaHarness::CBrisaHarness(const std::string& moreOptions, const Lines& wavFiles,
                             const ViewTiming& timing)
    : m_strDir(MakeTempFolder()) {
    m_timing = timing;
    std::filesystem::create_directory(::PathOf(WavDir()));
    for (const std::string& file : wavFiles)
        WriteFileText(WavDir() + "\\" + file, "RIFF");
    WriteOptions("WAVDir=" + WavDir() + "\r\n" + moreOptions);
    Start();
}

CBrisaHarness::~CBrisaHarness() {
    Close();
    DeleteTree(m_strDir);
}

void CBrisaHarness::Start() {
    if (!InitApplication(GetModuleHandleW(nullptr), SW_SHOW))
        ADD_FAILURE() << "Brisa did not start";
    WaitListed();
}

// The frame's WM_QUIT, and anything else Brisa left for a message loop that no longer runs.
void CBrisaHarness::Close() {
    ExitInstance();
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&msg);
}

std::string CBrisaHarness::Ini() const {
    const std::string bytes = ReadFileText(PathOf("Brisa.INI"));
    if (bytes.compare(0, 2, "\xFF\xFE") != 0)
        return bytes;
    return fw::Narrow({reinterpret_cast<const wchar_t*>(bytes.data() + 2), bytes.size() / 2 - 1});
}

void CBrisaHarness::WriteOptions(const std::string& options) const {
    WriteFileText(PathOf("Brisa.INI"), "[Options]\r\n" + options);
}

void CBrisaHarness::Open(int button, const std::function<void(HWND)>& whileOpen) const {
    g_whileOpen = whileOpen;
    const UINT_PTR timer = SetTimer(nullptr, 0, 1, RunWhileOpen);
    Click(button);
    KillTimer(nullptr, timer);
    if (std::exchange(g_whileOpen, nullptr))
        ADD_FAILURE() << "no dialog opened";
}

void CBrisaHarness::WaitListed() {
    const auto* view = static_cast<const CBrisaView*>(GetMainFrame()->GetActiveView());
    if (PumpUntil([view] { return !view->IsListing(); }, 5000) < 0)
        ADD_FAILURE() << "the folder was not listed";
}

std::string CBrisaHarness::Status(int part) const {
    const HWND bar = FindWindowExW(Main(), nullptr, STATUSCLASSNAMEW, nullptr);
    std::wstring text(LOWORD(SendMessageW(bar, SB_GETTEXTLENGTHW, part, 0)) + 1, L'\0');
    text.resize(LOWORD(SendMessageW(bar, SB_GETTEXTW, part, reinterpret_cast<LPARAM>(&text[0]))));
    return fw::Narrow(text);
}

long long CBrisaHarness::PumpUntil(const std::function<bool()>& done, DWORD ms) {
    const ULONGLONG start = GetTickCount64();
    for (; !done(); PumpMessages()) {
        if (GetTickCount64() - start > ms)
            return -1;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return static_cast<long long>(GetTickCount64() - start);
}

void CBrisaHarness::PressKey(UINT key, bool shift, bool control) {
    std::array<BYTE, 256> state = {};
    state[VK_SHIFT] = shift ? 0x80 : 0;
    state[VK_CONTROL] = control ? 0x80 : 0;
    SetKeyboardState(state.data());
    PostMessageW(GetFocus() ? GetFocus() : Main(), WM_KEYDOWN, key, 1);
    PumpMessages();
    SetKeyboardState(std::array<BYTE, 256>{}.data());
}

int CBrisaHarness::ShowMessageBox(HWND, const std::string& text, const std::string& caption, UINT) {
    m_listBoxes.push_back(caption + ": " + text);
    const int answer = m_answers.empty() ? IDOK : m_answers.front();
    if (!m_answers.empty())
        m_answers.pop_front();
    return answer;
}
