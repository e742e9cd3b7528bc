// Pens, brushes and the shapes drawn with them.
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "platform/gfx/Dc.h"
#include "platform/gfx/Palette.h"
#include "platform/gfx/Raster.h"
#include "platform/gfx/SystemPalette.h"

namespace tamber::gfx {

namespace {

constexpr int kPatternSize = 8;

// On/off run lengths of the styled cosmetic pens (first run drawn).
struct DashPattern {
    int count;
    int runs[6];
};
constexpr DashPattern kDashPatterns[] = {
    { 0, {} },                     // Solid
    { 2, { 18, 6 } },              // Dash
    { 2, { 3, 3 } },               // Dot
    { 4, { 9, 6, 3, 6 } },         // DashDot
    { 6, { 9, 3, 3, 3, 3, 3 } },   // DashDotDot
};

bool HatchInk(HatchStyle hatch, int px, int py)
{
    switch (hatch) {
    case HatchStyle::Horizontal: return py == 0;
    case HatchStyle::Vertical: return px == 0;
    case HatchStyle::ForwardDiagonal: return px == py;
    case HatchStyle::BackwardDiagonal: return px + py == kPatternSize - 1;
    case HatchStyle::Cross: return px == 0 || py == 0;
    case HatchStyle::DiagonalCross: return px == py || px + py == kPatternSize - 1;
    }
    return false;
}

void ReadRow(const Surface& s, int32_t y, int32_t x0, int32_t n, uint32_t* out)
{
    if (s.format == PixelFormat::Rgb32) {
        std::copy_n(s.Row32(y) + x0, n, out);
    } else {
        const uint8_t* row = s.Row8(y) + x0;
        for (int32_t i = 0; i < n; ++i)
            out[i] = row[i];
    }
}

void WriteRow(const Surface& s, int32_t y, int32_t x0, int32_t n, const uint32_t* in, const uint8_t* keep)
{
    if (s.format == PixelFormat::Rgb32) {
        uint32_t* row = s.Row32(y) + x0;
        for (int32_t i = 0; i < n; ++i) {
            if (!keep || keep[i])
                row[i] = in[i];
        }
    } else {
        uint8_t* row = s.Row8(y) + x0;
        for (int32_t i = 0; i < n; ++i) {
            if (!keep || keep[i])
                row[i] = static_cast<uint8_t>(in[i]);
        }
    }
}

// Spans of a convex shape kept as the leftmost and rightmost pixel of each row.
struct ConvexRows {
    int32_t top = 0;
    std::vector<std::pair<int32_t, int32_t>> rows; // inclusive; first > second when empty

    void Add(int32_t x, int32_t y)
    {
        if (rows.empty()) {
            top = y;
            rows.emplace_back(x, x);
            return;
        }
        while (y < top) {
            rows.insert(rows.begin(), { INT32_MAX, INT32_MIN });
            --top;
        }
        while (y >= top + static_cast<int32_t>(rows.size()))
            rows.emplace_back(INT32_MAX, INT32_MIN);
        auto& r = rows[static_cast<size_t>(y - top)];
        r.first = std::min(r.first, x);
        r.second = std::max(r.second, x);
    }
    Region ToRegion() const
    {
        std::vector<std::vector<Region::Span>> spans(rows.size());
        for (size_t i = 0; i < rows.size(); ++i) {
            if (rows[i].first <= rows[i].second)
                spans[i].push_back(Region::Span { rows[i].first, rows[i].second + 1 });
        }
        return Region::FromRows(top, spans);
    }
};

// Lines longer than this are cut to it; nothing that long fits on a surface.
constexpr int32_t kMaxLineCoord = 1 << 20;

Point ClampPoint(Point p)
{
    return Point { std::clamp(p.x, -kMaxLineCoord, kMaxLineCoord), std::clamp(p.y, -kMaxLineCoord, kMaxLineCoord) };
}

Rect ClampRect(const Rect& r)
{
    Point a = ClampPoint(Point { r.left, r.top }), b = ClampPoint(Point { r.right, r.bottom });
    return Rect { a.x, a.y, b.x, b.y };
}

// The box whose ellipse (or rectangle) outline a pen of width w covers. A pen centred on the
// path of box r (its 1-pixel outline) reaches w / 2 pixels outside it and the rest inside; an
// inside-frame pen stays within r.
Rect PenOuterBox(const Rect& r, int32_t w, bool insideFrame)
{
    if (insideFrame)
        return r;
    int32_t half = w / 2;
    return Rect { r.left - half, r.top - half, r.right + (w - 1 - half), r.bottom + (w - 1 - half) };
}

// Directions from the centre of a box, in doubled coordinates (pixel centres of the box's
// 1-pixel outline are whole numbers there) with y pointing up, so that counter-clockwise on the
// screen is counter-clockwise in the arithmetic.
struct Vec {
    int64_t x = 0, y = 0;
};

int64_t Cross(Vec a, Vec b)
{
    return a.x * b.y - a.y * b.x;
}

int64_t Dot(Vec a, Vec b)
{
    return a.x * b.x + a.y * b.y;
}

struct Centre {
    int64_t x2 = 0, y2 = 0; // doubled

