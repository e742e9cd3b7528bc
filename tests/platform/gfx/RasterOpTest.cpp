#include <gtest/gtest.h>

#include "platform/gfx/Dc.h"
#include "platform/gfx/GfxTestSupport.h"
#include "platform/gfx/Image.h"

namespace tamber::gfx {
namespace {

using test::Lcg;

// The truth-table definition, bit by bit: result bit = code bit number (P·4 + S·2 + D).
uint32_t BitModel(uint8_t code, uint32_t p, uint32_t s, uint32_t d, int bits)
{
    uint32_t out = 0;
    for (int b = 0; b < bits; ++b) {
        int index = ((p >> b) & 1) * 4 + ((s >> b) & 1) * 2 + ((d >> b) & 1);
        out |= static_cast<uint32_t>((code >> index) & 1) << b;
    }
    return out;
}

Image RandomImage(int32_t w, int32_t h, PixelFormat format, Lcg& rng)
{
    Image img(w, h, format);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            uint32_t v = rng.Next();
            img.Set(x, y, format == PixelFormat::Rgb32 ? (v & 0xFFFFFF) : format == PixelFormat::Indexed8 ? (v & 0xFF) : (v & 1));
        }
    }
    return img;
}

// Every one of the 256 codes, through BitBlt with a source and an 8 × 8 colour pattern brush, on
// surfaces of every format, matches the truth table at every pixel.
TEST(RasterOp, EveryTernaryCodeMatchesTheTruthTable)
{
    struct Case {
        PixelFormat format;
        int bits;
    };
    for (Case c : { Case { PixelFormat::Rgb32, 24 }, Case { PixelFormat::Indexed8, 8 }, Case { PixelFormat::Mono, 1 } }) {
        Lcg rng(7);
        const int32_t w = 11, h = 9;
        Image pattern = RandomImage(8, 8, c.format == PixelFormat::Rgb32 ? PixelFormat::Rgb32 : PixelFormat::Mono, rng);
        Image source = RandomImage(w, h, c.format, rng);
        Image start = RandomImage(w, h, c.format, rng);
        DeviceBitmap srcBitmap(w, h, c.format);
        for (int32_t y = 0; y < h; ++y) {
            for (int32_t x = 0; x < w; ++x)
                srcBitmap.Pixels().Set(x, y, source.Get(x, y));
        }
        for (int code = 0; code < 256; ++code) {
            Image dest = start;
            Dc dc(dest.View(), nullptr);
            // A monochrome pattern paints 0 in the text colour and 1 in the background colour.
            dc.SetTextColor(kBlack);
            dc.SetBkColor(kWhite);
            dc.SelectBrush(Brush::FromPattern(pattern));
            auto mem = Dc::CreateCompatible(dc);
            ASSERT_NE(mem->SelectBitmap(&srcBitmap), nullptr);
            uint32_t rop = static_cast<uint32_t>(code) << 16;
            ASSERT_EQ(dc.BitBlt(0, 0, w, h, mem.get(), 0, 0, rop), 1);
            for (int32_t y = 0; y < h; ++y) {
                for (int32_t x = 0; x < w; ++x) {
                    uint32_t p = pattern.Get(x % 8, y % 8);
                    if (c.format == PixelFormat::Indexed8)
                        p = p ? 0xFF : 0x00; // white and black of the static colours
                    uint32_t want = BitModel(static_cast<uint8_t>(code), p, source.Get(x, y), start.Get(x, y), c.bits);
                    ASSERT_EQ(dest.Get(x, y), want) << "code " << code << " at " << x << "," << y;
                }
            }
        }
    }
}

// Pens and brushes combine with the destination by the binary operation's table:
// result bit = bit (P·2 + D) of (operation - 1).
TEST(RasterOp, EveryBinaryOperationMatchesItsTable)
{
    Lcg rng(3);
    Image start = RandomImage(6, 4, PixelFormat::Rgb32, rng);
    const ColorRef brushColor = Rgb(0x5A, 0xC3, 0x0F);
    const uint32_t p = ColorRefToPixel(brushColor);
    for (int op = 1; op <= 16; ++op) {
        Image dest = start;
        Dc dc(dest.View(), nullptr);
        dc.SelectBrush(Brush::Solid(brushColor));
        dc.SetRop2(static_cast<Rop2>(op));
        dc.PaintRgn(Region(Rect { 0, 0, 6, 4 }));
        for (int32_t y = 0; y < 4; ++y) {
            for (int32_t x = 0; x < 6; ++x) {
                uint32_t d = start.Get(x, y), want = 0;
                for (int b = 0; b < 24; ++b) {
                    int index = ((p >> b) & 1) * 2 + ((d >> b) & 1);
                    want |= static_cast<uint32_t>(((op - 1) >> index) & 1) << b;
                }
                ASSERT_EQ(dest.Get(x, y), want) << "operation " << op;
            }
        }
    }
}

TEST(RasterOp, CodesReportWhichOperandsTheyRead)
{
    EXPECT_TRUE(Rop3UsesSource(Rop3Code(Rop3::kSrcCopy)));
    EXPECT_FALSE(Rop3UsesPattern(Rop3Code(Rop3::kSrcCopy)));
    EXPECT_FALSE(Rop3UsesDest(Rop3Code(Rop3::kSrcCopy)));
    EXPECT_FALSE(Rop3UsesSource(Rop3Code(Rop3::kPatCopy)));
    EXPECT_TRUE(Rop3UsesPattern(Rop3Code(Rop3::kPatCopy)));
    EXPECT_TRUE(Rop3UsesDest(Rop3Code(Rop3::kDstInvert)));
    EXPECT_FALSE(Rop3UsesSource(Rop3Code(Rop3::kBlackness)));
    EXPECT_TRUE(Rop3UsesDest(Rop3Code(Rop3::kSrcErase)));
    // Operations without a source need no source Dc.
    Image img(2, 2, PixelFormat::Rgb32);
    Dc dc(img.View(), nullptr);
    EXPECT_EQ(dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, Rop3::kWhiteness), 1);
    EXPECT_EQ(img.Get(1, 1), 0xFFFFFFu);
    EXPECT_EQ(dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, Rop3::kSrcCopy), 0);
}

} // namespace
} // namespace tamber::gfx
