#include "rules/soundboard.h"

#include "rules/ascii_text.h"

#include <algorithm>

namespace soundboard {
namespace {

struct KeyName {
    unsigned key;
    const char* name;
};

// The keys with a name of more than one character; letters and digits are their own names, and
// any other key is written by its code ("#186"), which differs between keyboard layouts.
constexpr KeyName kKeyNames[] = {
    {0x08, "Backspace"}, {0x09, "Tab"},    {0x0D, "Enter"},     {0x13, "Pause"},
    {0x20, "Space"},     {0x21, "PgUp"},   {0x22, "PgDn"},      {0x23, "End"},
    {0x24, "Home"},      {0x25, "Left"},   {0x26, "Up"},        {0x27, "Right"},
    {0x28, "Down"},      {0x2D, "Insert"}, {0x2E, "Delete"},    {0x6A, "Num *"},
    {0x6B, "Num +"},     {0x6D, "Num -"},  {0x6E, "Num ."},     {0x6F, "Num /"},
    {0x91, "ScrollLock"},
};
constexpr unsigned kNumPad0 = 0x60, kF1 = 0x70, kF24 = 0x87;

constexpr KeyName kModifierNames[] = {{Hotkey::kControl, "Ctrl"},
                                      {Hotkey::kAlt, "Alt"},
                                      {Hotkey::kShift, "Shift"},
                                      {Hotkey::kWin, "Win"}};

std::string KeyText(unsigned key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return std::string(1, static_cast<char>(key));
    if (key >= kF1 && key <= kF24)
        return "F" + std::to_string(key - kF1 + 1);
    if (key >= kNumPad0 && key <= kNumPad0 + 9)
        return "Num " + std::to_string(key - kNumPad0);
    for (const KeyName& named : kKeyNames) {
        if (named.key == key)
            return named.name;
    }
    return "#" + std::to_string(key);
}

// Every key has a text of its own: the text is found by writing the keys.
std::optional<unsigned> KeyOf(std::string_view text) {
    for (unsigned key = 1; key <= 0xFE; ++key) {
        if (EqualsIgnoringAsciiCase(KeyText(key), text))
            return key;
    }
    return std::nullopt;
}

} // namespace

std::string Format(const Hotkey& hotkey) {
    std::string text;
    for (const KeyName& modifier : kModifierNames) {
        if (hotkey.modifiers & modifier.key)
            text.append(modifier.name).append("+");
    }
    return text + KeyText(hotkey.key);
}

// A '+' that ends the text is the key of the numeric pad's plus.
std::optional<Hotkey> Parse(std::string_view text) {
    Hotkey hotkey;
    for (;;) {
        const std::size_t plus = text.find('+');
        if (plus == std::string_view::npos || plus + 1 == text.size())
            break;
        const std::string_view part = text.substr(0, plus);
        const auto modifier = std::find_if(std::begin(kModifierNames), std::end(kModifierNames),
                                           [&](const KeyName& m) { return EqualsIgnoringAsciiCase(m.name, part); });
        if (modifier == std::end(kModifierNames))
            return std::nullopt;
        hotkey.modifiers |= modifier->key;
        text.remove_prefix(plus + 1);
    }
    const auto key = KeyOf(text);
    const unsigned modifiers = hotkey.modifiers;
    const bool twoModifiers = (modifiers & (modifiers - 1)) != 0;
    if (!key || !twoModifiers || !(modifiers & (Hotkey::kControl | Hotkey::kAlt | Hotkey::kWin)))
        return std::nullopt;
    hotkey.key = *key;
    return hotkey;
}

std::optional<Hotkey> HotkeyOf(const Soundboard& board, std::string_view sound, Same same) {
    for (const Binding& binding : board.bindings) {
        if (same(binding.sound, sound))
            return binding.hotkey;
    }
    return std::nullopt;
}

std::optional<std::string> HolderOf(const Soundboard& board, const Hotkey& hotkey,
                                    std::string_view sound, Same same) {
    for (const Binding& binding : board.bindings) {
        if (binding.hotkey == hotkey && !same(binding.sound, sound))
            return binding.sound;
    }
    return std::nullopt;
}

void Bind(Soundboard& board, const std::string& sound, const std::optional<Hotkey>& hotkey,
          Same same) {
    auto& bindings = board.bindings;
    bindings.erase(std::remove_if(bindings.begin(), bindings.end(),
                                  [&](const Binding& b) { return same(b.sound, sound); }),
                   bindings.end());
    if (hotkey)
        bindings.push_back({*hotkey, sound});
}

int VolumeOf(int stored) {
    return std::clamp(stored, 0, kFullVolume);
}

} // namespace soundboard
