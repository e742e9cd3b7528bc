#include <gtest/gtest.h>

#include "platform/gfx/Dc.h"
#include "platform/gfx/GfxTestSupport.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Palette.h"
#include "platform/gfx/SystemPalette.h"

namespace tamber::gfx {
namespace {

using test::Lcg;

std::string Row(const Image& img, int32_t y)
{
    std::string s;
    for (int32_t x = 0; x < img.Width(); ++x)
        s += std::to_string(img.Get(x, y)) + (x + 1 < img.Width() ? " " : "");
    return s;
}

TEST(Blit, MonochromeSourcePaintsTextAndBackgroundColours)
{
    DeviceBitmap mono(4, 1, PixelFormat::Mono);
    mono.Pixels().Set(1, 0, 1);
    mono.Pixels().Set(3, 0, 1);
    Image screen(4, 1, PixelFormat::Rgb32);
    Dc dc(screen.View(), nullptr);
    dc.SetTextColor(Rgb(255, 0, 0));
    dc.SetBkColor(Rgb(0, 0, 255));
    auto mem = Dc::CreateCompatible(dc);
    mem->SelectBitmap(&mono);
    dc.BitBlt(0, 0, 4, 1, mem.get(), 0, 0, Rop3::kSrcCopy);
    EXPECT_EQ(screen.Get(0, 0), 0xFF0000u);
    EXPECT_EQ(screen.Get(1, 0), 0x0000FFu);
    EXPECT_EQ(screen.Get(2, 0), 0xFF0000u);
    EXPECT_EQ(screen.Get(3, 0), 0x0000FFu);
}

TEST(Blit, ColourSourceBecomesWhiteWhereItHasTheSourceBackground)
{
    Image screen(3, 1, PixelFormat::Rgb32);
    screen.Set(0, 0, 0x00FF00);
    screen.Set(1, 0, 0x123456);
    screen.Set(2, 0, 0x00FF00);
    Dc dc(screen.View(), nullptr);
    dc.SetBkColor(Rgb(0, 255, 0));
    auto mem = Dc::CreateCompatible(dc);
    DeviceBitmap mask(3, 1, PixelFormat::Mono);
    mem->SelectBitmap(&mask);
    mem->BitBlt(0, 0, 3, 1, &dc, 0, 0, Rop3::kSrcCopy);
    EXPECT_EQ(Row(mask.Pixels(), 0), "1 0 1");
}

TEST(Blit, CopiesOnlyWhereTheSourceExistsAndTheClipAllows)
{
    Image src(4, 4, PixelFormat::Rgb32);
    src.Fill(0x111111);
    Image dst(6, 6, PixelFormat::Rgb32);
    dst.Fill(0xFFFFFF);
    Dc from(src.View(), nullptr);
    Dc to(dst.View(), nullptr);
    to.ExcludeClipRect(Rect { 0, 0, 6, 1 });
    // Source x from 2: only two columns of the source exist.
    to.BitBlt(1, 0, 4, 4, &from, 2, 0, Rop3::kSrcCopy);
    for (int32_t y = 0; y < 6; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            bool copied = x >= 1 && x < 3 && y >= 1 && y < 4;
            EXPECT_EQ(dst.Get(x, y), copied ? 0x111111u : 0xFFFFFFu) << x << "," << y;
        }
    }
}

TEST(Blit, StretchModesDecideHowShrunkenPixelsCombine)
{
    // Pairs of source pixels fall on one destination pixel.
    const uint32_t a = 0xF0F0F0, b = 0x0F0F0F, c = 0x204060, d = 0x6080A0;
    Image src(4, 1, PixelFormat::Rgb32);
    src.Set(0, 0, a);
    src.Set(1, 0, b);
    src.Set(2, 0, c);
    src.Set(3, 0, d);
    Dc from(src.View(), nullptr);
    struct Case {
        StretchMode mode;
        uint32_t first, second;
    };
    for (Case k : { Case { StretchMode::BlackOnWhite, a & b, c & d }, Case { StretchMode::WhiteOnBlack, a | b, c | d },
                    Case { StretchMode::Halftone, 0x808080, 0x406080 } }) {
        Image dst(2, 1, PixelFormat::Rgb32);
        Dc to(dst.View(), nullptr);
        to.SetStretchBltMode(k.mode);
        to.StretchBlt(0, 0, 2, 1, &from, 0, 0, 4, 1, Rop3::kSrcCopy);
        EXPECT_EQ(dst.Get(0, 0), k.first) << static_cast<int>(k.mode);
        EXPECT_EQ(dst.Get(1, 0), k.second) << static_cast<int>(k.mode);
    }
    Image dst(2, 1, PixelFormat::Rgb32);
    Dc to(dst.View(), nullptr);
    to.SetStretchBltMode(StretchMode::ColorOnColor);
    to.StretchBlt(0, 0, 2, 1, &from, 0, 0, 4, 1, Rop3::kSrcCopy);
    // One of each pair survives unchanged.
    EXPECT_TRUE(dst.Get(0, 0) == a || dst.Get(0, 0) == b);
    EXPECT_TRUE(dst.Get(1, 0) == c || dst.Get(1, 0) == d);
}

TEST(Blit, EnlargingRepeatsPixelsAndNegativeWidthsMirror)
{
    Image src(2, 2, PixelFormat::Indexed8);
    src.Set(0, 0, 1);
    src.Set(1, 0, 2);
    src.Set(0, 1, 3);
    src.Set(1, 1, 4);
    Dc from(src.View(), nullptr);
    Image dst(4, 4, PixelFormat::Indexed8);
    Dc to(dst.View(), nullptr);
    to.SetStretchBltMode(StretchMode::ColorOnColor);
    to.StretchBlt(0, 0, 4, 4, &from, 0, 0, 2, 2, Rop3::kSrcCopy);
    EXPECT_EQ(Row(dst, 0), "1 1 2 2");
    EXPECT_EQ(Row(dst, 1), "1 1 2 2");
    EXPECT_EQ(Row(dst, 2), "3 3 4 4");
    EXPECT_EQ(Row(dst, 3), "3 3 4 4");
    // A negative destination width runs leftwards from x = 4 (exclusive after normalising).
    to.StretchBlt(4, 0, -4, 2, &from, 0, 0, 2, 2, Rop3::kSrcCopy);
    EXPECT_EQ(Row(dst, 0), "2 2 1 1");
    EXPECT_EQ(Row(dst, 1), "4 4 3 3");
    // The same through an operation that is not a plain copy.
    to.StretchBlt(0, 0, 4, 2, &from, 0, 0, 2, 2, Rop3::kSrcInvert);
    EXPECT_EQ(Row(dst, 0), "3 3 3 3");
}

TEST(Blit, OverlappingCopiesAndScrollingReadTheOriginalPixels)
{
    const int32_t w = 7, h = 5;
    Image img(w, h, PixelFormat::Rgb32);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x)
            img.Set(x, y, static_cast<uint32_t>(y * 16 + x));
    }
    Image before = img;
    Dc dc(img.View(), nullptr);
    Region uncovered;
    Rect scroll { 1, 1, 6, 5 };
    dc.ScrollDc(2, 1, &scroll, nullptr, &uncovered);
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            bool moved = scroll.Contains(Point { x, y }) && scroll.Contains(Point { x - 2, y - 1 });
            uint32_t want = moved ? before.Get(x - 2, y - 1) : before.Get(x, y);
            EXPECT_EQ(img.Get(x, y), want) << x << "," << y;
            bool shouldBeUncovered = scroll.Contains(Point { x, y }) && !moved;
            EXPECT_EQ(uncovered.Contains(Point { x, y }), shouldBeUncovered) << x << "," << y;
        }
    }
}

