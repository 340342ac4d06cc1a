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
// No settings file comes near this size: a larger one is left as it is, and read as it is.
constexpr LONGLONG kMaxSettingsBytes = 1 << 20;

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

// The file's bytes. Not whole when it cannot be read, or is far beyond any settings file: such a
// file is left as it is.
struct FileBytes {
    bool whole = false;
    std::string bytes;
    unsigned long long lastWrite = 0;
};

FileBytes ReadBytes(const std::wstring& path) {
    FileBytes result;
    // Shared every way: another program may hold the file open as it likes.
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        result.whole = ::GetLastError() == ERROR_FILE_NOT_FOUND; // no bytes at all
        return result;
    }
    LARGE_INTEGER size{};
    FILETIME written{};
    if (::GetFileSizeEx(file, &size) && size.QuadPart <= kMaxSettingsBytes &&
        ::GetFileTime(file, nullptr, nullptr, &written)) {
        result.bytes.resize(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        result.whole = result.bytes.empty() ||
                       (::ReadFile(file, &result.bytes[0], static_cast<DWORD>(result.bytes.size()),
                                   &read, nullptr) &&
                        read == result.bytes.size());
        result.lastWrite =
            static_cast<unsigned long long>(written.dwHighDateTime) << 32 | written.dwLowDateTime;
    }
    ::CloseHandle(file);
    return result;
}

unsigned long long LastWrite(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32 |
           data.ftLastWriteTime.dwLowDateTime;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    const HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool complete =
        ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    ::CloseHandle(file);
    return complete;
}

// A new file of a name of its own in the folder: what another run, or an old one, left there is
// never in the way.
std::wstring NewFileIn(const std::wstring& folder) {
    wchar_t name[MAX_PATH] = {};
    return ::GetTempFileNameW(folder.c_str(), L"bri", 0, name) ? name : L"";
}

// Replaces the file whole or not at all: written beside it, then moved over it.
bool ReplaceFile(const std::wstring& path, const std::string& bytes) {
    const std::wstring temporary = NewFileIn(path.substr(0, path.find_last_of(L"\\/") + 1));
    if (temporary.empty())
        return false;
    if (WriteBytes(temporary, bytes) &&
        ::MoveFileExW(temporary.c_str(), path.c_str(),
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

std::string InUtf16(const std::string& bytes) {
    const std::wstring text = Decode(bytes);
    std::string converted(kUtf16Mark, 2);
    converted.append(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
    return converted;
}

// The platform reads a value without its outer spaces, and without one pair of quotes around it:
// a value that begins or ends with either is written quoted, so that it reads back as it was.
std::wstring Stored(const std::string& value) {
    const std::wstring text = Widen(value);
    const auto outer = [](wchar_t c) { return c == L' ' || c == L'\t' || c == L'"' || c == L'\''; };
    if (!text.empty() && (outer(text.front()) || outer(text.back())))
        return L'"' + text + L'"';
    return text;
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

CProfile::~CProfile() {
    DropCopy();
}

void CProfile::Open(std::string path) {
    DropCopy();
    m_strPath = std::move(path);
    Prepare(false);
}

// A plain ASCII file reads alike in every encoding, so it stays as it is until it is written.
bool CProfile::Prepare(bool forWriting) const {
    const std::wstring path = Widen(m_strPath);
    const FileBytes file = ReadBytes(path);
    const bool ascii =
        std::all_of(file.bytes.begin(), file.bytes.end(), [](char c) { return (c & 0x80) == 0; });
    if (!file.whole || IsUtf16(file.bytes) || (ascii && !forWriting)) {
        DropCopy();
        return true;
    }
    const std::string converted = InUtf16(file.bytes);
    if (ReplaceFile(path, converted)) {
        DropCopy();
        return true;
    }
    // Held by another program, the file keeps its encoding for now; read through a UTF-16 copy,
    // it never comes back changed, and it is not written until it has been converted.
    if (m_strCopy.empty()) {
        wchar_t folder[MAX_PATH] = {};
        m_strCopy = NewFileIn(std::wstring(folder, ::GetTempPathW(MAX_PATH, folder)));
    }
    if (!m_strCopy.empty() && WriteBytes(m_strCopy, converted))
        m_nCopiedTime = file.lastWrite;
    return false;
}

void CProfile::DropCopy() const {
    if (!m_strCopy.empty())
        ::DeleteFileW(m_strCopy.c_str());
    m_strCopy.clear();
}

std::wstring CProfile::ReadPath() const {
    if (!m_strCopy.empty() && LastWrite(Widen(m_strPath)) != m_nCopiedTime)
        Prepare(false);
    return m_strCopy.empty() ? Widen(m_strPath) : m_strCopy;
}

std::string CProfile::GetString(const char* section, const char* key,
                                const char* defaultValue) const {
    const std::wstring wideSection = Widen(section), wideKey = Widen(key);
    const std::wstring wideDefault = Widen(defaultValue), path = ReadPath();
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD length = ::GetPrivateProfileStringW(
            wideSection.c_str(), wideKey.c_str(), wideDefault.c_str(), buffer.data(),
            static_cast<DWORD>(buffer.size()), path.c_str());
        if (length + 1 < buffer.size())
            return Narrow({buffer.data(), length});
        buffer.resize(buffer.size() * 4);
    }
}

int CProfile::GetInt(const char* section, const char* key, int defaultValue) const {
    return static_cast<int>(::GetPrivateProfileIntW(Widen(section).c_str(), Widen(key).c_str(),
                                                    defaultValue, ReadPath().c_str()));
}

// The platform writes a new file, or one without the mark, in the ANSI code page, which would
// lose every character that code page lacks: the file is brought to UTF-16 first, read once.
bool CProfile::Write(const char* section,
                     std::initializer_list<std::pair<const char*, std::string>> values) const {
    if (!Prepare(true))
        return false;
    const std::wstring wideSection = Widen(section), path = Widen(m_strPath);
    bool written = true;
    for (const auto& [key, value] : values)
        written &= ::WritePrivateProfileStringW(wideSection.c_str(), Widen(key).c_str(),
                                                Stored(value).c_str(), path.c_str()) != FALSE;
    return written;
}

} // namespace fw
