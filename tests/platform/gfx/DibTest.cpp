#include "platform/gfx/Dib.h"

#include <gtest/gtest.h>

#include "platform/gfx/Dc.h"
#include "platform/gfx/DibFormat.h"
#include "platform/gfx/GfxTestSupport.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Palette.h"
#include "platform/gfx/SystemPalette.h"

namespace tamber::gfx {
namespace {

using test::DibHeader;
using test::Hex;
using Bytes = std::vector<uint8_t>;

void Le(Bytes& b, uint32_t v, int width)
{
    for (int k = 0; k < width; ++k)
        b.push_back(static_cast<uint8_t>(v >> (8 * k)));
}

// Draws the image 1:1 on a 32-bit canvas of its size and answers the canvas.
Image Draw(const Bytes& info, const Bytes& bits, int32_t w, int32_t h)
{
    Image canvas(w, h, PixelFormat::Rgb32);
    canvas.Fill(0xABCDEF);
    Dc dc(canvas.View(), nullptr);
    EXPECT_EQ(dc.StretchDIBits(0, 0, w, h, 0, 0, w, h, bits.data(), bits.size(), info.data(), info.size(),
                  DibColors::Rgb, Rop3::kSrcCopy),
        h);
    return canvas;
}

TEST(Dib, DecodesEveryUncompressedDepth)
{
    // 1 bit, bottom-up: the first stored row is the bottom one.
    {
        Bytes info = DibHeader(10, 2, 1, 0, { 0xFF0000, 0x0000FF });
        Bytes bits = { 0xAA, 0x80, 0, 0, 0xFF, 0xC0, 0, 0 };
        Image img = Draw(info, bits, 10, 2);
        for (int32_t x = 0; x < 10; ++x) {
            EXPECT_EQ(img.Get(x, 0), 0x0000FFu) << x;
            EXPECT_EQ(img.Get(x, 1), x % 2 == 0 ? 0x0000FFu : 0xFF0000u) << x;
        }
    }
    // 4 bits with a full table.
    {
        std::vector<uint32_t> table(16, 0);
        table[1] = 0x0A141E;
        table[2] = 0x28323C;
        EXPECT_EQ(
            Hex(Draw(DibHeader(3, 1, 4, 0, table), { 0x12, 0x00, 0, 0 }, 3, 1)), "0a141e 28323c 000000");
    }
    // 8 bits with a short table: indexes past it take its last entry.
    EXPECT_EQ(Hex(Draw(DibHeader(2, 1, 8, 0, { 0x111111, 0x222222, 0x333333 }, 3), { 2, 200, 0, 0 }, 2, 1)),
        "333333 333333");
    // 24 bits, top-down (negative height), rows padded to 8 bytes.
    {
        Bytes bits = { 0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0, 0, 0x07, 0x08, 0x09, 0x0A, 0x0B, 0x0C, 0, 0 };
        EXPECT_EQ(Hex(Draw(DibHeader(2, -2, 24, 0, {}), bits, 2, 2)), "030201 060504/090807 0c0b0a");
    }
    // 16 bits, 5-5-5: 16 of 31 is 132.
    {
        Bytes bits;
        for (uint32_t v : { 0x7C00u, 0x03E0u, 0x001Fu, 0x4210u })
            Le(bits, v, 2);
        EXPECT_EQ(Hex(Draw(DibHeader(4, 1, 16, 0, {}), bits, 4, 1)), "ff0000 00ff00 0000ff 848484");
    }
    // 32 bits with channel masks that swap red and blue.
    {
        Bytes info = DibHeader(1, 1, 32, 3, {});
        Le(info, 0x000000FF, 4);
        Le(info, 0x0000FF00, 4);
        Le(info, 0x00FF0000, 4);
        EXPECT_EQ(Hex(Draw(info, { 0x11, 0x22, 0x33, 0x00 }, 1, 1)), "112233");
    }
}

TEST(Dib, ReadsTheOlderTwelveByteHeader)
{
    Bytes info;
    Le(info, 12, 4);
    Le(info, 3, 2);
    Le(info, 1, 2);
    Le(info, 1, 2);
    Le(info, 1, 2);
    // Three-byte table entries: blue, green, red.
    for (uint8_t v : { 0x00, 0x00, 0x00, 0x10, 0x20, 0x30 })
        info.push_back(v);
    EXPECT_EQ(Hex(Draw(info, { 0xA0, 0, 0, 0 }, 3, 1)), "302010 000000 302010");
}

TEST(Dib, DecodesRunLengthCompression)
{
    std::vector<uint32_t> table;
    for (uint32_t i = 0; i < 7; ++i)
        table.push_back(i * 0x100000);
    DibInfo info;
    Bytes header = DibHeader(4, 3, 8, 1, table, 7);
    ASSERT_EQ(DibInfo::Parse(header.data(), header.size(), DibColors::Rgb, info), 1);
    Bytes bits = {
        0x03, 0x01, 0x00, 0x00, // bottom row: 1 1 1, end of line
        0x00, 0x03, 0x02, 0x03, 0x04, 0x00, 0x01, 0x05, // absolute 2 3 4 (padded), then 5
        0x00, 0x00, // end of line
        0x00, 0x02, 0x02, 0x00, 0x02, 0x06, // move right by 2, then 6 6
        0x00, 0x01, // end of image
    };
    Image img;
    EXPECT_EQ(info.Decode(bits.data(), bits.size(), img), 3);
    EXPECT_EQ(
        Hex(img), "000000 000000 000006 000006/000002 000003 000004 000005/000001 000001 000001 000000");

    Bytes header4 = DibHeader(5, 1, 4, 2, std::vector<uint32_t>(16, 0));
    ASSERT_EQ(DibInfo::Parse(header4.data(), header4.size(), DibColors::Rgb, info), 1);
    Bytes bits4 = { 0x05, 0x12, 0x00, 0x00, 0x00, 0x01 };
    EXPECT_EQ(info.Decode(bits4.data(), bits4.size(), img), 1);
    EXPECT_EQ(Hex(img), "000001 000002 000001 000002 000001");
    // Absolute nibbles.
    Bytes abs4 = { 0x00, 0x03, 0x34, 0x50, 0x00, 0x01 };
    EXPECT_EQ(info.Decode(abs4.data(), abs4.size(), img), 1);
    EXPECT_EQ(Hex(img).substr(0, 20), "000003 000004 000005");
}

TEST(Dib, PixelsARunLengthImageSkipsKeepTheDestination)
{
    std::vector<uint32_t> table = { 0x000000, 0xFF0000, 0x00FF00 };
    Bytes header = DibHeader(5, 3, 8, 1, table, 3);
    Bytes bits = {
        0x02, 0x01, 0x00, 0x00, // bottom row: 1 1, then end of line
        0x00, 0x02, 0x03, 0x00, 0x01, 0x02, // middle row: move right by 3, then a 2
        0x00, 0x01, // end of image: the top row is skipped
    };
    Image canvas = Draw(header, bits, 5, 3);
    const uint32_t kept = 0xABCDEF;
    const uint32_t want[3][5] = {
        { kept, kept, kept, kept, kept },
        { kept, kept, kept, 0x00FF00, kept },
        { 0xFF0000, 0xFF0000, kept, kept, kept },
    };
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(canvas.Get(x, y), want[y][x]) << x << "," << y;

    // Stretched to twice the size, each skipped pixel keeps its 2 x 2 block.
    Image big(10, 6, PixelFormat::Rgb32);
    big.Fill(kept);
    Dc dc(big.View(), nullptr);
    dc.SetStretchBltMode(StretchMode::ColorOnColor);
    EXPECT_EQ(dc.StretchDIBits(0, 0, 10, 6, 0, 0, 5, 3, bits.data(), bits.size(), header.data(),
                  header.size(), DibColors::Rgb, Rop3::kSrcCopy),
        6);
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 10; ++x)
            EXPECT_EQ(big.Get(x, y), want[y / 2][x / 2]) << x << "," << y;

