// The program's private profile: an INI file named after the executable.
#pragma once
#include <string>

namespace fw {

class CProfile {
public:
    // Where the profile lives: beside the executable when a file of that name is there (portable
    // use); otherwise in the user's application-data folder, seeded once from an older profile in
    // the Windows directory.
    static std::string Locate(const std::string& exePath);

    void SetPath(std::string path) { m_strPath = std::move(path); }
    const std::string& GetPath() const { return m_strPath; }

    // The stored value, or the default when the key is absent; an empty value reads as "".
    std::string GetString(const char* section, const char* key, const char* defaultValue) const;
    int GetInt(const char* section, const char* key, int defaultValue) const;
    // Creates or replaces the key's line; false when the file could not be written.
    bool WriteString(const char* section, const char* key, const std::string& value) const;
    bool WriteInt(const char* section, const char* key, int value) const;

private:
    std::string m_strPath;
};

} // namespace fw
