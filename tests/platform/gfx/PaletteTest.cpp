#include <gtest/gtest.h>

#include <set>

#include "platform/gfx/Dc.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Palette.h"
#include "platform/gfx/SystemPalette.h"

namespace tamber::gfx {
namespace {

PaletteEntry E(uint8_t r, uint8_t g, uint8_t b, uint8_t flags = kPaletteNormal)
{
    return PaletteEntry { r, g, b, flags };
}

TEST(SystemPalette, StartsWithTheStaticColoursAtBothEnds)
{
    SystemPalette sys;
    const auto& statics = SystemPalette::StaticColors();
    for (int k = 0; k < 10; ++k) {
        EXPECT_EQ(sys.Entry(k).Color(), statics[static_cast<size_t>(k)]);
        EXPECT_EQ(sys.Entry(246 + k).Color(), statics[static_cast<size_t>(10 + k)]);
        EXPECT_TRUE(sys.IsStatic(k));
        EXPECT_TRUE(sys.IsStatic(246 + k));
    }
    EXPECT_FALSE(sys.IsStatic(10));
    EXPECT_EQ(sys.Entry(1).Color(), Rgb(128, 0, 0)); // 0x000080: red in the low byte
    EXPECT_EQ(sys.Pixels()[255], 0xFFFFFFu);
}

TEST(SystemPalette, RealisingSharesExactColoursAndAllocatesTheRest)
{
    SystemPalette sys;
    Palette p({ E(255, 255, 255), E(1, 2, 3), E(4, 5, 6), E(1, 2, 3), E(255, 0, 0, kPaletteNoCollapse) });
    EXPECT_EQ(sys.Realize(p, RealizeMode::Foreground), 3);
    EXPECT_EQ(p.SystemIndex(0, sys), 255); // static white is shared
    EXPECT_EQ(p.SystemIndex(1, sys), 10);
    EXPECT_EQ(p.SystemIndex(2, sys), 11);
    EXPECT_EQ(p.SystemIndex(3, sys), 10); // the same colour collapses onto the same entry
    EXPECT_EQ(p.SystemIndex(4, sys), 12); // no-collapse: an entry of its own despite static red
    EXPECT_EQ(sys.Entry(12).Color(), Rgb(255, 0, 0));
    // Realising again changes nothing.
    EXPECT_EQ(sys.Realize(p, RealizeMode::Foreground), 0);
}

TEST(SystemPalette, ForegroundTakesOverAndBackgroundUsesWhatIsFree)
{
    SystemPalette sys;
    std::vector<PaletteEntry> many;
    for (int i = 0; i < 300; ++i)
        many.push_back(E(static_cast<uint8_t>(i & 0xFF), static_cast<uint8_t>(i >> 2), 77));
    Palette big(many);
    sys.Realize(big, RealizeMode::Foreground);
    // 236 free entries; the rest map to the nearest colour already there.
    std::set<int> used;
    for (int i = 0; i < 300; ++i)
        used.insert(big.SystemIndex(i, sys));
    for (int i = 10; i < 246; ++i)
        EXPECT_TRUE(used.count(i)) << i;
    EXPECT_EQ(sys.Entry(10).Color(), many[0].Color());
    Palette other({ E(9, 9, 9) });
    // No entry is free: a background realisation takes the nearest colour in use.
    EXPECT_EQ(sys.Realize(other, RealizeMode::Background), 0);
    uint8_t at = other.SystemIndex(0, sys);
    EXPECT_EQ(sys.Entry(at).Color(), sys.Entry(sys.Nearest(Rgb(9, 9, 9))).Color());
    // In the foreground it gets a fresh entry.
    EXPECT_EQ(sys.Realize(other, RealizeMode::Foreground), 1);
    EXPECT_EQ(sys.Entry(other.SystemIndex(0, sys)).Color(), Rgb(9, 9, 9));
}

TEST(SystemPalette, WithoutStaticColoursOnlyBlackAndWhiteStay)
{
    SystemPalette sys;
    EXPECT_EQ(sys.SetUse(SystemPaletteUse::NoStatic), SystemPaletteUse::Static);
    std::vector<PaletteEntry> ramp;
    for (int i = 0; i < 254; ++i)
        ramp.push_back(E(static_cast<uint8_t>(i), 0, 1));
    Palette p(ramp);
    sys.Realize(p, RealizeMode::Foreground);
    std::set<int> used;
    for (int i = 0; i < 254; ++i)
        used.insert(p.SystemIndex(i, sys));
    EXPECT_EQ(used.size(), 254u);
    EXPECT_FALSE(used.count(0));
    EXPECT_FALSE(used.count(255));
    sys.SetUse(SystemPaletteUse::Static);
    EXPECT_EQ(sys.Entry(1).Color(), Rgb(128, 0, 0));
}

TEST(SystemPalette, AnimatingReservedEntriesRecoloursTheScreenWithoutRepainting)
{
    SystemPalette sys;
    Palette p({ E(10, 10, 10, kPaletteReserved), E(20, 20, 20) });
    Image screen(2, 1, PixelFormat::Indexed8);
    Dc dc(screen.View(), &sys);
    dc.SelectPalette(&p);
    dc.RealizePalette();
    dc.SetPixel(Point { 0, 0 }, PaletteIndex(0));
    dc.SetPixel(Point { 1, 0 }, PaletteIndex(1));
    uint32_t generation = sys.Generation();
    PaletteEntry next[] = { E(200, 0, 0), E(0, 200, 0) };
    EXPECT_EQ(p.Animate(0, next, 2), 1); // only the reserved entry changes
    EXPECT_NE(sys.Generation(), generation);
    EXPECT_EQ(sys.Pixels()[screen.Get(0, 0)], 0xC80000u);
    EXPECT_EQ(sys.Pixels()[screen.Get(1, 0)], 0x141414u);
    EXPECT_EQ(p.Entries()[1].Color(), Rgb(20, 20, 20));
}

TEST(SystemPalette, ExplicitEntriesNameSystemIndexes)
{
    SystemPalette sys;
    Palette p({ E(13, 0, 0, kPaletteExplicit) });
    sys.Realize(p, RealizeMode::Foreground);
    EXPECT_EQ(p.SystemIndex(0, sys), 13);
}

TEST(Palette, EntriesResizeAndNearestIndex)
{
    Palette p({ E(0, 0, 0), E(255, 255, 255), E(250, 0, 0) });
    EXPECT_EQ(p.NearestIndex(Rgb(200, 30, 30)), 2);
    EXPECT_EQ(p.NearestIndex(Rgb(100, 100, 100)), 0);
    EXPECT_EQ(Palette().NearestIndex(kBlack), -1);
    PaletteEntry out[4];
    EXPECT_EQ(p.GetEntries(1, out, 4), 2);
    EXPECT_EQ(out[1].Color(), Rgb(250, 0, 0));
    EXPECT_EQ(p.GetEntries(3, out, 1), 0);
    PaletteEntry in[] = { E(1, 1, 1), E(2, 2, 2) };
    EXPECT_EQ(p.SetEntries(2, in, 2), 1);
    EXPECT_EQ(p.Entries()[2].Color(), Rgb(1, 1, 1));
    EXPECT_EQ(p.Resize(5), 1);
    EXPECT_EQ(p.Count(), 5);
    EXPECT_EQ(p.Entries()[4].Color(), kBlack);
    EXPECT_EQ(p.Resize(0), 0);
    EXPECT_EQ(p.Resize(Palette::kMaxEntries + 1), 0);
}

TEST(Palette, DrawingInRgbOnAnEightBitScreenPicksTheNearestRealisedEntry)
{
    SystemPalette sys;
    Palette p({ E(100, 0, 0), E(0, 100, 0), E(0, 0, 100) });
    Image screen(4, 1, PixelFormat::Indexed8);
    Dc dc(screen.View(), &sys);
    // With the default palette selected colours come from the twenty static ones.
    dc.SetPixel(Point { 0, 0 }, Rgb(250, 5, 5));
    EXPECT_EQ(screen.Get(0, 0), 249u);
    dc.SelectPalette(&p);
    dc.RealizePalette();
    dc.SetPixel(Point { 1, 0 }, Rgb(10, 90, 10));
    dc.FillRect(Rect { 2, 0, 3, 1 }, Brush::Solid(PaletteIndex(2)));
    dc.SetPixel(Point { 3, 0 }, PaletteRgb(120, 0, 0));
    EXPECT_EQ(screen.Get(1, 0), p.SystemIndex(1, sys));
    EXPECT_EQ(screen.Get(2, 0), p.SystemIndex(2, sys));
    EXPECT_EQ(screen.Get(3, 0), p.SystemIndex(0, sys));
    EXPECT_EQ(sys.Entry(static_cast<int>(screen.Get(1, 0))).Color(), Rgb(0, 100, 0));
    // Plain RGB colours also find the static colours; palette-relative ones only the palette.
    dc.SetPixel(Point { 0, 0 }, Rgb(250, 250, 250));
    EXPECT_EQ(screen.Get(0, 0), 255u);
    dc.SetPixel(Point { 0, 0 }, PaletteRgb(250, 250, 250));
    EXPECT_EQ(sys.Entry(static_cast<int>(screen.Get(0, 0))).Color(), Rgb(100, 0, 0));
    // Changing the palette's colours changes what the same RGB colour draws as.
    PaletteEntry greenish = E(0, 200, 0);
    p.SetEntries(1, &greenish, 1);
    dc.RealizePalette();
    dc.SetPixel(Point { 1, 0 }, Rgb(0, 180, 0));
    EXPECT_EQ(sys.Entry(static_cast<int>(screen.Get(1, 0))).Color(), Rgb(0, 200, 0));
}

} // namespace
} // namespace tamber::gfx