    explicit Centre(const Rect& r) : x2(int64_t(r.left) + r.right - 1), y2(int64_t(r.top) + r.bottom - 1) {}
    Vec To(int32_t x, int32_t y) const { return Vec { 2 * int64_t(x) - x2, y2 - 2 * int64_t(y) }; }
};

// The sweep of an arc: from the direction of start counter-clockwise to that of end. Equal
// directions sweep the whole ellipse.
class Sweep {
public:
    Sweep(Vec start, Vec end) : m_start(start), m_end(end)
    {
        if (m_start.x == 0 && m_start.y == 0)
            m_start = Vec { 1, 0 };
        if (m_end.x == 0 && m_end.y == 0)
            m_end = Vec { 1, 0 };
        m_full = Cross(m_start, m_end) == 0 && Dot(m_start, m_end) > 0;
    }
    bool Full() const { return m_full; }
    Vec Start() const { return m_start; }
    Vec End() const { return m_end; }

    bool Contains(Vec v) const
    {
        if (m_full)
            return true;
        int64_t turn = Cross(m_start, m_end);
        if (turn > 0)
            return Cross(m_start, v) >= 0 && Cross(v, m_end) >= 0;
        if (turn == 0) // half a turn: the half-plane to the left of start, both rays included
            return Cross(m_start, v) >= 0;
        // More than half a turn: everything but the open sweep from end on to start.
        return !(Cross(m_end, v) > 0 && Cross(v, m_start) > 0);
    }

    // Counter-clockwise order from start; pixels on one ray nearest first.
    bool Before(Vec a, Vec b) const
    {
        int ha = Half(a), hb = Half(b);
        if (ha != hb)
            return ha < hb;
        int64_t c = Cross(a, b);
        if (c != 0)
            return c > 0;
        return Dot(a, a) < Dot(b, b);
    }

private:
    int Half(Vec v) const
    {
        int64_t c = Cross(m_start, v);
        return c > 0 || (c == 0 && Dot(m_start, v) >= 0) ? 0 : 1;
    }

