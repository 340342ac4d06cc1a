#include "brisa_process.h"

#include "framework/text.h"
#include "resource.h"

#include <cstring>
#include <sstream>

namespace {

LRESULT Ask(HWND window, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(window, msg, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
    return static_cast<LRESULT>(result);
}

// A visible top-level window of the process, of the class.
HWND WaitProcessWindow(DWORD processId, const char* className) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND w = GetTopWindow(nullptr); w && !found; w = GetWindow(w, GW_HWNDNEXT)) {
            DWORD owner = 0;
            char name[64] = {};
            GetWindowThreadProcessId(w, &owner);
            GetClassNameA(w, name, sizeof name);
            found =
                owner == processId && IsWindowVisible(w) && !strcmp(name, className) ? w : nullptr;
        }
        return found != nullptr;
    });
    return found;
}

} // namespace

bool WaitUntil(const std::function<bool()>& predicate) {
    const ULONGLONG deadline = GetTickCount64() + 10000;
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

std::string TextOfWindow(HWND window) {
    std::wstring text(Ask(window, WM_GETTEXTLENGTH) + 1, L'\0');
    text.resize(Ask(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0])));
    return fw::Narrow(text, nullptr, CP_UTF8);
}

std::string TestBinDir() {
    char path[MAX_PATH] = {};
    const std::string exe(path, GetModuleFileNameA(nullptr, path, sizeof path));
    return exe.substr(0, exe.find_last_of('\\'));
}

CBrisaProcess::CBrisaProcess() : m_strDir(MakeTempFolder("brisa-e2e-")) {
    CopyFileA((TestBinDir() + "\\Brisa.exe").c_str(), PathOf("Brisa.exe").c_str(), FALSE);
    CopyFileA((TestBinDir() + "\\winmm_stub.dll").c_str(), PathOf("winmm.dll").c_str(), FALSE);
}

CBrisaProcess::~CBrisaProcess() {
    if (m_process.hProcess) {
        if (IsWindowEnabled(m_hwndMain))
            PostMessageA(m_hwndMain, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(m_process.hProcess, 3000) != WAIT_OBJECT_0)
            TerminateProcess(m_process.hProcess, 1);
        WaitForSingleObject(m_process.hProcess, 5000);
        CloseHandle(m_process.hProcess);
    }
    // The exiting process may hold its files a moment longer.
    WaitUntil([this] { return DeleteTree(m_strDir); });
}

bool CBrisaProcess::Start() {
    std::string command = "\"" + PathOf("Brisa.exe") + "\"";
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    if (!CreateProcessA(PathOf("Brisa.exe").c_str(), &command[0], nullptr, nullptr, FALSE, 0,
                        nullptr, m_strDir.c_str(), &startup, &m_process))
        return false;
    CloseHandle(m_process.hThread);
    m_hwndMain = WaitProcessWindow(m_process.dwProcessId, "fwFrameWnd");
    return m_hwndMain && WaitForInputIdle(m_process.hProcess, 10000) == 0;
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

std::string CBrisaProcess::AnswerMessageBox() const {
    const HWND box = WaitProcessWindow(m_process.dwProcessId, "#32770");
    const std::string text = box ? TextOfWindow(GetDlgItem(box, 0xFFFF)) : "";
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    return text;
}

Lines CBrisaProcess::SoundCalls() const {
    Lines calls;
    std::istringstream log(ReadFileText(PathOf("sound.log")));
    for (std::string line; std::getline(log, line);)
        calls.push_back(line);
    return calls;
}
