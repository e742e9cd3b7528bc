#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gfx/Rect.h"

namespace tamber::gfx {

// How a surface stores its pixels. Every format is byte- or word-addressed so that rows can be
// walked without bit arithmetic:
// - Mono: one byte per pixel, 0 = black and 1 = white (monochrome bitmaps);
// - Indexed8: one byte per pixel, an index into the system palette of an 8-bit screen;
// - Rgb32: one 32-bit word per pixel, 0x00RRGGBB (in memory B, G, R, 0: the same bytes as SDL's
//   ARGB8888 and libpng's BGRA).
enum class PixelFormat : uint8_t { Mono = 1, Indexed8 = 8, Rgb32 = 32 };

constexpr int BytesPerPixel(PixelFormat format) { return format == PixelFormat::Rgb32 ? 4 : 1; }

// A plain view of pixels owned by someone else. Copying a Surface copies the view, not the pixels.
struct Surface {
    uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0; // bytes from one row to the next
    PixelFormat format = PixelFormat::Rgb32;

    bool IsValid() const { return pixels != nullptr && width > 0 && height > 0; }
    Rect Bounds() const { return Rect { 0, 0, width, height }; }

    uint8_t* Row(int32_t y) const { return pixels + static_cast<ptrdiff_t>(y) * pitch; }
    uint8_t* Row8(int32_t y) const { return Row(y); }
    uint32_t* Row32(int32_t y) const { return reinterpret_cast<uint32_t*>(Row(y)); }

    // Reads or writes one pixel as a number in the surface's own format (0/1, an index, or
    // 0x00RRGGBB). Points outside the surface read 0 and are not written.
    uint32_t Get(int32_t x, int32_t y) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return 0;
        return format == PixelFormat::Rgb32 ? Row32(y)[x] : Row8(y)[x];
    }
    void Set(int32_t x, int32_t y, uint32_t value) const
    {
        if (x < 0 || y < 0 || x >= width || y >= height)
            return;
        if (format == PixelFormat::Rgb32)
            Row32(y)[x] = value;
        else
            Row8(y)[x] = static_cast<uint8_t>(value);
    }
};

} // namespace tamber::gfx
