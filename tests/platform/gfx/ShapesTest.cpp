#include <gtest/gtest.h>

#include "platform/gfx/Dc.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/GfxTestSupport.h"

namespace tamber::gfx {
namespace {

using test::Picture;

// A white 32-bit canvas with a Dc on it.
struct Canvas {
    Image image;
    Dc dc;
    Canvas(int32_t w, int32_t h) : image(w, h, PixelFormat::Rgb32), dc(Prepare(image), nullptr) { }
    static Surface Prepare(Image& img)
    {
        img.Fill(0xFFFFFF);
        return img.View();
    }
    // 1 where the pixel is not white.
    Image Ink() const
    {
        Image out(image.Width(), image.Height(), PixelFormat::Mono);
        for (int32_t y = 0; y < image.Height(); ++y) {
            for (int32_t x = 0; x < image.Width(); ++x)
                out.Set(x, y, image.Get(x, y) != 0xFFFFFF);
        }
        return out;
    }
};

TEST(Shapes, RectangleOutlineExcludesRightAndBottomEdges)
{
    Canvas c(8, 6);
    c.dc.SelectBrush(Brush::Solid(Rgb(255, 0, 0)));
    c.dc.Rectangle(Rect { 1, 1, 6, 5 });
    EXPECT_EQ(Picture(c.Ink()), "........\n"
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
    EXPECT_EQ(Picture(c.Ink()), "#.....\n"
                                ".#..#.\n"
                                "..#.#.\n"
                                "...##.\n"
                                "....#.\n"
                                "......\n");
    EXPECT_EQ(c.dc.CurrentPosition(), (Point { 4, 0 }));
}

} // namespace
} // namespace tamber::gfx
