#include "media/Palette.h"

#include <gtest/gtest.h>

#include "media/MediaTestSupport.h"
#include "media/SystemColors.h"

namespace tamber {
namespace {

using test::ColorAt;
using test::Screen;

TEST(Color, ClampsNegativeComponentsAndKeepsLowBits) {
    const Color color(-3, 300, 12);
    EXPECT_EQ(color, Color(0, 44, 12));
    EXPECT_EQ(color.Packed(), 0x0C2C00u);
    EXPECT_EQ(Color::FromPacked(0xFF123456), Color(0x56, 0x34, 0x12));
    EXPECT_TRUE(SystemColors::IsSystemColor(Color(0xA6, 0xCA, 0xF0)));
    EXPECT_FALSE(SystemColors::IsSystemColor(Color(0xA4, 0xC8, 0xF0)));
}

TEST(Palette, GrowsAtEitherEndWithTheFlagRule) {
    Screen screen(ScreenDepth::Palette8);
    Palette palette(screen.context);
    EXPECT_EQ(palette.Count(), 0);
    EXPECT_EQ(palette.Buffer().Size(), 4);
    EXPECT_EQ(palette.Buffer().ReadInt(0, 2), 0x0300);

    EXPECT_EQ(palette.AppendColor(Color(10, 20, 30), AtEnd::Yes), 0);
    EXPECT_EQ(palette.AppendColor(Color(255, 0, 0), AtEnd::Yes), 1);
    EXPECT_EQ(palette.AppendColor(Color(1, 2, 3), AtEnd::No), 0);
    ASSERT_EQ(palette.Count(), 3);
    EXPECT_EQ(palette.Buffer().ReadInt(2, 2), 3);
    EXPECT_EQ(ColorAt(palette, 0), Color(1, 2, 3));
    EXPECT_EQ(ColorAt(palette, 1), Color(10, 20, 30));
    EXPECT_EQ(ColorAt(palette, 2), Color(255, 0, 0));
    // On an 8-bit display a system colour is a normal entry, anything else does not collapse.
    EXPECT_EQ(palette.Flags(1), Palette::kNoCollapse);
    EXPECT_EQ(palette.Flags(2), Palette::kNormal);

    // The device palette follows the buffer.
    ASSERT_EQ(palette.Device()->Count(), 3);
    EXPECT_EQ(palette.Device()->Entries()[2], (gfx::PaletteEntry{255, 0, 0, 0}));
    EXPECT_EQ(palette.NearestIndex(250, 5, 5), 2);

    EXPECT_EQ(palette.SetColor(-1, Color(0, 0, 0)), -1);
    EXPECT_EQ(palette.SetColor(1, Color(0, 0, 255)), 1);
    EXPECT_EQ(palette.Flags(1), Palette::kNormal);
    EXPECT_EQ(palette.Device()->Entries()[1], (gfx::PaletteEntry{0, 0, 255, 0}));
    EXPECT_EQ(palette.SetColor(99, Color(7, 7, 7)), 3);  // past the end: appended
    EXPECT_EQ(palette.Count(), 4);

    Color untouched(9, 9, 9);
    EXPECT_EQ(palette.GetColor(4, untouched), -1);
    EXPECT_EQ(palette.GetColor(-1, untouched), -1);
    EXPECT_EQ(untouched, Color(9, 9, 9));

    // On a true-colour display every written entry does not collapse.
    Screen deep(ScreenDepth::Direct24);
    Palette other(deep.context);
    other.AppendColor(Color(255, 0, 0), AtEnd::Yes);
    EXPECT_EQ(other.Flags(0), Palette::kNoCollapse);
}

TEST(Palette, ExportsAndImportsTriples) {
    Screen screen(ScreenDepth::Palette8);
    Palette palette(screen.context);
    palette.AppendColor(Color(1, 2, 3), AtEnd::Yes);
    palette.AppendColor(Color(4, 5, 6), AtEnd::Yes);
    const MemoryBlock exported = palette.Export();
    EXPECT_EQ(exported.Size(), 6);
    EXPECT_EQ(exported.ToString(), std::string("\x01\x02\x03\x04\x05\x06", 6));

    Palette copy(screen.context);
    copy.AppendColor(Color(9, 9, 9), AtEnd::Yes);
    const uint8_t seven[] = {255, 255, 255, 10, 20, 30, 99};
    copy.Import(MemoryBlock(seven, 7));
    ASSERT_EQ(copy.Count(), 2);
    EXPECT_EQ(ColorAt(copy, 0), Color(255, 255, 255));
    EXPECT_EQ(copy.Flags(0), Palette::kNormal);
    EXPECT_EQ(ColorAt(copy, 1), Color(10, 20, 30));
    EXPECT_EQ(copy.Flags(1), Palette::kNoCollapse);
    EXPECT_EQ(copy.Device()->Count(), 2);
    EXPECT_EQ(copy.Buffer().Size(), 4 + 2 * 4);

    copy.Import(MemoryBlock());
    EXPECT_EQ(copy.Count(), 0);
    EXPECT_EQ(copy.Device()->Count(), 0);
}

TEST(Palette, FillsTheStandardSets) {
    Screen screen(ScreenDepth::Palette8);
    Palette full(screen.context);
    full.FillStandard(StandardSet::Full, AtEnd::Yes);
    ASSERT_EQ(full.Count(), 256);
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(ColorAt(full, i), SystemColors::At(i));
        EXPECT_EQ(ColorAt(full, 246 + i), SystemColors::At(10 + i));
    }
    EXPECT_EQ(ColorAt(full, 10), Color(0, 0, 63));    // black and the dark corner are skipped
    EXPECT_EQ(ColorAt(full, 14), Color(0, 51, 63));
    EXPECT_EQ(ColorAt(full, 245), Color(252, 255, 252));

