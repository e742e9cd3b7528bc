#include "platform/fonts/FontResolver.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace tamber {

namespace {

// One row of the alias table: a Windows face name and what stands in for it.
struct FontAlias {
    std::string_view name;
    std::string_view family;      // fontconfig family of the outline face
    std::string_view bitmapFile;  // .fon file in the bitmap folder, or empty
};

constexpr FontAlias kAliases[] = {
    {"Arial", "Liberation Sans", ""},
    {"Helv", "Liberation Sans", ""},
    {"Helvetica", "Liberation Sans", ""},
    {"MS Sans Serif", "Liberation Sans", "sserife.fon"},
    {"System", "Liberation Sans", "vgasys.fon"},
    {"Times New Roman", "Liberation Serif", ""},
    {"Tms Rmn", "Liberation Serif", ""},
    {"Times", "Liberation Serif", ""},
    {"Courier New", "Liberation Mono", ""},
    {"Courier", "Liberation Mono", ""},
};

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

const FontAlias* FindAlias(std::string_view name) {
    for (const FontAlias& alias : kAliases) {
        if (EqualsIgnoringCase(alias.name, name)) {
            return &alias;
        }
    }
    return nullptr;
}

bool FileExists(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

}  // namespace

FontResolver::FontResolver() {
    m_config = FcInitLoadConfigAndFonts();
}

FontResolver::~FontResolver() {
    if (m_config != nullptr) {
        FcConfigDestroy(static_cast<FcConfig*>(m_config));
    }
}

int FontResolver::Resolve(std::string_view faceName, Bold bold, Slant slant, ResolvedFont& font) {
    const std::string_view name = Trim(faceName);
    const FontAlias* alias = FindAlias(name);
    if (alias != nullptr && !alias->bitmapFile.empty()) {
        const std::string path = m_bitmapFolder + "/" + std::string(alias->bitmapFile);
        if (FileExists(path)) {
            font = ResolvedFont{};
            font.kind = FontKind::Bitmap;
            font.path = path;
            font.family = std::string(alias->name);
            // The strikes carry their own weight; bold and italic are made up as needed by the
            // renderer, which knows the weight of each strike.
            font.syntheticBold = bold == Bold::Yes;
            font.syntheticItalic = slant == Slant::Italic;
            return 1;
        }
    }
    if (alias != nullptr) {
        return MatchFamily(alias->family, bold, slant, true, font) == 1
                   ? 1
                   : MatchFamily(kDefaultFamily, bold, slant, false, font);
    }
    if (!name.empty() && MatchFamily(name, bold, slant, true, font) == 1) {
        return 1;
    }
    return MatchFamily(kDefaultFamily, bold, slant, false, font);
}

int FontResolver::ResolveOutlineFallback(std::string_view faceName, Bold bold, Slant slant, ResolvedFont& font) {
    const FontAlias* alias = FindAlias(Trim(faceName));
    const std::string_view family = alias != nullptr ? alias->family : kDefaultFamily;
    if (MatchFamily(family, bold, slant, true, font) == 1) {
        return 1;
    }
    return MatchFamily(kDefaultFamily, bold, slant, false, font);
}

int FontResolver::MatchFamily(std::string_view family, Bold bold, Slant slant, bool exactFamily,
                              ResolvedFont& font) {
    auto* config = static_cast<FcConfig*>(m_config);
    if (config == nullptr) {
        return 0;
    }
    const std::string familyText(family);
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyText.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold == Bold::Yes ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pattern, FC_SLANT, slant == Slant::Italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    FcPatternDestroy(pattern);
    if (match == nullptr) {
        return 0;
    }

    int answer = 0;
    FcChar8* file = nullptr;
    FcChar8* matchedFamily = nullptr;
    if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch &&
        FcPatternGetString(match, FC_FAMILY, 0, &matchedFamily) == FcResultMatch) {
        // fontconfig never says no: it answers its best fallback. Accept the answer only when
        // one of the matched font's family names is the one asked for.
        bool familyMatches = !exactFamily;
        FcChar8* name = nullptr;
        for (int i = 0; !familyMatches && FcPatternGetString(match, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
            familyMatches = EqualsIgnoringCase(reinterpret_cast<const char*>(name), family);
        }
        if (familyMatches) {
            int index = 0;
            int weight = FC_WEIGHT_REGULAR;
            int matchedSlant = FC_SLANT_ROMAN;
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            FcPatternGetInteger(match, FC_WEIGHT, 0, &weight);
            FcPatternGetInteger(match, FC_SLANT, 0, &matchedSlant);
            font = ResolvedFont{};
            font.kind = FontKind::Outline;
            font.path = reinterpret_cast<const char*>(file);
            font.faceIndex = index;
            font.family = reinterpret_cast<const char*>(matchedFamily);
            font.syntheticBold = bold == Bold::Yes && weight < FC_WEIGHT_DEMIBOLD;
            font.syntheticItalic = slant == Slant::Italic && matchedSlant == FC_SLANT_ROMAN;
            answer = 1;
        }
    }
    FcPatternDestroy(match);
    return answer;
}

}  // namespace tamber
