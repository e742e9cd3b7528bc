#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/gfx/Dc.h"
#include "platform/gfx/GlyphSource.h"
#include "platform/gfx/Image.h"

namespace tamber::gfx::test {

// A tiny monospaced face: every printable character but the space is a solid 4 × 6 block at the
// left of a 6-pixel advance, standing on the baseline; ascent 7, descent 2.
class BlockFace : public GlyphFace {
public:
    explicit BlockFace(Underline underline = Underline::No)
    {
        m_metrics.height = 9;
        m_metrics.ascent = 7;
        m_metrics.descent = 2;
        m_metrics.averageCharWidth = 6;
        m_metrics.maxCharWidth = 6;
        m_metrics.underline = underline;
        m_bits.assign(6, 0xF0); // 4 pixels of ink, one byte per row
    }
    const FontMetrics& Metrics() const override { return m_metrics; }
    int32_t Advance(uint8_t) override { return 6; }
    int Render(uint8_t ch, GlyphBitmap& glyph) override
    {
        glyph = GlyphBitmap {};
        glyph.advance = 6;
        if (ch == ' ')
            return 0;
        glyph.bits = m_bits.data();
        glyph.width = 4;
        glyph.height = 6;
        glyph.pitch = 1;
        glyph.left = 0;
        glyph.top = 6;
        glyph.depth = GlyphDepth::Mono1;
        return 1;
    }

private:
    FontMetrics m_metrics;
    std::vector<uint8_t> m_bits;
};

// Renders an image as text rows ('.' for value 0, '#' otherwise) for readable failures.
inline std::string Picture(const Image& image)
{
    std::string out;
    for (int32_t y = 0; y < image.Height(); ++y) {
        for (int32_t x = 0; x < image.Width(); ++x)
            out.push_back(image.Get(x, y) ? '#' : '.');
        out.push_back('\n');
    }
    return out;
}

// A deterministic generator for test data.
class Lcg {
public:
    explicit Lcg(uint32_t seed) : m_state(seed) { }
    uint32_t Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int32_t Range(int32_t lo, int32_t hi) { return lo + static_cast<int32_t>(Next() % static_cast<uint32_t>(hi - lo + 1)); }

private:
    uint32_t m_state;
};

} // namespace tamber::gfx::test
