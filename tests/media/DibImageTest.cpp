#include "media/DibImage.h"

#include <gtest/gtest.h>

#include "media/MediaTestSupport.h"
#include "media/SystemColors.h"

namespace tamber {
namespace {

using test::ColorAt;
using test::MakeDib;
using test::Screen;

TEST(DibImage, BuildsAnIndexedImageWithItsOwnPalette) {
    Screen screen(ScreenDepth::Direct24);
    std::vector<uint32_t> table = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0x000000, 0x000000, 0x000000, 0x000000,
                                   0x000000, 0xA4C8F0};
    table.resize(16, 0x808080);
    const MemoryBlock dib = MakeDib(5, 3, 4, table, [](int32_t x, int32_t y) { return static_cast<uint32_t>((x + y) % 4); });
    DibImage image(screen.context);
    ASSERT_EQ(image.SetFromPackedDib(dib, ImagePalette::No, OfferConversion::No), 1);
    ASSERT_NE(image.Bitmap(), nullptr);
    EXPECT_EQ(image.Width(), 5);
    EXPECT_EQ(image.Height(), 3);
    EXPECT_EQ(image.SourceDepth(), 4);
    EXPECT_EQ(image.HeldDib(), nullptr);
    EXPECT_EQ(screen.Shown(*image.Bitmap(), 0, 0), 0xFF0000u);
    EXPECT_EQ(screen.Shown(*image.Bitmap(), 1, 0), 0x00FF00u);
    EXPECT_EQ(screen.Shown(*image.Bitmap(), 4, 2), 0x0000FFu);  // (4 + 2) % 4 = 2
    EXPECT_EQ(screen.Shown(*image.Bitmap(), 1, 2), 0x123456u);

    // The palette: the table, the off sky blue at 9 corrected, then the display's colours.
    Palette* own = image.OwnPalette();
    ASSERT_NE(own, nullptr);
    ASSERT_EQ(own->Count(), 16 + 20);
    EXPECT_EQ(ColorAt(*own, 0), Color(255, 0, 0));
    EXPECT_EQ(ColorAt(*own, 9), Color(166, 202, 240));
    EXPECT_EQ(ColorAt(*own, 16), SystemColors::At(0));
    EXPECT_EQ(ColorAt(*own, 35), SystemColors::At(19));

