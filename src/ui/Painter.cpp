#include "ui/Painter.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/gfx/Raster.h"

namespace tamber::ui {

namespace {

uint32_t MapColor(const DrawTarget& t, gfx::ColorRef c)
{
    if (t.colors)
        return t.colors->Map(c);
    return gfx::ColorRefToPixel(c & 0xFFFFFF);
}

} // namespace

Painter::Painter(const DrawTarget& target)
    : m_target(target)
{
    m_target.clip = m_target.clip.Intersect(m_target.surface.Bounds());
}

void Painter::IntersectClip(const gfx::Rect& rect)
{
    m_target.clip = m_target.clip.Intersect(rect.Offset(m_target.origin.x, m_target.origin.y));
}

gfx::Rect Painter::ClipInClient() const
{
    return m_target.clip.Offset(-m_target.origin.x, -m_target.origin.y);
}

void Painter::FillSurfaceRect(gfx::Rect r, uint32_t pixel)
{
    gfx::FillSurface(m_target.surface, r.Intersect(m_target.clip), pixel);
}

void Painter::SetPixel(int32_t x, int32_t y, gfx::ColorRef color)
{
    x += m_target.origin.x;
    y += m_target.origin.y;
    if (m_target.clip.Contains(gfx::Point { x, y }))
        m_target.surface.Set(x, y, MapColor(m_target, color));
}

void Painter::FillRect(const gfx::Rect& rect, gfx::ColorRef color)
{
    FillSurfaceRect(rect.Offset(m_target.origin.x, m_target.origin.y), MapColor(m_target, color));
}

void Painter::FrameRect(const gfx::Rect& rect, gfx::ColorRef color)
{
    if (rect.IsEmpty())
        return;
    HLine(rect.left, rect.right, rect.top, color);
    HLine(rect.left, rect.right, rect.bottom - 1, color);
    VLine(rect.left, rect.top, rect.bottom, color);
    VLine(rect.right - 1, rect.top, rect.bottom, color);
}

void Painter::HLine(int32_t x0, int32_t x1, int32_t y, gfx::ColorRef color)
{
    FillRect(gfx::Rect { x0, y, x1, y + 1 }, color);
}

void Painter::VLine(int32_t x, int32_t y0, int32_t y1, gfx::ColorRef color)
{
    FillRect(gfx::Rect { x, y0, x + 1, y1 }, color);
}

void Painter::Line(gfx::Point from, gfx::Point to, gfx::ColorRef color)
{
    gfx::WalkLine(from, to, [&](int32_t x, int32_t y) { SetPixel(x, y, color); });
    SetPixel(to.x, to.y, color);
}

namespace {

// The span [left, right) of an ellipse inscribed in rect on row y, by pixel centres.
bool EllipseSpan(const gfx::Rect& rect, int32_t y, int32_t& left, int32_t& right)
{
    double rx = rect.Width() / 2.0, ry = rect.Height() / 2.0;
    double cx = rect.left + rx, cy = rect.top + ry;
    double dy = (y + 0.5 - cy) / ry;
    double t = 1.0 - dy * dy;
    if (t < 0)
        return false;
    double half = rx * std::sqrt(t);
    left = static_cast<int32_t>(cx - half + 0.5);
    right = static_cast<int32_t>(cx + half + 0.5);
    return right > left;
}

} // namespace

void Painter::FillEllipse(const gfx::Rect& rect, gfx::ColorRef color)
{
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        int32_t l, r;
        if (EllipseSpan(rect, y, l, r))
            HLine(l, r, y, color);
    }
}

void Painter::FrameEllipse(const gfx::Rect& rect, gfx::ColorRef color)
{
    int32_t prevL = 0, prevR = 0;
    bool prev = false;
    for (int32_t y = rect.top; y < rect.bottom; ++y) {
        int32_t l, r;
        if (!EllipseSpan(rect, y, l, r)) {
            prev = false;
            continue;
        }
        int32_t nl = l, nr = r;
        bool next = EllipseSpan(rect, y + 1, nl, nr) && y + 1 < rect.bottom;
        if (!prev || !next) {
            HLine(l, r, y, color);
        } else {
            int32_t edgeL = std::min(prevL, nl), edgeR = std::max(prevR, nr);
            HLine(l, std::max(edgeL, l + 1), y, color);
            HLine(std::min(edgeR, r - 1), r, y, color);
        }
        prev = true;
        prevL = l;
        prevR = r;
    }
}

void Painter::Arrow(gfx::Point apex, int32_t size, Direction direction, gfx::ColorRef color)
{
    for (int32_t i = 0; i < size; ++i) {
        switch (direction) {
        case Direction::Up:
            HLine(apex.x - i, apex.x + i + 1, apex.y + i, color);
            break;
        case Direction::Down:
            HLine(apex.x - i, apex.x + i + 1, apex.y - i, color);
            break;
        case Direction::Left:
            VLine(apex.x + i, apex.y - i, apex.y + i + 1, color);
            break;
        case Direction::Right:
            VLine(apex.x - i, apex.y - i, apex.y + i + 1, color);
            break;
        }
    }
}

