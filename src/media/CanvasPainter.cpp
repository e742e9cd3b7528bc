#include "media/CanvasPainter.h"

#include <algorithm>
#include <set>
#include <string_view>

#include "media/Canvas.h"
#include "platform/gfx/Dib.h"

namespace tamber {

namespace {

constexpr int kMaxNesting = 32;
constexpr int32_t kPixelsPerInch = 96;
constexpr int32_t kPointsPerInch = 72;
constexpr gfx::ColorRef kColorMask = 0xFFFFFF;

gfx::ColorRef Plain(uint32_t packed)
{
    return packed & kColorMask;
}

int32_t PenWidth(const CanvasObject& object)
{
    return std::clamp(object.lineWidth, 1, CanvasPainter::kMaxLineWidth);
}

// The box one pixel larger on the right and bottom: the platform fills shapes drawn without a
// pen one pixel short there.
gfx::Rect PenlessBox(const gfx::Rect& box)
{
    return gfx::Rect { box.left, box.top, box.right + 1, box.bottom + 1 };
}

uint8_t Blend(uint8_t over, uint8_t under, int32_t percent)
{
    return static_cast<uint8_t>((over * percent + under * (kOpaque - percent) + kOpaque / 2) / kOpaque);
}

bool WithinReach(const CanvasObject& object)
{
    constexpr int32_t kFar = CanvasPainter::kMaxDrawnCoordinate;
    return gfx::Rect { -kFar, -kFar, kFar, kFar }.Contains(object.Box());
}

} // namespace

gfx::Rect CanvasPainter::CornerBox(const CanvasObject& object)
{
    if (object.points.size() < 2)
        return object.bound.Normalized();
    const gfx::Point a = object.points[0];
    const gfx::Point b = object.points[1];
    return gfx::Rect { std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x) + 1,
        std::max(a.y, b.y) + 1 };
}

void CanvasPainter::Draw(const Canvas& canvas, const gfx::Rect& clip)
{
    const int saved = m_dc.SaveDc();
    if (!clip.IsEmpty())
        m_dc.IntersectClipRect(clip);
    // Objects a live group holds are drawn with it.
    std::set<const CanvasObject*> grouped;
    for (const CanvasObject* object : canvas.Live()) {
        if (object->type == CanvasObjectType::Group)
            grouped.insert(object->members.begin(), object->members.end());
    }
    for (const CanvasObject* object : canvas.Live()) {
        if (grouped.count(object) != 0)
            continue;
        if (object->parentObject != nullptr)
            continue; // drawn with the object it is attached to
        Paint(*object, 0);
    }
    m_dc.RestoreDc(saved);
}

void CanvasPainter::DrawObject(const CanvasObject& object)
{
    const int saved = m_dc.SaveDc();
    Paint(object, 0);
    m_dc.RestoreDc(saved);
}

void CanvasPainter::Paint(const CanvasObject& object, int depth)
{
    if (depth > kMaxNesting || !WithinReach(object))
        return;
    switch (object.type) {
    case CanvasObjectType::Line:
        if (object.points.size() >= 2 && SelectOutline(object)) {
            m_dc.MoveTo(object.points[0]);
            m_dc.LineTo(object.points[1]);
        }
        break;
    case CanvasObjectType::Rect:
    case CanvasObjectType::RoundRect:
    case CanvasObjectType::Oval:
        PaintShape(object);
        break;
    case CanvasObjectType::PolyLine:
    case CanvasObjectType::Curve:
        if (!object.points.empty() && SelectOutline(object))
            m_dc.Polyline(object.points.data(), static_cast<int32_t>(object.points.size()));
        break;
    case CanvasObjectType::Polygon:
        PaintPolygon(object);
        break;
    case CanvasObjectType::Eraser:
        PaintEraser(object);
        break;
    case CanvasObjectType::Spray:
        PaintSpray(object);
        break;
    case CanvasObjectType::Text:
        PaintText(object);
        break;
    case CanvasObjectType::Fill:
        PaintFill(object);
        break;
    case CanvasObjectType::Bitmap:
        PaintBitmap(object);
        break;
    case CanvasObjectType::Group:
        for (const CanvasObject* member : object.members)
            Paint(*member, depth + 1);
        break;
    }
    for (const CanvasObject* eraser : object.erasers) {
        if (WithinReach(*eraser))
            PaintEraser(*eraser);
    }
}

