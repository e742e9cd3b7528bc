// What transitions leave on the screen: every effect ends with exactly the picture a plain copy
// draws, whatever the source, depth, scale or raster operation.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <vector>

#include "media/TransitionEffect.h"
#include "media/TransitionTestSupport.h"

namespace tamber {
namespace {

using gfx::Rect;
using test::Stage;

constexpr int32_t kEffects = 23;

// 16 colours, none of them a system colour, in an 8-bit picture: index (x + 3y) mod 16.
const std::vector<uint32_t> kTable = { 0x102030, 0x203040, 0x304050, 0x405060, 0x506070, 0x607080, 0x708090, 0x8090A0,
                                       0x90A0B0, 0xA0B0C0, 0xB0C0D0, 0xC0D0E0, 0x11AA33, 0x22BB44, 0x33CC55, 0x44DD66 };
MemoryBlock IndexedDib(int32_t width, int32_t height)
{
    return test::MakeDib(width, height, 8, kTable, [](int32_t x, int32_t y) { return static_cast<uint32_t>((x + 3 * y) % 16); });
}

enum class From { Bitmap, Dib };

// Draws a picture with one effect on a fresh stage and answers the canvas; `each` sees the canvas
// after every step.
struct Drawing {
    ScreenDepth depth = ScreenDepth::Direct24;
    MemoryBlock dib = test::CodedDib(48, 30);
    From from = From::Bitmap;
    Rect source = Rect::FromSize(5, 3, 40, 24);
    Rect dest = Rect::FromSize(7, 9, 40, 24);
    uint32_t rop = gfx::Rop3::kSrcCopy;
    PictureColors colors = PictureColors::None;
    std::function<void(Stage&, const TransitionStep&)> each;

