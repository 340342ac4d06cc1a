// Stands in for winmm.dll beside a test's copy of Brisa.exe: each sndPlaySoundA call appends the
// line "<flags>|<name>" (flags in decimal, "(null)" for no name) to sound.log in this DLL's own
// folder, and nothing is played.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <string>

namespace {

const UINT kSndMemory = 0x0004; // the name is then a WAVE image, not text

std::string LogPath() {
    HMODULE hModule = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&LogPath), &hModule);
    char szPath[MAX_PATH];
    const DWORD nLength = GetModuleFileNameA(hModule, szPath, sizeof(szPath));
    const std::string strPath(szPath, nLength);
    return strPath.substr(0, strPath.find_last_of('\\') + 1) + "sound.log";
}

} // namespace

// Exported undecorated on both 32 and 64 bit (the 32-bit build links with --kill-at), as the
// system's winmm.dll does.
extern "C" __declspec(dllexport) BOOL WINAPI sndPlaySoundA(LPCSTR pszSound, UINT fuSound) {
    const std::string strName = !pszSound                ? "(null)"
                                : (fuSound & kSndMemory) ? "(memory)"
                                                         : pszSound;
    const std::string strLine = std::to_string(fuSound) + "|" + strName + "\n";
    const HANDLE hFile =
        CreateFileA(LogPath().c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        DWORD nWritten = 0;
        WriteFile(hFile, strLine.data(), static_cast<DWORD>(strLine.size()), &nWritten, nullptr);
        CloseHandle(hFile);
    }
    return TRUE;
}
