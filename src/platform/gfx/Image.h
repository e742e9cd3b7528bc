#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/Surface.h"

namespace tamber::gfx {

// Pixels owned in memory, rows 4-byte aligned, cleared to 0 (black) at creation.
class Image {
public:
    Image() = default;
    Image(int32_t width, int32_t height, PixelFormat format);

    // Answers 0 (and leaves the image empty) for sizes of 0 or less or beyond kMaxDimension.
    int Create(int32_t width, int32_t height, PixelFormat format);
    void Fill(uint32_t value);

    // The largest width or height an image may have; keeps every byte offset in 32 bits.
    static constexpr int32_t kMaxDimension = 16384;

    bool IsEmpty() const { return m_width == 0; }
    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    int32_t Pitch() const { return m_pitch; }
    PixelFormat Format() const { return m_format; }
    Surface View() { return Surface { m_pixels.data(), m_width, m_height, m_pitch, m_format }; }
    Surface View() const
    {
        return Surface { const_cast<uint8_t*>(m_pixels.data()), m_width, m_height, m_pitch, m_format };
    }
    uint32_t Get(int32_t x, int32_t y) const { return View().Get(x, y); }
    void Set(int32_t x, int32_t y, uint32_t value) { View().Set(x, y, value); }

private:
    std::vector<uint8_t> m_pixels;
    int32_t m_width = 0;
    int32_t m_height = 0;
    int32_t m_pitch = 0;
    PixelFormat m_format = PixelFormat::Rgb32;
};

} // namespace tamber::gfx
