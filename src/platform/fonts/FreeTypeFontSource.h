#pragma once

#include <map>
#include <memory>
#include <string>
#include <tuple>

#include "platform/fonts/FontResolver.h"
#include "platform/gfx/GlyphSource.h"

namespace tamber {

class FreeTypeLibrary;

enum class Antialias : uint8_t { Off = 0, On = 1 };

// Faces from the fonts of this machine, through FreeType and fontconfig. Glyphs are aliased
// (one bit per pixel, the look of the classic screen fonts) unless antialiasing is asked for.
// Opened faces are cached: asking twice for the same font answers the same face.
class FreeTypeFontSource : public gfx::GlyphSource {
public:
    explicit FreeTypeFontSource(Antialias antialias = Antialias::Off);
    ~FreeTypeFontSource() override;

    std::shared_ptr<gfx::GlyphFace> OpenFace(const gfx::FontRequest& request) override;

    // The font height of a point size on a 96-dpi screen (negative: an em height).
    static int32_t HeightFromPoints(int32_t points);
    // The em height used when a request gives height 0.
    static constexpr int32_t kDefaultHeight = -16;

    FontResolver& Resolver() { return m_resolver; }

private:
    using Key = std::tuple<std::string, int32_t, bool, gfx::Italic, gfx::Underline, gfx::StrikeOut>;

    std::shared_ptr<FreeTypeLibrary> m_library;
    FontResolver m_resolver;
    Antialias m_antialias;
    std::map<Key, std::shared_ptr<gfx::GlyphFace>> m_faces;
};

}  // namespace tamber
