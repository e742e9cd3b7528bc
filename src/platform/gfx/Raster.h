#pragma once

// Drawing steps shared by the device context and the window framework's painter.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/gfx/GlyphSource.h"
#include "platform/gfx/Surface.h"

namespace tamber::gfx {

// Writes one value to every pixel of a rectangle, cut to the surface.
void FillSurface(const Surface& surface, const Rect& rect, uint32_t value);

// The pen advance of a whole text: the sum of its characters' advances.
int32_t TextAdvance(GlyphFace& face, std::string_view text);

// Draws one rendered glyph with its top-left pixel at `at`, touching only pixels inside `clip`.
// Set bits and full coverage write `ink`, a pixel of the surface's format; partial coverage
// blends `inkRgb` (0x00RRGGBB) into a 32-bit surface and, on other formats, draws from half
// coverage up.
void DrawGlyph(const Surface& surface, const GlyphBitmap& glyph, Point at, const Rect& clip, uint32_t ink,
    uint32_t inkRgb);

// Walks the pixels of a line from a to b, b excluded.
template<typename Plot> void WalkLine(Point a, Point b, Plot plot)
{
    int32_t dx = std::abs(b.x - a.x), dy = std::abs(b.y - a.y);
    int32_t sx = a.x < b.x ? 1 : -1, sy = a.y < b.y ? 1 : -1;
    int32_t x = a.x, y = a.y;
    if (dx >= dy) {
        int64_t err = dx / 2;
        for (int32_t i = 0; i < dx; ++i) {
            plot(x, y);
            x += sx;
            err -= dy;
            if (err < 0) {
                y += sy;
                err += dx;
            }
        }
    } else {
        int64_t err = dy / 2;
        for (int32_t i = 0; i < dy; ++i) {
            plot(x, y);
            y += sy;
            err -= dx;
            if (err < 0) {
                x += sx;
                err += dy;
            }
        }
    }
}

} // namespace tamber::gfx
