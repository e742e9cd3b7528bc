#pragma once

#include <cstdint>

#include "platform/gfx/Image.h"

namespace tamber::gfx {

// A device-dependent bitmap: monochrome (one byte per pixel, 0 black, 1 white), or compatible
// with a screen (8-bit system palette indices, or 32-bit colour). New bitmaps are black.
// Select one into a memory Dc to draw on it or blit from it.
class DeviceBitmap {
public:
    DeviceBitmap() = default;
    DeviceBitmap(int32_t width, int32_t height, PixelFormat format) : m_image(width, height, format) { }

    int Create(int32_t width, int32_t height, PixelFormat format) { return m_image.Create(width, height, format); }
    bool IsEmpty() const { return m_image.IsEmpty(); }
    int32_t Width() const { return m_image.Width(); }
    int32_t Height() const { return m_image.Height(); }
    PixelFormat Format() const { return m_image.Format(); }
    Surface View() { return m_image.View(); }
    Surface View() const { return m_image.View(); }
    Image& Pixels() { return m_image; }
    const Image& Pixels() const { return m_image; }

private:
    Image m_image;
};

} // namespace tamber::gfx
