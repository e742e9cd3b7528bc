#pragma once

#include <cstdint>
#include <string_view>

namespace tamber {

// The value types shared by attributes, method parameters and results, event parameters and
// script values. Stored as a 16-bit code.
enum class ValueType : uint16_t {
    Void = 0,
    Double = 1,
    Long = 2,
    Color = 3,
    Id = 4,
    Short = 5,
    Enum = 6,
    Byte = 7,
    Boolean = 8,
    String = 9,
    Font = 10,
    Text = 11,
    Picture = 12,
    Palette = 13,
    Special = 14,
    Script = 15,
    Media = 16,
};

inline constexpr uint16_t kValueTypeCount = 17;

// The name users see for a type code ("Long"); empty for codes of 17 and above.
std::string_view TypeName(uint16_t code);
inline std::string_view TypeName(ValueType type) { return TypeName(static_cast<uint16_t>(type)); }

// Whether a value of the type is carried in the holder's block (Text, Picture, Palette, Script).
bool IsBlockType(ValueType type);

}  // namespace tamber
