// The program's private profile: an INI file named after the executable, kept in UTF-16 with a
// byte-order mark, which the platform's profile functions read and keep for every caller.
#pragma once
#include <string>

namespace fw {

class CProfile {
public:
    struct Location {
        std::string path;
        bool newFolder = false; // the user's folder for it was made just now: a first start
    };
    // Where a program keeps its profile: beside the executable when a file of that name is there
    // (portable use); otherwise in a folder named after the program in the user's
    // application-data folder, which is made when missing.
    static Location Locate(const std::string& exePath);

    // Uses the file at path. A file in another encoding (the ANSI code page of earlier versions,
    // or UTF-8 from an editor) is converted once to UTF-16, keeping every character.
    void Open(std::string path);
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
