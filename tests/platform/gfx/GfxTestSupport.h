#pragma once

#include <cstdint>
#include <cstdio>
#include <set>
#include <string>
#include <utility>
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

using PixelSet = std::set<std::pair<int32_t, int32_t>>;

// A white 32-bit canvas with a Dc on it.
struct Canvas {
    static constexpr uint32_t kPaper = 0xFFFFFF;
    Image image;
    Dc dc;
    Canvas(int32_t w, int32_t h)
        : image(w, h, PixelFormat::Rgb32)
        , dc(Prepare(image), nullptr)
    {
    }
    static Surface Prepare(Image& img)
    {
        img.Fill(kPaper);
        return img.View();
    }
    // Where the canvas holds exactly this colour, or (Ink) anything but white.
    PixelSet Pixels(uint32_t color) const
    {
        return Where([color](uint32_t v) { return v == color; });
    }
    PixelSet Ink() const
    {
        return Where([](uint32_t v) { return v != kPaper; });
    }
    // One row as '#' for ink and '.' for white; the picture is all rows, each ended by a newline.
    std::string Row(int32_t y) const
    {
        std::string s;
        for (int32_t x = 0; x < image.Width(); ++x)
            s.push_back(image.Get(x, y) == kPaper ? '.' : '#');
        return s;
    }
    std::string Picture() const
    {
        std::string s;
        for (int32_t y = 0; y < image.Height(); ++y)
            s += Row(y) + "\n";
        return s;
    }

private:
    template<typename Test> PixelSet Where(Test test) const
    {
        PixelSet out;
        for (int32_t y = 0; y < image.Height(); ++y)
            for (int32_t x = 0; x < image.Width(); ++x)
                if (test(image.Get(x, y)))
                    out.emplace(x, y);
        return out;
    }
};

// Pixel values as hex, rows separated by '/': readable whole-image comparisons of small images.
inline std::string Hex(const Image& image)
{
    std::string out;
    char cell[16];
    for (int32_t y = 0; y < image.Height(); ++y) {
        for (int32_t x = 0; x < image.Width(); ++x) {
            std::snprintf(cell, sizeof cell, "%s%06x", x ? " " : (y ? "/" : ""), image.Get(x, y));
            out += cell;
        }
    }
    return out;
}

// A 40-byte DIB information header followed by a colour table of 0x00RRGGBB colours.
inline std::vector<uint8_t> DibHeader(int32_t width, int32_t height, int bits, uint32_t compression,
    const std::vector<uint32_t>& table, uint32_t colorsUsed = 0)
{
    std::vector<uint8_t> b;
    auto le = [&b](uint32_t v, int bytes) {
        for (int k = 0; k < bytes; ++k)
            b.push_back(static_cast<uint8_t>(v >> (8 * k)));
    };
    le(40, 4);
    le(static_cast<uint32_t>(width), 4);
    le(static_cast<uint32_t>(height), 4);
    le(1, 2);
    le(static_cast<uint32_t>(bits), 2);
    for (uint32_t v : { compression, 0u, 2835u, 2835u, colorsUsed, 0u })
        le(v, 4);
    for (uint32_t c : table)
        le(c & 0xFFFFFF, 4);
    return b;
}

// A deterministic generator for test data.
class Lcg {
public:
    explicit Lcg(uint32_t seed)
        : m_state(seed)
    {
    }
    uint32_t Next()
    {
        m_state = m_state * 1664525u + 1013904223u;
        return m_state >> 8;
    }
    int32_t Range(int32_t lo, int32_t hi)
    {
        return lo + static_cast<int32_t>(Next() % static_cast<uint32_t>(hi - lo + 1));
    }

private:
    uint32_t m_state;
};

} // namespace tamber::gfx::test
