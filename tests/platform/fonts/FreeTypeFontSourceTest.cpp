#include "platform/fonts/FreeTypeFontSource.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/fonts/FreeTypeFace.h"

namespace tamber {
namespace {

using gfx::FontRequest;
using gfx::GlyphBitmap;

std::string FileName(const std::string& path) {
    return std::filesystem::path(path).filename().string();
}

FontRequest Request(const char* face, int32_t height, int32_t weight = 400, gfx::Italic italic = gfx::Italic::No) {
    FontRequest request;
    request.faceName = face;
    request.height = height;
    request.weight = weight;
    request.italic = italic;
    return request;
}

FreeTypeFace& Open(FreeTypeFontSource& source, const FontRequest& request) {
    std::shared_ptr<gfx::GlyphFace> face = source.OpenFace(request);
    EXPECT_NE(face, nullptr);
    return *static_cast<FreeTypeFace*>(face.get());
}

int CountInk(const GlyphBitmap& glyph) {
    int ink = 0;
    for (int32_t y = 0; y < glyph.height; ++y) {
        for (int32_t x = 0; x < glyph.width; ++x) {
            const uint8_t* row = glyph.bits + y * glyph.pitch;
            ink += glyph.depth == gfx::GlyphDepth::Mono1 ? (row[x >> 3] >> (7 - (x & 7))) & 1 : row[x] != 0;
        }
    }
    return ink;
}

TEST(FontResolver, MapsWindowsFaceNamesToTheIntendedFiles) {
    struct Case {
        const char* face;
        Bold bold;
        Slant slant;
        const char* file;
        FontKind kind;
    };
    const Case cases[] = {
        {"Arial", Bold::No, Slant::Upright, "LiberationSans-Regular.ttf", FontKind::Outline},
        {"arial", Bold::Yes, Slant::Upright, "LiberationSans-Bold.ttf", FontKind::Outline},
        {"Helv", Bold::No, Slant::Italic, "LiberationSans-Italic.ttf", FontKind::Outline},
        {"Times New Roman", Bold::Yes, Slant::Italic, "LiberationSerif-BoldItalic.ttf", FontKind::Outline},
        {"Courier New", Bold::No, Slant::Upright, "LiberationMono-Regular.ttf", FontKind::Outline},
        {"System", Bold::No, Slant::Upright, "vgasys.fon", FontKind::Bitmap},
        {"MS Sans Serif", Bold::No, Slant::Upright, "sserife.fon", FontKind::Bitmap},
        {" ms sans serif ", Bold::No, Slant::Upright, "sserife.fon", FontKind::Bitmap},
        // Names fontconfig does not know would come back as some other family: the default.
        {"Wingdings", Bold::No, Slant::Upright, "LiberationSans-Regular.ttf", FontKind::Outline},
        {"No Such Face 123", Bold::Yes, Slant::Upright, "LiberationSans-Bold.ttf", FontKind::Outline},
        {"", Bold::No, Slant::Upright, "LiberationSans-Regular.ttf", FontKind::Outline},
        // A family the machine really has is taken as it is.
        {"DejaVu Serif", Bold::No, Slant::Upright, "DejaVuSerif.ttf", FontKind::Outline},
    };
    FontResolver resolver;
    for (const Case& c : cases) {
        ResolvedFont font;
        ASSERT_EQ(resolver.Resolve(c.face, c.bold, c.slant, font), 1) << c.face;
        EXPECT_EQ(FileName(font.path), c.file) << c.face;
        EXPECT_EQ(font.kind, c.kind) << c.face;
        if (c.kind == FontKind::Outline) {
            EXPECT_FALSE(font.syntheticBold) << c.face;
            EXPECT_FALSE(font.syntheticItalic) << c.face;
        }
    }
}

TEST(FontResolver, FallsBackToOutlinesWhenTheBitmapFontsAreMissing) {
    FontResolver resolver;
    resolver.SetBitmapFontFolder("/nonexistent");
    ResolvedFont font;
    ASSERT_EQ(resolver.Resolve("MS Sans Serif", Bold::No, Slant::Upright, font), 1);
    EXPECT_EQ(font.kind, FontKind::Outline);
    EXPECT_EQ(FileName(font.path), "LiberationSans-Regular.ttf");
}

TEST(FreeTypeFontSource, ConvertsPointSizesAt96Dpi) {
    EXPECT_EQ(FreeTypeFontSource::HeightFromPoints(12), -16);
    EXPECT_EQ(FreeTypeFontSource::HeightFromPoints(8), -11);
    EXPECT_EQ(FreeTypeFontSource::HeightFromPoints(10), -13);
    EXPECT_EQ(FreeTypeFontSource::HeightFromPoints(0), 0);
}

TEST(FreeTypeFontSource, MeasuresOutlineFacesByEmOrCellHeight) {
    FreeTypeFontSource source;
    // Liberation Sans: 2048 units per em, winAscent 1854, winDescent 434.
    FreeTypeFace& em = Open(source, Request("Arial", -16));
    EXPECT_EQ(em.PixelsPerEm(), 16);
    EXPECT_EQ(em.Metrics().ascent, 14);
    EXPECT_EQ(em.Metrics().height, 18);
    EXPECT_EQ(em.Metrics().descent, 4);
    EXPECT_EQ(em.Metrics().internalLeading, 2);
    EXPECT_EQ(em.Metrics().averageCharWidth, 7);
    EXPECT_GT(em.Metrics().maxCharWidth, em.Metrics().averageCharWidth);

    for (int32_t cell : {13, 20, 37}) {
        FreeTypeFace& face = Open(source, Request("Arial", cell));
        EXPECT_EQ(face.Metrics().height, cell);
        EXPECT_EQ(face.Metrics().ascent + face.Metrics().descent, cell);
        EXPECT_LT(face.PixelsPerEm(), cell);
    }
    // Height 0 is the default size.
    EXPECT_EQ(Open(source, Request("Arial", 0)).PixelsPerEm(), -FreeTypeFontSource::kDefaultHeight);
    // Absurd sizes are capped rather than rendered.
    EXPECT_LE(Open(source, Request("Arial", -100000)).PixelsPerEm(), 1000);
}

TEST(FreeTypeFontSource, OpensTheStrikesOfBitmapFonts) {
    FreeTypeFontSource source;
    struct Case {
        const char* face;
        int32_t height;
        int32_t faceIndex;
        int32_t cell;
        int32_t ascent;
        int32_t internalLeading;
    };
    const Case cases[] = {
        {"MS Sans Serif", -11, 0, 13, 11, 2},  // 8 points
        {"MS Sans Serif", 0, 0, 13, 11, 2},
        {"MS Sans Serif", -13, 1, 16, 13, 3},  // 10 points
        {"MS Sans Serif", 16, 1, 16, 13, 3},
        {"MS Sans Serif", 20, 2, 20, 16, 4},
        {"System", 0, 0, 16, 13, 3},
        {"System", 16, 0, 16, 13, 3},
    };
    for (const Case& c : cases) {
        FreeTypeFace& face = Open(source, Request(c.face, c.height));
        EXPECT_EQ(face.Font().kind, FontKind::Bitmap) << c.face << " " << c.height;
        EXPECT_EQ(face.Font().faceIndex, c.faceIndex) << c.face << " " << c.height;
        EXPECT_EQ(face.Metrics().height, c.cell) << c.face << " " << c.height;
        EXPECT_EQ(face.Metrics().ascent, c.ascent) << c.face << " " << c.height;
        EXPECT_EQ(face.Metrics().internalLeading, c.internalLeading) << c.face << " " << c.height;
    }
    // No strike of this size: the outline stand-in at the asked size.
    FreeTypeFace& scaled = Open(source, Request("MS Sans Serif", -24));
    EXPECT_EQ(scaled.Font().kind, FontKind::Outline);
    EXPECT_EQ(FileName(scaled.Font().path), "LiberationSans-Regular.ttf");
    EXPECT_EQ(scaled.PixelsPerEm(), 24);
}

TEST(FreeTypeFontSource, RendersAliasedGlyphsAndSpaces) {
    FreeTypeFontSource source;
    FreeTypeFace& face = Open(source, Request("Arial", -16));
    GlyphBitmap h;
    ASSERT_EQ(face.Render('H', h), 1);
    EXPECT_EQ(h.depth, gfx::GlyphDepth::Mono1);
    EXPECT_EQ(h.pitch, (h.width + 7) / 8);
    EXPECT_GE(h.top, 10);  // the capital stands on the baseline and reaches most of the ascent
    EXPECT_LE(h.top, face.Metrics().ascent);
    EXPECT_EQ(h.height, h.top);
    EXPECT_EQ(face.Advance('H'), h.advance);
    // The stems of an aliased H are solid: every row has ink.
    EXPECT_GE(CountInk(h), 2 * h.height);

    GlyphBitmap space;
    EXPECT_EQ(face.Render(' ', space), 0);
    EXPECT_GT(space.advance, 0);
    // Glyphs are cached: the same bits come back.
    GlyphBitmap again;
    face.Render('H', again);
    EXPECT_EQ(again.bits, h.bits);
    // Windows-1252 0x80 is the euro sign, which Liberation Sans draws.
    GlyphBitmap euro;
    EXPECT_EQ(face.Render(0x80, euro), 1);
    // Control codes have nothing to show.
    EXPECT_EQ(face.Advance(0x01), 0);

    // The bitmap fonts draw their own characters, not glyph 0 for everything.
    FreeTypeFace& system = Open(source, Request("System", 0));
    GlyphBitmap a, b;
    ASSERT_EQ(system.Render('A', a), 1);
    ASSERT_EQ(system.Render('B', b), 1);
    const std::vector<uint8_t> bitsA(a.bits, a.bits + a.pitch * a.height);
    const std::vector<uint8_t> bitsB(b.bits, b.bits + b.pitch * b.height);
    EXPECT_NE(bitsA, bitsB);
    EXPECT_EQ(a.top, system.Metrics().ascent);
}

TEST(FreeTypeFontSource, AntialiasesWhenAsked) {
    FreeTypeFontSource source(Antialias::On);
    FreeTypeFace& face = Open(source, Request("Times New Roman", -20));
    GlyphBitmap o;
    ASSERT_EQ(face.Render('o', o), 1);
    EXPECT_EQ(o.depth, gfx::GlyphDepth::Gray8);
    int partial = 0;
    for (int32_t i = 0; i < o.pitch * o.height; ++i) {
        partial += o.bits[i] > 0 && o.bits[i] < 255;
    }
    EXPECT_GT(partial, 0);
    // Bitmap strikes stay aliased.
    GlyphBitmap s;
    ASSERT_EQ(Open(source, Request("MS Sans Serif", -11)).Render('s', s), 1);
    EXPECT_EQ(s.depth, gfx::GlyphDepth::Mono1);
}

TEST(FreeTypeFontSource, MakesUpBoldAndItalicWhereTheFileLacksThem) {
    FreeTypeFontSource source;
    FreeTypeFace& regular = Open(source, Request("MS Sans Serif", -11));
    FreeTypeFace& bold = Open(source, Request("MS Sans Serif", -11, 700));
    FreeTypeFace& italic = Open(source, Request("MS Sans Serif", -11, 400, gfx::Italic::Yes));
    EXPECT_TRUE(bold.Font().syntheticBold);
    EXPECT_EQ(bold.Advance('l'), regular.Advance('l') + 1);
    EXPECT_EQ(bold.Metrics().averageCharWidth, regular.Metrics().averageCharWidth + 1);
    EXPECT_EQ(bold.Metrics().weight, 700);
    GlyphBitmap thin, thick, leaning;
    regular.Render('l', thin);
    bold.Render('l', thick);
    italic.Render('l', leaning);
    EXPECT_EQ(thick.width, thin.width + 1);
    EXPECT_EQ(CountInk(thick), 2 * CountInk(thin));  // a one-pixel stem becomes two
    EXPECT_GT(leaning.width, thin.width);
    EXPECT_EQ(CountInk(leaning), CountInk(thin));
    EXPECT_EQ(italic.Metrics().italic, gfx::Italic::Yes);

    // System is bold already: asking for bold changes nothing.
    FreeTypeFace& system = Open(source, Request("System", 0, 700));
    EXPECT_FALSE(system.Font().syntheticBold);
    EXPECT_EQ(system.Advance('l'), Open(source, Request("System", 0)).Advance('l'));
}

TEST(FreeTypeFontSource, CachesFacesPerRequest) {
    FreeTypeFontSource source;
    auto first = source.OpenFace(Request("Arial", -13));
    EXPECT_EQ(source.OpenFace(Request("ARIAL", -13)), first);
    EXPECT_NE(source.OpenFace(Request("Arial", -14)), first);
    FontRequest underlined = Request("Arial", -13);
    underlined.underline = gfx::Underline::Yes;
    auto other = source.OpenFace(underlined);
    EXPECT_NE(other, first);
    EXPECT_EQ(other->Metrics().underline, gfx::Underline::Yes);
    // A face outlives its source.
    auto kept = source.OpenFace(Request("Courier New", -12));
    { FreeTypeFontSource temporary; kept = temporary.OpenFace(Request("Courier New", -12)); }
    EXPECT_GT(kept->Advance('m'), 0);
    // Courier New stand-in is monospaced.
    EXPECT_EQ(kept->Advance('i'), kept->Advance('m'));
}

}  // namespace
}  // namespace tamber