void Painter::DrawEdge(const gfx::Rect& r, Edge edge)
{
    if (r.IsEmpty())
        return;
    auto bevel = [this](const gfx::Rect& b, gfx::ColorRef topLeft, gfx::ColorRef bottomRight) {
        HLine(b.left, b.right - 1, b.top, topLeft);
        VLine(b.left, b.top, b.bottom - 1, topLeft);
        HLine(b.left, b.right, b.bottom - 1, bottomRight);
        VLine(b.right - 1, b.top, b.bottom, bottomRight);
    };
    gfx::Rect inner = r.Inflate(-1, -1);
    switch (edge) {
    case Edge::Raised:
        bevel(r, look::kFace, look::kDarkShadow);
        bevel(inner, look::kHighlight, look::kShadow);
        break;
    case Edge::Sunken:
        bevel(r, look::kShadow, look::kHighlight);
        bevel(inner, look::kDarkShadow, look::kFace);
        break;
    case Edge::Pressed:
        FrameRect(r, look::kDarkShadow);
        bevel(inner, look::kShadow, look::kFace);
        break;
    case Edge::RaisedThin:
        bevel(r, look::kHighlight, look::kShadow);
        break;
    case Edge::SunkenThin:
        bevel(r, look::kShadow, look::kHighlight);
        break;
    }
}

void Painter::FocusRect(const gfx::Rect& r)
{
    for (int32_t x = r.left; x < r.right; x += 2) {
        SetPixel(x, r.top, look::kText);
        SetPixel(x, r.bottom - 1, look::kText);
    }
    for (int32_t y = r.top; y < r.bottom; y += 2) {
        SetPixel(r.left, y, look::kText);
        SetPixel(r.right - 1, y, look::kText);
    }
}

void Painter::Blit(const gfx::Image& image, const gfx::Rect& part, gfx::Point to, const gfx::Image* mask)
{
    if (image.IsEmpty() || image.Format() != gfx::PixelFormat::Rgb32)
        return;
    gfx::Rect src = part.Intersect(gfx::Rect { 0, 0, image.Width(), image.Height() });
    for (int32_t y = src.top; y < src.bottom; ++y) {
        int32_t dy = to.y + (y - part.top) + m_target.origin.y;
        if (dy < m_target.clip.top || dy >= m_target.clip.bottom)
            continue;
        for (int32_t x = src.left; x < src.right; ++x) {
            int32_t dx = to.x + (x - part.left) + m_target.origin.x;
            if (dx < m_target.clip.left || dx >= m_target.clip.right)
                continue;
            if (mask && mask->Get(x, y) != 0)
                continue;
            uint32_t rgb = image.Get(x, y);
            uint32_t pixel = m_target.surface.format == gfx::PixelFormat::Rgb32 ? rgb : MapColor(m_target, gfx::PixelToColorRef(rgb));
            m_target.surface.Set(dx, dy, pixel);
        }
    }
}

int32_t Painter::TextWidth(gfx::GlyphFace* face, std::string_view text)
{
    return face ? gfx::TextAdvance(*face, text) : 0;
}

namespace {

// The text with single '&' removed and the index of the underlined character (-1 for none).
std::string StripMnemonic(std::string_view text, int32_t& underline)
{
    std::string out;
    underline = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != '&' && underline < 0)
                underline = static_cast<int32_t>(out.size());
        }
        out.push_back(text[i]);
    }
    return out;
}

} // namespace

int32_t Painter::TextWidth(std::string_view text, Mnemonic mnemonic) const
{
    if (mnemonic == Mnemonic::Underline) {
        int32_t underline;
        return TextWidth(m_face.get(), StripMnemonic(text, underline));
    }
    return TextWidth(m_face.get(), text);
}

int32_t Painter::TextHeight() const
{
    return m_face ? m_face->Metrics().height : 0;
}

void Painter::DrawText(int32_t x, int32_t y, std::string_view text, gfx::ColorRef color, Mnemonic mnemonic)
{
    if (!m_face)
        return;
    int32_t underline = -1;
    std::string plain;
    if (mnemonic == Mnemonic::Underline) {
        plain = StripMnemonic(text, underline);
        text = plain;
    }
    uint32_t pixel = MapColor(m_target, color);
    int32_t baseline = y + m_face->Metrics().ascent;
    int32_t pen = x;
    for (size_t i = 0; i < text.size(); ++i) {
        uint8_t ch = static_cast<uint8_t>(text[i]);
        gfx::GlyphBitmap glyph;
        int drawn = m_face->Render(ch, glyph);
        int32_t advance = drawn ? glyph.advance : m_face->Advance(ch);
        if (drawn) {
            // On a 32-bit surface the mapped pixel is the colour itself, which partial coverage blends.
            gfx::DrawGlyph(m_target.surface, glyph,
                gfx::Point { pen + glyph.left + m_target.origin.x, baseline - glyph.top + m_target.origin.y },
                m_target.clip, pixel, pixel);
        }
        if (static_cast<int32_t>(i) == underline)
            HLine(pen, pen + advance, baseline + 1, color);
        pen += advance;
    }
}

void Painter::DrawTextAligned(const gfx::Rect& rect, std::string_view text, gfx::ColorRef color, HAlign h, VAlign v,
                              Mnemonic mnemonic)
{
    int32_t width = TextWidth(text, mnemonic);
    int32_t height = TextHeight();
    int32_t x = rect.left, y = rect.top;
    if (h == HAlign::Center)
        x = rect.left + (rect.Width() - width) / 2;
    else if (h == HAlign::Right)
        x = rect.right - width;
    if (v == VAlign::Center)
        y = rect.top + (rect.Height() - height) / 2;
    else if (v == VAlign::Bottom)
        y = rect.bottom - height;
    DrawText(x, y, text, color, mnemonic);
}

} // namespace tamber::ui
