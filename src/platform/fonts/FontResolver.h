#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tamber {

// Where the glyphs of a Windows face name come from.
enum class FontKind : uint8_t {
    Outline = 0,  // a scalable font found through fontconfig
    Bitmap = 1,   // a Windows .fon file of fixed-size bitmap strikes
};

enum class Bold : uint8_t { No = 0, Yes = 1 };
enum class Slant : uint8_t { Upright = 0, Italic = 1 };

// A font file chosen for a face name and style.
struct ResolvedFont {
    FontKind kind = FontKind::Outline;
    std::string path;
    int32_t faceIndex = 0;
    std::string family;           // the family of the file, as the file names it
    // The style the caller asked for but the file lacks; the renderer makes it up.
    bool syntheticBold = false;
    bool syntheticItalic = false;
};

// Maps the face names that stored documents use to fonts of this machine. fontconfig answers
// some fallback for any name it does not know, so names go through our own table first:
// the classic Windows outline faces become the metric-compatible Liberation families, the
// classic bitmap faces open the .fon files of fonts-wine, and an unknown name that fontconfig
// cannot match by family becomes the default face.
class FontResolver {
public:
    FontResolver();
    ~FontResolver();
    FontResolver(const FontResolver&) = delete;
    FontResolver& operator=(const FontResolver&) = delete;

    static constexpr std::string_view kDefaultFamily = "Liberation Sans";

    // Answers 1 and fills font, or 0 when no font at all can be found (no fonts installed).
    int Resolve(std::string_view faceName, Bold bold, Slant slant, ResolvedFont& font);

    // The outline face that stands in for a bitmap face at sizes it has no strike for.
    int ResolveOutlineFallback(std::string_view faceName, Bold bold, Slant slant, ResolvedFont& font);

    // The folder holding the classic bitmap fonts; tests may point it elsewhere.
    void SetBitmapFontFolder(std::string folder) { m_bitmapFolder = std::move(folder); }

private:
    int MatchFamily(std::string_view family, Bold bold, Slant slant, bool exactFamily, ResolvedFont& font);

    std::string m_bitmapFolder = "/usr/share/wine/fonts";
    void* m_config = nullptr;  // FcConfig*, kept opaque so the header stays free of fontconfig
};

}  // namespace tamber
