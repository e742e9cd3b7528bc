#include "platform/fonts/FreeTypeFace.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_WINFONTS_H
#include FT_ADVANCES_H

#include <algorithm>

#include "platform/fonts/FreeTypeFontSource.h"

namespace tamber {

namespace {

// Unicode of the Windows-1252 codes 0x80..0x9F; the rest of the set equals Latin-1.
constexpr uint16_t kCp1252High[32] = {
    0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0,
    0, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178,
};

// The largest em height we open a face at; keeps a silly request from rendering huge glyphs.
constexpr int32_t kMaxPixelsPerEm = 1000;
// Weights from here on count as bold.
constexpr int32_t kBoldWeight = 600;
// Horizontal shear of made-up italics: one pixel per this many rows.
constexpr int32_t kSlantRows = 4;
// The shear of made-up italics of outline faces, 16.16 fixed point (about 12 degrees).
constexpr FT_Fixed kOutlineSlant = 0x3800;

uint32_t UnicodeOf(uint8_t ch) {
    return (ch >= 0x80 && ch < 0xA0) ? kCp1252High[ch - 0x80] : ch;
}

int32_t Scale(int64_t units, int32_t ppem, int32_t unitsPerEm) {
    return static_cast<int32_t>((units * ppem + unitsPerEm / 2) / unitsPerEm);
}

int32_t FloorDiv(int32_t value, int32_t divisor) {
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}

// The average width of lowercase text in font units: the letters and the space weighted by
// their frequency in English, in thousandths. Newer fonts average all their glyphs in the OS/2
// table instead, which makes text look wider than the faces these metrics stand in for.
int32_t AverageLowercaseWidth(FT_Face face) {
    static constexpr int16_t kWeights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                                             56, 17, 4,  49, 56, 71,  31, 10, 18, 3,  18, 2, 166};
    int64_t total = 0;
    for (int i = 0; i < 27; ++i) {
        const FT_ULong ch = i < 26 ? static_cast<FT_ULong>('a' + i) : ' ';
        FT_Fixed advance = 0;
        const FT_UInt index = FT_Get_Char_Index(face, ch);
        if (index == 0 || FT_Get_Advance(face, index, FT_LOAD_NO_SCALE, &advance) != 0) {
            return 0;
        }
        total += static_cast<int64_t>(advance) * kWeights[i];
    }
    return static_cast<int32_t>(total / 1000);
}

FT_Face AsFace(void* face) {
    return static_cast<FT_Face>(face);
}

}  // namespace

FreeTypeFace::~FreeTypeFace() {
    if (m_face != nullptr) {
        FT_Done_Face(AsFace(m_face));
    }
}

std::shared_ptr<FreeTypeFace> FreeTypeFace::Open(std::shared_ptr<FreeTypeLibrary> library, const ResolvedFont& font,
                                                 const gfx::FontRequest& request, int32_t defaultHeight,
                                                 Antialias antialias) {
    if (library == nullptr || library->Handle() == nullptr) {
        return nullptr;
    }
    std::shared_ptr<FreeTypeFace> face(new FreeTypeFace());
    face->m_library = std::move(library);
    face->m_font = font;
    face->m_antialias = antialias == Antialias::On && font.kind == FontKind::Outline;
    const bool opened = font.kind == FontKind::Bitmap ? face->OpenBitmap(request)
                                                      : face->OpenOutline(request, defaultHeight);
    if (!opened) {
        return nullptr;
    }
    gfx::FontMetrics& metrics = face->m_metrics;
    metrics.weight = request.weight <= 0 ? 400 : std::clamp(request.weight, 1, 1000);
    metrics.italic = request.italic;
    metrics.underline = request.underline;
    metrics.strikeOut = request.strikeOut;
    if (face->m_emboldenBitmap) {
        // A made-up bold glyph is one pixel wider, as the classic screen fonts did it.
        metrics.averageCharWidth += 1;
        metrics.maxCharWidth += 1;
    }
    return face;
}

