#include <gtest/gtest.h>

#include "platform/gfx/Dc.h"
#include "platform/gfx/GfxTestSupport.h"
#include "platform/gfx/Image.h"

namespace tamber::gfx {
namespace {

using test::Canvas;
using test::PixelSet;

TEST(Shapes, RectangleOutlineExcludesRightAndBottomEdges)
{
    Canvas c(8, 6);
    c.dc.SelectBrush(Brush::Solid(Rgb(255, 0, 0)));
    c.dc.Rectangle(Rect { 1, 1, 6, 5 });
    EXPECT_EQ(c.Picture(),
        "........\n"
        ".#####..\n"
        ".#####..\n"
        ".#####..\n"
        ".#####..\n"
        "........\n");
    EXPECT_EQ(c.image.Get(1, 1), 0x000000u); // pen
    EXPECT_EQ(c.image.Get(2, 2), 0xFF0000u); // brush inside
    EXPECT_EQ(c.image.Get(5, 4), 0x000000u);
}

TEST(Shapes, LineExcludesItsEndPoint)
{
    Canvas c(6, 6);
    c.dc.MoveTo(Point { 0, 0 });
    c.dc.LineTo(Point { 4, 4 });
    c.dc.LineTo(Point { 4, 0 });
    EXPECT_EQ(c.Picture(),
        "#.....\n"
        ".#..#.\n"
        "..#.#.\n"
        "...##.\n"
        "....#.\n"
        "......\n");
    EXPECT_EQ(c.dc.CurrentPosition(), (Point { 4, 0 }));
}

TEST(Shapes, EllipseOutlineAndFillAreSymmetric)
{
    for (Rect box : { Rect { 1, 1, 12, 8 }, Rect { 0, 0, 14, 14 }, Rect { 2, 0, 5, 13 } }) {
        Canvas c(16, 16);
        c.dc.SelectBrush(Brush::Solid(Rgb(0, 0, 255)));
        c.dc.SelectPen(Pen { PenStyle::InsideFrame, 2, Rgb(255, 0, 0) });
        c.dc.Ellipse(box);
        for (int32_t y = 0; y < 16; ++y) {
            for (int32_t x = 0; x < 16; ++x) {
                uint32_t v = c.image.Get(x, y);
                if (!box.Contains(Point { x, y })) {
                    ASSERT_EQ(v, 0xFFFFFFu) << "outside the box " << x << "," << y;
                    continue;
                }
                ASSERT_EQ(v, c.image.Get(box.left + box.right - 1 - x, y));
                ASSERT_EQ(v, c.image.Get(x, box.top + box.bottom - 1 - y));
            }
        }
        // The outline touches all four sides of the box, the inside is brush.
        int32_t mx = (box.left + box.right) / 2, my = (box.top + box.bottom) / 2;
        EXPECT_EQ(c.image.Get(mx, box.top), 0xFF0000u);
        EXPECT_EQ(c.image.Get(box.left, my), 0xFF0000u);
        EXPECT_EQ(c.image.Get(box.right - 1, my), 0xFF0000u);
        EXPECT_EQ(c.image.Get(mx, box.bottom - 1), 0xFF0000u);
        if (box.Width() > 4 && box.Height() > 4) {
            EXPECT_EQ(c.image.Get(mx, my), 0x0000FFu);
        }
    }
}

TEST(Shapes, WithoutAPenShapesShrinkByOnePixel)
{
    Canvas c(6, 6);
    c.dc.SelectPen(Pen { PenStyle::Null, 1, kBlack });
    c.dc.SelectBrush(Brush::Solid(kBlack));
    c.dc.Rectangle(Rect { 1, 1, 5, 5 });
    EXPECT_EQ(c.Picture(),
        "......\n"
        ".###..\n"
        ".###..\n"
        ".###..\n"
        "......\n"
        "......\n");
    // A hollow brush leaves the inside alone.
    Canvas h(6, 6);
    h.dc.SelectBrush(Brush::Hollow());
    h.dc.Rectangle(Rect { 0, 0, 5, 4 });
    EXPECT_EQ(h.Picture(),
        "#####.\n"
        "#...#.\n"
        "#...#.\n"
        "#####.\n"
        "......\n"
        "......\n");
}

TEST(Shapes, PolygonFillsByModeAndOutlinesWithThePen)
{
    Point star[] = { { 10, 0 }, { 16, 19 }, { 0, 7 }, { 20, 7 }, { 4, 19 } };
    for (FillMode mode : { FillMode::Alternate, FillMode::Winding }) {
        Canvas c(21, 21);
        c.dc.SetPolyFillMode(mode);
        c.dc.SelectPen(Pen { PenStyle::Null, 1, kBlack });
        c.dc.SelectBrush(Brush::Solid(kBlack));
        c.dc.Polygon(star, 5);
        Region model = Region::FromPolygon(star, 5, mode);
        for (int32_t y = 0; y < 21; ++y) {
            for (int32_t x = 0; x < 21; ++x)
                ASSERT_EQ(c.image.Get(x, y) == 0, model.Contains(Point { x, y })) << x << "," << y;
        }
        EXPECT_EQ(c.image.Get(10, 11) == 0, mode == FillMode::Winding);
    }
    // The outline closes back to the first point.
    Canvas c(6, 6);
    c.dc.SelectBrush(Brush::Hollow());
    Point tri[] = { { 0, 0 }, { 4, 0 }, { 0, 4 } };
    c.dc.Polygon(tri, 3);
    EXPECT_EQ(c.Picture(),
        "#####.\n"
        "#..#..\n"
        "#.#...\n"
        "##....\n"
        "#.....\n"
        "......\n");
}

TEST(Shapes, StyledPensDashAndFillGapsWhenOpaque)
{
    Canvas c(30, 2);
    c.dc.SelectPen(Pen { PenStyle::Dot, 1, kBlack });
    c.dc.SetBkMode(BkMode::Transparent);
    c.dc.MoveTo(Point { 0, 0 });
    c.dc.LineTo(Point { 12, 0 });
    c.dc.SetBkMode(BkMode::Opaque);
    c.dc.SetBkColor(Rgb(0, 255, 0));
    c.dc.MoveTo(Point { 0, 1 });
    c.dc.LineTo(Point { 12, 1 });
    for (int32_t x = 0; x < 12; ++x) {
        bool on = (x / 3) % 2 == 0;
        EXPECT_EQ(c.image.Get(x, 0), on ? 0x000000u : 0xFFFFFFu) << x;
        EXPECT_EQ(c.image.Get(x, 1), on ? 0x000000u : 0x00FF00u) << x;
    }
    EXPECT_EQ(c.image.Get(12, 0), 0xFFFFFFu);
}

TEST(Shapes, ThickLinesAreRoundAndCoverBothEnds)
{
    Canvas c(20, 9);
    c.dc.SelectPen(Pen { PenStyle::Solid, 5, kBlack });
    c.dc.MoveTo(Point { 4, 4 });
    c.dc.LineTo(Point { 15, 4 });
    PixelSet ink = c.Ink();
    // Rows 2..6 are covered from 2 to 17; the outer rows are shorter (round caps).
    for (int32_t y = 0; y < 9; ++y) {
        for (int32_t x = 0; x < 20; ++x) {
            bool inBody = x >= 4 && x <= 15 && y >= 2 && y <= 6;
            bool outside = y < 2 || y > 6 || x < 2 || x > 17;
            if (inBody) {
                ASSERT_EQ(ink.count({ x, y }), 1u) << x << "," << y;
            }
            if (outside) {
                ASSERT_EQ(ink.count({ x, y }), 0u) << x << "," << y;
            }
        }
    }
    EXPECT_EQ(ink.count({ 2, 4 }), 1u);
    EXPECT_EQ(ink.count({ 17, 4 }), 1u);
    EXPECT_EQ(ink.count({ 2, 2 }), 0u);
}

TEST(Shapes, FloodFillStopsAtTheBorderOrTheColour)
{
    Canvas c(10, 10);
    c.dc.SelectBrush(Brush::Hollow());
    c.dc.Rectangle(Rect { 1, 1, 8, 8 });
    c.dc.SelectBrush(Brush::Solid(Rgb(255, 0, 0)));
    EXPECT_EQ(c.dc.FloodFill(Point { 4, 4 }, kBlack, FloodFillType::Border), 1);
    for (int32_t y = 0; y < 10; ++y) {
        for (int32_t x = 0; x < 10; ++x) {
            bool inside = x > 1 && x < 7 && y > 1 && y < 7;
            bool border = Rect { 1, 1, 8, 8 }.Contains(Point { x, y }) && !inside;
            ASSERT_EQ(c.image.Get(x, y), inside ? 0xFF0000u : border ? 0u : 0xFFFFFFu) << x << "," << y;
        }
    }
    // Surface filling replaces the white outside, which wraps around the square.
    c.dc.SelectBrush(Brush::Solid(Rgb(0, 0, 255)));
    EXPECT_EQ(c.dc.FloodFill(Point { 0, 9 }, kWhite, FloodFillType::Surface), 1);
    EXPECT_EQ(c.image.Get(9, 0), 0x0000FFu);
    EXPECT_EQ(c.image.Get(4, 4), 0xFF0000u);
    // Starting on the border colour fills nothing.
    EXPECT_EQ(c.dc.FloodFill(Point { 1, 1 }, kBlack, FloodFillType::Border), 0);
}

TEST(Shapes, FocusRectangleInvertsEveryOtherBorderPixelAndUndoesItself)
{
    Canvas c(8, 6);
    c.dc.DrawFocusRect(Rect { 1, 1, 7, 5 });
    EXPECT_EQ(c.Picture(),
        "........\n"
        ".#.#.#..\n"
        "......#.\n"
        ".#......\n"
        "..#.#.#.\n"
        "........\n");
    c.dc.DrawFocusRect(Rect { 1, 1, 7, 5 });
    EXPECT_TRUE(c.Ink().empty());
    c.dc.InvertRect(Rect { 0, 0, 2, 1 });
    EXPECT_EQ(c.image.Get(1, 0), 0u);
}

TEST(Shapes, ClippingOriginsAndSavedStates)
{
    Canvas c(10, 10);
    int level = c.dc.SaveDc();
    c.dc.SetViewportOrg(Point { 2, 3 });
    c.dc.IntersectClipRect(Rect { 0, 0, 4, 4 }); // device 2..6 × 3..7
    c.dc.SelectBrush(Brush::Solid(kBlack));
    c.dc.SelectPen(Pen { PenStyle::Null, 1, kBlack });
    c.dc.FillRect(Rect { -5, -5, 20, 20 }, Brush::Solid(kBlack));
    Rect box;
    EXPECT_EQ(c.dc.GetClipBox(box), RegionKind::Simple);
    EXPECT_EQ(box, (Rect { 0, 0, 4, 4 }));
    EXPECT_EQ(c.dc.SetPixel(Point { 5, 0 }, kBlack), 0xFFFFFFFFu); // clipped away
    EXPECT_EQ(c.dc.GetPixel(Point { 0, 0 }), kBlack);
    EXPECT_EQ(c.dc.RestoreDc(level), 1);
    EXPECT_EQ(c.dc.RestoreDc(level), 0); // already gone
    EXPECT_EQ(c.dc.GetPixel(Point { 0, 0 }), kWhite);
    for (int32_t y = 0; y < 10; ++y) {
        for (int32_t x = 0; x < 10; ++x)
            ASSERT_EQ(c.image.Get(x, y) == 0, x >= 2 && x < 6 && y >= 3 && y < 7) << x << "," << y;
    }
    // Hatched brushes paint their lines and, when transparent, nothing else.
    Canvas h(8, 8);
    h.dc.SetBkMode(BkMode::Transparent);
    h.dc.FillRect(Rect { 0, 0, 8, 8 }, Brush::Hatched(HatchStyle::Cross, kBlack));
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 8; ++x)
            ASSERT_EQ(h.image.Get(x, y) == 0, x == 0 || y == 0) << x << "," << y;
    }
}

TEST(Shapes, RoundRectangleIsARectangleWithRoundedCorners)
{
    Canvas c(12, 8);
    c.dc.SelectBrush(Brush::Solid(kBlack));
    c.dc.RoundRect(Rect { 0, 0, 12, 8 }, 6, 6);
    Region model = Region::FromRoundRect(Rect { 0, 0, 12, 8 }, 6, 6);
    for (int32_t y = 0; y < 8; ++y) {
        for (int32_t x = 0; x < 12; ++x)
            ASSERT_EQ(c.image.Get(x, y) == 0, model.Contains(Point { x, y })) << x << "," << y;
    }
    EXPECT_EQ(c.image.Get(0, 0), 0xFFFFFFu);
    EXPECT_EQ(c.image.Get(6, 0), 0u);
}

} // namespace
} // namespace tamber::gfx
