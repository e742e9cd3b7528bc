#include "media/CanvasPainter.h"

#include <gtest/gtest.h>

#include "media/Canvas.h"
#include "media/CanvasBitmaps.h"
#include "media/MediaTestSupport.h"
#include "platform/gfx/GfxTestSupport.h"

namespace tamber {
namespace {

using Paper = gfx::test::Canvas;

constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGrey = 0x404040;
// Pixels read back as 0x00RRGGBB.
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kGreen = 0x00FF00;
constexpr uint32_t kBlue = 0x0000FF;

class BlockGlyphs : public gfx::GlyphSource {
public:
    std::shared_ptr<gfx::GlyphFace> OpenFace(const gfx::FontRequest& request) override
    {
        requests.push_back(request);
        return std::make_shared<gfx::test::BlockFace>();
    }
    std::vector<gfx::FontRequest> requests;
};

// Reads the objects (with the pictures given as "Bmps") and draws them on white paper.
struct Drawing {
    Drawing(const std::string& objects, int32_t width = 40, int32_t height = 30,
        const MemoryBlock& bitmaps = MemoryBlock(), uint32_t paper = kWhite)
        : paper(width, height)
    {
        Canvas::Sources sources;
        sources.bitmaps = &bitmaps;
        EXPECT_EQ(canvas.Read("CANVAS (40 30) { OBJECT { " + objects + " } }", sources), 1) << canvas.Error();
        this->paper.image.Fill(paper);
    }
    Drawing& Draw(const gfx::Rect& clip = {})
    {
        CanvasPainter(paper.dc, &glyphs).Draw(canvas, clip);
        return *this;
    }
    uint32_t At(int32_t x, int32_t y) const { return paper.image.Get(x, y); }

