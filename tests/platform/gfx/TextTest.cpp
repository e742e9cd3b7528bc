#include <algorithm>

#include <gtest/gtest.h>

#include "platform/gfx/Dc.h"
#include "platform/gfx/GfxTestSupport.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Raster.h"

namespace tamber::gfx {
namespace {

using test::BlockFace;

// A canvas with the block face selected and a transparent background.
struct TextCanvas : test::Canvas {
    TextCanvas(int32_t w, int32_t h, Underline underline = Underline::No)
        : Canvas(w, h)
    {
        dc.SelectFont(std::make_shared<BlockFace>(underline));
        dc.SetBkMode(BkMode::Transparent);
    }
    std::string Line(int32_t y) const { return Row(y); }
    // The first and last rows holding ink.
    std::pair<int32_t, int32_t> InkRows() const
    {
        int32_t first = -1, last = -1;
        for (auto [x, y] : Ink()) {
            first = first < 0 ? y : std::min(first, y);
            last = std::max(last, y);
        }
        return { first, last };
    }
};

TEST(Text, TextOutAlignsOnTheReferencePoint)
{
    TextCanvas c(20, 12);
    // Top alignment: the cell's top at y = 1, baseline at 1 + ascent 7 = 8; glyphs fill rows 2..7.
    c.dc.TextOut(Point { 1, 1 }, "ab");
    EXPECT_EQ(c.InkRows(), (std::pair<int32_t, int32_t> { 2, 7 }));
    EXPECT_EQ(c.Line(5), ".####..####.........");

    TextCanvas r(20, 12);
    r.dc.SetTextAlign(TextAlign::kRight | TextAlign::kBaseline);
    r.dc.TextOut(Point { 19, 10 }, "ab");
    EXPECT_EQ(r.InkRows(), (std::pair<int32_t, int32_t> { 4, 9 }));
    EXPECT_EQ(r.Line(9), ".......####..####...");

    TextCanvas m(20, 12);
    m.dc.SetTextAlign(TextAlign::kCenter | TextAlign::kBottom);
    m.dc.TextOut(Point { 10, 12 }, "a");
    EXPECT_EQ(m.InkRows(), (std::pair<int32_t, int32_t> { 4, 9 })); // baseline 12 - descent 2
    EXPECT_EQ(m.Line(9), ".......####.........");
}

TEST(Text, OpaqueTextFillsItsCellAndTheCurrentPositionCanFollow)
{
    TextCanvas c(16, 10, Underline::Yes);
    c.dc.SetBkMode(BkMode::Opaque);
    c.dc.SetBkColor(Rgb(0, 0, 255));
    c.dc.SetTextColor(Rgb(255, 0, 0));
    c.dc.SetTextAlign(TextAlign::kUpdateCp);
    c.dc.MoveTo(Point { 2, 0 });
    c.dc.TextOut(Point {}, "a ");
    EXPECT_EQ(c.dc.CurrentPosition(), (Point { 14, 0 }));
    EXPECT_EQ(c.image.Get(2, 0), 0x0000FFu); // cell background above the glyph
    EXPECT_EQ(c.image.Get(3, 3), 0xFF0000u); // glyph
    EXPECT_EQ(c.image.Get(10, 3), 0x0000FFu); // the space is all background
    EXPECT_EQ(c.image.Get(13, 8), 0xFF0000u); // the underline runs under the space too
    EXPECT_EQ(c.image.Get(14, 3), 0xFFFFFFu); // outside the cell
    EXPECT_EQ(c.image.Get(1, 3), 0xFFFFFFu);
}

TEST(Text, ExtentsAndMetrics)
{
    TextCanvas c(4, 4);
    EXPECT_EQ(c.dc.GetTextExtent("abc"), (Size { 18, 9 }));
    EXPECT_EQ(c.dc.GetTextExtent(""), (Size { 0, 9 }));
    EXPECT_EQ(c.dc.GetTextMetrics().ascent, 7);
    Image img(4, 4, PixelFormat::Rgb32);
    Dc noFont(img.View(), nullptr);
    EXPECT_EQ(noFont.GetTextExtent("abc"), (Size { 0, 0 }));
    EXPECT_EQ(noFont.TextOut(Point {}, "abc"), 0);
}

TEST(Text, DrawTextWrapsWordsAndMeasures)
{
    TextCanvas c(40, 40);
    Rect r { 0, 0, 20, 40 };
    // Each two-letter word is 12 pixels; two words with their space need 30.
    EXPECT_EQ(c.dc.DrawText("aa bb cc", r, DrawTextFormat::kWordBreak | DrawTextFormat::kCalcRect), 27);
    EXPECT_EQ(r, (Rect { 0, 0, 12, 27 }));
    r = Rect { 0, 0, 40, 40 };
    EXPECT_EQ(c.dc.DrawText("aa bb cc", r, DrawTextFormat::kWordBreak | DrawTextFormat::kCalcRect), 18);
    EXPECT_EQ(r.right, 30);
    r = Rect { 0, 0, 48, 40 };
    EXPECT_EQ(c.dc.DrawText("aa bb cc", r, DrawTextFormat::kWordBreak | DrawTextFormat::kCalcRect), 9);
    EXPECT_EQ(r.right, 48);
    // A word wider than the rectangle stays whole on its own line.
    r = Rect { 0, 0, 10, 40 };
    EXPECT_EQ(c.dc.DrawText("aaaa b", r, DrawTextFormat::kWordBreak | DrawTextFormat::kCalcRect), 18);
    EXPECT_EQ(r.right, 24);
    // Line breaks start new lines; single-line mode ignores them.
    r = Rect { 0, 0, 40, 40 };
    EXPECT_EQ(c.dc.DrawText("a\r\nb\nc", r, DrawTextFormat::kCalcRect), 27);
    r = Rect { 0, 0, 40, 40 };
    EXPECT_EQ(c.dc.DrawText("a\nb", r, DrawTextFormat::kSingleLine | DrawTextFormat::kCalcRect), 9);
    EXPECT_EQ(r.right, 18);

    // Drawn: three lines, centred.
    r = Rect { 0, 0, 20, 40 };
    EXPECT_EQ(c.dc.DrawText("aa bb cc", r, DrawTextFormat::kWordBreak | DrawTextFormat::kCenter), 27);
    EXPECT_EQ(c.Line(4), "....####..####" + std::string(26, '.'));
    EXPECT_EQ(c.Line(13), "....####..####" + std::string(26, '.'));
    EXPECT_EQ(c.InkRows(), (std::pair<int32_t, int32_t> { 1, 24 }));
}

TEST(Text, DrawTextAlignsSingleLinesAndClips)
{
    TextCanvas c(30, 20);
    Rect r { 0, 0, 30, 20 };
    c.dc.DrawText("ab", r, DrawTextFormat::kSingleLine | DrawTextFormat::kRight | DrawTextFormat::kVCenter);
    // Cell top (20 - 9) / 2 = 5: glyph rows 6..11, columns 18..29.
    EXPECT_EQ(c.InkRows(), (std::pair<int32_t, int32_t> { 6, 11 }));
    EXPECT_EQ(c.Line(8), "..................####..####..");

    TextCanvas b(30, 20);
    b.dc.DrawText("a", r, DrawTextFormat::kSingleLine | DrawTextFormat::kBottom);
    EXPECT_EQ(b.InkRows(), (std::pair<int32_t, int32_t> { 12, 17 }));

    // Text is cut at the rectangle unless asked not to be.
    TextCanvas k(30, 20);
    Rect narrow { 0, 0, 8, 20 };
    k.dc.DrawText("ab", narrow, 0);
    EXPECT_EQ(k.Line(3), "####..##......................"); // 'b' is cut at x = 8
    Rect loose { 0, 10, 8, 20 };
    k.dc.DrawText("ab", loose, DrawTextFormat::kNoClip);
    EXPECT_EQ(k.Line(13), "####..####....................");
}

TEST(Text, PrefixesUnderlineTheMarkedCharacter)
{
    TextCanvas c(30, 12);
    Rect r { 0, 0, 30, 12 };
    c.dc.DrawText("a&b&&", r, DrawTextFormat::kSingleLine);
    // Shown: "ab&" — three cells; the underline below 'b' only (baseline 7 + 1).
    EXPECT_EQ(c.Line(3), "####..####..####..............");
    EXPECT_EQ(c.Line(8), "......######..................");
    TextCanvas n(30, 12);
    n.dc.DrawText("a&b", r, DrawTextFormat::kSingleLine | DrawTextFormat::kNoPrefix);
    EXPECT_EQ(n.Line(3), "####..####..####..............");
    EXPECT_EQ(n.Line(8), "..............................");
}

TEST(Text, GreyGlyphsBlendOnColourSurfacesAndNeedHalfCoverageElsewhere)
{
    // Coverage 0, 64, 128, 255 and a last pixel the clip leaves out.
    const uint8_t coverage[] = { 0, 64, 128, 255, 200 };
    GlyphBitmap g;
    g.bits = coverage;
    g.width = 5;
    g.height = 1;
    g.pitch = 5;
    g.depth = GlyphDepth::Gray8;
    const Rect clip { 0, 0, 5, 1 };
    Image grey(6, 1, PixelFormat::Rgb32);
    grey.Fill(0x646464);
    DrawGlyph(grey.View(), g, Point { 1, 0 }, clip, 0xFF0000, 0xFF0000);
    EXPECT_EQ(test::Hex(grey), "646464 646464 8b4b4b b23232 ff0000 646464"); // rounded to nearest
    Image indexed(6, 1, PixelFormat::Indexed8);
    DrawGlyph(indexed.View(), g, Point { 1, 0 }, clip, 7, 0xFF0000);
    EXPECT_EQ(test::Hex(indexed), "000000 000000 000000 000007 000007 000000");
}

} // namespace
} // namespace tamber::gfx