    // An empty buffer changes nothing; one without "BM" leaves the image empty.
    EXPECT_EQ(image.SetFromPackedDib(MemoryBlock(), ImagePalette::No, OfferConversion::No), 0);
    EXPECT_NE(image.Bitmap(), nullptr);
    MemoryBlock bad = dib;
    bad.Data()[0] = 'X';
    EXPECT_EQ(image.SetFromPackedDib(bad, ImagePalette::No, OfferConversion::No), 0);
    EXPECT_EQ(image.Bitmap(), nullptr);
    EXPECT_EQ(image.Width(), 0);
}

TEST(DibImage, PrefersTheOwnThenTheCurrentPaletteUnlessTheImageDecides) {
    Screen screen(ScreenDepth::Palette8);
    const MemoryBlock red = MakeDib(2, 2, 8, {0xFF0000}, [](int32_t, int32_t) { return 0u; });
    const MemoryBlock blue = MakeDib(2, 2, 8, {0x0000FF}, [](int32_t, int32_t) { return 0u; });

    Palette current(screen.context);
    current.AppendColor(Color(0, 200, 0), AtEnd::Yes);
    current.MakeCurrent();
    DibImage image(screen.context);
    ASSERT_EQ(image.SetFromPackedDib(red, ImagePalette::No, OfferConversion::No), 1);
    EXPECT_EQ(image.OwnPalette(), nullptr);  // the current palette served

    ASSERT_EQ(image.SetFromPackedDib(red, ImagePalette::Yes, OfferConversion::No), 1);
    ASSERT_NE(image.OwnPalette(), nullptr);
    EXPECT_EQ(ColorAt(*image.OwnPalette(), 0), Color(255, 0, 0));
    EXPECT_EQ(screen.Shown(*image.Bitmap(), 1, 1), 0xFF0000u);

    // With an own palette and the flag clear, the own palette stays.
    ASSERT_EQ(image.SetFromPackedDib(blue, ImagePalette::No, OfferConversion::No), 1);
    EXPECT_EQ(ColorAt(*image.OwnPalette(), 0), Color(255, 0, 0));
    ASSERT_EQ(image.SetFromPackedDib(blue, ImagePalette::Yes, OfferConversion::No), 1);
    EXPECT_EQ(ColorAt(*image.OwnPalette(), 0), Color(0, 0, 255));
}

TEST(DibImage, WidensTheOlderHeader) {
    Screen screen(ScreenDepth::Direct24);
    // 3 x 2, 1 bit, core header, triples black and yellow.
    MemoryBlock core;
    core.AppendString("BM", Nul::Exclude);
    core.AppendInt(14 + 12 + 6 + 8, 4);
    core.AppendInt(0, 4);
    core.AppendInt(14 + 12 + 6, 4);
    core.AppendInt(12, 4);
    core.AppendInt(3, 2);
    core.AppendInt(2, 2);
    core.AppendInt(1, 2);
    core.AppendInt(1, 2);
    const uint8_t triples[] = {0, 0, 0, 0, 255, 255};
    core.Append(triples, 6);
    const uint8_t rows[] = {0xA0, 0, 0, 0, 0x40, 0, 0, 0};  // bottom row 1 0 1, top row 0 1 0
    core.Append(rows, 8);
    DibImage image(screen.context);
    ASSERT_EQ(image.SetFromPackedDib(core, ImagePalette::No, OfferConversion::No), 1);
    EXPECT_EQ(image.SourceDepth(), 1);
    ASSERT_EQ(image.Bitmap()->Format(), gfx::PixelFormat::Mono);
    EXPECT_EQ(image.Bitmap()->View().Get(1, 0), 1u);
    EXPECT_EQ(image.Bitmap()->View().Get(0, 0), 0u);
    EXPECT_EQ(image.Bitmap()->View().Get(0, 1), 1u);

    // Truncated core headers are refused.
    core.Resize(20);
    EXPECT_EQ(image.SetFromPackedDib(core, ImagePalette::No, OfferConversion::No), 0);
}

TEST(DibImage, OffersToReduceTrueColourOnAnEightBitDisplay) {
    const MemoryBlock dib = MakeDib(4, 4, 24, {}, [](int32_t x, int32_t) { return x < 2 ? 0xC03010u : 0x20E0F0u; });
    // Only an 8-bit display with the flag set asks; only a yes reduces the image.
    struct Case {
        ScreenDepth depth;
        OfferConversion offer;
        MessageAnswer answer;
        size_t questions;
        bool reduced;
    };
    const Case cases[] = {
        {ScreenDepth::Palette8, OfferConversion::No, MessageAnswer::Ok, 0, false},
        {ScreenDepth::Palette8, OfferConversion::Yes, MessageAnswer::Cancel, 1, false},
        {ScreenDepth::Palette8, OfferConversion::Yes, MessageAnswer::Ok, 1, true},
        {ScreenDepth::Direct24, OfferConversion::Yes, MessageAnswer::Ok, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(&c - cases);
        Screen screen(c.depth);
        screen.answer = c.answer;
        DibImage image(screen.context);
        ASSERT_EQ(image.SetFromPackedDib(dib, ImagePalette::No, c.offer), 1);
        ASSERT_EQ(screen.messages.size(), c.questions);
        if (c.questions > 0) {
            EXPECT_EQ(screen.messages[0],
                      "Attention|Would you like to convert this 24-bit color bitmap into a 8-bit color bitmap?");
            EXPECT_EQ(image.Offer(), c.reduced ? OfferConversion::Yes : OfferConversion::No);
        }
        if (c.reduced || c.depth == ScreenDepth::Direct24) {  // the exact colours are shown
            EXPECT_EQ(screen.Shown(*image.Bitmap(), 0, 0), 0xC03010u);
            EXPECT_EQ(screen.Shown(*image.Bitmap(), 3, 3), 0x20E0F0u);
        }
        Palette* own = image.OwnPalette();
        ASSERT_EQ(own != nullptr, c.reduced);
        if (c.reduced) {
            ASSERT_EQ(own->Count(), 256 + 20);
            // Equal counts: the later cell (0xC31 after 0x2EF) goes in front.
            EXPECT_EQ(ColorAt(*own, 10), Color(0xC0, 0x30, 0x10));
            EXPECT_EQ(ColorAt(*own, 11), Color(0x20, 0xE0, 0xF0));
            EXPECT_EQ(ColorAt(*own, 12), Color(0, 0, 0));
            EXPECT_EQ(ColorAt(*own, 246), SystemColors::At(10));
        }
    }
}

TEST(DibImage, RanksCellsByPopularityAndLeavesOutNearlyBlack) {
    Screen screen(ScreenDepth::Palette8);
    // Nearly black only: every level at most 2.
    const MemoryBlock dark = MakeDib(8, 8, 24, {}, [](int32_t x, int32_t y) { return static_cast<uint32_t>((x * 5) << 16 | (y * 4) << 8 | 0x2F); });
    DibImage image(screen.context);
    ASSERT_EQ(image.SetFromPackedDib(dark, ImagePalette::No, OfferConversion::Yes), 1);
    Palette* own = image.OwnPalette();
    ASSERT_NE(own, nullptr);
    for (int32_t i = 0; i < 10; ++i) {
        EXPECT_EQ(ColorAt(*own, i), SystemColors::At(i));
        EXPECT_EQ(ColorAt(*own, 246 + i), SystemColors::At(10 + i));
    }
    for (int32_t i = 10; i < 246; ++i) {
        EXPECT_EQ(ColorAt(*own, i), Color(0, 0, 0)) << i;
    }

    // Three cells seen 1, 5 and 3 times: ranked 5, 3, 1, each as its cell's colour.
    const MemoryBlock mixed = MakeDib(9, 1, 24, {}, [](int32_t x, int32_t) {
        if (x < 1) return 0x3F4F5Fu;
        if (x < 6) return 0xF00000u;
        return 0x00FF88u;
    });
    ASSERT_EQ(image.SetFromPackedDib(mixed, ImagePalette::No, OfferConversion::Yes), 1);
    own = image.OwnPalette();
    EXPECT_EQ(ColorAt(*own, 10), Color(0xF0, 0, 0));
    EXPECT_EQ(ColorAt(*own, 11), Color(0, 0xF0, 0x80));
    EXPECT_EQ(ColorAt(*own, 12), Color(0x30, 0x40, 0x50));
    EXPECT_EQ(ColorAt(*own, 13), Color(0, 0, 0));
}

TEST(DibImage, KeepsAHeaderlessDibAndGivesItBack) {
    Screen screen(ScreenDepth::Direct24);
    const MemoryBlock packed = MakeDib(3, 2, 8, std::vector<uint32_t>(256, 0x00FF00),
                                       [](int32_t, int32_t) { return 7u; }, 0);
    const MemoryBlock data(packed.Data(14), packed.Size() - 14);
    DibImage image(screen.context);
    ASSERT_EQ(image.SetFromDibWithoutHeader(data), 1);
    ASSERT_NE(image.HeldDib(), nullptr);
    // 0 colours used at 8 bits: the pixels follow 1024 bytes of table.
    EXPECT_EQ(image.HeldDib()->ReadInt(10, 4), 54 + 1024);
    EXPECT_EQ(image.HeldDib()->ReadInt(2, 4), data.Size() + 14);
    EXPECT_EQ(screen.Shown(*image.Bitmap(), 2, 1), 0x00FF00u);
    EXPECT_EQ(image.Width(), 3);
    MemoryBlock back;
    ASSERT_EQ(image.ToPackedDib(back), 1);
    EXPECT_EQ(back, *image.HeldDib());

    // A resource goes through the same header, without being kept.
    DibImage resource(screen.context);
    ASSERT_EQ(resource.CreateFromResource(data, OfferConversion::No), 1);
    EXPECT_EQ(resource.HeldDib(), nullptr);
    EXPECT_EQ(screen.Shown(*resource.Bitmap(), 0, 0), 0x00FF00u);
}

TEST(DibImage, ConvertsTheDeviceBitmapToAPackedDib) {
    Screen screen(ScreenDepth::Direct24);
    const MemoryBlock dib = MakeDib(5, 3, 24, {}, [](int32_t x, int32_t y) { return static_cast<uint32_t>(x * 40 << 16 | y * 80 << 8 | 7); });
    DibImage image(screen.context);
    ASSERT_EQ(image.SetFromPackedDib(dib, ImagePalette::No, OfferConversion::No), 1);
    MemoryBlock packed;
    ASSERT_EQ(image.ToPackedDib(packed), 1);
    // 24 bits without a palette: one table entry, pixels at 56 + 4, size 58 + 4 + pixels.
    const int32_t pixelBytes = 16 * 3;
    EXPECT_EQ(packed.ReadInt(10, 4), 60);
    EXPECT_EQ(packed.ReadInt(2, 4), 62 + pixelBytes);
    EXPECT_EQ(packed.ReadInt(14 + 14, 2), 24);

    DibImage copy(screen.context);
    ASSERT_EQ(copy.SetFromPackedDib(packed, ImagePalette::No, OfferConversion::No), 1);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 5; ++x) {
            EXPECT_EQ(screen.Shown(*copy.Bitmap(), x, y), screen.Shown(*image.Bitmap(), x, y)) << x << "," << y;
        }
    }

