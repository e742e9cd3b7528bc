#pragma once

#include <array>
#include <cstdint>
#include <unordered_map>

#include "platform/gfx/ColorRef.h"
#include "platform/gfx/SystemPalette.h"
#include "platform/gfx/Surface.h"

namespace tamber::ui {

// Turns drawing colours (0x00BBGGRR) into pixel values of the screen's format. On a 24-bit screen
// that is the colour itself; on an 8-bit screen it is the index of the nearest colour of the
// hardware palette (a colour with high byte 1 names an index directly).
class ColorMap {
public:
    explicit ColorMap(gfx::PixelFormat format = gfx::PixelFormat::Rgb32);
    // Follows a hardware palette that someone else changes (the display's).
    ColorMap(gfx::PixelFormat format, const gfx::SystemPalette* hardware);

    // The hardware palette of a fresh 8-bit screen: the twenty static colours at 0-9 and
    // 246-255, black between. Entries are 0x00RRGGBB.
    static const std::array<uint32_t, 256>& DefaultPalette();

    gfx::PixelFormat Format() const { return m_format; }
    uint32_t Map(gfx::ColorRef color) const;
    // The colour (0x00RRGGBB) a pixel value shows.
    uint32_t PixelColor(uint32_t pixel) const;
    const std::array<uint32_t, 256>& Palette() const;
    void SetPalette(const std::array<uint32_t, 256>& palette);

private:
    gfx::PixelFormat m_format;
    std::array<uint32_t, 256> m_palette;
    const gfx::SystemPalette* m_hardware = nullptr;
    mutable uint32_t m_generation = 0;
    mutable std::unordered_map<uint32_t, uint8_t> m_nearest;
};

} // namespace tamber::ui
