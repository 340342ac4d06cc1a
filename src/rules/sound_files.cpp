#include "rules/sound_files.h"

#include "rules/ascii_text.h"

namespace {

// The sound functions' path buffers.
constexpr std::size_t kMaxPath = 260;
constexpr std::size_t kListSpecChars = 256;
constexpr std::size_t kListSpecTailChars = 6; // "\*.WAV"

void DropTrailingBackslashes(std::string& path) {
    while (!path.empty() && path.back() == '\\')
        path.pop_back();
}

} // namespace

std::optional<SoundType> SoundTypeOf(std::string_view fileName) {
    const std::size_t end = fileName.find_last_not_of(". ");
    if (end == std::string_view::npos || end < 3)
        return std::nullopt;
    const std::string_view extension = fileName.substr(end - 3, 4);
    if (EqualsIgnoringAsciiCase(extension, ".wav"))
        return SoundType::Wave;
    if (EqualsIgnoringAsciiCase(extension, ".mid"))
        return SoundType::Midi;
    if (EqualsIgnoringAsciiCase(extension, ".mp3"))
        return SoundType::Mp3;
    return std::nullopt;
}

const char* ClientSoundKind(SoundType type) {
    switch (type) {
    case SoundType::Midi:
        return "midi";
    case SoundType::Mp3:
        return "mp3";
    case SoundType::Wave:
        break;
    }
    return "wave";
}

// A character of four bytes in UTF-8 takes two units in UTF-16; every other takes one.
std::size_t Utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    for (const char c : utf8) {
        const auto byte = static_cast<unsigned char>(c);
        units += (byte & 0xC0) != 0x80;
        units += byte >= 0xF0;
    }
    return units;
}

bool IsListableFolder(std::string_view folder) {
    return Utf16Length(folder) + kListSpecTailChars < kListSpecChars;
}

std::optional<std::string> PathInFolder(const std::string& folder, const std::string& name) {
    if (name.empty())
        return std::nullopt;
    return folder + "\\" + name;
}

bool CanPlayAsListed(std::string_view path) {
    return !path.empty() && path.back() != ' ' && path.back() != '.' &&
           Utf16Length(path) < kMaxPath;
}

std::string ExactPath(std::string fullFolder, std::string_view name) {
    if (fullFolder.compare(0, 4, "\\\\?\\") != 0)
        fullFolder = fullFolder.compare(0, 2, "\\\\") == 0 ? "\\\\?\\UNC" + fullFolder.substr(1)
                                                           : "\\\\?\\" + fullFolder;
    if (fullFolder.back() != '\\')
        fullFolder += '\\';
    return fullFolder.append(name);
}

bool IsSameOrBelow(std::string folder, std::string root,
                   bool (*same)(std::string_view a, std::string_view b)) {
    DropTrailingBackslashes(folder);
    DropTrailingBackslashes(root);
    return !root.empty() && folder.size() >= root.size() &&
           (folder.size() == root.size() || folder[root.size()] == '\\') &&
           same(std::string_view(folder).substr(0, root.size()), root);
}

bool GoesToRecycleBin(std::string_view path, bool driveHasRecycleBin) {
    return driveHasRecycleBin && CanPlayAsListed(path);
}

std::string NameOf(const std::string& path) {
    return path.substr(path.find_last_of("\\/") + 1);
}

DropPlan PlanDrop(const std::vector<std::string>& paths) {
    DropPlan plan;
    for (const std::string& path : paths) {
        if (SoundTypeOf(NameOf(path)))
            plan.sounds.push_back(path);
        else
            plan.refused += (plan.refused.empty() ? "" : ", ") + NameOf(path);
    }
    return plan;
}