    // Into a bitmap: the skipped pixels keep what the bitmap held.
    Image screen(4, 4, PixelFormat::Rgb32);
    Dc screenDc(screen.View(), nullptr);
    DeviceBitmap bitmap(5, 3, PixelFormat::Rgb32);
    bitmap.Pixels().Fill(kept);
    EXPECT_EQ(screenDc.SetDIBits(
                  bitmap, 0, 3, bits.data(), bits.size(), header.data(), header.size(), DibColors::Rgb),
        3);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 5; ++x)
            EXPECT_EQ(bitmap.Pixels().Get(x, y), want[y][x]) << x << "," << y;
}

TEST(Dib, SourceRectanglesOutsideTheImageDrawNothing)
{
    // One top-down row of two 32-bit pixels; the source rectangles start below it or right of it.
    Bytes header = DibHeader(2, -1, 32, 0, {});
    Bytes bits = { 1, 2, 3, 0, 4, 5, 6, 0 };
    struct Case {
        int32_t x, y, w, h, sx, sy;
    };
    for (Case k : { Case { 0, 0, 6, 5, 0, 1 }, Case { 0, 5, 6, -5, 0, 1 }, Case { 6, 0, -6, 5, 2, 0 } }) {
        for (StretchMode mode : { StretchMode::ColorOnColor, StretchMode::Halftone }) {
            Image canvas(6, 5, PixelFormat::Rgb32);
            canvas.Fill(0xABCDEF);
            Dc dc(canvas.View(), nullptr);
            dc.SetStretchBltMode(mode);
            dc.StretchDIBits(k.x, k.y, k.w, k.h, k.sx, k.sy, 2, 1, bits.data(), bits.size(), header.data(),
                header.size(), DibColors::Rgb, Rop3::kSrcCopy);
            for (int32_t y = 0; y < 5; ++y)
                for (int32_t x = 0; x < 6; ++x)
                    EXPECT_EQ(canvas.Get(x, y), 0xABCDEFu) << k.sx << "," << k.sy << " at " << x << "," << y;
        }
    }
}