    Vec m_start, m_end;
    bool m_full = false;
};

// Where the ray from the centre of r in direction v meets the ellipse through the pixel centres
// of r's outline.
Point EllipsePoint(const Rect& r, Vec v)
{
    const Centre c(r);
    double a = std::max(1, r.Width() - 1), b = std::max(1, r.Height() - 1); // doubled semi-axes
    double vx = static_cast<double>(v.x), vy = static_cast<double>(v.y);
    double t = 1.0 / std::sqrt((vx / a) * (vx / a) + (vy / b) * (vy / b));
    double x2 = static_cast<double>(c.x2) + vx * t, y2 = static_cast<double>(c.y2) - vy * t;
    return Point { static_cast<int32_t>(std::floor(x2 / 2 + 0.5)), static_cast<int32_t>(std::floor(y2 / 2 + 0.5)) };
}

// The pixels of a region for which keep(x, y) holds.
template<typename Keep>
Region Select(const Region& region, Keep keep)
{
    if (region.IsEmpty())
        return region;
    Rect box = region.Bounds();
    std::vector<std::vector<Region::Span>> rows(static_cast<size_t>(box.Height()));
    for (const Rect& rc : region.Rects()) {
        for (int32_t y = rc.top; y < rc.bottom; ++y) {
            auto& row = rows[static_cast<size_t>(y - box.top)];
            for (int32_t x = rc.left; x < rc.right; ++x) {
                if (!keep(x, y))
                    continue;
                if (!row.empty() && row.back().right == x)
                    ++row.back().right;
                else
                    row.push_back(Region::Span { x, x + 1 });
            }
        }
    }
    for (auto& row : rows)
        std::sort(row.begin(), row.end(), [](const Region::Span& a, const Region::Span& b) { return a.left < b.left; });
    return Region::FromRows(box.top, rows);
}

// The pixels of a region in counter-clockwise order around the centre of r from the sweep's start.
std::vector<Point> OrderedPixels(const Region& region, const Rect& r, const Sweep& sweep)
{
    const Centre c(r);
    std::vector<std::pair<Vec, Point>> pixels;
    for (const Rect& rc : region.Rects())
        for (int32_t y = rc.top; y < rc.bottom; ++y)
            for (int32_t x = rc.left; x < rc.right; ++x)
                pixels.emplace_back(c.To(x, y), Point { x, y });
    std::stable_sort(pixels.begin(), pixels.end(),
                     [&](const auto& a, const auto& b) { return sweep.Before(a.first, b.first); });
    std::vector<Point> out;
    out.reserve(pixels.size());
    for (const auto& p : pixels)
        out.push_back(p.second);
    return out;
}

// The pixels a pen of width w covers along a line from a to b, both ends included: Bresenham's
// pixels for w = 1, else the union of discs of diameter w centred on them.
Region LineRegion(Point a, Point b, int32_t w)
{
    ConvexRows rows;
    if (w <= 1) {
        WalkLine(a, b, [&](int32_t x, int32_t y) { rows.Add(x, y); });
        rows.Add(b.x, b.y);
        return rows.ToRegion();
    }
    Region disc = Region::FromEllipse(Rect { 0, 0, w, w });
    std::vector<std::pair<int32_t, int32_t>> discRows(static_cast<size_t>(w), { INT32_MAX, INT32_MIN });
    for (const Rect& rc : disc.Rects()) {
        for (int32_t y = rc.top; y < rc.bottom; ++y) {
            auto& dr = discRows[static_cast<size_t>(y)];
            dr.first = std::min(dr.first, rc.left);
            dr.second = std::max(dr.second, rc.right - 1);
        }
    }
    int32_t half = w / 2;
    auto stamp = [&](int32_t x, int32_t y) {
        for (int32_t k = 0; k < w; ++k) {
            const auto& dr = discRows[static_cast<size_t>(k)];
            if (dr.first > dr.second)
                continue;
            rows.Add(x - half + dr.first, y - half + k);
            rows.Add(x - half + dr.second, y - half + k);
        }
    };
    // The union is convex, so one span per row holds it; stamping every pixel of the line keeps
    // the outline exact for shallow slopes.
    WalkLine(a, b, stamp);
    stamp(b.x, b.y);
    return rows.ToRegion();
}

} // namespace

void Dc::PatternRow(const Brush& brush, PixelFormat format, int32_t y, int32_t x0, int32_t n, uint32_t* out,
                    uint8_t* inkMask) const
{
    if (brush.style == BrushStyle::Solid || brush.style == BrushStyle::Null
        || (brush.style == BrushStyle::Pattern && (!brush.pattern || brush.pattern->IsEmpty()))) {
        std::fill_n(out, n, Resolve(brush.color, format));
        if (inkMask)
            std::fill_n(inkMask, n, 1);
        return;
    }
    int py = ((y - m_state.brushOrg.y) % kPatternSize + kPatternSize) % kPatternSize;
    if (brush.style == BrushStyle::Hatched) {
        uint32_t ink = Resolve(brush.color, format), back = Resolve(m_state.bkColor, format);
        for (int32_t i = 0; i < n; ++i) {
            int px = ((x0 + i - m_state.brushOrg.x) % kPatternSize + kPatternSize) % kPatternSize;
            bool on = HatchInk(brush.hatch, px, py);
            out[i] = on ? ink : back;
            if (inkMask)
                inkMask[i] = on || m_state.bkMode == BkMode::Opaque;
        }
        return;
    }
    const Image& pat = *brush.pattern;
    int32_t pw = pat.Width(), ph = pat.Height();
    int32_t row = ((y - m_state.brushOrg.y) % ph + ph) % ph;
    uint32_t text = Resolve(m_state.textColor, format), back = Resolve(m_state.bkColor, format);
    for (int32_t i = 0; i < n; ++i) {
        int32_t col = ((x0 + i - m_state.brushOrg.x) % pw + pw) % pw;
        uint32_t v = pat.Get(col, row);
        switch (pat.Format()) {
        case PixelFormat::Mono: out[i] = v ? back : text; break;
        case PixelFormat::Rgb32: out[i] = Resolve(PixelToColorRef(v), format); break;
        case PixelFormat::Indexed8:
            out[i] = format == PixelFormat::Indexed8 ? v : Resolve(PixelToColorRef(Sys().Pixels()[v & 0xFF]), format);
            break;
        }
        if (inkMask)
            inkMask[i] = 1;
    }
}

void Dc::FillRegionDevice(const Region& device, const Brush& brush, uint8_t rop3)
{
    if (brush.style == BrushStyle::Null)
        return;
    Surface s = Target();
    if (!s.IsValid())
        return;
    Region area = Region::Combine(device, EffectiveClip(), CombineMode::And);
    const uint32_t mask = MaskOf(s.format);
    const bool solid = brush.style == BrushStyle::Solid;
    const bool needMask = brush.style == BrushStyle::Hatched && m_state.bkMode == BkMode::Transparent;
    std::vector<uint32_t> pat, dst;
    std::vector<uint8_t> ink;
    for (const Rect& r : area.Rects()) {
        int32_t n = r.Width();
        pat.resize(static_cast<size_t>(n));
        dst.resize(static_cast<size_t>(n));
        ink.resize(static_cast<size_t>(n));
        if (solid && rop3 == 0xF0) {
            uint32_t v = Resolve(brush.color, s.format);
            for (int32_t y = r.top; y < r.bottom; ++y) {
                if (s.format == PixelFormat::Rgb32)
                    std::fill_n(s.Row32(y) + r.left, n, v);
                else
                    std::fill_n(s.Row8(y) + r.left, n, static_cast<uint8_t>(v));
            }
            continue;
        }
        for (int32_t y = r.top; y < r.bottom; ++y) {
            PatternRow(brush, s.format, y, r.left, n, pat.data(), needMask ? ink.data() : nullptr);
            ReadRow(s, y, r.left, n, dst.data());
            RopRow32(rop3, dst.data(), nullptr, pat.data(), n, mask);
            WriteRow(s, y, r.left, n, dst.data(), needMask ? ink.data() : nullptr);
        }
    }
}

void Dc::FillSolidDevice(const Region& device, ColorRef color, uint8_t rop3)
{
    FillRegionDevice(device, Brush::Solid(color), rop3);
}

void Dc::PenRegion(const Region& device)
{
    FillSolidDevice(device, m_state.pen.color, PenRop());
}

void Dc::StyledLineDevice(Point a, Point b, int32_t& styleOffset)
{
    std::vector<Point> pixels;
    WalkLine(a, b, [&](int32_t x, int32_t y) { pixels.push_back(Point { x, y }); });
    StyledPixelsDevice(pixels, styleOffset);
}

// Draws pixels in order with the pen's dash pattern (gaps in the background colour when the
// background mode is opaque), the pattern going on from styleOffset.
void Dc::StyledPixelsDevice(const std::vector<Point>& pixels, int32_t& styleOffset)
{
    Surface s = Target();
    if (!s.IsValid())
        return;
    const Region& clip = EffectiveClip();
    const DashPattern& dash = kDashPatterns[std::min<size_t>(static_cast<size_t>(m_state.pen.style), 4)];
    int32_t period = 0;
    for (int k = 0; k < dash.count; ++k)
        period += dash.runs[k];
    uint32_t mask = MaskOf(s.format);
    uint32_t ink = Resolve(m_state.pen.color, s.format);
    uint32_t back = Resolve(m_state.bkColor, s.format);
    uint8_t code = PenRop();
    const bool simpleClip = clip.Rects().size() == 1;
    const Rect box = clip.Bounds();
    for (Point p : pixels) {
        bool on = true;
        if (period > 0) {
            int32_t at = styleOffset % period;
            int k = 0;
            while (at >= dash.runs[k]) {
                at -= dash.runs[k];
                ++k;
            }
            on = (k % 2) == 0;
        }
        ++styleOffset;
        if (!on && m_state.bkMode == BkMode::Transparent)
            continue;
        if (simpleClip ? !box.Contains(p) : !clip.Contains(p))
            continue;
        uint32_t d = s.Get(p.x, p.y);
        s.Set(p.x, p.y, ApplyRop3(code, on ? ink : back, 0, d) & mask);
    }
}

void Dc::PolylineDevice(const std::vector<Point>& points, bool closed)
{
    if (m_state.pen.style == PenStyle::Null || points.empty())
        return;
    size_t segments = closed ? points.size() : points.size() - 1;
    if (points.size() < 2)
        return;
    int32_t styleOffset = 0;
    bool thick = m_state.pen.width > 1
        && (m_state.pen.style == PenStyle::Solid || m_state.pen.style == PenStyle::InsideFrame);
    // A wide pen paints the union of its segments once, so that raster operations touch the
    // joints once too.
    Region wide;
    for (size_t i = 0; i < segments; ++i) {
        Point a = ClampPoint(points[i]), b = ClampPoint(points[(i + 1) % points.size()]);
        if (thick)
            wide = Region::Combine(wide, LineRegion(a, b, m_state.pen.width), CombineMode::Or);
        else
            StyledLineDevice(a, b, styleOffset);
    }
    if (thick)
        PenRegion(wide);
}

int Dc::LineTo(Point p)
{
    std::vector<Point> pts { ToDevice(m_state.position), ToDevice(p) };
    PolylineDevice(pts, false);
    m_state.position = p;
    return 1;
}

int Dc::Polyline(const Point* points, int32_t count)
{
    if (points == nullptr || count < 2)
        return 0;
    std::vector<Point> pts;
    for (int32_t i = 0; i < count; ++i)
        pts.push_back(ToDevice(points[i]));
    PolylineDevice(pts, false);
    return 1;
}

int Dc::Polygon(const Point* points, int32_t count)
{
    if (points == nullptr || count < 2)
        return 0;
    std::vector<Point> pts;
    for (int32_t i = 0; i < count; ++i)
        pts.push_back(ToDevice(points[i]));
    if (count >= 3)
        FillRegionDevice(Region::FromPolygon(pts.data(), count, m_state.fillMode), m_state.brush, PenRop());
    PolylineDevice(pts, true);
    return 1;
}

int Dc::Rectangle(const Rect& logical)
{
    Rect r = ToDevice(logical.Normalized());
    if (m_state.pen.style == PenStyle::Null) {
        // Without a pen the filled area is one pixel smaller, as if the missing outline took it.
        FillRegionDevice(Region(Rect { r.left, r.top, r.right - 1, r.bottom - 1 }), m_state.brush, PenRop());
        return 1;
    }
    bool styled = IsStyledPen();
    int32_t w = styled ? 1 : std::max(1, m_state.pen.width);
    Rect outer = PenOuterBox(r, w, m_state.pen.style == PenStyle::InsideFrame);
    Rect inner = outer.Inflate(-w, -w);
    FillRegionDevice(Region(inner), m_state.brush, PenRop());
    if (styled) {
        std::vector<Point> pts { { r.left, r.top }, { r.right - 1, r.top }, { r.right - 1, r.bottom - 1 },
                                 { r.left, r.bottom - 1 } };
        PolylineDevice(pts, true);
    } else {
        PenRegion(Region::Combine(Region(outer), Region(inner), CombineMode::Diff));
    }
    return 1;
}

int Dc::RoundRect(const Rect& logical, int32_t ellipseWidth, int32_t ellipseHeight)
{
    Rect r = ToDevice(logical.Normalized());
    if (m_state.pen.style == PenStyle::Null) {
        FillRegionDevice(Region::FromRoundRect(Rect { r.left, r.top, r.right - 1, r.bottom - 1 }, ellipseWidth,
                                               ellipseHeight),
                         m_state.brush, PenRop());
        return 1;
    }
    bool styled = IsStyledPen();
    int32_t w = styled ? 1 : std::max(1, m_state.pen.width);
    bool insideFrame = m_state.pen.style == PenStyle::InsideFrame;
    Rect box = PenOuterBox(r, w, insideFrame);
    // The corner ellipses grow with the box, so the pen keeps its width around the corners.
    int32_t grow = insideFrame ? 0 : w - 1;
    int32_t cw = ellipseWidth + grow, ch = ellipseHeight + grow;
    Region outer = Region::FromRoundRect(box, cw, ch);
    Region inner = Region::FromRoundRect(box.Inflate(-w, -w), cw - 2 * w, ch - 2 * w);
    FillRegionDevice(inner, m_state.brush, PenRop());
    DrawOutline(Region::Combine(outer, inner, CombineMode::Diff), r, styled);
    return 1;
}

int Dc::Ellipse(const Rect& logical)
{
    Rect r = ToDevice(logical.Normalized());
    if (m_state.pen.style == PenStyle::Null) {
        FillRegionDevice(Region::FromEllipse(Rect { r.left, r.top, r.right - 1, r.bottom - 1 }), m_state.brush,
                         PenRop());
        return 1;
    }
    bool styled = IsStyledPen();
    int32_t w = styled ? 1 : std::max(1, m_state.pen.width);
    Rect box = PenOuterBox(r, w, m_state.pen.style == PenStyle::InsideFrame);
    Region outer = Region::FromEllipse(box);
    Region inner = Region::FromEllipse(box.Inflate(-w, -w));
    FillRegionDevice(inner, m_state.brush, PenRop());
    DrawOutline(Region::Combine(outer, inner, CombineMode::Diff), r, styled);
    return 1;
}

// A closed outline: painted at once with a plain pen; with a styled one its pixels are dashed in
// counter-clockwise order from the rightmost point.
void Dc::DrawOutline(const Region& ring, const Rect& r, bool styled)
{
    if (!styled) {
        PenRegion(ring);
        return;
    }
    int32_t styleOffset = 0;
    StyledPixelsDevice(OrderedPixels(ring, r, Sweep(Vec { 1, 0 }, Vec { 1, 0 })), styleOffset);
}

int Dc::Arc(const Rect& r, Point start, Point end)
{
    return ArcShape(r, start, end, ArcKind::Arc);
}

int Dc::Pie(const Rect& r, Point start, Point end)
{
    return ArcShape(r, start, end, ArcKind::Pie);
}

int Dc::Chord(const Rect& r, Point start, Point end)
{
    return ArcShape(r, start, end, ArcKind::Chord);
}

int Dc::ArcShape(const Rect& logical, Point startLogical, Point endLogical, ArcKind kind)
{
    Rect r = ClampRect(ToDevice(logical.Normalized()));
    if (r.IsEmpty())
        return 0;
    const Centre c(r);
    Point startDevice = ClampPoint(ToDevice(startLogical)), endDevice = ClampPoint(ToDevice(endLogical));
    const Sweep sweep(c.To(startDevice.x, startDevice.y), c.To(endDevice.x, endDevice.y));
    const Point a = EllipsePoint(r, sweep.Start()), b = EllipsePoint(r, sweep.End());
    const Point centre { static_cast<int32_t>(c.x2 >> 1), static_cast<int32_t>(c.y2 >> 1) };
    const bool nullPen = m_state.pen.style == PenStyle::Null;
    const bool styled = !nullPen && IsStyledPen();
    const int32_t w = styled || nullPen ? 1 : std::max(1, m_state.pen.width);
    Rect box = nullPen ? Rect { r.left, r.top, r.right - 1, r.bottom - 1 }
                       : PenOuterBox(r, w, m_state.pen.style == PenStyle::InsideFrame);
    Region inner = Region::FromEllipse(nullPen ? box : box.Inflate(-w, -w));
    // Pixels are tested one by one, so only those that can show are looked at (a dash pattern
    // needs the whole outline, which is only as long as the ellipse's perimeter).
    const Region visible(EffectiveClip().Bounds());

    // The filled part: the sector of a pie, the segment cut off by the chord.
    if (kind == ArcKind::Pie) {
        FillRegionDevice(Select(Region::Combine(inner, visible, CombineMode::And),
                                [&](int32_t x, int32_t y) { return sweep.Contains(c.To(x, y)); }),
                         m_state.brush, PenRop());
    } else if (kind == ArcKind::Chord) {
        const Vec va = c.To(a.x, a.y), vb = c.To(b.x, b.y);
        const Vec chord { vb.x - va.x, vb.y - va.y };
        auto onArcSide = [&](int32_t x, int32_t y) {
            Vec v = c.To(x, y);
            return sweep.Full() || Cross(chord, Vec { v.x - va.x, v.y - va.y }) <= 0;
        };
        FillRegionDevice(Select(Region::Combine(inner, visible, CombineMode::And), onArcSide), m_state.brush,
                         PenRop());
    }
    if (nullPen)
        return 1;

    Region ring = Region::Combine(Region::FromEllipse(box), inner, CombineMode::Diff);
    if (!styled)
        ring = Region::Combine(ring, visible, CombineMode::And);
    Region arc = Select(ring, [&](int32_t x, int32_t y) { return sweep.Contains(c.To(x, y)); });
    if (styled) {
        int32_t styleOffset = 0;
        StyledPixelsDevice(OrderedPixels(arc, r, sweep), styleOffset);
        if (kind == ArcKind::Pie) {
            StyledLineDevice(b, centre, styleOffset);
            StyledLineDevice(centre, a, styleOffset);
        } else if (kind == ArcKind::Chord) {
            StyledLineDevice(b, a, styleOffset);
        }
        return 1;
    }
    // One region for the whole outline, so that raster operations touch each pixel once.
    if (kind == ArcKind::Pie) {
        arc = Region::Combine(arc, LineRegion(b, centre, w), CombineMode::Or);
        arc = Region::Combine(arc, LineRegion(centre, a, w), CombineMode::Or);
    } else if (kind == ArcKind::Chord) {
        arc = Region::Combine(arc, LineRegion(b, a, w), CombineMode::Or);
    }
    PenRegion(arc);
    return 1;
}

int Dc::PaintRgn(const Region& logical)
{
    Region device = logical;
    Point o = ToDevice(Point {});
    device.Offset(o.x, o.y);
    FillRegionDevice(device, m_state.brush, PenRop());
    return 1;
}

int Dc::FillRgn(const Region& logical, const Brush& brush)
{
    Region device = logical;
    Point o = ToDevice(Point {});
    device.Offset(o.x, o.y);
    FillRegionDevice(device, brush, 0xF0);
    return 1;
}

int Dc::FillRect(const Rect& r, const Brush& brush)
{
    FillRegionDevice(Region(ToDevice(r)), brush, 0xF0);
    return 1;
}

int Dc::FrameRect(const Rect& logical, const Brush& brush)
{
    Rect r = ToDevice(logical);
    if (r.IsEmpty())
        return 0;
    FillRegionDevice(Region::Combine(Region(r), Region(r.Inflate(-1, -1)), CombineMode::Diff), brush, 0xF0);
    return 1;
}

int Dc::InvertRect(const Rect& r)
{
    FillRegionDevice(Region(ToDevice(r)), Brush::Solid(kBlack), 0x55);
    return 1;
}

int Dc::DrawFocusRect(const Rect& logical)
{
    Rect r = ToDevice(logical.Normalized());
    if (r.IsEmpty())
        return 0;
    // Every other pixel of the border, counted from the top-left corner, is inverted; the rest
    // stays, so a second call restores the picture.
    std::vector<std::vector<Region::Span>> rows(static_cast<size_t>(r.Height()));
    for (int32_t y = r.top; y < r.bottom; ++y) {
        auto& row = rows[static_cast<size_t>(y - r.top)];
        bool edgeRow = y == r.top || y == r.bottom - 1;
        for (int32_t x = r.left; x < r.right; ++x) {
            bool edge = edgeRow || x == r.left || x == r.right - 1;
            if (edge && ((x - r.left) + (y - r.top)) % 2 == 0)
                row.push_back(Region::Span { x, x + 1 });
            if (!edgeRow && x == r.left && r.right - 1 > r.left)
                x = r.right - 2;
        }
    }
    FillRegionDevice(Region::FromRows(r.top, rows), Brush::Solid(kBlack), 0x55);
    return 1;
}

int Dc::PatBlt(const Rect& logical, uint32_t rop)
{
    uint8_t code = Rop3Code(rop);
    FillRegionDevice(Region(ToDevice(logical.Normalized())),
                     Rop3UsesPattern(code) ? m_state.brush : Brush::Solid(kBlack), code);
    return 1;
}

int Dc::FloodFill(Point logical, ColorRef color, FloodFillType type)
{
    Surface s = Target();
    Point start = ToDevice(logical);
    const Region& clip = EffectiveClip();
    if (!s.IsValid() || !clip.Contains(start))
        return 0;
    uint32_t target = Resolve(color, s.format);
    auto fillable = [&](int32_t x, int32_t y) {
        uint32_t v = s.Get(x, y);
        return type == FloodFillType::Border ? v != target : v == target;
    };
    if (!fillable(start.x, start.y))
        return 0;
    // Marks the pixels to paint first, then paints them all with the brush, so that a brush of
    // the same colour as the fill test cannot make the search run in circles.
    Rect box = clip.Bounds();
    int32_t bw = box.Width();
    std::vector<uint8_t> marked(static_cast<size_t>(bw) * static_cast<size_t>(box.Height()), 0);
    auto index = [&](int32_t x, int32_t y) { return static_cast<size_t>(y - box.top) * bw + (x - box.left); };
    auto ok = [&](int32_t x, int32_t y) {
        return x >= box.left && x < box.right && y >= box.top && y < box.bottom && !marked[index(x, y)]
            && clip.Contains(Point { x, y }) && fillable(x, y);
    };
    std::vector<Point> stack { start };
    std::vector<std::vector<Region::Span>> rows(static_cast<size_t>(box.Height()));
    while (!stack.empty()) {
        Point p = stack.back();
        stack.pop_back();
        if (!ok(p.x, p.y))
            continue;
        int32_t l = p.x, r = p.x;
        while (ok(l - 1, p.y))
            --l;
        while (ok(r + 1, p.y))
            ++r;
        for (int32_t x = l; x <= r; ++x)
            marked[index(x, p.y)] = 1;
        rows[static_cast<size_t>(p.y - box.top)].push_back(Region::Span { l, r + 1 });
        for (int32_t dy : { -1, 1 }) {
            int32_t y = p.y + dy;
            for (int32_t x = l; x <= r; ++x) {
                if (ok(x, y)) {
                    stack.push_back(Point { x, y });
                    while (x <= r && ok(x, y))
                        ++x;
                }
            }
        }
    }
    for (auto& row : rows)
        std::sort(row.begin(), row.end(), [](const Region::Span& a, const Region::Span& b) { return a.left < b.left; });
    FillRegionDevice(Region::FromRows(box.top, rows), m_state.brush, 0xF0);
    return 1;
}

} // namespace tamber::gfx
