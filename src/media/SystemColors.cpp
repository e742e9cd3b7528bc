#include "media/SystemColors.h"

#include <algorithm>

namespace tamber {

const std::array<uint32_t, SystemColors::kCount>& SystemColors::Packed() {
    static constexpr std::array<uint32_t, kCount> kColors = {
        0x000000, 0x000080, 0x008000, 0x008080, 0x800000, 0x800080, 0x808000, 0xC0C0C0, 0xC0DCC0, 0xF0CAA6,
        0xF0FBFF, 0xA4A0A0, 0x808080, 0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, 0xFF00FF, 0xFFFF00, 0xFFFFFF,
    };
    return kColors;
}

bool SystemColors::IsSystemColor(const Color& color) {
    const auto& colors = Packed();
    return std::find(colors.begin(), colors.end(), color.Packed()) != colors.end();
}

}  // namespace tamber