    std::vector<uint32_t> Run(int32_t effect, int* result = nullptr) const
    {
        Stage stage(depth);
        test::Picture picture(stage.screen.context, dib);
        Transition transition(*stage.surface);
        if (each)
            transition.SetWatcher([&](const TransitionStep& step) { each(stage, step); });
        TransitionRequest request;
        request.bitmap = from == From::Bitmap ? picture.Bitmap() : nullptr;
        request.dib = from == From::Dib ? &dib : nullptr;
        request.source = source;
        request.dest = dest;
        request.rop = rop;
        request.palette = colors == PictureColors::Image ? picture.OwnPalette() : nullptr;
        request.effect = effect;
        const int drawn = transition.Draw(request);
        if (result != nullptr)
            *result = drawn;
        return stage.Pixels();
    }
};

TEST(TransitionPicture, EveryEffectFromEitherSourceEndsLikeAPlainCopy)
{
    struct Case {
        ScreenDepth depth;
        Rect source;
        Rect dest;
    };
    const Rect source = Rect::FromSize(5, 3, 40, 24);
    const Rect dest = Rect::FromSize(7, 9, 40, 24);
    const Rect scaledSource = Rect::FromSize(8, 6, 32, 24);
    for (const Case& c : { Case { ScreenDepth::Direct24, source, dest }, Case { ScreenDepth::Palette8, source, dest },
                           Case { ScreenDepth::Direct24, scaledSource, Rect { 0, 0, 64, 48 } },
                           Case { ScreenDepth::Direct24, scaledSource, Rect::FromSize(4, 4, 52, 33) },
                           Case { ScreenDepth::Direct24, scaledSource, Rect::FromSize(9, 1, 27, 16) } }) {
        Drawing drawing;
        drawing.depth = c.depth;
        drawing.source = c.source;
        drawing.dest = c.dest;
        if (c.depth == ScreenDepth::Palette8) {
            drawing.dib = IndexedDib(48, 30);
            drawing.colors = PictureColors::Image;
        }
        const std::vector<uint32_t> reference = drawing.Run(0);
        for (From from : { From::Bitmap, From::Dib }) {
            drawing.from = from;
            for (int32_t effect = 0; effect < kEffects; ++effect) {
                int result = 0;
                EXPECT_EQ(drawing.Run(effect, &result), reference)
                    << "effect " << effect << " into " << c.dest.Width() << "x" << c.dest.Height();
                // The final copy's result: a blit succeeded, or the destination rows the DIB filled.
                EXPECT_EQ(result, from == From::Bitmap ? 1 : c.dest.Height());
            }
        }
    }
}

TEST(TransitionPicture, APlainCopyShowsThePictureInItsOwnColours)
{
    Drawing drawing;
    const std::vector<uint32_t> direct = drawing.Run(0);
    for (int32_t y = 0; y < Stage::kHeight; ++y) {
        for (int32_t x = 0; x < Stage::kWidth; ++x) {
            const bool inside = x >= 7 && x < 47 && y >= 9 && y < 33;
            ASSERT_EQ(direct[y * Stage::kWidth + x],
                inside ? test::PicturePixel(x - 7 + 5, y - 9 + 3) : test::BackgroundPixel(x, y))
                << x << "," << y;
        }
    }
    drawing.depth = ScreenDepth::Palette8;
    drawing.dib = IndexedDib(48, 30);
    drawing.colors = PictureColors::Image;
    const std::vector<uint32_t> indexed = drawing.Run(0);
    EXPECT_EQ(indexed[9 * Stage::kWidth + 7], kTable[(5 + 3 * 3) % 16]);
    EXPECT_EQ(indexed[32 * Stage::kWidth + 46], kTable[(44 + 3 * 26) % 16]);
    EXPECT_EQ(indexed[0], test::BackgroundPixel(0, 0));
}

TEST(TransitionPicture, DibAndBitmapSourcesShowTheSameSteps)
{
    for (ScreenDepth depth : { ScreenDepth::Direct24, ScreenDepth::Palette8 }) {
        Drawing drawing;
        drawing.depth = depth;
        if (depth == ScreenDepth::Palette8) {
            drawing.dib = IndexedDib(48, 30);
            drawing.colors = PictureColors::Image;
        }
        drawing.dest = Rect::FromSize(3, 2, 56, 40);  // stretched, so the DIB's rows are mapped too
        for (int32_t effect = 1; effect < kEffects; ++effect) {
            std::vector<std::vector<uint32_t>> seen[2];
            for (From from : { From::Bitmap, From::Dib }) {
                drawing.from = from;
                drawing.each = [&](Stage& stage, const TransitionStep&) {
                    seen[static_cast<int>(from)].push_back(stage.Pixels());
                };
                drawing.Run(effect);
            }
            ASSERT_GT(seen[0].size(), 1u);
            EXPECT_TRUE(seen[0] == seen[1]) << "effect " << effect << " at depth " << static_cast<int>(depth);
        }
    }
}

TEST(TransitionPicture, RasterOperationCombinesUnlessTheEffectCoveredTheBackgroundFirst)
{
    Drawing drawing;
    drawing.source = Rect { 0, 0, 40, 24 };
    drawing.dest = Rect { 0, 0, 40, 24 };
    const std::vector<uint32_t> copied = drawing.Run(0);
    drawing.rop = gfx::Rop3::kSrcAnd;
    const std::vector<uint32_t> combined = drawing.Run(0);
    ASSERT_NE(combined, copied);
    // Slides and scrolls move the picture in with plain copies and end with one; Zoom covers the
    // rectangle with plain copies, so combining afterwards changes nothing. (Dissolve's
    // overlapping cells are stretched a pixel, so what it combines with is not the picture.)
    const std::set<int32_t> plain = { 5, 6, 7, 8, 9, 10, 11, 12, 21 };
    for (int32_t effect = 1; effect < 22; ++effect)
        EXPECT_EQ(drawing.Run(effect), plain.count(effect) != 0 ? copied : combined) << "effect " << effect;
}

TEST(TransitionPicture, ABitmapIsPreferredToADib)
{
    Stage stage(ScreenDepth::Direct24);
    test::Picture picture(stage.screen.context, test::CodedDib(8, 8));
    const MemoryBlock other = test::MakeDib(8, 8, 24, {}, [](int32_t, int32_t) { return 0x0000FFu; });
    TransitionRequest request;
    request.bitmap = picture.Bitmap();
    request.dib = &other;
    request.source = Rect { 0, 0, 8, 8 };
    request.dest = Rect { 0, 0, 8, 8 };
    request.effect = 3;
    EXPECT_EQ(Transition(*stage.surface).Draw(request), 1);
    EXPECT_EQ(stage.At(6, 5), test::PicturePixel(6, 5));
}

TEST(TransitionPicture, ImageFormsUseTheDrawModeAtAPointOrStretched)
{
    Stage stage(ScreenDepth::Direct24);
    test::Picture picture(stage.screen.context, test::CodedDib(10, 6));
    Transition transition(*stage.surface);

    EXPECT_EQ(transition.DrawImage(picture, gfx::Point { 3, 4 }, 1, PictureColors::Image), 1);
    EXPECT_EQ(stage.At(3, 4), test::PicturePixel(0, 0));
    EXPECT_EQ(stage.At(12, 9), test::PicturePixel(9, 5));
    EXPECT_EQ(stage.At(13, 9), test::BackgroundPixel(13, 9));

    // Twice the size: each picture pixel becomes a 2 x 2 block.
    EXPECT_EQ(transition.DrawImage(picture, Rect::FromSize(20, 20, 20, 12), 14, PictureColors::Current), 1);
    EXPECT_EQ(stage.At(21, 21), test::PicturePixel(0, 0));
    EXPECT_EQ(stage.At(39, 31), test::PicturePixel(9, 5));

    // Draw mode 5 copies the inverted picture; modes past the table copy plainly.
    stage.surface->SetDrawMode(5);
    transition.DrawImage(picture, gfx::Point { 40, 0 }, 22, PictureColors::None);
    EXPECT_EQ(stage.At(41, 1), ~test::PicturePixel(1, 1) & 0xFFFFFF);
    stage.surface->SetDrawMode(8);
    transition.DrawImage(picture, gfx::Point { 40, 0 }, 3, PictureColors::None);
    EXPECT_EQ(stage.At(41, 1), test::PicturePixel(1, 1));
}

TEST(TransitionPicture, EightBitDrawsRealiseTheDefaultOrTheFadedScreenPalette)
{
    Drawing drawing;
    drawing.depth = ScreenDepth::Palette8;
    drawing.each = [](Stage& stage, const TransitionStep&) {
        // The full standard set, realised for the picture: a colour of its cube is in the hardware.
        EXPECT_EQ(stage.screen.context.DefaultPalette().Count(), 256);
        const auto& hardware = stage.screen.display.HardwarePalette().Pixels();
        EXPECT_NE(std::find(hardware.begin(), hardware.end(), 0x24333Fu), hardware.end());
    };
    drawing.Run(1);

    // While the screen is faded the screen palette serves instead, padded to 256 entries.
    Stage faded(ScreenDepth::Palette8);
    faded.screen.context.SetScreenFaded(true);
    faded.screen.context.ScreenPalette().Resize(3);
    test::Picture picture(faded.screen.context, test::CodedDib(8, 8));
    Transition(*faded.surface).DrawImage(picture, gfx::Point { 0, 0 }, 0, PictureColors::None);
    EXPECT_EQ(faded.screen.context.ScreenPalette().Count(), 256);
    EXPECT_EQ(faded.screen.context.DefaultPalette().Count(), 0);

    // A 24-bit display needs no palette.
    Stage direct(ScreenDepth::Direct24);
    test::Picture other(direct.screen.context, test::CodedDib(8, 8));
    Transition(*direct.surface).DrawImage(other, gfx::Point { 0, 0 }, 0, PictureColors::None);
    EXPECT_EQ(direct.screen.context.DefaultPalette().Count(), 0);
}

TEST(TransitionPicture, RestoresTheStretchModePaletteAndBitmapAfterwards)
{
    Stage stage(ScreenDepth::Palette8);
    test::Picture picture(stage.screen.context, IndexedDib(8, 8));
    gfx::Dc& dc = *stage.surface->Dc();
    dc.SetStretchBltMode(gfx::StretchMode::BlackOnWhite);
    Transition transition(*stage.surface);
    gfx::StretchMode during {};
    transition.SetWatcher([&](const TransitionStep&) {
        during = dc.SetStretchBltMode(gfx::StretchMode::Halftone);
        dc.SetStretchBltMode(during);
    });
    TransitionRequest request;
    request.bitmap = picture.Bitmap();
    request.source = Rect { 0, 0, 8, 8 };
    request.dest = Rect { 0, 0, 16, 16 };
    request.palette = picture.OwnPalette();
    request.stretchMode = gfx::StretchMode::WhiteOnBlack;
    request.effect = 14;
    ASSERT_EQ(transition.Draw(request), 1);
    EXPECT_EQ(during, gfx::StretchMode::WhiteOnBlack);
    EXPECT_EQ(dc.SetStretchBltMode(gfx::StretchMode::ColorOnColor), gfx::StretchMode::BlackOnWhite);
    gfx::Dc& memory = *stage.surface->SourceDc();
    EXPECT_EQ(memory.SelectPalette(nullptr), nullptr);
    EXPECT_NE(memory.SelectedBitmap(), picture.Bitmap());
    // The bitmap is free to be drawn on again.
    EXPECT_NE(DrawingSurface(stage.screen.context, picture).Dc(), nullptr);
}

TEST(TransitionPicture, EachStepIsShownOnAWindowAtOnce)
{
    test::Screen screen(ScreenDepth::Direct24);
    test::Picture picture(screen.context, test::CodedDib(40, 10));
    DrawingSurface window(screen.context, screen.window);
    Transition transition(window);
    const int32_t presentsBefore = screen.display.PresentCount();
    std::vector<uint32_t> shownAtSecondStrip;
    int32_t steps = 0;
    transition.SetWatcher([&](const TransitionStep&) {
        if (++steps == 2) {
            // The first strip has reached the screen; the second is drawn but not yet shown.
            const gfx::Surface shown = screen.display.ScreenView();
            shownAtSecondStrip = { shown.Get(5, 5), shown.Get(20, 5) };
        }
    });
    transition.DrawImage(picture, gfx::Point { 0, 0 }, 1, PictureColors::None);
    EXPECT_EQ(screen.display.PresentCount() - presentsBefore, 4);  // three strips and the final copy
    ASSERT_EQ(shownAtSecondStrip.size(), 2u);
    EXPECT_EQ(shownAtSecondStrip[0], test::PicturePixel(5, 5));
    EXPECT_NE(shownAtSecondStrip[1], test::PicturePixel(20, 5));
    EXPECT_EQ(screen.display.ScreenView().Get(20, 5), test::PicturePixel(20, 5));

    // Off screen nothing is presented.
    Stage stage(ScreenDepth::Direct24);
    test::Picture other(stage.screen.context, test::CodedDib(40, 10));
    const int32_t offscreenBefore = stage.screen.display.PresentCount();
    Transition(*stage.surface).DrawImage(other, gfx::Point { 0, 0 }, 22, PictureColors::None);
    EXPECT_EQ(stage.screen.display.PresentCount(), offscreenBefore);
}

} // namespace
} // namespace tamber
