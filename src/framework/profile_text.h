// The text of a private profile (an INI file) as the program keeps it: UTF-16 with a byte-order
// mark, which the platform's profile functions read in every code page. Portable, so that its
// rules are proven natively: the platform reads and writes the bytes and converts code pages.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace fw {

// How a file's bytes are encoded: what a profile of an earlier version, or one saved by an
// editor, may be in.
enum class FileEncoding {
    Utf16,          // little-endian, with its mark: Brisa's own
    Utf16BigEndian, // with its mark
    Utf8,           // valid UTF-8 beyond ASCII, with its mark or without
    Ansi,           // anything else: the system's ANSI code page, as earlier versions wrote it
    Ascii,          // reads alike in all of them (also an empty file)
};
FileEncoding EncodingOf(std::string_view bytes);

// A key and its new value; no value takes the key away.
using ProfileValue = std::pair<std::u16string, std::optional<std::u16string>>;

// The text with each key of the section set to its value, everything else as it was, character
// for character: a key's first line is replaced where it is, a key not there is added after the
// section's last line, and a missing section at the end; a key taken away loses all its lines.
// Section and key names are compared as the platform compares them (ASCII letters in either case,
// spaces around them ignored).
std::u16string WithValues(std::u16string text, std::u16string_view section,
                          const std::vector<ProfileValue>& values);

// A value as it must be stored so that the platform reads it back as it is: it takes off outer
// spaces and one pair of quotes, so a value that begins or ends with either is quoted.
std::u16string StoredValue(std::u16string value);

// The platform's half of replacing a file: files read, written and moved by path.
class IFileStore {
public:
    // The whole file; nullopt when it cannot be read.
    virtual std::optional<std::string> Read(const std::string& path) = 0;
    // A new, empty file of a name of its own in the folder of path; "" when none can be made.
    virtual std::string NewFileBeside(const std::string& path) = 0;
    // Writes the bytes into the file, flushed to the disk; false when they did not all go.
    virtual bool Write(const std::string& path, const std::string& bytes) = 0;
    // Puts the file `from` in the place of `to`, in one step.
    virtual bool MoveOver(const std::string& from, const std::string& to) = 0;
    virtual void Remove(const std::string& path) = 0;

protected:
    ~IFileStore() = default;
};

// Replaces the file whole or not at all: the bytes are written beside it, read back and compared,
// then put in its place. A failure at any step (a full disk, a held file, a short write) leaves
// the file exactly as it was, and nothing beside it.
bool ReplaceWhole(IFileStore& files, const std::string& path, const std::string& bytes);

} // namespace fw
