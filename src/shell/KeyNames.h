#pragma once

#include <cstdint>
#include <string_view>

namespace tamber::shell {

// A key with its modifier bits (tamber::Modifier), as the automation command `key` names it.
struct KeyStroke {
    int32_t key = 0;        // virtual-key code
    uint8_t modifiers = 0;

    bool operator==(const KeyStroke&) const = default;
    // Ctrl+Break: interrupts a running script rather than reaching a window.
    bool IsBreak() const;
};

class KeyNames {
public:
    // Parses "Ctrl+Shift+F5", "a", "PageUp" (names and prefixes without regard to case).
    // Answers 1, or 0 when a prefix or the key name is unknown.
    static int Parse(std::string_view text, KeyStroke& stroke);
    // The virtual-key code of a key name, 0 when unknown.
    static int32_t KeyCode(std::string_view name);
    // The character a key press types with those modifiers, 0 for none (as the platform's
    // translation of key presses into characters gives it).
    static uint8_t CharacterOf(const KeyStroke& stroke);
    // The key (and Shift) that types a character on a US keyboard; key 0 when none does.
    static KeyStroke StrokeFor(uint8_t character);
};

}  // namespace tamber::shell
