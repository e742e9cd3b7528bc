#pragma once

#include <cstdint>
#include <string>

#include "iface/AttributeAccessor.h"
#include "iface/ChunkReader.h"
#include "platform/gfx/GlyphSource.h"

namespace tamber {

// The font of a text-bearing element: face name, point size and TextStyle index
// (1 x bold + 2 x italic + 4 x underline + 8 x strike-out).
struct ElementFont {
    static constexpr int kMaxFaceLength = 31;
    static constexpr uint16_t kStyleCount = 16;
    static constexpr uint16_t kBold = 1;
    static constexpr uint16_t kItalic = 2;
    static constexpr uint16_t kUnderline = 4;
    static constexpr uint16_t kStrikeOut = 8;

    std::string face = "System";
    int32_t size = 12;
    uint16_t style = 0;

    // Stored as face (pstring), size (4), style (2).
    void Write(ChunkWriter& w) const
    {
        w.PString(face);
        w.Int32(size);
        w.U16(style);
    }
    void Read(ChunkReader& r)
    {
        face = r.PString().substr(0, kMaxFaceLength);
        size = r.Int32();
        style = r.U16();
    }
    bool operator==(const ElementFont&) const = default;

    // The face at the screen's 96 pixels per inch: the size in points becomes a character
    // height in pixels, rounded to nearest.
    gfx::FontRequest Request() const
    {
        constexpr int32_t kPixelsPerInch = 96;
        constexpr int32_t kPointsPerInch = 72;
        gfx::FontRequest request;
        request.faceName = face;
        request.height = -((size * kPixelsPerInch + kPointsPerInch / 2) / kPointsPerInch);
        request.weight = (style & kBold) ? 700 : 400;
        request.italic = (style & kItalic) ? gfx::Italic::Yes : gfx::Italic::No;
        request.underline = (style & kUnderline) ? gfx::Underline::Yes : gfx::Underline::No;
        request.strikeOut = (style & kStrikeOut) ? gfx::StrikeOut::Yes : gfx::StrikeOut::No;
        return request;
    }
};

// Accessors of "TextFont", "TextSize" (raised to 1) and "TextStyle" for a font member.
template<auto Font, class E>
void GetFontFace(const E& e, AttributeValue& v)
{
    v.SetString((e.*Font).face);
}
template<auto Font, class E>
int SetFontFace(E& e, const AttributeValue& v)
{
    (e.*Font).face = v.String().substr(0, ElementFont::kMaxFaceLength);
    return 1;
}
template<auto Font, class E>
void GetFontSize(const E& e, AttributeValue& v)
{
    v.SetLong((e.*Font).size);
}
template<auto Font, class E>
int SetFontSize(E& e, const AttributeValue& v)
{
    (e.*Font).size = v.Long() < 1 ? 1 : v.Long();
    return 1;
}
template<auto Font, class E>
void GetFontStyle(const E& e, AttributeValue& v)
{
    v.SetEnum((e.*Font).style);
}
template<auto Font, class E>
int SetFontStyle(E& e, const AttributeValue& v)
{
    uint16_t style = v.Enum();
    (e.*Font).style = style < ElementFont::kStyleCount ? style : ElementFont::kStyleCount - 1;
    return 1;
}

}  // namespace tamber
