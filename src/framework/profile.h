// The program's private profile: an INI file named after the executable, kept in UTF-16 with a
// byte-order mark, which the platform's profile functions read and keep for every caller.
#pragma once
#include <optional>
#include <string>
#include <utility>
#include <vector>

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

    CProfile() = default;
    CProfile(const CProfile&) = delete;
    CProfile& operator=(const CProfile&) = delete;
    ~CProfile();

    // Uses the file at path. A file in another encoding (the ANSI code page of earlier versions,
    // or UTF-8 from an editor) is converted once to UTF-16, keeping every character; while it
    // cannot be (another program holds it), it is read in its own encoding.
    void Open(std::string path);
    const std::string& GetPath() const { return m_strPath; }

    // The stored value, or the default when the key is absent; an empty value reads as "".
    std::string GetString(const char* section, const char* key, const char* defaultValue) const;
    int GetInt(const char* section, const char* key, int defaultValue) const;
    // The keys of the section, in the file's order.
    std::vector<std::string> GetKeys(const char* section) const;
    // A key and its new value; no value takes the key away.
    using Values = std::vector<std::pair<std::string, std::optional<std::string>>>;
    // Creates, replaces or takes away each key's line, in order, so that each value reads back
    // exactly as it is given: the whole file is written anew in UTF-16 and put in the old one's
    // place, or, when that cannot be done, the old one stays exactly as it was and Write answers
    // false.
    bool Write(const char* section, const Values& values) const {
        return WriteSections({{section, values}});
    }
    // The same for keys of several sections, all written or none.
    bool WriteSections(const std::vector<std::pair<std::string, Values>>& sections) const;

private:
    // The value of a key, or with no key the keys, each ended by a zero.
    std::wstring Read(const char* section, const char* key, const char* defaultValue) const;
    // Brings a file in another encoding to UTF-16, or, while it cannot be replaced, keeps a
    // UTF-16 copy to read it through.
    void Prepare() const;
    void DropCopy() const;
    // The file, or its copy while it cannot be converted (renewed when the file has changed).
    std::wstring ReadPath() const;

    std::string m_strPath;
    mutable std::wstring m_strCopy; // a UTF-16 copy, while the file cannot be converted
    mutable unsigned long long m_nCopiedTime = 0; // the file's last write, when it was copied
};

} // namespace fw
