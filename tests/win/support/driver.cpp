#include "driver.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>

namespace {

// Bounds each message sent to Brisa, so a frozen Brisa fails the test instead of hanging it.
const UINT kSendTimeoutMs = 5000;
const UINT kSendFlags = SMTO_ABORTIFHUNG;

std::string ClassOf(HWND hwnd) {
    char szClass[256];
    const int nLength = GetClassNameA(hwnd, szClass, sizeof(szClass));
    return std::string(szClass, nLength > 0 ? nLength : 0);
}

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

std::vector<HWND> VisibleTopWindowsOf(DWORD nProcessId) {
    std::vector<HWND> listAll;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&listAll));
    std::vector<HWND> listOwn;
    for (HWND hwnd : listAll) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hwnd, &nOwner);
        if (nOwner == nProcessId && IsWindowVisible(hwnd))
            listOwn.push_back(hwnd);
    }
    return listOwn;
}

std::vector<HWND> DescendantsOf(HWND hwnd) {
    std::vector<HWND> list;
    EnumChildWindows(hwnd, CollectWindow, reinterpret_cast<LPARAM>(&list));
    return list;
}

// GetWindowTextA reads another process's caption without a message, so even a busy Brisa answers.
std::string CaptionOf(HWND hwnd) {
    std::vector<char> buffer(GetWindowTextLengthA(hwnd) + 1);
    const int nLength = GetWindowTextA(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    return std::string(buffer.data(), nLength);
}

void NotifyParent(HWND hwndList, WORD nCode) {
    PostMessageA(GetParent(hwndList), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwndList), nCode),
                 reinterpret_cast<LPARAM>(hwndList));
}

