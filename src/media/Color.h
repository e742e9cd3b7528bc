#pragma once

#include <cstdint>

namespace tamber {

// An RGB triple. The packed form, used in stored attributes and in every drawing call, is
// 0x00BBGGRR with red in the low byte.
class Color {
public:
    Color() = default;
    // A negative component becomes 0; any other keeps its low 8 bits (300 becomes 44).
    Color(int32_t red, int32_t green, int32_t blue) : m_red(Component(red)), m_green(Component(green)), m_blue(Component(blue)) {}
    static Color FromPacked(uint32_t packed) {
        return Color(static_cast<int32_t>(packed & 0xFF), static_cast<int32_t>(packed >> 8 & 0xFF),
                     static_cast<int32_t>(packed >> 16 & 0xFF));
    }

    int32_t Red() const { return m_red; }
    int32_t Green() const { return m_green; }
    int32_t Blue() const { return m_blue; }
    uint32_t Packed() const {
        return static_cast<uint32_t>(m_red) | static_cast<uint32_t>(m_green) << 8 | static_cast<uint32_t>(m_blue) << 16;
    }

    bool operator==(const Color&) const = default;

private:
    static uint8_t Component(int32_t value) { return value < 0 ? 0 : static_cast<uint8_t>(value & 0xFF); }

    uint8_t m_red = 0;
    uint8_t m_green = 0;
    uint8_t m_blue = 0;
};

}  // namespace tamber
