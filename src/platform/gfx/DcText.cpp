// Text drawing through the selected glyph face.
#include <algorithm>

#include "platform/gfx/Dc.h"
#include "platform/gfx/Raster.h"

namespace tamber::gfx {

namespace {

struct LaidLine {
    std::string text;
    std::vector<int32_t> underline; // indexes of characters marked with '&'
};

// Removes '&' markers: "&x" shows x underlined, "&&" shows one '&'.
LaidLine StripPrefixes(std::string_view text, bool prefixes)
{
    LaidLine out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (prefixes && text[i] == '&') {
            if (i + 1 >= text.size())
                break;
            ++i;
            if (text[i] != '&')
                out.underline.push_back(static_cast<int32_t>(out.text.size()));
        }
        out.text.push_back(text[i]);
    }
    return out;
}

constexpr int kTabChars = 8;

} // namespace

int32_t TextAdvance(GlyphFace& face, std::string_view text)
{
    int32_t width = 0;
    for (char c : text)
        width += face.Advance(static_cast<uint8_t>(c));
    return width;
}

void DrawGlyph(
    const Surface& s, const GlyphBitmap& g, Point at, const Rect& clip, uint32_t ink, uint32_t inkRgb)
{
    if (g.bits == nullptr)
        return;
    const Rect part
        = Rect { at.x, at.y, at.x + g.width, at.y + g.height }.Intersect(clip).Intersect(s.Bounds());
    for (int32_t y = part.top; y < part.bottom; ++y) {
        const uint8_t* row = g.bits + static_cast<ptrdiff_t>(y - at.y) * g.pitch;
        for (int32_t x = part.left; x < part.right; ++x) {
            int32_t gx = x - at.x;
            if (g.depth == GlyphDepth::Mono1) {
                if (row[gx >> 3] & (0x80 >> (gx & 7)))
                    s.Set(x, y, ink);
                continue;
            }
            uint32_t a = row[gx];
            if (a == 0)
                continue;
            if (s.format != PixelFormat::Rgb32 || a == 255) {
                if (a >= 128)
                    s.Set(x, y, ink);
                continue;
            }
            uint32_t d = s.Row32(y)[x];
            uint32_t out = 0;
            for (int shift = 0; shift <= 16; shift += 8) {
                uint32_t dc = d >> shift & 0xFF, ic = inkRgb >> shift & 0xFF;
                out |= ((ic * a + dc * (255 - a) + 127) / 255) << shift;
            }
            s.Row32(y)[x] = out;
        }
    }
}

Size Dc::GetTextExtent(std::string_view text) const
{
    if (!m_state.font)
        return Size {};
    return Size { TextAdvance(*m_state.font, text), m_state.font->Metrics().height };
}

FontMetrics Dc::GetTextMetrics() const
{
    return m_state.font ? m_state.font->Metrics() : FontMetrics {};
}

void Dc::DrawGlyphs(Point origin, std::string_view text, const std::vector<int32_t>* underlineAt)
{
    Surface s = Target();
    if (!s.IsValid() || !m_state.font)
        return;
    GlyphFace& face = *m_state.font;
    const FontMetrics& m = face.Metrics();
    const Region& clip = EffectiveClip();
    const uint32_t ink = Resolve(m_state.textColor, s.format);
    const uint32_t inkPixel = ColorRefToPixel(m_state.textColor & 0xFFFFFF);
    int32_t penX = origin.x;
    const int32_t line = std::max(1, m.height / 24);
    auto bar = [&](int32_t x0, int32_t x1, int32_t y) {
        Region r(Rect { x0, y, x1, y + line });
        FillSolidDevice(r, m_state.textColor, 0xF0);
    };
    for (size_t i = 0; i < text.size(); ++i) {
        uint8_t ch = static_cast<uint8_t>(text[i]);
        GlyphBitmap g;
        int drawn = face.Render(ch, g);
        int32_t advance = drawn ? g.advance : face.Advance(ch);
        if (drawn) {
            for (const Rect& c : clip.Rects())
                DrawGlyph(s, g, Point { penX + g.left, origin.y - g.top }, c, ink, inkPixel);
        }
        if (underlineAt && std::find(underlineAt->begin(), underlineAt->end(), static_cast<int32_t>(i)) != underlineAt->end())
            bar(penX, penX + advance, origin.y + std::max(1, m.descent / 2));
        penX += advance;
    }
    if (m.underline == Underline::Yes)
        bar(origin.x, penX, origin.y + std::max(1, m.descent / 2));
    if (m.strikeOut == StrikeOut::Yes)
        bar(origin.x, penX, origin.y - std::max(1, m.ascent / 3));
}