bool FreeTypeFace::OpenBitmap(const gfx::FontRequest& request) {
    auto* library = static_cast<FT_Library>(m_library->Handle());
    FT_Long count = 1;
    for (FT_Long index = 0; index < count; ++index) {
        FT_Face face = nullptr;
        if (FT_New_Face(library, m_font.path.c_str(), index, &face) != 0) {
            return false;
        }
        count = face->num_faces;
        FT_WinFNT_HeaderRec header{};
        bool fits = FT_Get_WinFNT_Header(face, &header) == 0 && face->num_fixed_sizes > 0;
        if (fits && request.height > 0) {
            fits = header.pixel_height == request.height;
        } else if (fits && request.height < 0) {
            fits = header.pixel_height - header.internal_leading == -request.height;
        }
        if (!fits) {
            FT_Done_Face(face);
            continue;
        }
        // The strikes of a .fon file carry their characters under Windows codes in their first
        // charmap; without selecting it every character maps to glyph 0.
        if (face->num_charmaps > 0) {
            FT_Set_Charmap(face, face->charmaps[0]);
        }
        FT_Select_Size(face, 0);
        m_face = face;
        m_font.faceIndex = static_cast<int32_t>(index);
        m_metrics.height = header.pixel_height;
        m_metrics.ascent = header.ascent;
        m_metrics.descent = header.pixel_height - header.ascent;
        m_metrics.internalLeading = header.internal_leading;
        m_metrics.externalLeading = header.external_leading;
        m_metrics.averageCharWidth = header.avg_width;
        m_metrics.maxCharWidth = header.max_width;
        m_pixelsPerEm = header.pixel_height - header.internal_leading;
        m_emboldenBitmap = m_font.syntheticBold && header.weight < kBoldWeight;
        m_slantBitmap = m_font.syntheticItalic && header.italic == 0;
        m_font.syntheticBold = m_emboldenBitmap;
        m_font.syntheticItalic = m_slantBitmap;
        return true;
    }
    return false;
}

bool FreeTypeFace::OpenOutline(const gfx::FontRequest& request, int32_t defaultHeight) {
    auto* library = static_cast<FT_Library>(m_library->Handle());
    FT_Face face = nullptr;
    if (FT_New_Face(library, m_font.path.c_str(), m_font.faceIndex, &face) != 0) {
        return false;
    }
    if (!FT_IS_SCALABLE(face) || face->units_per_EM == 0) {
        FT_Done_Face(face);
        return false;
    }
    m_face = face;
    const int32_t unitsPerEm = face->units_per_EM;
    // Windows measures faces by the OS/2 table's winAscent and winDescent; fonts without one
    // fall back to the horizontal header.
    int32_t winAscent = face->ascender;
    int32_t winDescent = -face->descender;
    if (const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 != nullptr && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        winAscent = os2->usWinAscent;
        winDescent = os2->usWinDescent;
    }
    const int32_t cellUnits = std::max(1, winAscent + winDescent);
    const int32_t height = request.height == 0 ? defaultHeight : request.height;
    int64_t ppem = height < 0 ? -static_cast<int64_t>(height)
                              : (static_cast<int64_t>(height) * unitsPerEm + cellUnits / 2) / cellUnits;
    m_pixelsPerEm = static_cast<int32_t>(std::clamp<int64_t>(ppem, 1, kMaxPixelsPerEm));
    FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(m_pixelsPerEm));

    // The cell and the ascent are rounded; the descent is what remains of the cell.
    m_metrics.ascent = Scale(winAscent, m_pixelsPerEm, unitsPerEm);
    m_metrics.height = std::max(m_metrics.ascent, Scale(cellUnits, m_pixelsPerEm, unitsPerEm));
    m_metrics.descent = m_metrics.height - m_metrics.ascent;
    m_metrics.internalLeading = std::max(0, m_metrics.height - m_pixelsPerEm);
    const int32_t lineGap = face->height - (face->ascender - face->descender);
    const int32_t extra = lineGap - (cellUnits - (face->ascender - face->descender));
    m_metrics.externalLeading = std::max(0, Scale(extra, m_pixelsPerEm, unitsPerEm));
    m_metrics.maxCharWidth = Scale(face->bbox.xMax - face->bbox.xMin, m_pixelsPerEm, unitsPerEm);

    m_emboldenBitmap = m_font.syntheticBold;
    if (m_font.syntheticItalic) {
        FT_Matrix shear{0x10000, kOutlineSlant, 0, 0x10000};
        FT_Set_Transform(face, &shear, nullptr);
    }
    m_metrics.averageCharWidth = Scale(AverageLowercaseWidth(face), m_pixelsPerEm, unitsPerEm);
    if (m_metrics.averageCharWidth <= 0) {
        m_metrics.averageCharWidth = Glyph('x').bitmap.advance;
    }
    return true;
}

int32_t FreeTypeFace::Advance(uint8_t ch) {
    return Glyph(ch).bitmap.advance;
}

int FreeTypeFace::Render(uint8_t ch, gfx::GlyphBitmap& glyph) {
    const CachedGlyph& cached = Glyph(ch);
    glyph = cached.bitmap;
    return cached.hasPicture ? 1 : 0;
}

const FreeTypeFace::CachedGlyph& FreeTypeFace::Glyph(uint8_t ch) {
    std::optional<CachedGlyph>& slot = m_glyphs[ch];
    if (!slot.has_value()) {
        slot.emplace();
        Build(ch, *slot);
    }
    return *slot;
}