TEST(Dib, RefusesHostileHeaders)
{
    DibInfo info;
    auto parse = [&](const Bytes& b) { return DibInfo::Parse(b.data(), b.size(), DibColors::Rgb, info); };
    EXPECT_EQ(parse(DibHeader(0x7FFFFFFF, 0x7FFFFFFF, 24, 0, {})), 0); // overflowing size
    EXPECT_EQ(parse(DibHeader(16384, 16384, 8, 0, std::vector<uint32_t>(256))), 0); // too many pixels
    EXPECT_EQ(parse(DibHeader(4, static_cast<int32_t>(0x80000000u), 24, 0, {})), 0);
    EXPECT_EQ(parse(DibHeader(0, 4, 24, 0, {})), 0);
    EXPECT_EQ(parse(DibHeader(4, 4, 7, 0, {})), 0); // no such depth
    EXPECT_EQ(parse(DibHeader(4, 4, 24, 4, {})), 0); // embedded JPEG
    EXPECT_EQ(parse(DibHeader(4, 4, 4, 1, std::vector<uint32_t>(16))), 0); // RLE8 needs 8 bits
    EXPECT_EQ(parse(DibHeader(4, -4, 8, 1, std::vector<uint32_t>(256))), 0); // compressed top-down
    EXPECT_EQ(parse(DibHeader(4, 4, 8, 0, std::vector<uint32_t>(10), 0xFFFFFFFF)), 0); // table past the end
    EXPECT_EQ(parse(DibHeader(4, 4, 8, 0, std::vector<uint32_t>(10), 11)), 0);
    EXPECT_EQ(parse(DibHeader(4, 4, 8, 0, std::vector<uint32_t>(10), 10)), 1);
    Bytes shortHeader = DibHeader(4, 4, 24, 0, {});
    shortHeader.resize(30);
    EXPECT_EQ(parse(shortHeader), 0);
    Bytes oddSize = DibHeader(4, 4, 24, 0, {});
    oddSize[0] = 13;
    EXPECT_EQ(parse(oddSize), 0);
    EXPECT_EQ(DibInfo::Parse(nullptr, 40, DibColors::Rgb, info), 0);

    // Bits that stop early: the rows present are drawn, nothing is read past the end.
    ASSERT_EQ(parse(DibHeader(2, 3, 24, 0, {})), 1);
    Bytes oneRow = { 1, 2, 3, 4, 5, 6, 0, 0 };
    Image img;
    EXPECT_EQ(info.Decode(oneRow.data(), oneRow.size(), img), 1);
    EXPECT_EQ(img.Get(0, 2), 0x030201u);
    EXPECT_EQ(img.Get(0, 0), 0u);

    // Runs and moves that leave the image are cut.
    ASSERT_EQ(parse(DibHeader(4, 2, 8, 1, std::vector<uint32_t>(256))), 1);
    Bytes wild = { 0xFF, 0x07, 0x00, 0x02, 0xF0, 0xF0, 0x02, 0x09, 0x00, 0xFF, 0x01 };
    EXPECT_GE(info.Decode(wild.data(), wild.size(), img), 1);
    EXPECT_EQ(img.Get(3, 1), 7u);
    EXPECT_EQ(img.Get(0, 0), 0u);
}