bool CanvasPainter::SelectOutline(const CanvasObject& object)
{
    if (object.lineWidth == 0 && object.type != CanvasObjectType::Line
        && object.type != CanvasObjectType::PolyLine && object.type != CanvasObjectType::Curve)
        return false;
    m_dc.SelectPen(gfx::Pen { gfx::PenStyle::Solid, PenWidth(object), Plain(object.foreColor) });
    m_dc.SelectBrush(gfx::Brush::Hollow());
    return true;
}

void CanvasPainter::SelectFilling(uint32_t color)
{
    m_dc.SelectPen(gfx::Pen { gfx::PenStyle::Null, 1, gfx::kBlack });
    m_dc.SelectBrush(gfx::Brush::Solid(Plain(color)));
}

void CanvasPainter::PaintShape(const CanvasObject& object)
{
    const gfx::Rect box = CornerBox(object);
    if (box.IsEmpty())
        return;
    // The corner ellipse: a fifth of the smaller side of the box the two points span.
    const int32_t corner = std::min(box.Width() - 1, box.Height() - 1) / kRoundCornerDivisor;
    auto draw = [&](const gfx::Rect& r) {
        switch (object.type) {
        case CanvasObjectType::Rect:
            m_dc.Rectangle(r);
            break;
        case CanvasObjectType::RoundRect:
            m_dc.RoundRect(r, corner, corner);
            break;
        default:
            m_dc.Ellipse(r);
            break;
        }
    };
    if (object.filled) {
        SelectFilling(object.fillColor);
        draw(PenlessBox(box));
    }
    if (SelectOutline(object))
        draw(box);
}

void CanvasPainter::PaintPolygon(const CanvasObject& object)
{
    if (object.points.empty())
        return;
    if (object.filled) {
        SelectFilling(object.fillColor);
        const size_t n = std::min<size_t>(object.points.size(), kMaxFilledPolygonPoints);
        m_dc.Polygon(object.points.data(), static_cast<int32_t>(n));
    }
    if (SelectOutline(object))
        m_dc.Polygon(object.points.data(), static_cast<int32_t>(object.points.size()));
}

void CanvasPainter::PaintSpray(const CanvasObject& object)
{
    const int32_t size = PenWidth(object);
    const gfx::Brush ink = gfx::Brush::Solid(Plain(object.foreColor));
    for (const gfx::Point& p : object.points)
        m_dc.FillRect(gfx::Rect::FromSize(p.x - size / 2, p.y - size / 2, size, size), ink);
}

void CanvasPainter::PaintEraser(const CanvasObject& object)
{
    if (object.points.empty())
        return;
    const int32_t n = static_cast<int32_t>(std::min<size_t>(object.points.size(), kMaxFilledPolygonPoints));
    if (object.eraserShape == EraserShape::Polygon) {
        SelectFilling(object.fillColor);
        m_dc.Polygon(object.points.data(), n);
        return;
    }
    const int32_t size = PenWidth(object);
    if (object.points.size() >= 2) {
        m_dc.SelectPen(gfx::Pen { gfx::PenStyle::Solid, size, Plain(object.fillColor) });
        m_dc.MoveTo(object.points[0]);
        for (size_t i = 1; i < object.points.size(); ++i)
            m_dc.LineTo(object.points[i]);
    }
    SelectFilling(object.fillColor);
    for (const gfx::Point& p : object.points) {
        const gfx::Rect tip = PenlessBox(gfx::Rect::FromSize(p.x - size / 2, p.y - size / 2, size, size));
        switch (object.eraserShape) {
        case EraserShape::Rect:
            m_dc.Rectangle(tip);
            break;
        case EraserShape::RoundRect:
            m_dc.RoundRect(tip, size / 2, size / 2);
            break;
        default:
            m_dc.Ellipse(tip);
            break;
        }
    }
}

