#include <gtest/gtest.h>

#include "iface/InterfaceWindowFixture.h"
#include "media/Palette.h"
#include "media/ScreenContext.h"
#include "media/SystemColors.h"

using namespace tamber;
using namespace tamber::test;

namespace {

constexpr uint8_t kRed = 200, kGreen = 40, kBlue = 90;
constexpr uint32_t kPixel = (uint32_t {kRed} << 16) | (uint32_t {kGreen} << 8) | kBlue;

// An 8-bit screen and an Interface whose background colour is only in its own palette.
struct PaletteFixture : InterfaceFixture {
    PaletteFixture() : InterfaceFixture(640, 480, ScreenDepth::Palette8), screen(ui.screen)
    {
        screen.SetPaletteWatcher([this](const gfx::Palette& palette) { shown.push_back(palette); });
        window = Open(Record(1, [](InterfaceObject& self) {
            SetLong(self, "CardWidth", 200);
            SetLong(self, "CardHeight", 100);
            self.SetAttribute("BackColor", ValueType::Color, AttributeValue::OfColor(gfx::Rgb(kRed, kGreen, kBlue)));
            MemoryBlock palette;
            for (int i = 0; i < 16; ++i) {
                const uint8_t rgb[3] = {static_cast<uint8_t>(i * 10), static_cast<uint8_t>(i * 3), 7};
                palette.Append(rgb, 3);
            }
            const uint8_t ours[3] = {kRed, kGreen, kBlue};
            palette.Append(ours, 3);
            self.SetAttribute("BackPalette", ValueType::Palette, AttributeValue::OfBlock(palette));
        }), 0, &screen);
    }
    int32_t Handle()
    {
        AttributeValue v;
        window->Interface()->GetAttribute("hPalette", ValueType::Long, v);
        return v.Long();
    }
    ScreenContext screen;
    std::vector<gfx::Palette> shown;
    std::unique_ptr<InterfaceWindow> window;
};

bool AllBlackButAnchors(const gfx::Palette& palette)
{
    for (int32_t i = 1; i + 1 < palette.Count(); ++i) {
        const gfx::PaletteEntry& e = palette.Entries()[static_cast<size_t>(i)];
        if (e.red || e.green || e.blue)
            return false;
    }
    return true;
}

}  // namespace

TEST(InterfacePalette, LoadedPaletteIsCompletedWithSystemColoursAndRealised)
{
    PaletteFixture f;
    ASSERT_NE(f.window, nullptr);
    ASSERT_NE(f.window->OwnPalette(), nullptr);
    // 17 colours, 10 reserved ones before and 10 after.
    EXPECT_EQ(f.window->OwnPalette()->Count(), 37);
    Color first, ours;
    f.window->OwnPalette()->GetColor(0, first);
    EXPECT_EQ(first.Packed(), SystemColors::Packed()[0]);
    f.window->OwnPalette()->GetColor(26, ours);
    EXPECT_EQ(ours.Packed(), gfx::Rgb(kRed, kGreen, kBlue));
    EXPECT_TRUE(f.window->OwnPalette()->IsCurrent());
    EXPECT_NE(f.Handle(), 0);
    EXPECT_EQ(f.ui.Pixel(320, 240), kPixel);
}

TEST(InterfacePalette, FadesStepToBlackAndBackOnAnEightBitScreen)
{
    PaletteFixture f;
    ASSERT_NE(f.window, nullptr);
    f.shown.clear();
    Invoke(*f.window->Interface(), "PaletteFadeOut", {AttributeValue::OfLong(10)});
    ASSERT_GE(f.shown.size(), 10u);
    EXPECT_LE(f.shown.size(), 12u);
    EXPECT_FALSE(AllBlackButAnchors(f.shown.front()));
    EXPECT_TRUE(AllBlackButAnchors(f.shown.back()));
    EXPECT_EQ(f.ui.Pixel(320, 240), 0u);

    f.shown.clear();
    Invoke(*f.window->Interface(), "PaletteFadeIn", {AttributeValue::OfLong(5)});
    ASSERT_GE(f.shown.size(), 5u);
    EXPECT_LE(f.shown.size(), 7u);
    EXPECT_TRUE(AllBlackButAnchors(f.shown.front()));
    EXPECT_EQ(f.ui.Pixel(320, 240), kPixel);
}

TEST(InterfacePalette, DeactivateReleasesAndActivateRealisesAgain)
{
    PaletteFixture f;
    ASSERT_NE(f.window, nullptr);
    Invoke(*f.window->Interface(), "DeactivatePalette");
    EXPECT_EQ(f.Handle(), 0);
    EXPECT_EQ(f.screen.Current(), nullptr);
    Invoke(*f.window->Interface(), "ActivatePalette");
    EXPECT_NE(f.Handle(), 0);
    EXPECT_EQ(f.screen.Current(), f.window->OwnPalette());
    EXPECT_EQ(f.ui.Pixel(320, 240), kPixel);
}