void FreeTypeFace::Build(uint8_t ch, CachedGlyph& glyph) {
    FT_Face face = AsFace(m_face);
    const FT_UInt index = FT_Get_Char_Index(face, m_font.kind == FontKind::Bitmap ? ch : UnicodeOf(ch));
    glyph.bitmap = gfx::GlyphBitmap{};
    if (index == 0) {
        return;
    }
    const FT_Int32 flags = FT_LOAD_RENDER | (m_antialias ? FT_LOAD_TARGET_NORMAL : FT_LOAD_TARGET_MONO);
    if (FT_Load_Glyph(face, index, flags) != 0) {
        return;
    }
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& source = slot->bitmap;
    int32_t width = static_cast<int32_t>(source.width);
    const int32_t height = static_cast<int32_t>(source.rows);
    int32_t advance = static_cast<int32_t>((slot->advance.x + 32) >> 6);
    int32_t left = slot->bitmap_left;
    const int32_t top = slot->bitmap_top;

    // Work on one coverage byte per pixel, then pack to the depth the caller gets.
    std::vector<uint8_t> coverage(static_cast<size_t>(width) * height);
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* row = source.buffer + static_cast<ptrdiff_t>(y) * source.pitch;
        for (int32_t x = 0; x < width; ++x) {
            uint8_t value = 0;
            if (source.pixel_mode == FT_PIXEL_MODE_MONO) {
                value = (row[x >> 3] & (0x80 >> (x & 7))) != 0 ? 255 : 0;
            } else if (source.pixel_mode == FT_PIXEL_MODE_GRAY) {
                value = static_cast<uint8_t>(source.num_grays == 256 ? row[x] : row[x] * 255 / std::max(1, source.num_grays - 1));
            }
            coverage[static_cast<size_t>(y) * width + x] = value;
        }
    }

    if (m_slantBitmap && width > 0 && height > 0) {
        // Lean rows above the baseline to the right; the bottom of the descent stays put.
        auto shift = [&](int32_t row) { return std::max(0, FloorDiv(top - 1 - row + m_metrics.descent, kSlantRows)); };
        const int32_t extra = shift(0);
        std::vector<uint8_t> slanted(static_cast<size_t>(width + extra) * height);
        for (int32_t y = 0; y < height; ++y) {
            const int32_t dx = std::min(extra, shift(y));
            std::copy_n(&coverage[static_cast<size_t>(y) * width], width, &slanted[static_cast<size_t>(y) * (width + extra) + dx]);
        }
        coverage.swap(slanted);
        width += extra;
    }
    if (m_emboldenBitmap) {
        // Each pixel also inks its right neighbour, and the character grows one pixel wider.
        if (width > 0 && height > 0) {
            std::vector<uint8_t> bold(static_cast<size_t>(width + 1) * height);
            for (int32_t y = 0; y < height; ++y) {
                for (int32_t x = 0; x <= width; ++x) {
                    const uint8_t here = x < width ? coverage[static_cast<size_t>(y) * width + x] : 0;
                    const uint8_t before = x > 0 ? coverage[static_cast<size_t>(y) * width + x - 1] : 0;
                    bold[static_cast<size_t>(y) * (width + 1) + x] = std::max(here, before);
                }
            }
            coverage.swap(bold);
            width += 1;
        }
        advance += 1;
    }

    glyph.bitmap.advance = advance;
    // FreeType answers a blank 1x1 bitmap for a space: only ink makes a picture.
    glyph.hasPicture = std::any_of(coverage.begin(), coverage.end(), [](uint8_t v) { return v != 0; });
    if (!glyph.hasPicture) {
        return;
    }
    if (m_antialias) {
        glyph.bits = std::move(coverage);
        glyph.bitmap.pitch = width;
        glyph.bitmap.depth = gfx::GlyphDepth::Gray8;
    } else {
        const int32_t pitch = (width + 7) / 8;
        glyph.bits.assign(static_cast<size_t>(pitch) * height, 0);
        for (int32_t y = 0; y < height; ++y) {
            for (int32_t x = 0; x < width; ++x) {
                if (coverage[static_cast<size_t>(y) * width + x] >= 128) {
                    glyph.bits[static_cast<size_t>(y) * pitch + (x >> 3)] |= static_cast<uint8_t>(0x80 >> (x & 7));
                }
            }
        }
        glyph.bitmap.pitch = pitch;
        glyph.bitmap.depth = gfx::GlyphDepth::Mono1;
    }
    glyph.bitmap.bits = glyph.bits.data();
    glyph.bitmap.width = width;
    glyph.bitmap.height = height;
    glyph.bitmap.left = left;
    glyph.bitmap.top = top;
}

}  // namespace tamber
