// Draws every primitive and raster operation into one picture, writes it as a PNG for people to
// look at (build/gfx-gallery.png), and checks that each cell was drawn.
#include <string>

#include <gtest/gtest.h>

#include "platform/PngFile.h"
#include "platform/gfx/Dc.h"
#include "platform/gfx/GfxTestSupport.h"
#include "platform/gfx/Image.h"

namespace tamber::gfx {
namespace {

constexpr int32_t kCell = 64;
constexpr int32_t kColumns = 8, kRows = 5;
constexpr uint32_t kPaper = 0xE0E0E0;

Rect CellRect(int index)
{
    return Rect::FromSize(
        (index % kColumns) * kCell + 2, (index / kColumns) * kCell + 2, kCell - 4, kCell - 4);
}

TEST(Gallery, DrawsEveryPrimitiveAndRasterOperation)
{
    Image canvas(kColumns * kCell, kRows * kCell, PixelFormat::Rgb32);
    canvas.Fill(kPaper);
    Dc dc(canvas.View(), nullptr);
    dc.SelectFont(std::make_shared<test::BlockFace>());
    int cell = 0;
    auto next = [&]() {
        Rect r = CellRect(cell++);
        dc.SetViewportOrg(Point { r.left, r.top });
        dc.SelectClipRgn(nullptr);
        dc.IntersectClipRect(Rect { 0, 0, r.Width(), r.Height() });
        dc.FillRect(Rect { 0, 0, r.Width(), r.Height() }, Brush::Solid(kWhite));
        dc.SelectPen(Pen {});
        dc.SelectBrush(Brush::Solid(Rgb(255, 200, 0)));
    };

    // Row 0: lines and shapes.
    next();
    for (int k = 0; k < 12; ++k) {
        dc.MoveTo(Point { 30, 30 });
        dc.LineTo(Point { 30 + (k % 4 - 2) * 14 + 2, 30 + (k / 4 - 1) * 25 });
    }
    next();
    PenStyle styles[]
        = { PenStyle::Solid, PenStyle::Dash, PenStyle::Dot, PenStyle::DashDot, PenStyle::DashDotDot };
    for (int k = 0; k < 5; ++k) {
        dc.SelectPen(Pen { styles[k], 1, Rgb(0, 0, 160) });
        dc.MoveTo(Point { 2, 4 + k * 6 });
        dc.LineTo(Point { 58, 4 + k * 6 });
    }
    for (int w = 2; w <= 6; w += 2) {
        dc.SelectPen(Pen { PenStyle::Solid, w, Rgb(200, 0, 0) });
        dc.MoveTo(Point { 6, 30 + w * 4 });
        dc.LineTo(Point { 54, 36 + w * 3 });
    }
    next();
    dc.Rectangle(Rect { 4, 4, 56, 30 });
    dc.SelectPen(Pen { PenStyle::Solid, 3, Rgb(0, 128, 0) });
    dc.Rectangle(Rect { 8, 34, 52, 56 });
    next();
    dc.RoundRect(Rect { 4, 4, 56, 30 }, 16, 12);
    dc.SelectPen(Pen { PenStyle::Dash, 1, kBlack });
    dc.Rectangle(Rect { 8, 34, 52, 56 });
    next();
    dc.Ellipse(Rect { 4, 4, 56, 36 });
    dc.SelectPen(Pen { PenStyle::Solid, 4, Rgb(128, 0, 128) });
    dc.Ellipse(Rect { 14, 38, 46, 58 });
    Point star[] = { { 30, 2 }, { 47, 56 }, { 2, 22 }, { 58, 22 }, { 13, 56 } };
    next();
    dc.SetPolyFillMode(FillMode::Alternate);
    dc.Polygon(star, 5);
    next();
    dc.SetPolyFillMode(FillMode::Winding);
    dc.Polygon(star, 5);
    next();
    HatchStyle hatches[] = { HatchStyle::Horizontal, HatchStyle::Vertical, HatchStyle::ForwardDiagonal,
        HatchStyle::BackwardDiagonal, HatchStyle::Cross, HatchStyle::DiagonalCross };
    for (int k = 0; k < 6; ++k)
        dc.FillRect(
            Rect::FromSize((k % 3) * 20, (k / 3) * 30, 18, 28), Brush::Hatched(hatches[k], Rgb(0, 0, 200)));

    // Row 1: fills, outlines and text.
    next();
    dc.SelectBrush(Brush::Hollow());
    dc.Ellipse(Rect { 4, 4, 56, 56 });
    dc.Rectangle(Rect { 20, 20, 40, 40 });
    dc.SelectBrush(Brush::Solid(Rgb(0, 160, 255)));
    dc.FloodFill(Point { 10, 30 }, kBlack, FloodFillType::Border);
    next();
    dc.FrameRect(Rect { 4, 4, 56, 56 }, Brush::Solid(Rgb(255, 0, 0)));
    dc.DrawFocusRect(Rect { 10, 10, 50, 50 });
    dc.InvertRect(Rect { 20, 20, 40, 40 });
    next();
    Image pattern(8, 8, PixelFormat::Mono);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x)
            pattern.Set(x, y, (x / 2 + y / 2) % 2);
    }
    dc.SetTextColor(Rgb(160, 0, 0));
    dc.FillRect(Rect { 0, 0, 60, 60 }, Brush::FromPattern(pattern));
    dc.SetTextColor(kBlack);
    next();
    dc.SetBkColor(Rgb(255, 255, 160));
    dc.TextOut(Point { 2, 2 }, "Left");
    dc.SetTextAlign(TextAlign::kRight | TextAlign::kBaseline);
    dc.TextOut(Point { 58, 40 }, "Right");
    dc.SetTextAlign(0);
    next();
    Rect textBox { 0, 0, 60, 60 };
    dc.SetBkMode(BkMode::Transparent);
    dc.DrawText("wrapped &words in a box", textBox, DrawTextFormat::kWordBreak | DrawTextFormat::kCenter);
    dc.SetBkMode(BkMode::Opaque);
    next();
    Region shape = Region::FromEllipse(Rect { 2, 2, 40, 40 });
    shape.CombineWith(Region::FromRoundRect(Rect { 20, 20, 58, 58 }, 12, 12), CombineMode::Xor);
    dc.FillRgn(shape, Brush::Solid(Rgb(0, 128, 128)));