TEST(Dib, PackedImagesFindTheirBits)
{
    Bytes info = DibHeader(1, 1, 24, 0, {});
    Bytes file = { 'B', 'M' };
    Le(file, 14 + 40 + 4, 4);
    Le(file, 0, 4);
    Le(file, 54, 4);
    file.insert(file.end(), info.begin(), info.end());
    for (uint8_t v : { 9, 8, 7, 0 })
        file.push_back(v);
    DibInfo dib;
    const uint8_t* bits = nullptr;
    size_t size = 0;
    ASSERT_EQ(DibInfo::ParsePacked(file.data(), file.size(), dib, bits, size), 1);
    EXPECT_EQ(bits, file.data() + 54);
    EXPECT_EQ(size, 4u);
    // An offset past the end falls back to the bits after the table.
    file[10] = 0xFF;
    ASSERT_EQ(DibInfo::ParsePacked(file.data(), file.size(), dib, bits, size), 1);
    EXPECT_EQ(bits, file.data() + 54);
    // Without the file header the information header comes first.
    ASSERT_EQ(DibInfo::ParsePacked(file.data() + 14, file.size() - 14, dib, bits, size), 1);
    EXPECT_EQ(bits, file.data() + 54);
    EXPECT_EQ(DibInfo::ParsePacked(file.data(), 20, dib, bits, size), 0);
}

TEST(Dib, SourceRectanglesOfBottomUpImagesCountFromTheBottom)
{
    // 1 × 4, rows from the top: 0x10, 0x20, 0x30, 0x40.
    std::vector<uint32_t> table = { 0, 0x10, 0x20, 0x30, 0x40 };
    Bytes info = DibHeader(1, 4, 8, 0, table, 5);
    Bytes bits = { 4, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 0, 0 };
    Image canvas(1, 2, PixelFormat::Rgb32);
    Dc dc(canvas.View(), nullptr);
    // Source y 1 from the bottom, 2 rows: image rows 1 and 2 from the top.
    dc.StretchDIBits(0, 0, 1, 2, 0, 1, 1, 2, bits.data(), bits.size(), info.data(), info.size(),
        DibColors::Rgb, Rop3::kSrcCopy);
    EXPECT_EQ(canvas.Get(0, 0), 0x20u);
    EXPECT_EQ(canvas.Get(0, 1), 0x30u);
}