int Dc::TextOut(Point p, std::string_view text)
{
    if (!m_state.font)
        return 0;
    const FontMetrics& m = m_state.font->Metrics();
    int32_t width = GetTextExtent(text).width;
    bool updateCp = (m_state.textAlign & TextAlign::kUpdateCp) != 0;
    Point d = ToDevice(updateCp ? m_state.position : p);
    int32_t x = d.x;
    uint32_t horizontal = m_state.textAlign & TextAlign::kCenter;
    if (horizontal == TextAlign::kCenter)
        x -= width / 2;
    else if (horizontal == TextAlign::kRight)
        x -= width;
    int32_t baseline = d.y + m.ascent;
    uint32_t vertical = m_state.textAlign & TextAlign::kBaseline;
    if (vertical == TextAlign::kBaseline)
        baseline = d.y;
    else if (vertical == TextAlign::kBottom)
        baseline = d.y - m.descent;
    if (m_state.bkMode == BkMode::Opaque)
        FillSolidDevice(Region(Rect { x, baseline - m.ascent, x + width, baseline + m.descent }), m_state.bkColor, 0xF0);
    DrawGlyphs(Point { x, baseline }, text, nullptr);
    if (updateCp) {
        if (horizontal == TextAlign::kLeft)
            m_state.position.x += width;
        else if (horizontal == TextAlign::kRight)
            m_state.position.x -= width;
    }
    return 1;
}

int32_t Dc::LineWidth(std::string_view text, uint32_t format) const
{
    return GetTextExtent(text).width;
}

int32_t Dc::DrawText(std::string_view text, Rect& rect, uint32_t format)
{
    using namespace DrawTextFormat;
    if (!m_state.font)
        return 0;
    const FontMetrics& m = m_state.font->Metrics();
    const int32_t lineHeight = m.height + ((format & kExternalLeading) ? m.externalLeading : 0);
    const bool prefixes = !(format & kNoPrefix);

    // Paragraphs, tabs expanded to spaces at every eighth character.
    std::vector<std::string> paragraphs(1);
    for (char c : text) {
        if (c == '\r')
            continue;
        if (c == '\n' && !(format & kSingleLine)) {
            paragraphs.emplace_back();
            continue;
        }
        if (c == '\n')
            c = ' ';
        if (c == '\t' && (format & kExpandTabs)) {
            size_t pad = kTabChars - paragraphs.back().size() % kTabChars;
            paragraphs.back().append(pad, ' ');
            continue;
        }
        paragraphs.back().push_back(c);
    }
    // Lines: word wrap breaks at spaces; a word wider than the rectangle stays whole.
    std::vector<LaidLine> lines;
    const int32_t limit = rect.Width();
    for (const std::string& para : paragraphs) {
        if (!(format & kWordBreak) || (format & kSingleLine)) {
            lines.push_back(StripPrefixes(para, prefixes));
            continue;
        }
        size_t start = 0;
        while (true) {
            size_t end = start, lastFit = std::string::npos;
            while (end <= para.size()) {
                size_t next = para.find(' ', end);
                if (next == std::string::npos)
                    next = para.size();
                LaidLine candidate = StripPrefixes(std::string_view(para).substr(start, next - start), prefixes);
                if (lastFit != std::string::npos && LineWidth(candidate.text, format) > limit)
                    break;
                lastFit = next;
                if (next == para.size())
                    break;
                end = next + 1;
            }
            lines.push_back(StripPrefixes(std::string_view(para).substr(start, lastFit - start), prefixes));
            if (lastFit >= para.size())
                break;
            start = lastFit;
            while (start < para.size() && para[start] == ' ')
                ++start;
            if (start >= para.size())
                break;
        }
    }
    const int32_t total = lineHeight * static_cast<int32_t>(lines.size());
    if (format & kCalcRect) {
        int32_t widest = 0;
        for (const LaidLine& l : lines)
            widest = std::max(widest, LineWidth(l.text, format));
        rect.right = rect.left + widest;
        rect.bottom = rect.top + total;
        return total;
    }
    int32_t y = rect.top;
    if (format & kSingleLine) {
        if (format & kVCenter)
            y = rect.top + (rect.Height() - lineHeight) / 2;
        else if (format & kBottom)
            y = rect.bottom - lineHeight;
    }
    bool clipped = !(format & kNoClip);
    if (clipped) {
        SaveDc();
        IntersectClipRect(rect);
    }
    for (const LaidLine& l : lines) {
        int32_t w = LineWidth(l.text, format);
        int32_t x = rect.left;
        if (format & kRight)
            x = rect.right - w;
        else if (format & kCenter)
            x = rect.left + (rect.Width() - w) / 2;
        Point d = ToDevice(Point { x, y });
        if (m_state.bkMode == BkMode::Opaque)
            FillSolidDevice(Region(Rect { d.x, d.y, d.x + w, d.y + m.height }), m_state.bkColor, 0xF0);
        DrawGlyphs(Point { d.x, d.y + m.ascent }, l.text, &l.underline);
        y += lineHeight;
    }
    if (clipped)
        RestoreDc(-1);
    return total;
}

} // namespace tamber::gfx
