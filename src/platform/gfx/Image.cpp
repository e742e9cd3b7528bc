#include "platform/gfx/Image.h"

#include <algorithm>

#include "platform/gfx/Raster.h"

namespace tamber::gfx {

Image::Image(int32_t width, int32_t height, PixelFormat format)
{
    Create(width, height, format);
}

int Image::Create(int32_t width, int32_t height, PixelFormat format)
{
    m_pixels.clear();
    m_width = m_height = m_pitch = 0;
    m_format = format;
    if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension)
        return 0;
    m_width = width;
    m_height = height;
    m_pitch = (width * BytesPerPixel(format) + 3) & ~3;
    m_pixels.assign(static_cast<size_t>(m_pitch) * static_cast<size_t>(height), 0);
    return 1;
}

void Image::Fill(uint32_t value)
{
    FillSurface(View(), View().Bounds(), value);
}

void FillSurface(const Surface& s, const Rect& rect, uint32_t value)
{
    const Rect r = rect.Intersect(s.Bounds());
    for (int32_t y = r.top; y < r.bottom; ++y) {
        if (s.format == PixelFormat::Rgb32)
            std::fill(s.Row32(y) + r.left, s.Row32(y) + r.right, value);
        else
            std::fill(s.Row8(y) + r.left, s.Row8(y) + r.right, static_cast<uint8_t>(value));
    }
}

} // namespace tamber::gfx