TEST(Dib, PartsOfAnImageDrawLikeTheSamePartOfTheWholeImage)
{
    // Parts are decoded on their own; they must show what the whole image shows there, at any
    // depth, row order and scale, up to the image's edges and past them.
    test::Lcg random(7);
    for (int bits : { 1, 4, 8, 24 }) {
        for (int32_t height : { 9, -9 }) {
            const int32_t w = 13, h = 9;
            std::vector<uint32_t> table;
            for (int k = 0; k < (bits <= 8 ? 1 << bits : 0); ++k)
                table.push_back(random.Next() & 0xFFFFFF);
            const Bytes info = DibHeader(w, height, bits, 0, table);
            Bytes pixels(static_cast<size_t>(DibFormat::RowBytes(w, bits) * h));
            for (uint8_t& b : pixels)
                b = static_cast<uint8_t>(random.Next());
            Image whole = Draw(info, pixels, w, h);
            Dc wholeDc(whole.View(), nullptr);
            for (int round = 0; round < 40; ++round) {
                const int32_t sx = random.Range(-2, w - 1), sy = random.Range(-2, h - 1);
                const int32_t sw = random.Range(1, w + 2 - sx), sh = random.Range(1, h + 2 - sy);
                const int32_t dw = random.Range(1, 20), dh = random.Range(1, 20);
                Image part(dw, dh, PixelFormat::Rgb32), expected(dw, dh, PixelFormat::Rgb32);
                part.Fill(0xABCDEF);
                expected.Fill(0xABCDEF);
                Dc partDc(part.View(), nullptr), expectedDc(expected.View(), nullptr);
                // Source y of a bottom-up image counts from its bottom.
                const int32_t dibY = height > 0 ? h - sy - sh : sy;
                partDc.StretchDIBits(0, 0, dw, dh, sx, dibY, sw, sh, pixels.data(), pixels.size(), info.data(),
                    info.size(), DibColors::Rgb, Rop3::kSrcCopy);
                expectedDc.StretchBlt(0, 0, dw, dh, &wholeDc, sx, sy, sw, sh, Rop3::kSrcCopy);
                ASSERT_EQ(Hex(part), Hex(expected)) << bits << " bits, height " << height << ", source " << sx << ","
                                                    << sy << " " << sw << "x" << sh << " into " << dw << "x" << dh;
            }
        }
    }
}

