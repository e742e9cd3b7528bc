#include <gtest/gtest.h>

#include "iface/BackgroundFill.h"
#include "iface/InterfaceWindowFixture.h"
#include "support/PackedDib.h"

using namespace tamber;
using namespace tamber::test;

namespace {

// An 8-bit BMP file image; pixels given top row first as colour table indices.
MemoryBlock Bmp8(int32_t width, int32_t height, const std::vector<uint32_t>& colors /* 0x00RRGGBB */,
    const std::vector<uint8_t>& topDownIndices)
{
    return MakeDib(width, height, 8, colors,
        [&](int32_t x, int32_t y) { return topDownIndices[static_cast<size_t>(y * width + x)]; });
}

const std::vector<uint32_t> kFour = {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFF00};
// 2 x 2: red green / blue yellow.
MemoryBlock Quad() { return Bmp8(2, 2, kFour, {0, 1, 2, 3}); }

gfx::Image Render(int32_t kind, const MemoryBlock* picture, int32_t width = 40, int32_t height = 30)
{
    BackgroundFill::Settings s;
    s.kind = kind;
    s.backColor = 0x00112233;
    s.picture = picture;
    s.width = width;
    s.height = height;
    gfx::Image out;
    EXPECT_EQ(BackgroundFill::Render(s, out), 1);
    return out;
}

}  // namespace

TEST(BackgroundFill, GradientRowsTruncateTowardZeroOnEveryChannel)
{
    BackgroundFill::Settings s;
    s.kind = BackgroundFill::kGradient;
    s.backColor = gfx::Rgb(10, 200, 0);
    s.gradientColor = gfx::Rgb(250, 0, 7);
    s.width = 3;
    s.height = 240;
    gfx::Image out;
    ASSERT_EQ(BackgroundFill::Render(s, out), 1);
    EXPECT_EQ(out.Get(0, 0), 0x0AC800u);
    // Row 120: 10 + 240 * 120 / 240, 200 - 200 * 120 / 240, 7 * 120 / 240 = 3 (3.5 cut).
    EXPECT_EQ(out.Get(2, 120), (130u << 16) | (100u << 8) | 3u);
    // Row 239: green 200 - 199.17 is cut toward zero to 200 - 199 = 1, not floored to 0.
    EXPECT_EQ(out.Get(1, 239), (249u << 16) | (1u << 8) | 6u);
    for (int32_t y = 1; y < 240; ++y)
        EXPECT_LE(out.Get(0, y) & 0xFF00, out.Get(0, y - 1) & 0xFF00) << "row " << y;
}

TEST(BackgroundFill, StretchedAndTiledPicturesCoverTheCard)
{
    MemoryBlock quad = Quad();
    gfx::Image stretched = Render(BackgroundFill::kStretchedPicture, &quad);
    EXPECT_EQ(stretched.Get(0, 0), 0xFF0000u);
    EXPECT_EQ(stretched.Get(19, 14), 0xFF0000u);
    EXPECT_EQ(stretched.Get(20, 14), 0x00FF00u);
    EXPECT_EQ(stretched.Get(19, 15), 0x0000FFu);
    EXPECT_EQ(stretched.Get(39, 29), 0xFFFF00u);

    gfx::Image tiled = Render(BackgroundFill::kTiledPicture, &quad);
    EXPECT_EQ(tiled.Get(0, 0), 0xFF0000u);
    EXPECT_EQ(tiled.Get(1, 0), 0x00FF00u);
    EXPECT_EQ(tiled.Get(2, 0), 0xFF0000u);
    EXPECT_EQ(tiled.Get(39, 29), 0xFFFF00u);
    EXPECT_EQ(tiled.Get(38, 29), 0x0000FFu);
}

TEST(BackgroundFill, UnreadablePicturesFallBackToTheBackColour)
{
    MemoryBlock junk;
    junk.AppendInt(0x4D42, 2);
    junk.AppendInt(-1, 4);
    for (const MemoryBlock* picture : {static_cast<const MemoryBlock*>(nullptr), static_cast<const MemoryBlock*>(&junk)}) {
        gfx::Image out = Render(BackgroundFill::kTiledPicture, picture);
        EXPECT_EQ(out.Get(5, 5), 0x332211u);
    }
    gfx::Image none;
    BackgroundFill::Settings empty;
    EXPECT_EQ(BackgroundFill::Render(empty, none), 0);
    EXPECT_TRUE(none.IsEmpty());
}

TEST(BackgroundFill, WindowTakesOverThePicturePaletteAndFollowsTheBitmapRules)
{
    InterfaceFixture f;
    auto window = f.Open(InterfaceFixture::Record(1, [](InterfaceObject& self) {
        SetLong(self, "CardWidth", 40);
        SetLong(self, "CardHeight", 30);
        self.SetAttribute("Background", ValueType::Enum, AttributeValue::OfEnum(BackgroundFill::kGradient));
    }));
    ASSERT_NE(window, nullptr);
    InterfaceObject& self = *window->Interface();
    self.SetAttribute("BackBitmap", ValueType::Picture, AttributeValue::OfBlock(Quad()));
    EXPECT_EQ(self.BackgroundKind(), BackgroundFill::kStretchedPicture);
    const uint8_t expected[] = {255, 0, 0, 0, 255, 0, 0, 0, 255, 255, 255, 0};
    ASSERT_EQ(self.BackPalette().Size(), 12);
    EXPECT_TRUE(std::equal(expected, expected + 12, self.BackPalette().Data()));
    // Card (20, 0) is the picture's green quarter; the 40 x 30 card sits at (300, 225).
    EXPECT_EQ(f.ui.Pixel(320, 225), 0x00FF00u);

    self.SetAttribute("Background", ValueType::Enum, AttributeValue::OfEnum(BackgroundFill::kTiledPicture));
    self.SetAttribute("BackBitmap", ValueType::Picture, AttributeValue::OfBlock(Quad()));
    EXPECT_EQ(self.BackgroundKind(), BackgroundFill::kTiledPicture);
    EXPECT_EQ(f.ui.Pixel(302, 226), 0x0000FFu);

    self.SetAttribute("BackBitmap", ValueType::Picture, AttributeValue::OfBlock(MemoryBlock()));
    EXPECT_EQ(self.BackgroundKind(), BackgroundFill::kSolid);
    self.SetAttribute("BackColor", ValueType::Color, AttributeValue::OfColor(gfx::Rgb(0, 0, 255)));
    EXPECT_EQ(f.ui.Pixel(302, 226), 0x0000FFu);
    EXPECT_EQ(f.ui.Pixel(339, 254), 0x0000FFu);
}
