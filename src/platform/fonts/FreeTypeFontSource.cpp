#include "platform/fonts/FreeTypeFontSource.h"

#include <algorithm>
#include <cctype>

#include "platform/fonts/FreeTypeFace.h"

namespace tamber {

namespace {

constexpr int32_t kBoldWeight = 600;
constexpr int32_t kScreenDpi = 96;
constexpr int32_t kPointsPerInch = 72;

std::string Lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

}  // namespace

FreeTypeFontSource::FreeTypeFontSource(Antialias antialias)
    : m_library(std::make_shared<FreeTypeLibrary>()), m_antialias(antialias) {}

FreeTypeFontSource::~FreeTypeFontSource() = default;

int32_t FreeTypeFontSource::HeightFromPoints(int32_t points) {
    const int64_t pixels = (static_cast<int64_t>(points) * kScreenDpi + kPointsPerInch / 2) / kPointsPerInch;
    return -static_cast<int32_t>(pixels);
}

std::shared_ptr<gfx::GlyphFace> FreeTypeFontSource::OpenFace(const gfx::FontRequest& request) {
    const bool bold = request.weight >= kBoldWeight;
    const Key key{Lowered(request.faceName), request.height, bold, request.italic, request.underline,
                  request.strikeOut};
    if (auto found = m_faces.find(key); found != m_faces.end()) {
        return found->second;
    }
    const Bold boldStyle = bold ? Bold::Yes : Bold::No;
    const Slant slant = request.italic == gfx::Italic::Yes ? Slant::Italic : Slant::Upright;
    std::shared_ptr<FreeTypeFace> face;
    ResolvedFont font;
    if (m_resolver.Resolve(request.faceName, boldStyle, slant, font) == 1) {
        face = FreeTypeFace::Open(m_library, font, request, kDefaultHeight, m_antialias);
    }
    if (face == nullptr && m_resolver.ResolveOutlineFallback(request.faceName, boldStyle, slant, font) == 1) {
        // A bitmap face without a strike of this size, or a file that would not open.
        face = FreeTypeFace::Open(m_library, font, request, kDefaultHeight, m_antialias);
    }
    if (face == nullptr) {
        return nullptr;
    }
    m_faces.emplace(key, face);
    return face;
}

}  // namespace tamber
