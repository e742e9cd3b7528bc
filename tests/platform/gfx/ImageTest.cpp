#include <gtest/gtest.h>

#include "platform/gfx/ColorRef.h"
#include "platform/gfx/Image.h"

namespace tamber::gfx {
namespace {

TEST(Rect, IntersectAndUnionTreatEmptyRectanglesAsNothing)
{
    Rect a { 0, 0, 10, 10 };
    Rect b { 5, 5, 20, 8 };
    EXPECT_EQ(a.Intersect(b), (Rect { 5, 5, 10, 8 }));
    EXPECT_EQ(a.Intersect(Rect { 10, 0, 20, 10 }), Rect {}); // touching edges share nothing
    EXPECT_EQ(a.Union(b), (Rect { 0, 0, 20, 10 }));
    EXPECT_EQ(Rect {}.Union(b), b);
    EXPECT_EQ(b.Union(Rect { 50, 50, 50, 60 }), b);
    EXPECT_FALSE(a.Contains(Point { 10, 5 }));
    EXPECT_TRUE(a.Contains(Point { 9, 9 }));
    EXPECT_EQ((Rect { 5, 8, 1, 2 }).Normalized(), (Rect { 1, 2, 5, 8 }));
}

TEST(Image, RowsAreAlignedAndOutsidePixelsIgnored)
{
    Image img(3, 2, PixelFormat::Indexed8);
    EXPECT_EQ(img.Pitch(), 4);
    img.Set(2, 1, 7);
    img.Set(3, 1, 9); // outside: ignored
    img.Set(-1, 0, 9);
    EXPECT_EQ(img.Get(2, 1), 7u);
    EXPECT_EQ(img.View().Row8(1)[3], 0); // the padding byte was not touched
    EXPECT_EQ(img.Get(3, 1), 0u);

    Image rgb(2, 2, PixelFormat::Rgb32);
    rgb.Fill(0x123456);
    EXPECT_EQ(rgb.Get(1, 1), 0x123456u);
    EXPECT_EQ(rgb.View().Row(0)[0], 0x56); // blue byte first in memory

    Image none;
    EXPECT_EQ(none.Create(0, 5, PixelFormat::Mono), 0);
    EXPECT_EQ(none.Create(Image::kMaxDimension + 1, 1, PixelFormat::Mono), 0);
    EXPECT_TRUE(none.IsEmpty());
}

TEST(ColorRef, ConvertsBetweenCallAndPixelOrder)
{
    ColorRef c = Rgb(0x12, 0x34, 0x56);
    EXPECT_EQ(c, 0x563412u);
    EXPECT_EQ(ColorRefToPixel(c), 0x123456u);
    EXPECT_EQ(PixelToColorRef(0x123456u), c);
}

} // namespace
} // namespace tamber::gfx
