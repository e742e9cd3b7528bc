#pragma once

#include <cstdint>

namespace tamber::gfx {

// Ternary raster operations: the full 32-bit codes callers pass. Bits 16-23 are the truth table:
// for pattern bit P, source bit S and destination bit D the result bit is bit (P·4 + S·2 + D) of
// that byte. The low 16 bits are an encoding hint and are ignored.
namespace Rop3 {
constexpr uint32_t kBlackness = 0x00000042;
constexpr uint32_t kNotSrcErase = 0x001100A6;
constexpr uint32_t kNotSrcCopy = 0x00330008;
constexpr uint32_t kSrcErase = 0x00440328;
constexpr uint32_t kDstInvert = 0x00550009;
constexpr uint32_t kPatInvert = 0x005A0049;
constexpr uint32_t kSrcInvert = 0x00660046;
constexpr uint32_t kSrcAnd = 0x008800C6;
constexpr uint32_t kMergePaint = 0x00BB0226;
constexpr uint32_t kMergeCopy = 0x00C000CA;
constexpr uint32_t kSrcCopy = 0x00CC0020;
constexpr uint32_t kSrcPaint = 0x00EE0086;
constexpr uint32_t kPatCopy = 0x00F00021;
constexpr uint32_t kPatPaint = 0x00FB0A09;
constexpr uint32_t kWhiteness = 0x00FF0062;
} // namespace Rop3

// Binary raster operations of pens and brushes (pattern P against destination D), 1..16.
enum class Rop2 : uint8_t {
    Black = 1,
    NotMergePen,
    MaskNotPen,
    NotCopyPen,
    MaskPenNot,
    Not,
    XorPen,
    NotMaskPen,
    MaskPen,
    NotXorPen,
    Nop,
    MergeNotPen,
    CopyPen,
    MergePenNot,
    MergePen,
    White,
};

constexpr uint8_t Rop3Code(uint32_t rop) { return static_cast<uint8_t>(rop >> 16); }
constexpr bool Rop3UsesSource(uint8_t code) { return ((code >> 2) & 0x33) != (code & 0x33); }
constexpr bool Rop3UsesPattern(uint8_t code) { return (code >> 4) != (code & 0x0F); }
constexpr bool Rop3UsesDest(uint8_t code) { return ((code >> 1) & 0x55) != (code & 0x55); }

// The ternary code that does what a binary operation does, ignoring the source.
constexpr uint8_t Rop2ToRop3(Rop2 rop)
{
    uint8_t table = static_cast<uint8_t>(static_cast<uint8_t>(rop) - 1); // bit (P·2 + D)
    uint8_t code = 0;
    for (int p = 0; p < 2; ++p) {
        for (int s = 0; s < 2; ++s) {
            for (int d = 0; d < 2; ++d) {
                if (table >> (p * 2 + d) & 1)
                    code = static_cast<uint8_t>(code | 1 << (p * 4 + s * 2 + d));
            }
        }
    }
    return code;
}

// Applies a ternary code bit by bit to whole words.
constexpr uint32_t ApplyRop3(uint8_t code, uint32_t p, uint32_t s, uint32_t d)
{
    uint32_t out = 0;
    for (int m = 0; m < 8; ++m) {
        if (code >> m & 1)
            out |= ((m & 4) ? p : ~p) & ((m & 2) ? s : ~s) & ((m & 1) ? d : ~d);
    }
    return out;
}

// Combines a row: dest[i] = op(pattern[i], source[i], dest[i]) masked to the pixel's bits.
// source or pattern may be null when the code does not use them. Common codes take fast paths.
void RopRow32(uint8_t code, uint32_t* dest, const uint32_t* source, const uint32_t* pattern, int32_t n,
              uint32_t mask);

} // namespace tamber::gfx
