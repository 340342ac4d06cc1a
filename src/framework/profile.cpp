#include "framework/profile.h"

#include "framework/system_function.h"

#include <shlobj.h>

#include <vector>

namespace fw {
namespace {

bool IsFile(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ApplicationDataFolder() {
    char buffer[MAX_PATH] = {};
    const DWORD length = ::GetEnvironmentVariableA("APPDATA", buffer, sizeof buffer);
    if (length > 0 && length < sizeof buffer)
        return buffer;
    using GetFolderPath = HRESULT(WINAPI*)(HWND, int, HANDLE, DWORD, LPSTR);
    static const auto getFolderPath =
        LoadSystemFunction<GetFolderPath>("shell32.dll", "SHGetFolderPathA");
    if (getFolderPath && SUCCEEDED(getFolderPath(nullptr, CSIDL_APPDATA, nullptr, 0, buffer)))
        return buffer;
    return {};
}

} // namespace

std::string CProfile::Locate(const std::string& exePath) {
    const std::size_t slash = exePath.find_last_of("\\/");
    const std::string folder = exePath.substr(0, slash + 1);
    std::string baseName = exePath.substr(slash + 1);
    baseName = baseName.substr(0, baseName.rfind('.'));
    const std::string fileName = baseName + ".INI";

    if (IsFile(folder + fileName))
        return folder + fileName;
    const std::string appData = ApplicationDataFolder();
    if (appData.empty())
        return folder + fileName;

    const std::string userFolder = appData + "\\" + baseName;
    ::CreateDirectoryA(userFolder.c_str(), nullptr);
    const std::string userProfile = userFolder + "\\" + fileName;
    char windowsFolder[MAX_PATH] = {};
    const UINT length = ::GetWindowsDirectoryA(windowsFolder, sizeof windowsFolder);
    if (!IsFile(userProfile) && length > 0 && length < sizeof windowsFolder) {
        // Settings kept by older versions in the Windows directory move over once; an existing
        // per-user file is never overwritten.
        const std::string legacyProfile = std::string(windowsFolder) + "\\" + fileName;
        if (IsFile(legacyProfile))
            ::CopyFileA(legacyProfile.c_str(), userProfile.c_str(), TRUE);
    }
    return userProfile;
}

std::string CProfile::GetString(const char* section, const char* key,
                                const char* defaultValue) const {
    std::vector<char> buffer(256);
    for (;;) {
        const DWORD length =
            ::GetPrivateProfileStringA(section, key, defaultValue, buffer.data(),
                                       static_cast<DWORD>(buffer.size()), m_strPath.c_str());
        if (length + 1 < buffer.size())
            return std::string(buffer.data(), length);
        buffer.resize(buffer.size() * 4);
    }
}

int CProfile::GetInt(const char* section, const char* key, int defaultValue) const {
    return static_cast<int>(::GetPrivateProfileIntA(section, key, defaultValue, m_strPath.c_str()));
}

bool CProfile::WriteString(const char* section, const char* key, const std::string& value) const {
    return ::WritePrivateProfileStringA(section, key, value.c_str(), m_strPath.c_str()) != FALSE;
}

bool CProfile::WriteInt(const char* section, const char* key, int value) const {
    return WriteString(section, key, std::to_string(value));
}

} // namespace fw
