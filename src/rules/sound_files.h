// The sound files Brisa lists, and the paths by which it and the client reach them. Pure string
// logic: the platform resolves full paths and compares letter case.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class SoundType { Wave, Midi, Mp3 };

// The type of a file by its extension (".wav", ".mid", ".mp3"), letter case ignored, as are the
// spaces and dots after it that Windows ignores in a name; nullopt for every other file.
std::optional<SoundType> SoundTypeOf(std::string_view fileName);

// The client's name for the kind of sound, as its $sound identifier takes it: "wave", "midi",
// "mp3".
const char* ClientSoundKind(SoundType type);

// The length of a UTF-8 text in UTF-16 code units, as Windows counts it.
std::size_t Utf16Length(std::string_view utf8);

// Folders were once listed by a pattern "<folder>\*.WAV" in a buffer of 256 characters, its end
// included: a folder too long for it is not listed.
bool IsListableFolder(std::string_view folder);

// The path to act on for a name in the folder; nullopt for no name, whose path would be the
// folder's own.
std::optional<std::string> PathInFolder(const std::string& folder, const std::string& name);

// Whether the sound functions, which take no \\?\ path, reach exactly this file: not when its name
// ends in a space or a dot (Windows would drop them and open another file), or the path is too
// long for them.
bool CanPlayAsListed(std::string_view path);

// The path that names exactly the file: the folder's full path as an absolute \\?\ (or \\?\UNC\)
// path, which Windows takes as it is, and the name.
std::string ExactPath(std::string fullFolder, std::string_view name);

// Whether a file goes to the Recycle Bin rather than for good: only on a drive that has one, and
// only when the shell, which takes no \\?\ path, reaches exactly this file.
bool GoesToRecycleBin(std::string_view path, bool driveHasRecycleBin);

// The name of a file, without its folder.
std::string NameOf(const std::string& path);

// Files dropped onto the list: the sound files to copy into the folder, and the names of the
// others, which are refused, for the user to read ("" for none).
struct DropPlan {
    std::vector<std::string> sounds;
    std::string refused;
};
DropPlan PlanDrop(const std::vector<std::string>& paths);

// Whether a full folder path is the root or lies below it: letter case compared by `same` (as the
// file system compares names), a trailing backslash or none, and only at a path boundary.
bool IsSameOrBelow(std::string folder, std::string root,
                   bool (*same)(std::string_view a, std::string_view b));
