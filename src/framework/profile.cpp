#include "framework/profile.h"

#include "framework/profile_text.h"
#include "framework/system_function.h"
#include "framework/text.h"

#include <shlobj.h>

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

// A new file of a name of its own in the folder: what another run, or an old one, left there is
// never in the way.
std::wstring NewFileIn(const std::wstring& folder) {
    wchar_t name[MAX_PATH] = {};
    return ::GetTempFileNameW(folder.c_str(), L"bri", 0, name) ? name : L"";
}

class CFileStore final : public IFileStore {
public:
    std::optional<std::string> Read(const std::string& path) override {
        FileBytes file = ReadBytes(Widen(path));
        return file.whole ? std::optional<std::string>(std::move(file.bytes)) : std::nullopt;
    }
    std::string NewFileBeside(const std::string& path) override {
        return Narrow(NewFileIn(Widen(path.substr(0, path.find_last_of("\\/") + 1))));
    }
    bool Write(const std::string& path, const std::string& bytes) override {
        const HANDLE file = ::CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        DWORD written = 0;
        const bool complete =
            ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
            written == bytes.size() && ::FlushFileBuffers(file);
        ::CloseHandle(file);
        return complete;
    }
    bool MoveOver(const std::string& from, const std::string& to) override {
        return ::MoveFileExW(Widen(from).c_str(), Widen(to).c_str(),
                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
    }
    void Remove(const std::string& path) override { ::DeleteFileW(Widen(path).c_str()); }
};

// The text of a profile in any encoding: big-endian UTF-16 and UTF-8 by their own rules, else
// the system's ANSI code page, in which earlier versions wrote it.
std::u16string Decode(const std::string& bytes) {
    std::u16string text;
    switch (EncodingOf(bytes)) {
    case FileEncoding::Utf16:
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                          static_cast<unsigned char>(bytes[i + 1]) << 8);
        return text;
    case FileEncoding::Utf16BigEndian:
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
            text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) << 8 |
                                          static_cast<unsigned char>(bytes[i + 1]));
        return text;
    case FileEncoding::Ansi: {
        const std::wstring wide = FromCodePage(bytes, SystemAnsiCodePage());
        return {wide.begin(), wide.end()};
    }
    case FileEncoding::Utf8:
    case FileEncoding::Ascii:
        break;
    }
    const std::wstring wide = Widen(bytes.compare(0, 3, kUtf8Mark) == 0 ? bytes.substr(3) : bytes);
    return {wide.begin(), wide.end()};
}

std::string InUtf16(const std::u16string& text) {
    std::string bytes(kUtf16Mark, 2);
    for (const char16_t c : text)
        bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    return bytes;
}

std::u16string ToU16(const std::string& utf8) {
    const std::wstring wide = Widen(utf8);
    return {wide.begin(), wide.end()};
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
    Prepare();
}

// A file in another encoding is brought to UTF-16 once. A plain ASCII file reads alike in every
// encoding, so it stays as it is until it is written.
void CProfile::Prepare() const {
    const FileBytes file = ReadBytes(Widen(m_strPath));
    const FileEncoding encoding = EncodingOf(file.bytes);
    if (!file.whole || encoding == FileEncoding::Utf16 || encoding == FileEncoding::Ascii) {
        DropCopy();
        return;
    }
    const std::string converted = InUtf16(Decode(file.bytes));
    CFileStore files;
    if (ReplaceWhole(files, m_strPath, converted)) {
        DropCopy();
        return;
    }
    // Held by another program, the file keeps its encoding for now; read through a UTF-16 copy,
    // it never comes back changed.
    if (m_strCopy.empty()) {
        wchar_t folder[MAX_PATH] = {};
        m_strCopy = NewFileIn(std::wstring(folder, ::GetTempPathW(MAX_PATH, folder)));
    }
    if (!m_strCopy.empty() && files.Write(Narrow(m_strCopy), converted))
        m_nCopiedTime = file.lastWrite;
}

void CProfile::DropCopy() const {
    if (!m_strCopy.empty())
        ::DeleteFileW(m_strCopy.c_str());
    m_strCopy.clear();
}

std::wstring CProfile::ReadPath() const {
    if (!m_strCopy.empty() && LastWrite(Widen(m_strPath)) != m_nCopiedTime)
        Prepare();
    return m_strCopy.empty() ? Widen(m_strPath) : m_strCopy;
}

// The platform answers a buffer too small with as much as fits; a key of null asks for the keys,
// each ended by a zero, which ends two short of a buffer too small.
std::wstring CProfile::Read(const char* section, const char* key, const char* defaultValue) const {
    const std::wstring wideSection = Widen(section), wideDefault = Widen(defaultValue);
    const std::wstring wideKey = key ? Widen(key) : L"", path = ReadPath();
    std::vector<wchar_t> buffer(256);
    for (;;) {
        const DWORD length = ::GetPrivateProfileStringW(
            wideSection.c_str(), key ? wideKey.c_str() : nullptr, wideDefault.c_str(),
            buffer.data(), static_cast<DWORD>(buffer.size()), path.c_str());
        if (length + 2 < buffer.size())
            return {buffer.data(), length};
        buffer.resize(buffer.size() * 4);
    }
}

std::string CProfile::GetString(const char* section, const char* key,
                                const char* defaultValue) const {
    return Narrow(Read(section, key, defaultValue));
}

std::vector<std::string> CProfile::GetKeys(const char* section) const {
    const std::wstring keys = Read(section, nullptr, "");
    std::vector<std::string> names;
    for (std::size_t start = 0; start < keys.size();) {
        const std::size_t end = keys.find(L'\0', start);
        names.push_back(Narrow(keys.substr(start, end - start)));
        start = end == std::wstring::npos ? keys.size() : end + 1;
    }
    return names;
}

int CProfile::GetInt(const char* section, const char* key, int defaultValue) const {
    return static_cast<int>(::GetPrivateProfileIntW(Widen(section).c_str(), Widen(key).c_str(),
                                                    defaultValue, ReadPath().c_str()));
}

// Read once, in whatever encoding, and written whole in UTF-16 or not at all.
bool CProfile::WriteSections(const std::vector<std::pair<std::string, Values>>& sections) const {
    CFileStore files;
    const auto bytes = files.Read(m_strPath);
    if (!bytes)
        return false;
    std::u16string text = Decode(*bytes);
    for (const auto& [section, values] : sections) {
        std::vector<ProfileValue> lines;
        for (const auto& [key, value] : values) {
            lines.emplace_back(ToU16(key), value ? std::optional(StoredValue(ToU16(*value)))
                                                 : std::nullopt);
        }
        text = WithValues(std::move(text), ToU16(section), lines);
    }
    if (!ReplaceWhole(files, m_strPath, InUtf16(text)))
        return false;
    DropCopy();
    return true;
}

} // namespace fw
