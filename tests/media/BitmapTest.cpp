#include "media/Bitmap.h"

#include <gtest/gtest.h>

#include "media/DibImage.h"
#include "media/DibPrintResult.h"
#include "media/DrawingSurface.h"
#include "media/MediaTestSupport.h"
#include "media/Palette.h"
#include "media/ScreenContext.h"
#include "media/ShapeRegion.h"
#include "media/SharedPicturePalette.h"

namespace tamber {
namespace {

using test::Screen;
using test::SmallDib;

TEST(ErrorBase, KeepsStickyErrorsAndNamesUnknownCodes) {
    Screen screen(ScreenDepth::Direct24);
    Bitmap bitmap(screen.context, nullptr, UsePalette::No);
    int32_t w = 0;
    int32_t h = 0;
    EXPECT_EQ(bitmap.Size(w, h), 0);
    EXPECT_EQ(bitmap.ErrorCode(), Bitmap::kNoBitmap);
    bitmap.ReportError(screen.context);
    bitmap.ClearError();
    EXPECT_EQ(bitmap.ErrorCode(), 0);

    bitmap.SetError(Bitmap::kInvalidDc, Sticky::Yes);
    bitmap.SetError(Bitmap::kInvalidBitmap);
    bitmap.ClearError();
    EXPECT_EQ(bitmap.ErrorCode(), Bitmap::kInvalidDc);
    EXPECT_TRUE(bitmap.IsSticky());
    bitmap.ReportError(screen.context);

    Bitmap other(screen.context, nullptr, UsePalette::No);
    other.SetError(77);
    other.ReportError(screen.context);
    const std::vector<std::string> expected = {"Bitmap|No bitmap has been set for use.", "Bitmap|Given HDC is invalid.",
                                               "Error|Error number 77."};
    EXPECT_EQ(screen.messages, expected);
}

TEST(Bitmap, ConvertsFromAndToTheFileFormat) {
    Screen screen(ScreenDepth::Direct24);
    Bitmap picture(screen.context, nullptr, UsePalette::Yes);
    EXPECT_FALSE(picture.UsesPalette());  // no shared palette on a true-colour display
    DrawingSurface surface(screen.context, screen.window);
    gfx::Dc* dc = surface.Dc();
    ASSERT_NE(dc, nullptr);

    EXPECT_EQ(picture.FromFileFormat(dc, MemoryBlock()), 0);
    EXPECT_EQ(picture.ErrorCode(), Bitmap::kInvalidBitmap);
    EXPECT_EQ(picture.FromFileFormat(nullptr, SmallDib()), 0);
    EXPECT_EQ(picture.ErrorCode(), Bitmap::kInvalidDc);
    MemoryBlock out;
    EXPECT_EQ(picture.ToFileFormat(dc, out), 0);
    EXPECT_EQ(picture.ErrorCode(), Bitmap::kNoBitmap);

    ASSERT_EQ(picture.FromFileFormat(dc, SmallDib()), 1);
    int32_t w = 0;
    int32_t h = 0;
    ASSERT_EQ(picture.Size(w, h), 1);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(h, 2);

    ASSERT_EQ(picture.ToFileFormat(dc, out), 1);
    // 24 bits for a deep bitmap: height x (3w - 3w mod 4 + 5) + 1082 bytes, pixels at 1080.
    EXPECT_EQ(out.Size(), 2 * (6 - 2 + 5) + 1082);
    EXPECT_EQ(out.ReadInt(10, 4), 1080);
    EXPECT_EQ(out.ReadInt(14 + 14, 2), 24);
    // Bottom row first: blue, white.
    EXPECT_EQ(out.ReadInt(1080, 1), 255);      // blue of blue
    EXPECT_EQ(out.ReadInt(1080 + 2, 1), 0);    // red of blue
    EXPECT_EQ(out.ReadInt(1080 + 3, 1), 255);  // white

    // Draw it at twice the size, stretched, into the window.
    ASSERT_EQ(picture.Draw(dc, Stretch::Yes, 0xCC0020, 10, 10, 4, 4, 0, 0, 0, 0), 1);
    EXPECT_EQ(screen.WindowColor(10, 10), 0xFF0000u);
    EXPECT_EQ(screen.WindowColor(13, 11), 0x00FF00u);
    EXPECT_EQ(screen.WindowColor(13, 13), 0xFFFFFFu);
    // Not stretched: the bitmap's own size.
    ASSERT_EQ(picture.Draw(dc, Stretch::No, 0xCC0020, 0, 0, 4, 4, 0, 0, 0, 0), 1);
    EXPECT_EQ(screen.WindowColor(1, 1), 0xFFFFFFu);
    EXPECT_EQ(screen.WindowColor(2, 2), 0u);  // untouched window pixel stays black

    std::unique_ptr<gfx::DeviceBitmap> taken = picture.Release();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(picture.Get(), nullptr);
    picture.Set(std::move(taken));
    EXPECT_NE(picture.Get(), nullptr);
}

TEST(SharedPicturePalette, HoldsTheFixedColoursWhileBitmapsUseIt) {
    const std::vector<gfx::PaletteEntry> entries = SharedPicturePalette::Entries();
    ASSERT_EQ(entries.size(), 256u);
    // Static colours first, then a cube whose red varies fastest, then greys, some repeated.
    const std::pair<int, gfx::PaletteEntry> anchors[] = {
        {0, {255, 255, 255, 0}}, {14, {128, 0, 128, 0}}, {15, {0, 0, 0, 0}},     {16, {42, 0, 0, 0}},
        {21, {0, 42, 0, 0}},     {230, {210, 210, 210, 0}}, {231, {36, 36, 36, 0}}, {237, {36, 36, 36, 0}},
        {249, {252, 252, 252, 0}}, {255, {216, 216, 216, 0}}};
    for (const auto& [index, entry] : anchors)
        EXPECT_EQ(entries[static_cast<size_t>(index)], entry) << index;

    Screen screen(ScreenDepth::Palette8);
    EXPECT_EQ(SharedPicturePalette::Get(screen.context), nullptr);
    auto first = std::make_unique<Bitmap>(screen.context, nullptr, UsePalette::Yes);
    EXPECT_TRUE(first->UsesPalette());
    const gfx::Palette* shared = SharedPicturePalette::Get(screen.context);
    ASSERT_NE(shared, nullptr);
    {
        Bitmap second(screen.context, nullptr, UsePalette::Yes);
        EXPECT_EQ(SharedPicturePalette::Get(screen.context), shared);
        EXPECT_EQ(screen.context.SharedPictureUsers(), 2);
    }
    EXPECT_EQ(SharedPicturePalette::Get(screen.context), shared);
    first.reset();
    EXPECT_EQ(SharedPicturePalette::Get(screen.context), nullptr);

    // On an 8-bit display pictures go through the shared palette and keep their colours.
    Bitmap picture(screen.context, nullptr, UsePalette::Yes);
    DrawingSurface surface(screen.context, screen.window);
    ASSERT_EQ(picture.FromFileFormat(surface.Dc(), SmallDib()), 1);
    ASSERT_EQ(picture.Draw(surface.Dc(), Stretch::No, 0xCC0020, 0, 0, 0, 0, 0, 0, 0, 0), 1);
    EXPECT_EQ(screen.WindowColor(0, 0), 0xFF0000u);
    EXPECT_EQ(screen.WindowColor(1, 1), 0xFFFFFFu);
    MemoryBlock out;
    ASSERT_EQ(picture.ToFileFormat(surface.Dc(), out), 1);
    EXPECT_EQ(out.ReadInt(14 + 14, 2), 8);
    EXPECT_EQ(out.Size(), 2 * (2 - 2 + 5) + 1082);
}

TEST(DrawingSurface, SelectsThePaletteOfTheMomentAndDrawsOnImages) {
    Screen screen(ScreenDepth::Palette8);
    Palette palette(screen.context);
    palette.AppendColor(Color(10, 200, 90), AtEnd::Yes);
    palette.MakeCurrent();
    {
        DrawingSurface surface(screen.context, screen.window);
        ASSERT_NE(surface.Dc(), nullptr);
        EXPECT_EQ(&surface.Dc()->CurrentPalette(), palette.Device());
        EXPECT_EQ(surface.Dc()->TextColor(), gfx::kBlack);
        EXPECT_EQ(surface.Dc()->BkColor(), gfx::kWhite);
        // A second surface shares the window's context.
        DrawingSurface again(screen.context, screen.window);
        EXPECT_EQ(again.Dc(), surface.Dc());
        surface.Dc()->FillRect(gfx::Rect::FromSize(0, 0, 5, 5), gfx::Brush::Solid(gfx::PaletteIndex(0)));
        EXPECT_EQ(screen.WindowColor(2, 2), 0x0AC85Au);
    }
    palette.FadeOut(2);
    {
        DrawingSurface faded(screen.context, screen.window);
        EXPECT_EQ(&faded.Dc()->CurrentPalette(), &screen.context.ScreenPalette());
        EXPECT_EQ(screen.context.ScreenPalette().Count(), 256);
    }
    EXPECT_EQ(DrawingSurface(screen.context, 999).Dc(), nullptr);

    DibImage image(screen.context);
    EXPECT_EQ(DrawingSurface(screen.context, image).Dc(), nullptr);
    ASSERT_EQ(image.CreateBlank(6, 6, 0), 1);
    {
        DrawingSurface surface(screen.context, image);
        ASSERT_NE(surface.Dc(), nullptr);
        surface.Dc()->FillRect(gfx::Rect::FromSize(0, 0, 3, 3), gfx::Brush::Solid(gfx::kBlack));
    }
    EXPECT_EQ(screen.display.HardwarePalette().Pixels()[image.Bitmap()->View().Get(1, 1)], 0u);
    EXPECT_EQ(screen.display.HardwarePalette().Pixels()[image.Bitmap()->View().Get(4, 4)], 0xFFFFFFu);
}

TEST(DrawPackedDib, DrawsAtASizeOrAPercentage) {
    Screen screen(ScreenDepth::Direct24);
    DrawingSurface surface(screen.context, screen.window);
    EXPECT_GT(DrawPackedDib(*surface.Dc(), SmallDib(), 0, 0, 0, 0, 300, nullptr), 0);
    EXPECT_EQ(screen.WindowColor(2, 2), 0xFF0000u);
    EXPECT_EQ(screen.WindowColor(3, 0), 0x00FF00u);
    EXPECT_EQ(screen.WindowColor(0, 5), 0x0000FFu);
    EXPECT_EQ(screen.WindowColor(5, 5), 0xFFFFFFu);
    EXPECT_EQ(screen.WindowColor(6, 6), 0u);
    EXPECT_GT(DrawPackedDib(*surface.Dc(), SmallDib(), 20, 20, 4, 2, 0, nullptr), 0);
    EXPECT_EQ(screen.WindowColor(21, 21), 0x0000FFu);
    EXPECT_EQ(screen.WindowColor(22, 20), 0x00FF00u);
    EXPECT_EQ(screen.WindowColor(24, 20), 0u);
    EXPECT_EQ(DrawPackedDib(*surface.Dc(), MemoryBlock("BMxx", 4), 0, 0, 0, 0, 100, nullptr), 0);
}

TEST(ShapeRegion, CombinesShapesAndReportsItsBox) {
    ShapeRegion region;
    EXPECT_TRUE(region.IsEmpty());
    region.AddRectangle(10, 10, 20, 10, RegionCombine::Replace);
    region.AddEllipse(25, 5, 20, 20, RegionCombine::Union);
    int32_t x = 0, y = 0, w = 0, h = 0;
    region.GetBox(x, y, w, h);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 5);
    EXPECT_EQ(w, 35);
    EXPECT_EQ(h, 20);
    EXPECT_TRUE(region.Contains(12, 12));
    EXPECT_FALSE(region.Contains(26, 6));  // outside the ellipse's corner

    region.AddRectangle(0, 0, 20, 100, RegionCombine::Difference);
    EXPECT_FALSE(region.Contains(12, 12));
    EXPECT_TRUE(region.Contains(36, 14));
    region.AddPolygon({{0, 0}, {40, 0}, {0, 40}}, RegionCombine::Intersection);
    EXPECT_TRUE(region.Contains(22, 12));
    EXPECT_FALSE(region.Contains(36, 14));
    region.AddRoundRect(200, 200, 10, 10, 4, 4, RegionCombine::Intersection);
    EXPECT_TRUE(region.IsEmpty());
    region.GetBox(x, y, w, h);
    EXPECT_EQ(w, 0);
}

TEST(DibPrintResult, NamesTheLowestFailure) {
    EXPECT_STREQ(DibPrintResult::Message(0), "No error while printing.");
    EXPECT_STREQ(DibPrintResult::Message(DibPrintResult::kNoDib | DibPrintResult::kEndDoc), "No DIB passed to DIBPrint().");
    EXPECT_STREQ(DibPrintResult::Message(DibPrintResult::kStartPage | DibPrintResult::kNoStartPageFunction),
                 "Error during StartPage().");
}

}  // namespace
}  // namespace tamber