TEST(Blit, CopiesWithinOneSurfaceInEveryDirection)
{
    const int32_t w = 9, h = 7;
    for (PixelFormat format : { PixelFormat::Rgb32, PixelFormat::Indexed8 }) {
        for (Point move : { Point { 2, 1 }, Point { -2, -1 }, Point { 3, 0 }, Point { -1, 0 }, Point { 0, 2 },
                            Point { 1, -2 } }) {
            for (bool complexClip : { false, true }) {
                Image img(w, h, format);
                for (int32_t y = 0; y < h; ++y)
                    for (int32_t x = 0; x < w; ++x)
                        img.Set(x, y, static_cast<uint32_t>(y * 16 + x));
                Image before = img;
                SystemPalette system;
                Dc dc(img.View(), &system);
                Region clip = Region::Combine(Region(Rect { 0, 0, 4, 7 }), Region(Rect { 5, 2, 9, 6 }), CombineMode::Or);
                if (complexClip)
                    dc.SelectClipRgn(&clip);
                const Rect from { 2, 2, 7, 5 };
                dc.BitBlt(from.left + move.x, from.top + move.y, from.Width(), from.Height(), &dc, from.left, from.top,
                          Rop3::kSrcCopy);
                for (int32_t y = 0; y < h; ++y) {
                    for (int32_t x = 0; x < w; ++x) {
                        Point p { x, y };
                        bool copied = from.Contains(Point { x - move.x, y - move.y })
                            && (!complexClip || clip.Contains(p));
                        uint32_t want = copied ? before.Get(x - move.x, y - move.y) : before.Get(x, y);
                        EXPECT_EQ(img.Get(x, y), want) << move.x << "," << move.y << " clip " << complexClip
                                                       << " at " << x << "," << y;
                    }
                }
            }
        }
    }
}

TEST(Blit, EightBitTargetsTakeTheNearestRealisedColour)
{
    SystemPalette system;
    Palette palette({ { 10, 20, 30, 0 }, { 200, 100, 50, 0 } });
    Image screen(3, 1, PixelFormat::Indexed8);
    Dc dc(screen.View(), &system);
    dc.SelectPalette(&palette);
    EXPECT_EQ(dc.RealizePalette(), 2);
    Image colours(3, 1, PixelFormat::Rgb32);
    colours.Set(0, 0, 0x0C141E); // next to entry 0
    colours.Set(1, 0, 0xC8643C); // next to entry 1
    colours.Set(2, 0, 0x0A141E); // entry 0 exactly
    Dc from(colours.View(), nullptr);
    dc.BitBlt(0, 0, 3, 1, &from, 0, 0, Rop3::kSrcCopy);
    EXPECT_EQ(screen.Get(0, 0), palette.SystemIndex(0, system));
    EXPECT_EQ(screen.Get(1, 0), palette.SystemIndex(1, system));
    EXPECT_EQ(screen.Get(2, 0), palette.SystemIndex(0, system));
    EXPECT_EQ(dc.GetPixel(Point { 1, 0 }), Rgb(200, 100, 50));
    // And back to colour through the system palette.
    Image out(3, 1, PixelFormat::Rgb32);
    Dc to(out.View(), nullptr);
    auto eight = Dc::CreateCompatible(dc);
    DeviceBitmap bm(3, 1, PixelFormat::Indexed8);
    bm.Pixels() = screen;
    eight->SelectBitmap(&bm);
    to.BitBlt(0, 0, 3, 1, eight.get(), 0, 0, Rop3::kSrcCopy);
    EXPECT_EQ(out.Get(1, 0), 0xC86432u);
}

} // namespace
} // namespace tamber::gfx
