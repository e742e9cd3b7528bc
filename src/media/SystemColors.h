#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "media/Color.h"

namespace tamber {

// The twenty colours a 256-colour display keeps for itself, packed (0x00BBGGRR): the ten low
// ones (entries 0-9 of the hardware palette) and then the ten high ones (entries 246-255).
class SystemColors {
public:
    static constexpr int kCount = 20;
    static constexpr int kLowCount = 10;

    static const std::array<uint32_t, kCount>& Packed();
    static Color At(int index) { return Color::FromPacked(Packed()[static_cast<size_t>(index) % kCount]); }
    // True when the colour equals one of the twenty exactly.
    static bool IsSystemColor(const Color& color);
};

}  // namespace tamber
