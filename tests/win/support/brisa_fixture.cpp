#include "brisa_fixture.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <map>
#include <sstream>

namespace {

bool DeleteTree(const std::string& strDir) {
    WIN32_FIND_DATAA data;
    const HANDLE hFind = FindFirstFileA((strDir + "\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::string strName = data.cFileName;
            const std::string strPath = strDir + "\\" + strName;
            if (strName == "." || strName == "..")
                continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteTree(strPath);
            } else {
                SetFileAttributesA(strPath.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA(strPath.c_str());
            }
        } while (FindNextFileA(hFind, &data));
        FindClose(hFind);
    }
    return RemoveDirectoryA(strDir.c_str()) || !FileExists(strDir);
}

struct CLessNoCase {
    bool operator()(const std::string& a, const std::string& b) const {
        return _stricmp(a.c_str(), b.c_str()) < 0;
    }
};

// This process's environment with listSet applied, as the block CreateProcessA takes.
std::string EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& listSet) {
    // Filled from listSet's end first, so its last setting of a name wins over all others.
    std::map<std::string, std::string, CLessNoCase> mapVars(listSet.rbegin(), listSet.rend());
    const LPCH pBlock = GetEnvironmentStringsA();
    for (LPCH p = pBlock; *p; p += std::strlen(p) + 1) {
        if (const char* pEquals = std::strchr(p + 1, '=')) // "=C:=C:\dir" names begin with '='
            mapVars.emplace(std::string(p, pEquals - p), pEquals + 1);
    }
    FreeEnvironmentStringsA(pBlock);
    std::string strBlock; // sorted, as Windows keeps it
    for (const auto& [strName, strValue] : mapVars)
        strBlock += strName + "=" + strValue + '\0';
    return strBlock + '\0';
}

} // namespace

CBrisaCase::CBrisaCase(const std::optional<std::string>& strIni) {
    static std::atomic<int> s_nCases{0};
    char szTemp[MAX_PATH];
    const DWORD nTemp = GetTempPathA(sizeof(szTemp), szTemp);
    do {
        m_strDir = std::string(szTemp, nTemp) + "brisa-case-" +
                   std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++s_nCases);
    } while (!CreateDirectoryA(m_strDir.c_str(), nullptr) &&
             GetLastError() == ERROR_ALREADY_EXISTS);
    const std::string strBin = TestBinDir();
    CopyFileA((strBin + "\\Brisa.exe").c_str(), PathOf("Brisa.exe").c_str(), FALSE);
    CopyFileA((strBin + "\\winmm_stub.dll").c_str(), PathOf("winmm.dll").c_str(), FALSE);
    if (strIni)
        WriteIni(*strIni);
}

CBrisaCase::~CBrisaCase() {
    Stop();
    // The exiting process may hold its files a moment longer.
    WaitUntil([this] { return DeleteTree(m_strDir); }, 3000);
}

std::string CBrisaCase::MakeDir(const std::string& strName,
                                const std::vector<std::string>& listFiles) const {
    const std::string strPath = PathOf(strName);
    CreateDirectoryA(strPath.c_str(), nullptr);
    for (const std::string& strFile : listFiles)
        WriteFileText(strPath + "\\" + strFile, "RIFF");
    return strPath;
}

std::string CBrisaCase::UseWavDir(const std::string& strMoreOptions) const {
    const std::string strDir = MakeDir("wav", {"ding.wav", "other.wav"});
    WriteWavDir(strDir, strMoreOptions);
    return strDir;
}

std::vector<std::string> CBrisaCase::SoundCalls() const {
    std::vector<std::string> list;
    std::istringstream stream(ReadFileText(PathOf("sound.log")));
    for (std::string strLine; std::getline(stream, strLine);)
        list.push_back(strLine);
    return list;
}

std::string CBrisaCase::LastSound() const {
    const std::vector<std::string> listCalls = SoundCalls();
    return listCalls.empty() ? "" : listCalls.back();
}

