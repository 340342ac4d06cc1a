// Stands in for winmm.dll beside a test's copy of Brisa.exe: each call that plays or stops a sound
// appends a line to sound.log in this DLL's own folder, in UTF-8, and nothing is played.
//   sndPlaySoundW: "<flags>|<name>", flags in decimal, "(null)" for no name
//   mciSendStringW: "mci|<command>", and every command succeeds
//   waveOutSetVolume: "volume|<value>", the value in 8 hexadecimal digits
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <cwchar>
#include <string>

extern "C" IMAGE_DOS_HEADER __ImageBase; // this DLL

static void Record(const std::wstring& line) {
    wchar_t path[MAX_PATH];
    const std::wstring dll(
        path, GetModuleFileNameW(reinterpret_cast<HMODULE>(&__ImageBase), path, MAX_PATH));
    const std::wstring log = dll.substr(0, dll.find_last_of(L'\\') + 1) + L"sound.log";
    std::string utf8(line.size() * 3 + 2, '\0'); // and the line end and the terminator
    utf8.resize(WideCharToMultiByte(CP_UTF8, 0, (line + L"\n").c_str(), -1, &utf8[0],
                                    static_cast<int>(utf8.size()), nullptr, nullptr) -
                1);
    const HANDLE file =
        CreateFileW(log.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                    OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    WriteFile(file, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
    CloseHandle(file);
}

// Exported undecorated on both 32 and 64 bit (the 32-bit build links with --kill-at), as the
// system's winmm.dll does.
extern "C" __declspec(dllexport) BOOL WINAPI sndPlaySoundW(LPCWSTR sound, UINT flags) {
    Record(std::to_wstring(flags) + L"|" + (sound ? sound : L"(null)"));
    return TRUE;
}

extern "C" __declspec(dllexport) DWORD WINAPI mciSendStringW(LPCWSTR command, LPWSTR, UINT, HWND) {
    Record(std::wstring(L"mci|") + command);
    return 0;
}

extern "C" __declspec(dllexport) UINT WINAPI waveOutSetVolume(HANDLE, DWORD volume) {
    wchar_t value[9];
    swprintf(value, 9, L"%08x", static_cast<unsigned>(volume));
    Record(std::wstring(L"volume|") + value);
    return 0;
}
