#pragma once

#include <cstdint>

namespace tamber::gfx {

// A colour as the drawing calls take it: 0x00BBGGRR, red in the low byte. The high byte selects
// how an 8-bit device resolves it: 0 the nearest colour in use (static or realised), 1 an index into the selected
// logical palette (low 16 bits), 2 the nearest entry of the selected logical palette.
using ColorRef = uint32_t;

constexpr ColorRef Rgb(uint8_t red, uint8_t green, uint8_t blue)
{
    return static_cast<ColorRef>(red) | static_cast<ColorRef>(green) << 8 | static_cast<ColorRef>(blue) << 16;
}
constexpr ColorRef PaletteIndex(uint16_t index) { return 0x01000000u | index; }
constexpr ColorRef PaletteRgb(uint8_t red, uint8_t green, uint8_t blue) { return 0x02000000u | Rgb(red, green, blue); }

constexpr uint8_t RedOf(ColorRef c) { return static_cast<uint8_t>(c); }
constexpr uint8_t GreenOf(ColorRef c) { return static_cast<uint8_t>(c >> 8); }
constexpr uint8_t BlueOf(ColorRef c) { return static_cast<uint8_t>(c >> 16); }

// Between the call form (0x00BBGGRR) and the 32-bit pixel form (0x00RRGGBB).
constexpr uint32_t ColorRefToPixel(ColorRef c)
{
    return (c & 0x0000FF00u) | (c & 0xFFu) << 16 | (c >> 16 & 0xFFu);
}
constexpr ColorRef PixelToColorRef(uint32_t p)
{
    return (p & 0x0000FF00u) | (p & 0xFFu) << 16 | (p >> 16 & 0xFFu);
}

constexpr ColorRef kBlack = 0x000000;
constexpr ColorRef kWhite = 0xFFFFFF;

} // namespace tamber::gfx
