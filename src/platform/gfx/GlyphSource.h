#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace tamber::gfx {

enum class Italic : uint8_t { No = 0, Yes = 1 };
enum class Underline : uint8_t { No = 0, Yes = 1 };
enum class StrikeOut : uint8_t { No = 0, Yes = 1 };

// What a caller asks for when it selects a font. The height follows the classic convention: a
// negative value is the character height (em size) in pixels, a positive one the cell height
// (ascent + descent), 0 a default size. Weight is 100..900 (400 normal, 700 bold), 0 = normal.
struct FontRequest {
    std::string faceName;
    int32_t height = 0;
    int32_t weight = 400;
    Italic italic = Italic::No;
    Underline underline = Underline::No;
    StrikeOut strikeOut = StrikeOut::No;
};

// Metrics of an opened face in pixels. height = ascent + descent; internalLeading is the part of
// the ascent above the em square (accents); averageCharWidth is the width of a typical lowercase
// letter.
struct FontMetrics {
    int32_t height = 0;
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t internalLeading = 0;
    int32_t externalLeading = 0;
    int32_t averageCharWidth = 0;
    int32_t maxCharWidth = 0;
    int32_t weight = 400;
    Italic italic = Italic::No;
    Underline underline = Underline::No;
    StrikeOut strikeOut = StrikeOut::No;
};

enum class GlyphDepth : uint8_t {
    Mono1 = 1, // one bit per pixel, most significant bit first, 1 = ink
    Gray8 = 8, // one byte per pixel, coverage 0..255
};

// One rendered character. The bitmap's top-left pixel lies at (pen x + left, baseline y - top);
// the pen then moves right by advance. The bits stay valid until the next call on the same face.
struct GlyphBitmap {
    const uint8_t* bits = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    int32_t pitch = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t advance = 0;
    GlyphDepth depth = GlyphDepth::Mono1;
};

// An opened font at one size and style. Characters are single-byte codes of the Windows-1252
// character set, the text encoding of the stored data.
class GlyphFace {
public:
    virtual ~GlyphFace() = default;
    virtual const FontMetrics& Metrics() const = 0;
    // The pen advance of one character in pixels (0 for characters the face cannot show).
    virtual int32_t Advance(uint8_t ch) = 0;
    // Renders one character; answers 1, or 0 when the character has no picture (a space): then
    // only glyph.advance is meaningful.
    virtual int Render(uint8_t ch, GlyphBitmap& glyph) = 0;
};

// Where faces come from: the real one matches names against installed fonts, tests use a tiny
// fake. A request that matches nothing still answers a usable default face.
class GlyphSource {
public:
    virtual ~GlyphSource() = default;
    virtual std::shared_ptr<GlyphFace> OpenFace(const FontRequest& request) = 0;
};

} // namespace tamber::gfx
