#include "platform/gfx/Dc.h"

#include <algorithm>
#include <utility>

#include "platform/gfx/Palette.h"
#include "platform/gfx/SystemPalette.h"

namespace tamber::gfx {

namespace {

// Drawing on an 8-bit surface without a screen's palette still needs one.
const SystemPalette& FallbackSystemPalette()
{
    static const SystemPalette palette;
    return palette;
}

constexpr size_t kNearestCacheSize = 4096;

} // namespace

Brush Brush::FromPattern(const Image& pattern)
{
    Brush b;
    b.style = BrushStyle::Pattern;
    b.pattern = std::make_shared<const Image>(pattern);
    return b;
}

Dc::Dc(PixelFormat format, SystemPalette* systemPalette) : m_deviceFormat(format), m_system(systemPalette) { }

Dc::Dc(Surface surface, SystemPalette* systemPalette) : Dc(surface.format, systemPalette)
{
    m_surface = surface;
}

std::unique_ptr<Dc> Dc::CreateCompatible(const Dc& dc)
{
    std::unique_ptr<Dc> memory(new Dc(dc.m_deviceFormat, dc.m_system));
    memory->m_isMemory = true;
    memory->m_stockBitmap.Create(1, 1, PixelFormat::Mono);
    memory->m_state.bitmap = &memory->m_stockBitmap;
    return memory;
}

Dc::~Dc() = default;

std::unique_ptr<DeviceBitmap> Dc::CreateCompatibleBitmap(int32_t width, int32_t height) const
{
    auto bitmap = std::make_unique<DeviceBitmap>();
    // A memory Dc makes bitmaps like the one selected in it, as a screen Dc makes screen ones.
    PixelFormat format = m_isMemory && m_state.bitmap ? m_state.bitmap->Format() : m_deviceFormat;
    if (!bitmap->Create(width, height, format))
        return nullptr;
    return bitmap;
}

Surface Dc::Target() const
{
    if (m_isMemory)
        return m_state.bitmap ? m_state.bitmap->View() : Surface {};
    return m_surface;
}

const SystemPalette& Dc::Sys() const
{
    return m_system ? *m_system : FallbackSystemPalette();
}

Pen Dc::SelectPen(const Pen& pen)
{
    return std::exchange(m_state.pen, pen);
}

Brush Dc::SelectBrush(const Brush& brush)
{
    return std::exchange(m_state.brush, brush);
}

DeviceBitmap* Dc::SelectBitmap(DeviceBitmap* bitmap)
{
    if (!m_isMemory || bitmap == nullptr || bitmap->IsEmpty())
        return nullptr;
    if (bitmap->Format() != PixelFormat::Mono && bitmap->Format() != m_deviceFormat)
        return nullptr;
    DeviceBitmap* old = std::exchange(m_state.bitmap, bitmap);
    ClipChanged();
    return old;
}

const Palette* Dc::SelectPalette(const Palette* palette)
{
    return std::exchange(m_state.palette, palette);
}

const Palette& Dc::CurrentPalette() const
{
    return m_state.palette ? *m_state.palette : SystemPalette::DefaultPalette();
}

int32_t Dc::RealizePalette()
{
    if (m_system == nullptr || m_state.palette == nullptr)
        return 0;
    return m_system->Realize(const_cast<Palette&>(*m_state.palette), RealizeMode::Foreground);
}

std::shared_ptr<GlyphFace> Dc::SelectFont(std::shared_ptr<GlyphFace> font)
{
    return std::exchange(m_state.font, std::move(font));
}

ColorRef Dc::SetTextColor(ColorRef color) { return std::exchange(m_state.textColor, color); }
ColorRef Dc::SetBkColor(ColorRef color) { return std::exchange(m_state.bkColor, color); }
BkMode Dc::SetBkMode(BkMode mode) { return std::exchange(m_state.bkMode, mode); }
FillMode Dc::SetPolyFillMode(FillMode mode) { return std::exchange(m_state.fillMode, mode); }
StretchMode Dc::SetStretchBltMode(StretchMode mode) { return std::exchange(m_state.stretchMode, mode); }
Rop2 Dc::SetRop2(Rop2 rop) { return std::exchange(m_state.rop2, rop); }
uint32_t Dc::SetTextAlign(uint32_t align) { return std::exchange(m_state.textAlign, align); }
Point Dc::SetViewportOrg(Point origin) { return std::exchange(m_state.viewportOrg, origin); }
Point Dc::SetWindowOrg(Point origin) { return std::exchange(m_state.windowOrg, origin); }
Point Dc::SetBrushOrg(Point origin) { return std::exchange(m_state.brushOrg, origin); }
Point Dc::MoveTo(Point p) { return std::exchange(m_state.position, p); }

Point Dc::ToDevice(Point p) const
{
    return Point { p.x - m_state.windowOrg.x + m_state.viewportOrg.x, p.y - m_state.windowOrg.y + m_state.viewportOrg.y };
}

Rect Dc::ToDevice(const Rect& r) const
{
    Point a = ToDevice(Point { r.left, r.top });
    return Rect { a.x, a.y, a.x + r.Width(), a.y + r.Height() };
}

Point Dc::ToLogical(Point p) const
{
    return Point { p.x + m_state.windowOrg.x - m_state.viewportOrg.x, p.y + m_state.windowOrg.y - m_state.viewportOrg.y };
}

RegionKind Dc::SelectClipRgn(const Region* region)
{
    if (region == nullptr)
        m_state.clip.reset();
    else
        m_state.clip = *region;
    ClipChanged();
    return m_state.clip ? m_state.clip->Kind() : RegionKind::Simple;
}

RegionKind Dc::IntersectClipRect(const Rect& logical)
{
    Region r(ToDevice(logical.Normalized()));
    m_state.clip = m_state.clip ? Region::Combine(*m_state.clip, r, CombineMode::And)
                                : Region::Combine(Region(Target().Bounds()), r, CombineMode::And);
    ClipChanged();
    return m_state.clip->Kind();
}

RegionKind Dc::ExcludeClipRect(const Rect& logical)
{
    Region r(ToDevice(logical.Normalized()));
    m_state.clip = Region::Combine(m_state.clip ? *m_state.clip : Region(Target().Bounds()), r, CombineMode::Diff);
    ClipChanged();
    return m_state.clip->Kind();
}

void Dc::SetVisibleRegion(std::optional<Region> region)
{
    m_visible = std::move(region);
    ClipChanged();
}

const Region& Dc::EffectiveClip() const
{
    if (!m_clipValid) {
        Region r(Target().Bounds());
        if (m_state.clip)
            r = Region::Combine(r, *m_state.clip, CombineMode::And);
        if (m_visible)
            r = Region::Combine(r, *m_visible, CombineMode::And);
        m_effectiveClip = std::move(r);
        m_clipValid = true;
    }
    return m_effectiveClip;
}

RegionKind Dc::GetClipBox(Rect& logicalBox) const
{
    const Region& clip = EffectiveClip();
    Rect b = clip.Bounds();
    Point a = ToLogical(Point { b.left, b.top });
    logicalBox = Rect { a.x, a.y, a.x + b.Width(), a.y + b.Height() };
    return clip.Kind();
}

int Dc::SaveDc()
{
    m_saved.push_back(m_state);
    return static_cast<int>(m_saved.size());
}

int Dc::RestoreDc(int level)
{
    int depth = static_cast<int>(m_saved.size());
    if (level < 0)
        level = depth + 1 + level;
    if (level < 1 || level > depth)
        return 0;
    m_state = m_saved[static_cast<size_t>(level - 1)];
    m_saved.resize(static_cast<size_t>(level - 1));
    ClipChanged();
    return 1;
}

uint32_t Dc::MaskOf(PixelFormat format) const
{
    switch (format) {
    case PixelFormat::Mono: return 1;
    case PixelFormat::Indexed8: return 0xFF;
    case PixelFormat::Rgb32: return 0xFFFFFF;
    }
    return 0xFFFFFF;
}

uint32_t Dc::NearestIndexCached(uint32_t pixel, Match match) const
{
    const Palette& palette = CurrentPalette();
    const SystemPalette& sys = Sys();
    if (m_nearestKeys.empty() || m_nearestStamp != palette.Stamp() || m_nearestGeneration != sys.Generation()) {
        m_nearestKeys.assign(kNearestCacheSize, 0xFFFFFFFF);
        m_nearestValues.assign(kNearestCacheSize, 0);
        m_nearestStamp = palette.Stamp();
        m_nearestGeneration = sys.Generation();
    }
    uint32_t key = (pixel & 0xFFFFFF) | static_cast<uint32_t>(match) << 24;
    size_t slot = ((key * 2654435761u) >> 20) & (kNearestCacheSize - 1);
    if (m_nearestKeys[slot] != key) {
        m_nearestKeys[slot] = key;
        m_nearestValues[slot] = match == Match::Screen ? sys.NearestInUse(PixelToColorRef(pixel))
                                                       : palette.SystemIndexForColor(PixelToColorRef(pixel), sys);
    }
    return m_nearestValues[slot];
}

uint32_t Dc::Resolve(ColorRef color, PixelFormat format) const
{
    const Palette& palette = CurrentPalette();
    ColorRef rgb = color & 0xFFFFFF;
    if ((color >> 24) == 1) {
        int32_t index = static_cast<int32_t>(color & 0xFFFF);
        if (format == PixelFormat::Indexed8)
            return palette.SystemIndex(index, Sys());
        rgb = index < palette.Count() ? palette.Entries()[static_cast<size_t>(index)].Color() : kBlack;
    }
    switch (format) {
    case PixelFormat::Rgb32: return ColorRefToPixel(rgb);
    case PixelFormat::Indexed8:
        return NearestIndexCached(ColorRefToPixel(rgb), (color >> 24) == 0 ? Match::Screen : Match::Palette);
    case PixelFormat::Mono: return (RedOf(rgb) + GreenOf(rgb) + BlueOf(rgb)) >= 384 ? 1 : 0;
    }
    return 0;
}

ColorRef Dc::ColorOf(uint32_t value, PixelFormat format) const
{
    switch (format) {
    case PixelFormat::Rgb32: return PixelToColorRef(value);
    case PixelFormat::Indexed8: return PixelToColorRef(Sys().Pixels()[value & 0xFF]);
    case PixelFormat::Mono: return value ? kWhite : kBlack;
    }
    return kBlack;
}

ColorRef Dc::SetPixel(Point p, ColorRef color)
{
    Point d = ToDevice(p);
    if (!EffectiveClip().Contains(d))
        return 0xFFFFFFFF;
    Surface s = Target();
    uint32_t v = Resolve(color, s.format);
    s.Set(d.x, d.y, v);
    return ColorOf(v, s.format);
}

ColorRef Dc::GetPixel(Point p) const
{
    Point d = ToDevice(p);
    if (!EffectiveClip().Contains(d))
        return 0xFFFFFFFF;
    Surface s = Target();
    return ColorOf(s.Get(d.x, d.y), s.format);
}

} // namespace tamber::gfx