bool CBrisaCase::Start() {
    Stop();
    const std::string strExe = PathOf("Brisa.exe");
    // Wine loads the winmm.dll beside the copy because the test prefix tells it to for
    // Brisa.exe (cmake/wine-env.sh): WINEDLLOVERRIDES would not survive CreateProcess.
    std::string strEnvironment = EnvironmentBlock(m_listEnv);
    std::string strCommand = "\"" + strExe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(strExe.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0,
                        &strEnvironment[0], m_strDir.c_str(), &si, &pi)) {
        std::fprintf(stderr, "CreateProcess %s failed: %lu\n", strExe.c_str(), GetLastError());
        return false;
    }
    CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
    m_nProcessId = pi.dwProcessId;

    WaitUntil([this] {
        m_hwndMain = FindProcessWindow(m_nProcessId, kMainCaption);
        return m_hwndMain || WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0;
    });
    // The window shows before Brisa's start-up is through; it is once Brisa waits for input.
    if (m_hwndMain && WaitForInputIdle(m_hProcess, kWaitMs) == 0)
        return true;
    DWORD nExitCode = 0;
    GetExitCodeProcess(m_hProcess, &nExitCode);
    std::fprintf(stderr,
                 "Brisa showed no main window, or did not settle, within %lu ms (exit code %lu)\n",
                 kWaitMs, nExitCode);
    return false;
}

bool CBrisaCase::ProcessExited(DWORD timeoutMs) const {
    return !m_hProcess ||
           WaitUntil([this] { return WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0; },
                     timeoutMs);
}

void CBrisaCase::Stop() {
    if (!m_hProcess)
        return;
    // While a modal dialog or message box is up the main window is disabled, and WM_CLOSE to
    // it would only tear the dialog down from under its loop.
    if (!ProcessExited(0) && IsEnabled(m_hwndMain)) {
        PostMessageA(m_hwndMain, WM_CLOSE, 0, 0);
        ProcessExited(3000);
    }
    if (!ProcessExited(0)) {
        TerminateProcess(m_hProcess, 1);
        WaitForSingleObject(m_hProcess, 5000);
    }
    CloseHandle(m_hProcess);
    m_hProcess = nullptr;
    m_nProcessId = 0;
    m_hwndMain = nullptr;
}

bool CBrisaCase::Sync() const {
    // A margin change posted to the name box shows once Brisa has handled it, and so everything
    // posted before it. Brisa never looks at the margins.
    const HWND hwnd = Item(IDC_FILE_NAME);
    const WORD nMargin = LOWORD(Ask(hwnd, EM_GETMARGINS)) % 8 + 1;
    PostMessageA(hwnd, EM_SETMARGINS, EC_LEFTMARGIN, MAKELPARAM(nMargin, 0));
    return WaitUntil([&] { return LOWORD(Ask(hwnd, EM_GETMARGINS)) == nMargin; });
}

bool CBrisaCase::OpenDialog(int nButton, const std::string& strCaption) {
    return Click(Item(nButton)) && WaitDialog(strCaption);
}

bool CBrisaCase::WaitDialog(const std::string& strCaption) {
    m_hwndDialog = WaitProcessWindow(m_nProcessId, strCaption);
    return m_hwndDialog != nullptr;
}

bool CBrisaCase::PassOptions(int nButton) {
    return OpenDialog(IDC_OPTIONS, kOptionsCaption) && CloseDialog(nButton) && Sync();
}

std::string CBrisaCase::AnswerMessageBox(int nButton, const std::string& strCaption) const {
    const CMessageBox box = WaitMessageBox(strCaption);
    return PressButton(box.m_hwnd, nButton) ? box.m_strText : "";
}

bool WaitEntered(const CImitationClient& client, size_t nLines) {
    return WaitUntil([&] { return client.EnteredLines().size() >= nLines; });
}

std::string WaitEnteredLine(const CImitationClient& client, size_t nIndex) {
    return WaitEntered(client, nIndex + 1) ? client.EnteredLines()[nIndex] : "(none)";
}

std::vector<std::string> OptionsLines(const std::string& strIni) {
    std::vector<std::string> list;
    std::istringstream stream(strIni);
    bool bInSection = false;
    for (std::string strLine; std::getline(stream, strLine);) {
        if (!strLine.empty() && strLine.back() == '\r')
            strLine.pop_back();
        if (!strLine.empty() && strLine[0] == '[')
            bInSection = strLine == "[Options]";
        else if (bInSection && !strLine.empty())
            list.push_back(strLine);
    }
    return list;
}

bool HasOption(const std::string& strIni, const std::string& strLine) {
    const std::vector<std::string> list = OptionsLines(strIni);
    return std::find(list.begin(), list.end(), strLine) != list.end();
}
