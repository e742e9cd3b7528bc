#include "ui/ColorMap.h"

namespace tamber::ui {

namespace {

constexpr std::array<uint32_t, 10> kLowStatic { 0x000000, 0x800000, 0x008000, 0x808000, 0x000080,
    0x800080, 0x008080, 0xC0C0C0, 0xC0DCC0, 0xA6CAF0 };
constexpr std::array<uint32_t, 10> kHighStatic { 0xFFFBF0, 0xA0A0A4, 0x808080, 0xFF0000, 0x00FF00,
    0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF };

std::array<uint32_t, 256> MakeDefaultPalette()
{
    std::array<uint32_t, 256> p {};
    for (size_t i = 0; i < kLowStatic.size(); ++i) {
        p[i] = kLowStatic[i];
        p[246 + i] = kHighStatic[i];
    }
    return p;
}

} // namespace

const std::array<uint32_t, 256>& ColorMap::DefaultPalette()
{
    static const std::array<uint32_t, 256> palette = MakeDefaultPalette();
    return palette;
}

ColorMap::ColorMap(gfx::PixelFormat format)
    : m_format(format)
    , m_palette(DefaultPalette())
{
}

ColorMap::ColorMap(gfx::PixelFormat format, const gfx::SystemPalette* hardware)
    : m_format(format)
    , m_palette(DefaultPalette())
    , m_hardware(hardware)
{
}

const std::array<uint32_t, 256>& ColorMap::Palette() const
{
    return m_hardware ? m_hardware->Pixels() : m_palette;
}

void ColorMap::SetPalette(const std::array<uint32_t, 256>& palette)
{
    m_palette = palette;
    m_nearest.clear();
}

uint32_t ColorMap::Map(gfx::ColorRef color) const
{
    if (m_format == gfx::PixelFormat::Rgb32) {
        if ((color >> 24) == 1)
            return Palette()[color & 0xFF];
        return gfx::ColorRefToPixel(color & 0xFFFFFF);
    }
    if ((color >> 24) == 1)
        return color & 0xFF;
    uint32_t rgb = gfx::ColorRefToPixel(color & 0xFFFFFF);
    if (m_format == gfx::PixelFormat::Mono)
        return rgb == 0 ? 0 : 1;
    if (m_hardware) {
        if (m_hardware->Generation() != m_generation) {
            m_nearest.clear();
            m_generation = m_hardware->Generation();
        }
    }
    auto found = m_nearest.find(rgb);
    if (found != m_nearest.end())
        return found->second;
    // Nearest by squared distance; the static colours win ties because they are searched first.
    static constexpr std::array<int, 20> kStaticFirst { 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 246, 247, 248, 249, 250, 251,
        252, 253, 254, 255 };
    int r = static_cast<int>(rgb >> 16 & 0xFF), g = static_cast<int>(rgb >> 8 & 0xFF), b = static_cast<int>(rgb & 0xFF);
    auto distance = [&](int i) {
        uint32_t c = Palette()[static_cast<size_t>(i)];
        int dr = r - static_cast<int>(c >> 16 & 0xFF), dg = g - static_cast<int>(c >> 8 & 0xFF), db = b - static_cast<int>(c & 0xFF);
        return dr * dr + dg * dg + db * db;
    };
    int best = 0;
    int bestDistance = distance(0);
    for (int i : kStaticFirst) {
        int d = distance(i);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    for (int i = 10; i < 246 && bestDistance > 0; ++i) {
        int d = distance(i);
        if (d < bestDistance) {
            best = i;
            bestDistance = d;
        }
    }
    m_nearest.emplace(rgb, static_cast<uint8_t>(best));
    return static_cast<uint32_t>(best);
}

uint32_t ColorMap::PixelColor(uint32_t pixel) const
{
    if (m_format == gfx::PixelFormat::Rgb32)
        return pixel & 0xFFFFFF;
    if (m_format == gfx::PixelFormat::Mono)
        return pixel ? 0xFFFFFF : 0;
    return Palette()[pixel & 0xFF];
}

} // namespace tamber::ui
