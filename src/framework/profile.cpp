#include "framework/profile.h"

#include "framework/system_function.h"
#include "framework/text.h"

#include <shlobj.h>

#include <algorithm>
#include <vector>

namespace fw {
namespace {

constexpr char kUtf16Mark[] = "\xFF\xFE";
constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";

bool IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring ApplicationDataFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableW(L"APPDATA", buffer, MAX_PATH);
    if (length > 0 && length < MAX_PATH)
        return buffer;
    using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPWSTR);
    static const auto getFolderPath =
        LoadSystemFunction<GetFolderPath>(L"shell32.dll", "SHGetFolderPathW");
    if (getFolderPath && SUCCEEDED(getFolderPath(nullptr, CSIDL_APPDATA, nullptr, 0, buffer)))
        return buffer;
    return {};
}

std::string ReadBytes(const std::wstring& path) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return {};
    std::string bytes(::GetFileSize(file, nullptr), '\0');
    DWORD read = 0;
    if (bytes.empty() ||
        !::ReadFile(file, &bytes[0], static_cast<DWORD>(bytes.size()), &read, nullptr))
        read = 0;
    ::CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

// Replaces the file whole or not at all: written beside it, then moved over it.
bool ReplaceFile(const std::wstring& path, const std::string& bytes) {
    const std::wstring temporary = path + L".new";
    const HANDLE file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool complete =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    ::CloseHandle(file);
    if (complete && ::MoveFileExW(temporary.c_str(), path.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    ::DeleteFileW(temporary.c_str());
    return false;
}

// The text of a profile that is not UTF-16 in the platform's order: big-endian UTF-16, UTF-8 when
// it is that (with or without its mark), else the system's ANSI code page, in which earlier
// versions wrote it.
std::wstring Decode(const std::string& bytes) {
    if (bytes.compare(0, 2, "\xFE\xFF") == 0) {
        std::wstring text;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                         static_cast<unsigned char>(bytes[i + 1]));
        return text;
    }
    const bool marked = bytes.compare(0, 3, kUtf8Mark) == 0;
    const std::string text = bytes.substr(marked ? 3 : 0);
    const bool utf8 = ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(),
                                            static_cast<int>(text.size()), nullptr, 0) != 0;
    return FromCodePage(text, utf8 || text.empty() ? CP_UTF8 : SystemAnsiCodePage());
}

// Brings the file to UTF-16 with its mark, creating it when there is none; false when it
// cannot be written.
bool ConvertToUtf16(const std::wstring& path, const std::string& bytes) {
    const std::wstring text = Decode(bytes);
    std::string converted(kUtf16Mark, 2);
    converted.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return ReplaceFile(path, converted);
}

bool IsUtf16(const std::string& bytes) {
    return bytes.compare(0, 2, kUtf16Mark) == 0;
}

} // namespace

CProfile::Location CProfile::Locate(const std::string& exePath) {
    const std::wstring exe = Widen(exePath);
    const std::size_t slash = exe.find_last_of(L"\\/");
    const std::wstring folder = exe.substr(0, slash + 1);
    std::wstring baseName = exe.substr(slash + 1);
    baseName = baseName.substr(0, baseName.rfind(L'.'));
    const std::wstring fileName = baseName + L".INI";

    const std::wstring appData = ApplicationDataFolder();
    if (IsFile(folder + fileName) || appData.empty())
        return {Narrow(folder + fileName)};
    const std::wstring userFolder = appData + L"\\" + baseName;
    const bool newFolder = ::CreateDirectoryW(userFolder.c_str(), nullptr) != FALSE;
    return {Narrow(userFolder + L"\\" + fileName), newFolder};
}

void CProfile::Open(std::string path) {
    m_strPath = std::move(path);
    const std::wstring widePath = Widen(m_strPath);
    const std::string bytes = ReadBytes(widePath);
    // A plain ASCII file reads alike in every encoding and stays as it is until OK writes.
    const bool ascii =
        std::all_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) == 0; });
    if (!IsUtf16(bytes) && !ascii)
        ConvertToUtf16(widePath, bytes);
}

std::string CProfile::GetString(const char* section, const char* key,
                                const char* defaultValue) const {
    const std::wstring wideSection = Widen(section), wideKey = Widen(key);
    const std::wstring wideDefault = Widen(defaultValue);
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD length = ::GetPrivateProfileStringW(
            wideSection.c_str(), wideKey.c_str(), wideDefault.c_str(), buffer.data(),
            static_cast<DWORD>(buffer.size()), Widen(m_strPath).c_str());
        if (length + 1 < buffer.size())
            return Narrow({buffer.data(), length});
        buffer.resize(buffer.size() * 4);
    }
}

int CProfile::GetInt(const char* section, const char* key, int defaultValue) const {
    return static_cast<int>(::GetPrivateProfileIntW(Widen(section).c_str(), Widen(key).c_str(),
                                                    defaultValue, Widen(m_strPath).c_str()));
}

bool CProfile::WriteString(const char* section, const char* key, const std::string& value) const {
    // The platform writes a new file, or one without the mark, in the ANSI code page, which
    // would lose every character that code page lacks.
    const std::wstring widePath = Widen(m_strPath);
    const std::string bytes = ReadBytes(widePath);
    if (!IsUtf16(bytes) && !ConvertToUtf16(widePath, bytes))
        return false;
    return ::WritePrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(),
                                        Widen(value).c_str(), widePath.c_str()) != FALSE;
}

bool CProfile::WriteInt(const char* section, const char* key, int value) const {
    return WriteString(section, key, std::to_string(value));
}

} // namespace fw
