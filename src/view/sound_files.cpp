#include "view/sound_files.h"

namespace {

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
    if (text.size() != lower.size())
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != lower[i])
            return false;
    }
    return true;
}

} // namespace

std::optional<SoundType> SoundTypeOf(std::string_view fileName) {
    const std::size_t end = fileName.find_last_not_of(". ");
    if (end == std::string_view::npos || end < 3)
        return std::nullopt;
    const std::string_view extension = fileName.substr(end - 3, 4);
    if (EqualsIgnoringCase(extension, ".wav"))
        return SoundType::Wave;
    if (EqualsIgnoringCase(extension, ".mid"))
        return SoundType::Midi;
    if (EqualsIgnoringCase(extension, ".mp3"))
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