bool DeleteTree(const std::string& strDir) {
    WIN32_FIND_DATAA data;
    const HANDLE hFind = FindFirstFileA((strDir + "\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            const std::string strName = data.cFileName;
            if (strName == "." || strName == "..")
                continue;
            const std::string strPath = strDir + "\\" + strName;
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
std::vector<char>
EnvironmentBlock(const std::vector<std::pair<std::string, std::string>>& listSet) {
    std::map<std::string, std::string, CLessNoCase> mapVars; // Windows keeps the block sorted
    const LPCH pBlock = GetEnvironmentStringsA();
    for (LPCH p = pBlock; *p; p += std::strlen(p) + 1) {
        const std::string strEntry = p;
        const size_t nEquals = strEntry.find('=', 1); // "=C:=C:\dir" names begin with '='
        if (nEquals != std::string::npos)
            mapVars[strEntry.substr(0, nEquals)] = strEntry.substr(nEquals + 1);
    }
    FreeEnvironmentStringsA(pBlock);
    for (const auto& [strName, strValue] : listSet)
        mapVars[strName] = strValue;

    std::vector<char> block;
    for (const auto& [strName, strValue] : mapVars) {
        const std::string strEntry = strName + "=" + strValue;
        block.insert(block.end(), strEntry.begin(), strEntry.end());
        block.push_back('\0');
    }
    block.push_back('\0');
    return block;
}

} // namespace

bool WaitUntil(const std::function<bool()>& predicate, DWORD timeoutMs) {
    const ULONGLONG nDeadline = GetTickCount64() + timeoutMs;
    for (;;) {
        if (predicate())
            return true;
        const ULONGLONG nNow = GetTickCount64();
        if (nNow >= nDeadline)
            return false;
        const DWORD nSlice = static_cast<DWORD>(nDeadline - nNow < 20 ? nDeadline - nNow : 20);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, nSlice, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

std::string TestBinDir() {
    char szPath[MAX_PATH];
    const DWORD nLength = GetModuleFileNameA(nullptr, szPath, sizeof(szPath));
    const std::string strPath(szPath, nLength);
    return strPath.substr(0, strPath.find_last_of('\\'));
}

std::string ReadFileText(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

bool WriteFileText(const std::string& strPath, const std::string& strText) {
    std::ofstream file(strPath, std::ios::binary | std::ios::trunc);
    file << strText;
    return file.good();
}

bool FileExists(const std::string& strPath) {
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

HWND FindProcessWindow(DWORD nProcessId, const std::string& strCaption) {
    for (HWND hwnd : VisibleTopWindowsOf(nProcessId)) {
        if (CaptionOf(hwnd) == strCaption)
            return hwnd;
    }
    return nullptr;
}

HWND FindControl(HWND hwndTop, int nId) {
    for (HWND hwnd : DescendantsOf(hwndTop)) {
        if (GetDlgCtrlID(hwnd) == nId)
            return hwnd;
    }
    return nullptr;
}

std::string ReadWindowText(HWND hwnd) {
    DWORD_PTR nLength = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, kSendFlags, kSendTimeoutMs, &nLength))
        return std::string();
    std::vector<char> buffer(nLength + 1);
    DWORD_PTR nCopied = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, buffer.size(),
                             reinterpret_cast<LPARAM>(buffer.data()), kSendFlags, kSendTimeoutMs,
                             &nCopied))
        return std::string();
    return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

bool IsEnabled(HWND hwnd) {
    return hwnd && IsWindowEnabled(hwnd);
}

bool Click(HWND hwndButton) {
    // Under a modal dialog the owner window is disabled, and so, for the user, is its button.
    if (!IsEnabled(hwndButton) || !IsEnabled(GetAncestor(hwndButton, GA_ROOT)))
        return false;
    return PostMessageA(hwndButton, BM_CLICK, 0, 0) != FALSE;
}

void PostCommand(HWND hwnd, int nId) {
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(nId, 0), 0);
}

void TypeText(HWND hwnd, const std::string& strText) {
    for (const char ch : strText)
        PostMessageA(hwnd, WM_CHAR, static_cast<unsigned char>(ch), 1);
}

bool SelectListItem(HWND hwndList, int nIndex) {
    DWORD_PTR nResult = 0;
    if (!SendMessageTimeoutA(hwndList, LB_SETCURSEL, nIndex, 0, kSendFlags, kSendTimeoutMs,
                             &nResult) ||
        (static_cast<LRESULT>(nResult) == LB_ERR && nIndex != -1))
        return false;
    NotifyParent(hwndList, LBN_SELCHANGE);
    return true;
}

bool DoubleClickListItem(HWND hwndList, int nIndex) {
    // The first click of the pair selects; only a change of selection is notified.
    if (ListSelection(hwndList) != nIndex && !SelectListItem(hwndList, nIndex))
        return false;
    NotifyParent(hwndList, LBN_DBLCLK);
    return true;
}

std::vector<std::string> ReadListItems(HWND hwndList) {
    // Wine 8 hands an ANSI LB_GETTEXT from another process the raw UTF-16 text; the wide
    // messages arrive intact on Wine and Windows alike.
    std::vector<std::string> list;
    DWORD_PTR nCount = 0;
    if (!SendMessageTimeoutW(hwndList, LB_GETCOUNT, 0, 0, kSendFlags, kSendTimeoutMs, &nCount) ||
        static_cast<LRESULT>(nCount) == LB_ERR)
        return list;
    for (DWORD_PTR i = 0; i < nCount; ++i) {
        DWORD_PTR nLength = 0;
        if (!SendMessageTimeoutW(hwndList, LB_GETTEXTLEN, i, 0, kSendFlags, kSendTimeoutMs,
                                 &nLength) ||
            static_cast<LRESULT>(nLength) == LB_ERR)
            return list;
        std::vector<wchar_t> wide(nLength + 1);
        DWORD_PTR nCopied = 0;
        if (!SendMessageTimeoutW(hwndList, LB_GETTEXT, i, reinterpret_cast<LPARAM>(wide.data()),
                                 kSendFlags, kSendTimeoutMs, &nCopied))
            return list;
        const int nWide = static_cast<int>(wcsnlen(wide.data(), wide.size()));
        const int nBytes =
            WideCharToMultiByte(CP_ACP, 0, wide.data(), nWide, nullptr, 0, nullptr, nullptr);
        std::string strItem(nBytes, '\0');
        WideCharToMultiByte(CP_ACP, 0, wide.data(), nWide, &strItem[0], nBytes, nullptr, nullptr);
        list.push_back(strItem);
    }
    return list;
}

int ListSelection(HWND hwndList) {
    DWORD_PTR nResult = 0;
    if (!SendMessageTimeoutA(hwndList, LB_GETCURSEL, 0, 0, kSendFlags, kSendTimeoutMs, &nResult))
        return LB_ERR;
    return static_cast<int>(nResult);
}

CMessageBox FindMessageBox(DWORD nProcessId) {
    // A message box is a #32770 dialog holding one text (static 0xFFFF), buttons with the
    // standard ids, and at most an icon: that tells it from Brisa's own dialogs.
    for (HWND hwnd : VisibleTopWindowsOf(nProcessId)) {
        if (ClassOf(hwnd) != "#32770")
            continue;
        CMessageBox box;
        int nTexts = 0;
        int nButtons = 0;
        bool bOther = false;
        for (HWND hwndChild : DescendantsOf(hwnd)) {
            const std::string strClass = ClassOf(hwndChild);
            const int nId = GetDlgCtrlID(hwndChild) & 0xFFFF;
            const bool bIcon = (GetWindowLongA(hwndChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
            if (_stricmp(strClass.c_str(), "Static") == 0 && bIcon)
                continue;
            if (_stricmp(strClass.c_str(), "Static") == 0 && nId == 0xFFFF) {
                ++nTexts;
                box.m_strText = ReadWindowText(hwndChild);
            } else if (_stricmp(strClass.c_str(), "Button") == 0 && nId >= IDOK &&
                       nId <= IDCONTINUE) {
                ++nButtons;
            } else {
                bOther = true;
            }
        }
        if (nTexts == 1 && nButtons > 0 && !bOther) {
            box.m_hwnd = hwnd;
            box.m_strCaption = CaptionOf(hwnd);
            return box;
        }
    }
    return CMessageBox();
}

bool PressButton(HWND hwndBox, int nId) {
    return Click(GetDlgItem(hwndBox, nId));
}

CBrisaCase::CBrisaCase(const std::optional<std::string>& strIni, bool bSoundStub) {
    static std::atomic<int> s_nCases{0};
    char szTemp[MAX_PATH];
    const DWORD nTemp = GetTempPathA(sizeof(szTemp), szTemp);
    for (;;) {
        m_strDir = std::string(szTemp, nTemp) + "brisa-case-" +
                   std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++s_nCases);
        if (CreateDirectoryA(m_strDir.c_str(), nullptr) || GetLastError() != ERROR_ALREADY_EXISTS)
            break;
    }
    const std::string strBin = TestBinDir();
    CopyFileA((strBin + "\\Brisa.exe").c_str(), PathOf("Brisa.exe").c_str(), FALSE);
    if (bSoundStub)
        CopyFileA((strBin + "\\winmm_stub.dll").c_str(), PathOf("winmm.dll").c_str(), FALSE);
    if (strIni)
        WriteIni(*strIni);
}

CBrisaCase::~CBrisaCase() {
    Stop();
    // The exiting process may hold its files a moment longer.
    WaitUntil([this] { return DeleteTree(m_strDir); }, 3000);
}

std::string CBrisaCase::MakeDir(const std::string& strName) const {
    const std::string strPath = PathOf(strName);
    CreateDirectoryA(strPath.c_str(), nullptr);
    return strPath;
}

void CBrisaCase::WriteIni(const std::string& strText) const {
    WriteFileText(PathOf("Brisa.INI"), strText);
}

std::string CBrisaCase::IniText() const {
    return ReadFileText(PathOf("Brisa.INI"));
}

std::vector<std::string> CBrisaCase::SoundCalls() const {
    std::vector<std::string> list;
    std::istringstream stream(ReadFileText(PathOf("sound.log")));
    for (std::string strLine; std::getline(stream, strLine);)
        list.push_back(strLine);
    return list;
}

void CBrisaCase::SetEnv(const std::string& strName, const std::string& strValue) {
    m_listEnv.emplace_back(strName, strValue);
}

bool CBrisaCase::Start(DWORD timeoutMs) {
    Stop();
    const std::string strExe = PathOf("Brisa.exe");
    if (!FileExists(strExe)) {
        std::fprintf(stderr, "Brisa.exe was not copied from %s\n", TestBinDir().c_str());
        return false;
    }
    // Wine loads the winmm.dll beside the copy because the test prefix tells it to for
    // Brisa.exe (cmake/wine-env.sh): WINEDLLOVERRIDES would not survive CreateProcess.
    std::vector<char> environment = EnvironmentBlock(m_listEnv);
    std::string strCommand = "\"" + strExe + "\"";
    STARTUPINFOA si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessA(strExe.c_str(), &strCommand[0], nullptr, nullptr, FALSE, 0,
                        environment.data(), m_strDir.c_str(), &si, &pi)) {
        std::fprintf(stderr, "CreateProcess %s failed: %lu\n", strExe.c_str(), GetLastError());
        return false;
    }
    CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
    m_nProcessId = pi.dwProcessId;

    WaitUntil(
        [this] {
            m_hwndMain = FindProcessWindow(m_nProcessId, kMainCaption);
            return m_hwndMain || WaitForSingleObject(m_hProcess, 0) == WAIT_OBJECT_0;
        },
        timeoutMs);
    // The window shows before Brisa's start-up is through; it is once Brisa waits for input.
    if (m_hwndMain && WaitForInputIdle(m_hProcess, timeoutMs) == 0)
        return true;
    DWORD nExitCode = 0;
    GetExitCodeProcess(m_hProcess, &nExitCode);
    if (nExitCode == STILL_ACTIVE)
        std::fprintf(stderr, "Brisa showed no \"%s\" window, or did not settle, within %lu ms\n",
                     kMainCaption, timeoutMs);
    else
        std::fprintf(stderr, "Brisa ended with exit code %lu before showing its window\n",
                     nExitCode);
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
