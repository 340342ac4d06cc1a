#include "brisa_process.h"

#include "controls.h"
#include "resource.h"

#include <cstring>

#include <algorithm>
#include <sstream>

namespace {

struct FoundWindow {
    DWORD processId;
    const char* className; // null: any window
    HWND window;
};

BOOL CALLBACK FindVisibleWindow(HWND hwnd, LPARAM lParam) {
    auto& found = *reinterpret_cast<FoundWindow*>(lParam);
    DWORD processId = 0;
    char className[64] = {};
    GetWindowThreadProcessId(hwnd, &processId);
    GetClassNameA(hwnd, className, sizeof className);
    if (processId != found.processId || !IsWindowVisible(hwnd) ||
        (found.className && std::string(className) != found.className))
        return TRUE;
    found.window = hwnd;
    return FALSE;
}

HWND WaitProcessWindow(DWORD processId, const char* className) {
    FoundWindow found = {processId, className, nullptr};
    WaitUntil([&] { return !EnumWindows(FindVisibleWindow, reinterpret_cast<LPARAM>(&found)); });
    return found.window;
}

} // namespace

bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!predicate()) {
        if (GetTickCount64() >= deadline)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    return true;
}

LRESULT Ask(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

std::string TextOfWindow(HWND window) {
    std::wstring text(Ask(window, WM_GETTEXTLENGTH) + 1, L'\0');
    text.resize(Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0])));
    std::string result(text.size() * 4, '\0');
    result.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      &result[0], static_cast<int>(result.size()), nullptr,
                                      nullptr));
    return result;
}

std::string TestBinDir() {
    char path[MAX_PATH] = {};
    const std::string exe(path, GetModuleFileNameA(nullptr, path, sizeof path));
    return exe.substr(0, exe.find_last_of('\\'));
}

CBrisaProcess::CBrisaProcess(const std::optional<std::string>& ini) {
    static int s_nFolders = 0;
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    do {
        m_strDir = std::string(temp) + "brisa-e2e-" + std::to_string(GetCurrentProcessId()) + "-" +
                   std::to_string(++s_nFolders);
    } while (!CreateDirectoryA(m_strDir.c_str(), nullptr));
    CopyFileA((TestBinDir() + "\\Brisa.exe").c_str(), PathOf("Brisa.exe").c_str(), FALSE);
    CopyFileA((TestBinDir() + "\\winmm_stub.dll").c_str(), PathOf("winmm.dll").c_str(), FALSE);
    if (ini)
        WriteFileText(PathOf("Brisa.INI"), *ini);
}

CBrisaProcess::~CBrisaProcess() {
    if (m_process.hProcess) {
        if (!Exited(0) && IsWindowEnabled(m_hwndMain))
            PostMessageA(m_hwndMain, WM_CLOSE, 0, 0);
        if (!Exited(3000))
            TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, 5000);
        CloseHandle(m_process.hProcess);
    }
    // The exiting process may hold its files a moment longer.
    WaitUntil([this] { return DeleteTree(m_strDir); }, 3000);
}

bool CBrisaProcess::Start() {
    // This process's environment with the test's settings in place of its own.
    std::string environment;
    const LPCH block = GetEnvironmentStringsA();
    for (LPCH p = block; *p; p += strlen(p) + 1) {
        const bool replaced = std::any_of(m_listEnv.begin(), m_listEnv.end(), [&](const auto& set) {
            return _strnicmp(p, (set.first + "=").c_str(), set.first.size() + 1) == 0;
        });
        if (!replaced)
            environment.append(p, strlen(p) + 1);
    }
    FreeEnvironmentStringsA(block);
    for (const auto& [name, value] : m_listEnv)
        environment += name + "=" + value + '\0';
    environment += '\0';
    const std::string exe = PathOf("Brisa.exe");
    std::string command = "\"" + exe + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(exe.c_str(), &command[0], nullptr, nullptr, FALSE, 0, &environment[0],
                        m_strDir.c_str(), &startup, &m_process))
        return false;
    CloseHandle(m_process.hThread);
    m_hwndMain = WaitProcessWindow(m_process.dwProcessId, "fwFrameWnd");
    return m_hwndMain && WaitForInputIdle(m_process.hProcess, kWaitMs) == 0;
}

bool CBrisaProcess::Exited(DWORD timeoutMs) const {
    return WaitForSingleObject(m_process.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

HWND CBrisaProcess::Item(int id) const {
    return GetDlgItem(GetWindow(m_hwndMain, GW_CHILD), id);
}

bool CBrisaProcess::Click(int id) const {
    const HWND button = Item(id);
    return IsWindowEnabled(button) &&
           PostMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                        reinterpret_cast<LPARAM>(button));
}

bool CBrisaProcess::Sync() const {
    // A margin posted to the name box shows once Brisa has handled it, and all posted before it.
    // Brisa never looks at the margins.
    const HWND nameBox = Item(IDC_FILE_NAME);
    const WORD margin = LOWORD(Ask(nameBox, EM_GETMARGINS)) % 8 + 1;
    PostMessageA(nameBox, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(margin, 0));
    return WaitUntil([&] { return LOWORD(Ask(nameBox, EM_GETMARGINS)) == margin; });
}

std::string CBrisaProcess::AnswerMessageBox(int button) const {
    const HWND box = WaitProcessWindow(m_process.dwProcessId, "#32770");
    const std::string text = box ? TextOfWindow(GetDlgItem(box, 0xFFFF)) : "";
    if (box)
        PostMessageA(box, WM_COMMAND, button, 0);
    return text;
}

std::vector<std::string> CBrisaProcess::SoundCalls() const {
    std::vector<std::string> calls;
    std::istringstream log(ReadFileText(PathOf("sound.log")));
    for (std::string line; std::getline(log, line);)
        calls.push_back(line);
    return calls;
}
