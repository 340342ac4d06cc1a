// The soundboard: system-wide hotkeys that send or play a sound of the folder, the hotkey that
// stops Brisa's sound, and the volume of Brisa's own playback, as the profile keeps them.
// Portable: the profile is any object with GetString, GetInt, GetKeys and Write.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace soundboard {

// A combination of keys as the platform registers it: modifier flags and a virtual-key code.
struct Hotkey {
    enum : unsigned { kAlt = 1, kControl = 2, kShift = 4, kWin = 8 };
    unsigned modifiers = 0;
    unsigned key = 0;
    bool operator==(const Hotkey& other) const {
        return modifiers == other.modifiers && key == other.key;
    }
};

// "Ctrl+Alt+F5": modifiers in the order Ctrl, Alt, Shift, Win, then the key.
std::string Format(const Hotkey& hotkey);
// The combination a text names, as Format writes it (letter case aside); nullopt for a text that
// names none, or a combination of fewer than two modifiers, one of them Ctrl, Alt or Win: a
// hotkey takes its combination from every program, and with one modifier it would take their
// shortcuts (Ctrl+C) or typing itself (Shift+A).
std::optional<Hotkey> Parse(std::string_view text);

// A sound of the folder with a hotkey: the sound by its path below the folder.
struct Binding {
    Hotkey hotkey;
    std::string sound;
};

inline constexpr char kHotkeysSection[] = "Hotkeys"; // one key a hotkey: "Ctrl+F5=fun\ding.wav"
inline constexpr char kSection[] = "Soundboard";
inline constexpr char kStopHotkey[] = "StopHotkey";
inline constexpr char kVolume[] = "Volume";
inline constexpr int kFullVolume = 100;

struct Soundboard {
    std::vector<Binding> bindings;
    std::optional<Hotkey> stop;
    int volume = kFullVolume; // percent
};

// a and b name the same file.
using Same = bool (*)(std::string_view a, std::string_view b);

// The hotkey of a sound; nullopt for none.
std::optional<Hotkey> HotkeyOf(const Soundboard& board, std::string_view sound, Same same);

// The other sound of the board that holds the hotkey; nullopt when none does.
std::optional<std::string> HolderOf(const Soundboard& board, const Hotkey& hotkey,
                                    std::string_view sound, Same same);

// Gives the sound the hotkey, in place of the one it had; none takes the sound's away.
void Bind(Soundboard& board, const std::string& sound, const std::optional<Hotkey>& hotkey,
          Same same);

// A volume of the profile brought into 0 to 100.
int VolumeOf(int stored);

template <class Profile> Soundboard Load(const Profile& profile) {
    Soundboard board;
    for (const std::string& key : profile.GetKeys(kHotkeysSection)) {
        const auto hotkey = Parse(key);
        std::string sound = profile.GetString(kHotkeysSection, key.c_str(), "");
        if (hotkey && !sound.empty())
            board.bindings.push_back({*hotkey, std::move(sound)});
    }
    board.stop = Parse(profile.GetString(kSection, kStopHotkey, ""));
    board.volume = VolumeOf(profile.GetInt(kSection, kVolume, kFullVolume));
    return board;
}

// Writes the hotkeys of `board`, and takes away those of `before` that it no longer has, all in
// one write; false when the file could not be written.
template <class Profile>
bool SaveHotkeys(const Profile& profile, const Soundboard& before, const Soundboard& board) {
    using Values = std::vector<std::pair<std::string, std::optional<std::string>>>;
    Values hotkeys;
    for (const Binding& binding : before.bindings)
        hotkeys.emplace_back(Format(binding.hotkey), std::nullopt);
    for (const Binding& binding : board.bindings)
        hotkeys.emplace_back(Format(binding.hotkey), binding.sound);
    const Values stop = {{kStopHotkey, board.stop ? Format(*board.stop) : ""}};
    return profile.WriteSections({{kHotkeysSection, hotkeys}, {kSection, stop}});
}

template <class Profile> bool SaveVolume(const Profile& profile, int volume) {
    return profile.Write(kSection, {{kVolume, std::to_string(volume)}});
}

} // namespace soundboard