    Palette greys(screen.context);
    greys.FillStandard(StandardSet::Greys, AtEnd::Yes);
    ASSERT_EQ(greys.Count(), 1 + 8 + 127);
    EXPECT_EQ(ColorAt(greys, 8), Color(224, 224, 224));
    EXPECT_EQ(ColorAt(greys, 9), Color(2, 2, 2));
    EXPECT_EQ(ColorAt(greys, 135), Color(254, 254, 254));

    Palette ramps(screen.context);
    ramps.FillStandard(StandardSet::Ramps, AtEnd::Yes);
    ASSERT_EQ(ramps.Count(), 2 + 3 * 32);
    EXPECT_EQ(ColorAt(ramps, 33), Color(248, 0, 0));
    EXPECT_EQ(ColorAt(ramps, 35), Color(0, 8, 0));
    EXPECT_EQ(ColorAt(ramps, 97), Color(248, 248, 248));

    // The display set depends on the display's depth; at the front it comes out reversed.
    struct Case {
        int bits;
        int32_t count;
        Color last;
    };
    for (const Case& c : {Case{1, 2, Color(0, 0, 0)}, Case{4, 16, Color(128, 0, 128)},
                          Case{8, 20, Color(255, 255, 255)}, Case{24, 20, Color(255, 255, 255)}}) {
        screen.context.SetBitsPerPixel(c.bits);
        Palette shown(screen.context);
        shown.FillStandard(StandardSet::Display, AtEnd::No);
        ASSERT_EQ(shown.Count(), c.count) << c.bits;
        EXPECT_EQ(ColorAt(shown, 0), c.last) << c.bits;
        EXPECT_EQ(ColorAt(shown, c.count - 1), c.bits < 8 ? Color(255, 255, 255) : Color(0, 0, 0)) << c.bits;
    }
}

TEST(Palette, KeepsOneCurrentPalette) {
    Screen screen(ScreenDepth::Palette8);
    auto first = std::make_unique<Palette>(screen.context);
    Palette second(screen.context);
    first->MakeCurrent();
    EXPECT_TRUE(first->IsCurrent());
    EXPECT_EQ(screen.context.Current(), first.get());
    second.ReleaseCurrent();  // not current: nothing happens
    EXPECT_EQ(screen.context.Current(), first.get());
    second.MakeCurrent();
    EXPECT_FALSE(first->IsCurrent());
    EXPECT_EQ(screen.context.Current(), &second);
    first->MakeCurrent();
    first.reset();  // a destroyed palette gives up the role
    EXPECT_EQ(screen.context.Current(), nullptr);
}

int32_t FadeOutPasses(int32_t steps) {
    Screen screen(ScreenDepth::Palette8);
    Palette palette(screen.context);
    palette.AppendColor(Color(200, 100, 50), AtEnd::Yes);
    palette.FadeOut(steps);
    return screen.context.PaletteShows();
}

TEST(Palette, FadesOutToBlackOverAFullPalette) {
    Screen screen(ScreenDepth::Palette8);
    Palette palette(screen.context);
    palette.AppendColor(Color(0, 0, 0), AtEnd::Yes);
    palette.AppendColor(Color(200, 100, 50), AtEnd::Yes);
    palette.AppendColor(Color(255, 255, 255), AtEnd::Yes);

    palette.FadeOut(10);
    EXPECT_TRUE(palette.IsCurrent());
    EXPECT_TRUE(screen.context.ScreenFaded());
    ASSERT_EQ(palette.Count(), 256);
    for (int32_t i = 0; i < 256; ++i) {
        EXPECT_EQ(ColorAt(palette, i), Color(0, 0, 0)) << i;
    }
    EXPECT_EQ(palette.Flags(0), Palette::kNormal);  // black at 0 is kept as it is
    EXPECT_EQ(palette.Flags(1), Palette::kReserved);
    EXPECT_EQ(palette.Flags(2), Palette::kReserved);  // white only counts at 255
    EXPECT_EQ(palette.Flags(255), Palette::kReserved);
    EXPECT_EQ(palette.Device()->Count(), 256);
    EXPECT_EQ(palette.Device()->Entries()[1], (gfx::PaletteEntry{0, 0, 0, Palette::kReserved}));
    EXPECT_EQ(screen.context.ScreenPalette().Count(), 256);
    EXPECT_EQ(screen.display.HardwarePalette().Use(), gfx::SystemPaletteUse::NoStatic);

    // The fade leaves black behind: fading in brings back what the palette holds then.
    palette.FadeIn(10);
    EXPECT_EQ(ColorAt(palette, 1), Color(0, 0, 0));
    EXPECT_EQ(palette.Flags(1), Palette::kNormal);  // black is a system colour
    palette.SetColor(1, Color(200, 100, 50));
    palette.SetColor(2, Color(255, 255, 255));
    palette.FadeOut(2);
    palette.SetColor(1, Color(200, 100, 50));
    palette.SetColor(2, Color(255, 255, 255));
    EXPECT_EQ(palette.Flags(1), Palette::kNoCollapse);
    palette.FadeIn(10);
    EXPECT_FALSE(screen.context.ScreenFaded());
    EXPECT_EQ(ColorAt(palette, 1), Color(200, 100, 50));
    EXPECT_EQ(ColorAt(palette, 2), Color(255, 255, 255));
    EXPECT_EQ(palette.Flags(1), Palette::kNoCollapse);
    EXPECT_EQ(palette.Flags(2), Palette::kNormal);  // a system colour on the last pass
    EXPECT_EQ(ColorAt(palette, 3), Color(0, 0, 0));
    EXPECT_EQ(screen.display.HardwarePalette().Use(), gfx::SystemPaletteUse::Static);
}

TEST(Palette, ClampsFadeSteps) {
    const int32_t thirty = FadeOutPasses(30);
    EXPECT_GE(thirty, 30);
    EXPECT_LE(thirty, 32);
    EXPECT_EQ(FadeOutPasses(0), thirty);
    EXPECT_EQ(FadeOutPasses(-5), thirty);
    EXPECT_EQ(FadeOutPasses(500), FadeOutPasses(100));
    EXPECT_GE(FadeOutPasses(1), 2);  // the first pass never ends a fade
}

TEST(Palette, StepsTheLevelLogarithmically) {
    Screen screen(ScreenDepth::Palette8);
    Palette palette(screen.context);
    palette.AppendColor(Color(200, 200, 200), AtEnd::Yes);
    std::vector<gfx::PaletteEntry> shown;
    screen.context.SetPaletteWatcher([&](const gfx::Palette& p) { shown.push_back(p.Entries()[0]); });

    // Three steps move the level by 3: 1, 4, 7, 10; the grey follows 200 x log10(level).
    palette.FadeIn(3);
    const std::vector<gfx::PaletteEntry> in = {
        {0, 0, 0, Palette::kReserved}, {120, 120, 120, Palette::kReserved},
        {169, 169, 169, Palette::kReserved}, {200, 200, 200, Palette::kNoCollapse}};
    EXPECT_EQ(shown, in);

    shown.clear();
    palette.FadeOut(3);
    const std::vector<gfx::PaletteEntry> out = {
        {200, 200, 200, Palette::kReserved}, {169, 169, 169, Palette::kReserved},
        {120, 120, 120, Palette::kReserved}, {0, 0, 0, Palette::kReserved}};
    EXPECT_EQ(shown, out);
}

TEST(Palette, FadesNothingOnATrueColourDisplay) {
    Screen screen(ScreenDepth::Direct24);
    Palette palette(screen.context);
    palette.AppendColor(Color(1, 2, 3), AtEnd::Yes);
    const MemoryBlock before = palette.Buffer();
    palette.FadeOut(5);
    EXPECT_TRUE(palette.IsCurrent());
    EXPECT_EQ(palette.Count(), 1);
    EXPECT_EQ(palette.Buffer(), before);
    EXPECT_EQ(screen.context.PaletteShows(), 0);
    palette.FadeIn(5);
    EXPECT_FALSE(screen.context.ScreenFaded());
}

TEST(Palette, FadesTheEightBitScreenThroughTheHardwarePalette) {
    Screen screen(ScreenDepth::Palette8);
    Palette palette(screen.context);
    palette.AppendColor(Color(0, 0, 0), AtEnd::Yes);
    palette.AppendColor(Color(90, 180, 30), AtEnd::Yes);
    palette.MakeCurrent();

    // Draw with the palette's colour through a device context on the main window.
    gfx::Dc* dc = screen.context.AcquireWindowDc(screen.window);
    ASSERT_NE(dc, nullptr);
    dc->SelectPalette(palette.Device());
    dc->RealizePalette();
    dc->FillRect(gfx::Rect::FromSize(0, 0, 64, 48), gfx::Brush::Solid(gfx::PaletteIndex(1)));
    screen.display.Invalidate(screen.window, gfx::Rect::FromSize(0, 0, 64, 48));
    screen.display.Present();
    PngImage image;
    screen.display.Capture(image);
    EXPECT_EQ(image.At(10, 10), 0xFF5AB41Eu);
    const uint8_t index = static_cast<uint8_t>(screen.display.ScreenView().Get(10, 10));

    palette.FadeOut(4);
    screen.display.Capture(image);
    EXPECT_EQ(image.At(10, 10), 0xFF000000u);

    // A fade out leaves black in the palette; the colours to fade in to are set again first.
    palette.SetColor(1, Color(90, 180, 30));
    palette.FadeIn(4);
    screen.display.Capture(image);
    EXPECT_EQ(image.At(10, 10), 0xFF5AB41Eu);
    // Only the hardware palette changed: the screen still holds the same index.
    EXPECT_EQ(screen.display.ScreenView().Get(10, 10), index);
    screen.context.ReleaseWindowDc(screen.window);
}

}  // namespace
}  // namespace tamber