void CanvasPainter::PaintText(const CanvasObject& object)
{
    if (m_glyphs == nullptr || object.content.empty())
        return;
    gfx::FontRequest request;
    request.faceName = object.font.face;
    request.height = -static_cast<int32_t>(
        (static_cast<int64_t>(std::clamp(object.font.size, 0, 1000)) * kPixelsPerInch + kPointsPerInch / 2)
        / kPointsPerInch);
    request.weight = (object.font.style & CanvasFont::kBold) ? 700 : 400;
    request.italic = (object.font.style & CanvasFont::kItalic) ? gfx::Italic::Yes : gfx::Italic::No;
    request.underline
        = (object.font.style & CanvasFont::kUnderline) ? gfx::Underline::Yes : gfx::Underline::No;
    request.strikeOut
        = (object.font.style & CanvasFont::kStrikeOut) ? gfx::StrikeOut::Yes : gfx::StrikeOut::No;
    std::shared_ptr<gfx::GlyphFace> face = m_glyphs->OpenFace(request);
    if (face == nullptr)
        return;
    m_dc.SelectFont(face);
    m_dc.SetTextColor(Plain(object.foreColor));
    m_dc.SetBkMode(gfx::BkMode::Transparent);
    m_dc.SetTextAlign(gfx::TextAlign::kLeft | gfx::TextAlign::kTop);
    const int32_t lineHeight = std::max(1, face->Metrics().height);
    gfx::Point at = object.Anchor();
    std::string_view rest = object.content;
    for (;;) {
        const size_t end = rest.find('\r');
        std::string_view line = rest.substr(0, end);
        if (!line.empty() && line.front() == '\n')
            line.remove_prefix(1);
        m_dc.TextOut(at, line);
        if (end == std::string_view::npos || at.y > kMaxDrawnCoordinate)
            break;
        rest.remove_prefix(end + 1);
        at.y += lineHeight;
    }
}

void CanvasPainter::PaintFill(const CanvasObject& object)
{
    const gfx::Point at = object.Anchor();
    const gfx::ColorRef under = m_dc.GetPixel(at);
    if (under == 0xFFFFFFFFu)
        return; // outside the clip
    m_dc.SelectBrush(gfx::Brush::Solid(Plain(object.filled ? object.fillColor : object.foreColor)));
    m_dc.FloodFill(at, under, gfx::FloodFillType::Surface);
}

void CanvasPainter::PaintBitmap(const CanvasObject& object)
{
    const MemoryBlock& picture = object.picture;
    gfx::DibInfo info;
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    if (picture.Empty()
        || !gfx::DibInfo::ParsePacked(
            picture.Data(), static_cast<size_t>(picture.Size()), info, bits, bitsSize))
        return;
    const gfx::Point at = object.Anchor();
    const int32_t transparency = object.transparencyGiven ? object.transparency : kOpaque;
    if (transparency >= kOpaque && !object.keyColorGiven) {
        const size_t infoAt
            = picture.Size() >= 2 && picture.Data()[0] == 'B' && picture.Data()[1] == 'M' ? 14 : 0;
        m_dc.StretchDIBits(at.x, at.y, info.width, info.height, 0, 0, info.width, info.height, bits, bitsSize,
            picture.Data(static_cast<int32_t>(infoAt)), info.infoBytes, gfx::DibColors::Rgb,
            gfx::Rop3::kSrcCopy);
        return;
    }
    // Pixel by pixel: the key colour is left out, the rest mixed with what lies beneath.
    gfx::Image decoded;
    if (info.Decode(bits, bitsSize, decoded) == 0)
        return;
    const gfx::ColorRef key = Plain(object.keyColor);
    gfx::Rect reach;
    m_dc.GetClipBox(reach);
    const gfx::Rect area
        = gfx::Rect::FromSize(at.x, at.y, decoded.Width(), decoded.Height()).Intersect(reach);
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            uint32_t pixel = decoded.Get(x - at.x, y - at.y);
            if (info.IsIndexed())
                pixel = pixel < info.colors.size() ? info.colors[pixel] : 0;
            const gfx::ColorRef color = gfx::PixelToColorRef(pixel);
            if (object.keyColorGiven && color == key)
                continue;
            const gfx::Point p { x, y };
            gfx::ColorRef shown = color;
            if (transparency < kOpaque) {
                const gfx::ColorRef under = m_dc.GetPixel(p);
                if (under == 0xFFFFFFFFu)
                    continue;
                shown = gfx::Rgb(Blend(gfx::RedOf(color), gfx::RedOf(under), transparency),
                    Blend(gfx::GreenOf(color), gfx::GreenOf(under), transparency),
                    Blend(gfx::BlueOf(color), gfx::BlueOf(under), transparency));
            }
            m_dc.SetPixel(p, shown);
        }
    }
}

} // namespace tamber