    // At 8 bits with a palette given: 256 entries, the pixels mapped to it.
    Palette palette(screen.context);
    palette.FillStandard(StandardSet::Full, AtEnd::Yes);
    ASSERT_EQ(image.ToPackedDib(packed, 8, &palette), 1);
    EXPECT_EQ(packed.ReadInt(10, 4), 56 + 1024);
    EXPECT_EQ(packed.ReadInt(2, 4), 58 + 1024 + 8 * 3);

    // 16 bits is written as 24; unknown depths are refused.
    ASSERT_EQ(image.ToPackedDib(packed, 16), 1);
    EXPECT_EQ(packed.ReadInt(14 + 14, 2), 24);
    EXPECT_EQ(image.ToPackedDib(packed, 7), 0);
    DibImage empty(screen.context);
    EXPECT_EQ(empty.ToPackedDib(packed), 0);
}

TEST(DibImage, CreatesWhiteBlanks) {
    Screen screen(ScreenDepth::Palette8);
    DibImage image(screen.context);
    ASSERT_EQ(image.CreateBlank(4, 3, 0), 1);
    EXPECT_EQ(image.Bitmap()->Format(), gfx::PixelFormat::Indexed8);
    EXPECT_EQ(image.SourceDepth(), 8);
    EXPECT_EQ(screen.Shown(*image.Bitmap(), 3, 2), 0xFFFFFFu);
    ASSERT_EQ(image.CreateBlank(4, 3, 1), 1);
    EXPECT_EQ(image.Bitmap()->Format(), gfx::PixelFormat::Mono);
    EXPECT_EQ(image.Bitmap()->View().Get(0, 0), 1u);
    EXPECT_EQ(image.CreateBlank(0, 3, 0), 0);
    EXPECT_EQ(image.ExchangeOfferConversion(OfferConversion::Yes), OfferConversion::No);
    EXPECT_EQ(image.ExchangeOfferConversion(OfferConversion::No), OfferConversion::Yes);
}

}  // namespace
}  // namespace tamber