    // Rows 2-3: raster operations of a source (four quadrants) over a destination (stripes)
    // through a hatched brush.
    Image source(60, 60, PixelFormat::Rgb32);
    for (int32_t y = 0; y < 60; ++y) {
        for (int32_t x = 0; x < 60; ++x)
            source.Set(x, y, (x < 30 ? 0xFF0000 : 0x0000FF) | (y < 30 ? 0x00FF00 : 0));
    }
    Dc sourceDc(source.View(), nullptr);
    const uint32_t rops[] = { Rop3::kSrcCopy, Rop3::kSrcPaint, Rop3::kSrcAnd, Rop3::kSrcInvert,
        Rop3::kSrcErase, Rop3::kNotSrcCopy, Rop3::kNotSrcErase, Rop3::kMergeCopy, Rop3::kMergePaint,
        Rop3::kPatCopy, Rop3::kPatPaint, Rop3::kPatInvert, Rop3::kDstInvert, Rop3::kBlackness,
        Rop3::kWhiteness, 0x00B8074A };
    cell = 2 * kColumns;
    for (uint32_t rop : rops) {
        next();
        for (int32_t x = 0; x < 60; x += 12)
            dc.FillRect(Rect { x, 0, x + 6, 60 }, Brush::Solid(Rgb(80, 80, 80)));
        dc.SelectBrush(Brush::Hatched(HatchStyle::DiagonalCross, Rgb(255, 0, 255)));
        dc.BitBlt(0, 0, 60, 60, &sourceDc, 0, 0, rop);
    }

    // Row 4: stretching, mirroring, monochrome sources and a compressed DIB.
    next();
    dc.SetStretchBltMode(StretchMode::ColorOnColor);
    dc.StretchBlt(0, 0, 60, 60, &sourceDc, 20, 20, 20, 20, Rop3::kSrcCopy);
    for (StretchMode mode : { StretchMode::BlackOnWhite, StretchMode::WhiteOnBlack, StretchMode::Halftone }) {
        next();
        dc.SetStretchBltMode(mode);
        dc.StretchBlt(0, 0, 20, 20, &sourceDc, 0, 0, 60, 60, Rop3::kSrcCopy);
    }
    next();
    dc.StretchBlt(59, 0, -60, 60, &sourceDc, 0, 0, 60, 60, Rop3::kSrcCopy);
    next();
    DeviceBitmap mono(60, 60, PixelFormat::Mono);
    for (int32_t y = 0; y < 60; ++y) {
        for (int32_t x = 0; x < 60; ++x)
            mono.Pixels().Set(x, y, ((x / 10) + (y / 10)) % 2);
    }
    auto monoDc = Dc::CreateCompatible(dc);
    monoDc->SelectBitmap(&mono);
    dc.SetTextColor(Rgb(0, 0, 128));
    dc.SetBkColor(Rgb(255, 255, 0));
    dc.BitBlt(0, 0, 60, 60, monoDc.get(), 0, 0, Rop3::kSrcCopy);
    dc.SetTextColor(kBlack);
    dc.SetBkColor(kWhite);
    next();
    // 8 × 4 run-length image: stripes of the table's colours.
    std::vector<uint8_t> info = test::DibHeader(8, 4, 8, 1, { 0x000000, 0x2020E0, 0x20E020, 0xE02020 }, 4);
    std::vector<uint8_t> rle = { 8, 1, 0, 0, 4, 2, 4, 3, 0, 0, 0, 4, 1, 2, 3, 0, 4, 1, 0, 0, 8, 3, 0, 1 };
    dc.StretchDIBits(0, 0, 60, 60, 0, 0, 8, 4, rle.data(), rle.size(), info.data(), info.size(),
        DibColors::Rgb, Rop3::kSrcCopy);
    next();
    Rect scroll { 0, 0, 60, 60 };
    dc.BitBlt(0, 0, 60, 60, &sourceDc, 0, 0, Rop3::kSrcCopy);
    dc.ScrollDc(10, 10, &scroll, nullptr, nullptr);

    // Every cell holds more than its white background, except the one painted white.
    const int whitenessCell = 2 * kColumns + 14;
    int cellsUsed = cell;
    for (int c = 0; c < cellsUsed; ++c) {
        if (c == whitenessCell)
            continue;
        Rect r = CellRect(c);
        bool drawn = false;
        for (int32_t y = r.top; y < r.bottom && !drawn; ++y) {
            for (int32_t x = r.left; x < r.right && !drawn; ++x)
                drawn = canvas.Get(x, y) != 0xFFFFFF;
        }
        EXPECT_TRUE(drawn) << "cell " << c;
    }

    std::string path = std::string(TAMBER_BINARY_DIR) + "/gfx-gallery.png";
    std::vector<uint32_t> pixels;
    for (int32_t y = 0; y < canvas.Height(); ++y) {
        for (int32_t x = 0; x < canvas.Width(); ++x)
            pixels.push_back(canvas.Get(x, y));
    }
    ASSERT_EQ(
        PngFile::Write(path, pixels.data(), canvas.Width(), canvas.Height(), PngFile::Alpha::Ignore), 1);
}

} // namespace
} // namespace tamber::gfx