TEST(Dib, SetAndGetRoundTripThroughDeviceBitmaps)
{
    // 24-bit colours into a 32-bit bitmap and back.
    Image screen(1, 1, PixelFormat::Rgb32);
    Dc dc(screen.View(), nullptr);
    Bytes info = DibHeader(3, 2, 24, 0, {});
    Bytes bits = { 1, 2, 3, 4, 5, 6, 7, 8, 9, 0, 0, 0, 10, 11, 12, 13, 14, 15, 16, 17, 18, 0, 0, 0 };
    auto bitmap = dc.CreateDIBitmap(bits.data(), bits.size(), info.data(), info.size(), DibColors::Rgb);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(bitmap->Pixels().Get(0, 1), 0x030201u); // the first stored row is the bottom one
    Bytes back(bits.size(), 0xEE);
    Bytes header = DibHeader(3, 2, 24, 0, {});
    EXPECT_EQ(
        dc.GetDIBits(*bitmap, 0, 2, back.data(), back.size(), header.data(), header.size(), DibColors::Rgb),
        2);
    EXPECT_EQ(back, bits);

    // Partial scans: scan 1 (the second from the bottom) alone.
    DeviceBitmap target(3, 2, PixelFormat::Rgb32);
    Bytes scan = { 21, 22, 23, 24, 25, 26, 27, 28, 29, 0, 0, 0 };
    EXPECT_EQ(
        dc.SetDIBits(target, 1, 1, scan.data(), scan.size(), info.data(), info.size(), DibColors::Rgb), 1);
    EXPECT_EQ(target.Pixels().Get(0, 0), 0x171615u);
    EXPECT_EQ(target.Pixels().Get(0, 1), 0u);

    // Asking for the format only describes the bitmap.
    Bytes blank(40, 0);
    blank[0] = 40;
    EXPECT_EQ(dc.GetDIBits(*bitmap, 0, 0, nullptr, 0, blank.data(), blank.size(), DibColors::Rgb), 1);
    EXPECT_EQ(blank[14], 32); // bit count

    // An 8-bit screen: the colour table is the selected palette, pixels index it.
    SystemPalette sys;
    Palette palette({ { 0, 0, 0, 0 }, { 200, 10, 10, 0 }, { 10, 200, 10, 0 } });
    Image eight(1, 1, PixelFormat::Indexed8);
    Dc dc8(eight.View(), &sys);
    dc8.SelectPalette(&palette);
    dc8.RealizePalette();
    Bytes info8 = DibHeader(3, 1, 8, 0, { 0x000000, 0xC80A0A, 0x0AC80A }, 3);
    Bytes bits8 = { 2, 1, 0, 0 };
    auto bm8 = dc8.CreateDIBitmap(bits8.data(), bits8.size(), info8.data(), info8.size(), DibColors::Rgb);
    ASSERT_NE(bm8, nullptr);
    EXPECT_EQ(bm8->Pixels().Get(0, 0), palette.SystemIndex(2, sys));
    Bytes out8(4, 0xEE);
    Bytes header8 = DibHeader(3, 1, 8, 0, std::vector<uint32_t>(256));
    EXPECT_EQ(
        dc8.GetDIBits(*bm8, 0, 1, out8.data(), out8.size(), header8.data(), header8.size(), DibColors::Rgb),
        1);
    EXPECT_EQ(out8[0], 2);
    EXPECT_EQ(out8[1], 1);
    EXPECT_EQ(header8[40 + 4 * 1 + 2], 200); // red of entry 1
    // Palette-relative tables: indexes into the selected palette.
    Bytes infoPal = DibHeader(2, 1, 8, 0, {});
    Le(infoPal, 1, 2);
    Le(infoPal, 2, 2);
    infoPal[32] = 2; // colours used
    Bytes bitsPal = { 1, 0, 0, 0 };
    DeviceBitmap viaPalette(2, 1, PixelFormat::Indexed8);
    EXPECT_EQ(dc8.SetDIBits(viaPalette, 0, 1, bitsPal.data(), bitsPal.size(), infoPal.data(), infoPal.size(),
                  DibColors::Palette),
        1);
    EXPECT_EQ(viaPalette.Pixels().Get(0, 0), palette.SystemIndex(2, sys));
    EXPECT_EQ(viaPalette.Pixels().Get(1, 0), palette.SystemIndex(1, sys));
}

TEST(Dib, OneBitImagesBecomeMonochromeBitmapsByBrightness)
{
    Image screen(1, 1, PixelFormat::Rgb32);
    Dc dc(screen.View(), nullptr);
    Bytes info = DibHeader(8, 1, 1, 0, { 0xFFFFFF, 0x000000 }); // an inverted table
    Bytes bits = { 0xF0, 0, 0, 0 };
    DeviceBitmap mono(8, 1, PixelFormat::Mono);
    EXPECT_EQ(
        dc.SetDIBits(mono, 0, 1, bits.data(), bits.size(), info.data(), info.size(), DibColors::Rgb), 1);
    EXPECT_EQ(mono.Pixels().Get(0, 0), 0u);
    EXPECT_EQ(mono.Pixels().Get(7, 0), 1u);
    Bytes back(4, 0);
    Bytes header = DibHeader(8, 1, 1, 0, { 0, 0 });
    EXPECT_EQ(
        dc.GetDIBits(mono, 0, 1, back.data(), back.size(), header.data(), header.size(), DibColors::Rgb), 1);
    EXPECT_EQ(back[0], 0x0F); // written with a black-then-white table
}

} // namespace
} // namespace tamber::gfx
