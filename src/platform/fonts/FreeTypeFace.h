#pragma once

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "platform/fonts/FontResolver.h"
#include "platform/fonts/FreeTypeLibrary.h"
#include "platform/gfx/GlyphSource.h"

namespace tamber {

enum class Antialias : uint8_t;

// One font file opened at one size and style, with its rendered glyphs cached.
class FreeTypeFace : public gfx::GlyphFace {
public:
    ~FreeTypeFace() override;

    // Opens the resolved font for the request. A bitmap font opens the strike whose size the
    // request names (0 = its first strike) and answers nullptr when it has none, so that the
    // caller can fall back to an outline face.
    static std::shared_ptr<FreeTypeFace> Open(std::shared_ptr<FreeTypeLibrary> library, const ResolvedFont& font,
                                              const gfx::FontRequest& request, int32_t defaultHeight,
                                              Antialias antialias);

    const gfx::FontMetrics& Metrics() const override { return m_metrics; }
    int32_t Advance(uint8_t ch) override;
    int Render(uint8_t ch, gfx::GlyphBitmap& glyph) override;

    const ResolvedFont& Font() const { return m_font; }
    // The em height the face was opened at, in pixels.
    int32_t PixelsPerEm() const { return m_pixelsPerEm; }

private:
    struct CachedGlyph {
        std::vector<uint8_t> bits;
        gfx::GlyphBitmap bitmap;
        bool hasPicture = false;
        CachedGlyph() {}  // user-provided so std::optional can use it inside this class (clang)
    };

    FreeTypeFace() = default;
    bool OpenOutline(const gfx::FontRequest& request, int32_t defaultHeight);
    bool OpenBitmap(const gfx::FontRequest& request);
    const CachedGlyph& Glyph(uint8_t ch);
    void Build(uint8_t ch, CachedGlyph& glyph);

    std::shared_ptr<FreeTypeLibrary> m_library;
    void* m_face = nullptr;  // FT_Face
    ResolvedFont m_font;
    gfx::FontMetrics m_metrics;
    int32_t m_pixelsPerEm = 0;
    bool m_antialias = false;
    bool m_emboldenBitmap = false;
    bool m_slantBitmap = false;
    std::array<std::optional<CachedGlyph>, 256> m_glyphs;
};

}  // namespace tamber
