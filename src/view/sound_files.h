// The sound files Brisa lists: the types the client's /sound command plays. Pure string logic.
#pragma once

#include <optional>
#include <string>
#include <string_view>

enum class SoundType { Wave, Midi, Mp3 };

// The type of a file by its extension (".wav", ".mid", ".mp3"), letter case ignored, as are the
// spaces and dots after it that Windows ignores in a name; nullopt for every other file.
std::optional<SoundType> SoundTypeOf(std::string_view fileName);

// The client's name for the kind of sound, as its $sound identifier takes it: "wave", "midi",
// "mp3".
const char* ClientSoundKind(SoundType type);