    Canvas canvas;
    Paper paper;
    BlockGlyphs glyphs;
};

TEST(CanvasPainter, FilledShapesIncludeTheirCornersAndOutlineLast)
{
    // Corners given in any order.
    Drawing outlined("RECT 1 { FillColor 0x0000FF ForeColor 0xFF0000 (7 5 2 2) }");
    outlined.Draw();
    EXPECT_EQ(outlined.At(2, 2), kBlue);
    EXPECT_EQ(outlined.At(7, 5), kBlue); // right and bottom edges included
    EXPECT_EQ(outlined.At(4, 3), kRed);
    EXPECT_EQ(outlined.At(8, 5), kWhite);
    EXPECT_EQ(outlined.At(7, 6), kWhite);

    // Without an outline exactly the 6 x 4 corners-inclusive box is filled.
    Drawing bare("RECT 1 { FillColor 0x0000FF LineWidth 0 (2 2 7 5) }");
    EXPECT_EQ(bare.Draw().paper.Pixels(kRed).size(), 6u * 4u);
    EXPECT_EQ(bare.At(7, 5), kRed);

    // Neither filled nor outlined: nothing.
    Drawing nothing("RECT 1 { LineWidth 0 (2 2 7 5) } OVAL 2 { LineWidth 0 (2 2 7 5) }");
    EXPECT_TRUE(nothing.Draw().paper.Ink().empty());
}

TEST(CanvasPainter, RoundRectCornersAreAFifthOfTheSmallerSide)
{
    Drawing drawing("ROUNDRECT 1 { ForeColor 0xFF0000 (0 0 100 40) }", 110, 50);
    drawing.Draw();
    Paper expected(110, 50);
    expected.dc.SelectPen(gfx::Pen { gfx::PenStyle::Solid, 1, gfx::Rgb(0, 0, 255) });
    expected.dc.SelectBrush(gfx::Brush::Hollow());
    expected.dc.RoundRect(gfx::Rect { 0, 0, 101, 41 }, 8, 8);
    EXPECT_EQ(gfx::test::Hex(drawing.paper.image), gfx::test::Hex(expected.image));
    EXPECT_FALSE(expected.Ink().empty());
}

TEST(CanvasPainter, LinesOvalsSpraysAndPolygons)
{
    Drawing drawing(
        "LINE 1 { ForeColor 0xFF0000 (0 0 5 0) } OVAL 2 { FillColor 0x00FF00 LineWidth 0 (10 0 19 9) }"
        " SPRAY 3 { ForeColor 0x0000FF LineWidth 3 (5 20) (30 20) }"
        " POLYLINE 4 { ForeColor 0 (0 28 10 28 10 25) }");
    drawing.Draw();
    for (int32_t x = 0; x < 5; ++x)
        EXPECT_EQ(drawing.At(x, 0), kBlue) << x;
    EXPECT_EQ(drawing.At(10, 4), kGreen); // the box's left edge
    EXPECT_EQ(drawing.At(19, 4), kGreen); // and its right edge
    EXPECT_EQ(drawing.At(10, 0), kWhite); // outside the ellipse
    // A spray dot: a square of the line width around each point.
    EXPECT_EQ(drawing.At(4, 19), kRed);
    EXPECT_EQ(drawing.At(6, 21), kRed);
    EXPECT_EQ(drawing.At(7, 20), kWhite);
    EXPECT_EQ(drawing.At(5, 28), kBlack);
    EXPECT_EQ(drawing.At(10, 26), kBlack);
}

TEST(CanvasPainter, FilledPolygonsUseAtMost1024Points)
{
    // A square, its last corner repeated up to point 1024, then a far triangle that only the
    // outline would reach.
    std::string points = "(0 0 10 0 10 10";
    for (int i = 3; i < 1024; ++i)
        points += " 0 10";
    points += " 30 20 39 20 39 29)";
    Drawing drawing("POLYGON 1 { FillColor 0x00FF00 LineWidth 0 " + points + " }");
    drawing.Draw();
    EXPECT_EQ(drawing.At(5, 5), kGreen);
    EXPECT_EQ(drawing.At(37, 22), kWhite);
    Drawing few("POLYGON 1 { FillColor 0x00FF00 LineWidth 0 (0 0 10 0 10 10 30 20 39 20 39 29) }");
    few.Draw();
    EXPECT_EQ(few.At(37, 22), kGreen);
}

TEST(CanvasPainter, TextBreaksLinesAtTheEscapedLineFeed)
{
    Drawing drawing(
        "TEXT 1 { ForeColor 0xFF0000 Content \"A\\nB\" Font (\"Courier New\" 12 BOLD ITALIC) (10 3) }");
    drawing.Draw();
    ASSERT_EQ(drawing.glyphs.requests.size(), 1u);
    const gfx::FontRequest& font = drawing.glyphs.requests[0];
    EXPECT_EQ(font.faceName, "Courier New");
    EXPECT_EQ(font.height, -16); // 12 points at 96 pixels per inch
    EXPECT_EQ(font.weight, 700);
    EXPECT_EQ(font.italic, gfx::Italic::Yes);
    // The block glyphs stand 6 rows high on a baseline 7 below the top; lines are 9 apart.
    EXPECT_EQ(drawing.At(10, 4), kBlue);
    EXPECT_EQ(drawing.At(10, 13), kBlue);
    EXPECT_EQ(drawing.At(16, 4), kWhite); // "B" is not beside "A"
    EXPECT_EQ(drawing.At(10, 3), kWhite);
    EXPECT_EQ(drawing.paper.Pixels(kBlue).size(), 2u * 4u * 6u);
}

TEST(CanvasPainter, FillFloodsTheAreaOfTheStartColour)
{
    Drawing drawing(
        "RECT 1 { (0 0 9 9) } FILL 2 { FillColor 0x00FF00 (5 5) } FILL 3 { ForeColor 0xFF0000 (20 20) }"
        " FILL 4 { FillColor 0x00FF00 (-5 -5) }",
        30, 30);
    drawing.Draw();
    EXPECT_EQ(drawing.At(1, 8), kGreen);
    EXPECT_EQ(drawing.At(9, 9), kBlack);
    // Without a fill colour the fore colour pours; it floods all the white outside the frame.
    EXPECT_EQ(drawing.At(20, 20), kBlue);
    EXPECT_EQ(drawing.At(10, 0), kBlue);
    EXPECT_EQ(drawing.paper.Pixels(kGreen).size(), 8u * 8u);
}

TEST(CanvasPainter, BitmapsDrawPlainlyBlendedOrWithoutTheirKeyColour)
{
    MemoryBlock stored;
    for (int32_t id : { 1, 2, 3 })
        CanvasBitmaps::AppendRecord(stored, id, test::SmallDib()); // red, green / blue, white
    Drawing drawing(
        "BITMAP 1 { (3 4) } BITMAP 2 { Transparency 150 (10 4) } BITMAP 3 { KeyColor 0x0000FF (20 4) }", 40,
        30, stored, kGrey);
    drawing.Draw();
    EXPECT_EQ(drawing.At(3, 4), kRed);
    EXPECT_EQ(drawing.At(3, 5), kBlue);
    EXPECT_EQ(drawing.At(5, 4), kGrey);
    // Half over grey, rounded.
    EXPECT_EQ(drawing.At(10, 4), 0xA02020u);
    EXPECT_EQ(drawing.At(11, 5), 0xA0A0A0u);
    // The key colour (red, packed with red low) is left out.
    EXPECT_EQ(drawing.At(20, 4), kGrey);
    EXPECT_EQ(drawing.At(21, 4), kGreen);
}

TEST(CanvasPainter, ErasersFollowTheirObjectAndGroupsDrawTheirMembersInTheirPlace)
{
    Drawing erased(
        "ERASER 2 { POLYGON Parent 1 (0 0 5 0 5 5 0 5) } RECT 1 { FillColor 0x0000FF LineWidth 0 (0 0 9 9) }"
        " ERASER 3 { RECT LineWidth 2 Parent 7 FillColor 0 (20 20 30 20) }",
        40, 30);
    erased.Draw();
    EXPECT_EQ(erased.At(2, 2), kWhite);
    EXPECT_EQ(erased.At(7, 7), kRed);
    EXPECT_EQ(erased.At(25, 20), kBlack); // no such parent: drawn in its own place

    Drawing dragged("RECT 1 { FillColor 0x0000FF LineWidth 0 (0 0 39 29) } ERASER 2 { OVAL LineWidth 4 "
                    "Parent 1 (5 5 30 5) }");
    dragged.Draw();
    for (int32_t x = 5; x <= 30; x += 5)
        EXPECT_EQ(dragged.At(x, 5), kWhite) << x;
    EXPECT_EQ(dragged.At(17, 10), kRed);

    // The group is lowest, so its blue member lies under the red rectangle.
    Drawing grouped("GROUP 1 { 3 } RECT 2 { FillColor 0x0000FF LineWidth 0 (0 0 9 9) }"
                    " RECT 3 { FillColor 0xFF0000 LineWidth 0 (0 0 9 9) }");
    grouped.Draw();
    EXPECT_EQ(grouped.At(5, 5), kRed);
}

TEST(CanvasPainter, ObjectsFarBeyondAnyPictureAreSkipped)
{
    // The group reaches as far as its furthest member.
    Drawing drawing(
        "OVAL 1 { FillColor 0xFF0000 (-40000 -40000 40000 40000) } RECT 2 { FillColor 1 Bound (0 0 40000 1) }"
        " RECT 3 { FillColor 0x0000FF LineWidth 0 (0 0 9 9) } GROUP 4 { 3 1 }"
        " RECT 5 { LineWidth 0 } ERASER 6 { RECT Parent 5 FillColor 1 (1 1 50000 1) }");
    drawing.Draw();
    EXPECT_EQ(drawing.paper.Ink().size(), 0u);
    CanvasPainter(drawing.paper.dc, nullptr).DrawObject(*drawing.canvas.Find(3));
    EXPECT_EQ(drawing.paper.Ink().size(), 100u);
}

TEST(CanvasPainter, DrawsOnlyInsideTheClip)
{
    Drawing drawing("RECT 1 { FillColor 0x0000FF LineWidth 0 (0 0 9 9) }");
    EXPECT_EQ(drawing.Draw(gfx::Rect { 0, 0, 5, 5 }).paper.Pixels(kRed).size(), 25u);
    EXPECT_EQ(drawing.paper.Ink().size(), 25u);
    // The clip is the painter's own: the device context is as it was.
    EXPECT_FALSE(drawing.paper.dc.ClipRegion().has_value());
}

} // namespace
} // namespace tamber
