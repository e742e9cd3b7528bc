#include "shell/KeyNames.h"

#include <array>
#include <string>

#include "base/AsciiCase.h"
#include "platform/display/InputEvent.h"

namespace tamber::shell {

namespace {

struct NamedKey {
    const char* name;
    int32_t key;
};

constexpr NamedKey kNamedKeys[] = {
    {"Enter", key::kEnter},       {"Escape", key::kEscape},     {"Tab", key::kTab},
    {"Backspace", key::kBackspace}, {"Delete", key::kDelete},   {"Insert", key::kInsert},
    {"Up", key::kUp},             {"Down", key::kDown},         {"Left", key::kLeft},
    {"Right", key::kRight},       {"Home", key::kHome},         {"End", key::kEnd},
    {"PageUp", key::kPageUp},     {"PageDown", key::kPageDown}, {"Space", key::kSpace},
    {"Break", key::kCancel},
};

struct NamedModifier {
    const char* prefix;
    uint8_t bit;
};

constexpr NamedModifier kModifiers[] = {
    {"Ctrl+", kModControl},
    {"Shift+", kModShift},
    {"Alt+", kModAlt},
};

// Punctuation of a US keyboard: the unshifted and the shifted character of each key.
struct PunctuationKey {
    char plain;
    char shifted;
    int32_t key;
};

constexpr PunctuationKey kPunctuation[] = {
    {';', ':', key::kSemicolon}, {'=', '+', key::kEquals},    {',', '<', key::kComma},
    {'-', '_', key::kMinus},     {'.', '>', key::kPeriod},    {'/', '?', key::kSlash},
    {'`', '~', key::kBackquote}, {'[', '{', key::kLeftBracket}, {'\\', '|', key::kBackslash},
    {']', '}', key::kRightBracket}, {'\'', '"', key::kQuote},
};

constexpr char kShiftedDigits[] = ")!@#$%^&*(";

// Characters typed by the named keys that type one.
struct KeyCharacter {
    int32_t key;
    uint8_t ch;
};

constexpr KeyCharacter kKeyCharacters[] = {
    {key::kEnter, '\r'}, {key::kTab, '\t'}, {key::kBackspace, '\b'}, {key::kEscape, 0x1B}, {key::kSpace, ' '},
};

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && EqualFolded(text.substr(0, prefix.size()), prefix);
}

}  // namespace

bool KeyStroke::IsBreak() const
{
    return key == key::kCancel && (modifiers & kModControl) != 0;
}

int32_t KeyNames::KeyCode(std::string_view name)
{
    if (name.size() == 1) {
        char c = name[0];
        if (c >= 'a' && c <= 'z')
            return c - 'a' + 'A';
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))
            return c;
        return 0;
    }
    for (const auto& named : kNamedKeys) {
        if (EqualFolded(name, named.name))
            return named.key;
    }
    if (name.size() >= 2 && (name[0] == 'F' || name[0] == 'f')) {
        int number = 0;
        for (char c : name.substr(1)) {
            if (c < '0' || c > '9')
                return 0;
            number = number * 10 + (c - '0');
            if (number > 12)
                return 0;
        }
        if (number >= 1 && name[1] != '0')
            return key::kF1 + number - 1;
    }
    return 0;
}

int KeyNames::Parse(std::string_view text, KeyStroke& stroke)
{
    KeyStroke out;
    for (bool found = true; found;) {
        found = false;
        for (const auto& modifier : kModifiers) {
            if (text.size() > std::string_view(modifier.prefix).size() &&
                StartsWithIgnoringCase(text, modifier.prefix)) {
                out.modifiers |= modifier.bit;
                text.remove_prefix(std::string_view(modifier.prefix).size());
                found = true;
            }
        }
    }
    out.key = KeyCode(text);
    if (out.key == 0)
        return 0;
    // Break exists only as Ctrl+Break.
    if (out.key == key::kCancel && !(out.modifiers & kModControl))
        return 0;
    stroke = out;
    return 1;
}

uint8_t KeyNames::CharacterOf(const KeyStroke& stroke)
{
    if (stroke.modifiers & kModAlt)
        return 0;
    bool shift = (stroke.modifiers & kModShift) != 0;
    bool ctrl = (stroke.modifiers & kModControl) != 0;
    int32_t k = stroke.key;
    if (k >= 'A' && k <= 'Z') {
        if (ctrl)
            return static_cast<uint8_t>(k - 'A' + 1);
        return static_cast<uint8_t>(shift ? k : k - 'A' + 'a');
    }
    if (ctrl)
        return 0;
    if (k >= '0' && k <= '9')
        return static_cast<uint8_t>(shift ? kShiftedDigits[k - '0'] : k);
    for (const auto& entry : kKeyCharacters) {
        if (entry.key == k)
            return entry.ch;
    }
    for (const auto& entry : kPunctuation) {
        if (entry.key == k)
            return static_cast<uint8_t>(shift ? entry.shifted : entry.plain);
    }
    return 0;
}

KeyStroke KeyNames::StrokeFor(uint8_t character)
{
    if (character >= 'a' && character <= 'z')
        return {character - 'a' + 'A', 0};
    if (character >= 'A' && character <= 'Z')
        return {character, kModShift};
    if (character >= '0' && character <= '9')
        return {character, 0};
    for (int digit = 0; digit < 10; ++digit) {
        if (kShiftedDigits[digit] == static_cast<char>(character))
            return {'0' + digit, kModShift};
    }
    for (const auto& entry : kKeyCharacters) {
        if (entry.ch == character)
            return {entry.key, 0};
    }
    for (const auto& entry : kPunctuation) {
        if (entry.plain == static_cast<char>(character))
            return {entry.key, 0};
        if (entry.shifted == static_cast<char>(character))
            return {entry.key, kModShift};
    }
    return {};
}

}  // namespace tamber::shell
