// The program's private profile: an INI file named after the executable, kept in UTF-16 with a
// byte-order mark, which the platform's profile functions read and keep for every caller.
#pragma once
#include <string>

namespace fw {

class CProfile {
public:
    // Where the profile lives: beside the executable when a file of that name is there (portable
    // use); otherwise in the user's application-data folder, where on the first start ever an
    // older profile from the Windows directory is copied. Paths are wide: a user's folder may
    // have characters that the ANSI code page lacks.
    static std::wstring Locate(const std::wstring& exePath);

    // Uses the file at path. A file in another encoding (the ANSI code page of earlier versions,
    // or UTF-8 from an editor) is converted once to UTF-16, keeping every character.
    void Open(std::wstring path);
    std::string GetPath() const; // for messages

    // The stored value, or the default when the key is absent; an empty value reads as "".
    std::string GetString(const char* section, const char* key, const char* defaultValue) const;
    int GetInt(const char* section, const char* key, int defaultValue) const;
    // Creates or replaces the key's line; false when the file could not be written.
    bool WriteString(const char* section, const char* key, const std::string& value) const;
    bool WriteInt(const char* section, const char* key, int value) const;

private:
    std::wstring m_path;
};

} // namespace fw
