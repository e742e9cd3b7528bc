#include "platform/gfx/Region.h"

#include <algorithm>
#include <cmath>

namespace tamber::gfx {

namespace {

// Shapes are built in exact integer arithmetic; coordinates beyond this are clamped so that no
// product overflows.
constexpr int32_t kCoordLimit = 1 << 24;

int32_t ClampCoord(int32_t v) { return std::clamp(v, -kCoordLimit, kCoordLimit); }

Rect ClampRect(const Rect& r)
{
    Rect n = r.Normalized();
    return Rect { ClampCoord(n.left), ClampCoord(n.top), ClampCoord(n.right), ClampCoord(n.bottom) };
}

int64_t ISqrt(int64_t v)
{
    if (v <= 0)
        return 0;
    auto r = static_cast<int64_t>(std::sqrt(static_cast<double>(v)));
    while (r > 0 && r * r > v)
        --r;
    while ((r + 1) * (r + 1) <= v)
        ++r;
    return r;
}

int64_t FloorDiv(int64_t a, int64_t b)
{
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return q;
}

// The pixels [left, right) of row y inside the ellipse inscribed in r; false when none are.
// Works in doubled coordinates so that pixel centres and the ellipse centre are integers.
bool EllipseRow(const Rect& r, int32_t y, int32_t& left, int32_t& right)
{
    int64_t w = r.Width(), h = r.Height();
    if (w <= 0 || h <= 0 || y < r.top || y >= r.bottom)
        return false;
    int64_t sx = static_cast<int64_t>(r.left) + r.right;
    int64_t Y = 2 * static_cast<int64_t>(y) + 1 - (static_cast<int64_t>(r.top) + r.bottom);
    // X² h² + Y² w² <= w² h²  <=>  X² <= w² (h² - Y²) / h²
    __int128 rest = static_cast<__int128>(w * w) * (h * h - Y * Y);
    if (rest < 0)
        return false;
    int64_t m = ISqrt(static_cast<int64_t>(rest / (h * h)));
    // X = 2x + 1 - sx must have the parity of 1 - sx.
    if (((m ^ (1 - sx)) & 1) != 0)
        --m;
    if (m < 0)
        return false;
    left = static_cast<int32_t>((-m - 1 + sx) / 2);
    right = static_cast<int32_t>((m - 1 + sx) / 2 + 1);
    return true;
}

std::vector<Region::Span> CombineSpans(const std::vector<Region::Span>& a, const std::vector<Region::Span>& b,
                                       CombineMode mode)
{
    std::vector<Region::Span> out;
    if (mode == CombineMode::Copy)
        return a;
    std::vector<int32_t> xs;
    xs.reserve((a.size() + b.size()) * 2);
    for (const auto& s : a) {
        xs.push_back(s.left);
        xs.push_back(s.right);
    }
    for (const auto& s : b) {
        xs.push_back(s.left);
        xs.push_back(s.right);
    }
    std::sort(xs.begin(), xs.end());
    xs.erase(std::unique(xs.begin(), xs.end()), xs.end());
    size_t ia = 0, ib = 0;
    for (size_t k = 0; k + 1 < xs.size(); ++k) {
        int32_t x0 = xs[k], x1 = xs[k + 1];
        while (ia < a.size() && a[ia].right <= x0)
            ++ia;
        while (ib < b.size() && b[ib].right <= x0)
            ++ib;
        bool inA = ia < a.size() && a[ia].left <= x0;
        bool inB = ib < b.size() && b[ib].left <= x0;
        bool in = false;
        switch (mode) {
        case CombineMode::And: in = inA && inB; break;
        case CombineMode::Or: in = inA || inB; break;
        case CombineMode::Xor: in = inA != inB; break;
        case CombineMode::Diff: in = inA && !inB; break;
        case CombineMode::Copy: in = inA; break;
        }
        if (!in)
            continue;
        if (!out.empty() && out.back().right == x0)
            out.back().right = x1;
        else
            out.push_back(Region::Span { x0, x1 });
    }
    return out;
}

} // namespace

Region::Region(const Rect& rect)
{
    Rect r = rect.Normalized();
    if (!r.IsEmpty()) {
        m_rects.push_back(r);
        m_bounds = r;
    }
}

void Region::Clear()
{
    m_rects.clear();
    m_bounds = Rect {};
}

std::vector<Region::Band> Region::ToBands(const std::vector<Rect>& rects)
{
    std::vector<Band> bands;
    for (const Rect& r : rects) {
        if (bands.empty() || bands.back().top != r.top)
            bands.push_back(Band { r.top, r.bottom, {} });
        bands.back().spans.push_back(Span { r.left, r.right });
    }
    return bands;
}

void Region::FromBands(const std::vector<Band>& bands)
{
    Clear();
    for (const Band& b : bands) {
        for (const Span& s : b.spans) {
            m_rects.push_back(Rect { s.left, b.top, s.right, b.bottom });
            m_bounds = m_bounds.Union(m_rects.back());
        }
    }
}

Region Region::FromRows(int32_t top, const std::vector<std::vector<Span>>& rows)
{
    std::vector<Band> bands;
    for (size_t i = 0; i < rows.size(); ++i) {
        int32_t y = top + static_cast<int32_t>(i);
        if (rows[i].empty())
            continue;
        if (!bands.empty() && bands.back().bottom == y && bands.back().spans == rows[i])
            bands.back().bottom = y + 1;
        else
            bands.push_back(Band { y, y + 1, rows[i] });
    }
    Region out;
    out.FromBands(bands);
    return out;
}

Region Region::FromEllipse(const Rect& rect)
{
    Rect r = ClampRect(rect);
    std::vector<std::vector<Span>> rows(static_cast<size_t>(std::max(0, r.Height())));
    for (int32_t y = r.top; y < r.bottom; ++y) {
        int32_t left, right;
        if (EllipseRow(r, y, left, right))
            rows[static_cast<size_t>(y - r.top)].push_back(Span { left, right });
    }
    return FromRows(r.top, rows);
}

Region Region::FromRoundRect(const Rect& rect, int32_t ellipseWidth, int32_t ellipseHeight)
{
    Rect r = ClampRect(rect);
    if (r.IsEmpty())
        return Region();
    int32_t ew = std::clamp(std::abs(ellipseWidth), 0, r.Width());
    int32_t eh = std::clamp(std::abs(ellipseHeight), 0, r.Height());
    if (ew < 2 || eh < 2)
        return Region(r);
    Rect topLeft { r.left, r.top, r.left + ew, r.top + eh };
    Rect bottomLeft { r.left, r.bottom - eh, r.left + ew, r.bottom };
    std::vector<std::vector<Span>> rows(static_cast<size_t>(r.Height()));
    for (int32_t y = r.top; y < r.bottom; ++y) {
        const Rect* corner = nullptr;
        if (y - r.top < eh / 2)
            corner = &topLeft;
        else if (r.bottom - 1 - y < eh / 2)
            corner = &bottomLeft;
        int32_t left = r.left;
        if (corner != nullptr) {
            int32_t el, er;
            left = EllipseRow(*corner, y, el, er) ? el : r.left + ew / 2;
        }
        // The right corner mirrors the left one.
        int32_t right = r.right - (left - r.left);
        if (left < right)
            rows[static_cast<size_t>(y - r.top)].push_back(Span { left, right });
    }
    return FromRows(r.top, rows);
}

Region Region::FromPolygon(const Point* points, int32_t count, FillMode mode)
{
    if (points == nullptr || count < 3)
        return Region();
    std::vector<Point> p(points, points + count);
    int32_t top = INT32_MAX, bottom = INT32_MIN;
    for (Point& q : p) {
        q.x = ClampCoord(q.x);
        q.y = ClampCoord(q.y);
        top = std::min(top, q.y);
        bottom = std::max(bottom, q.y);
    }
    struct Crossing {
        int64_t x;
        int dir;
    };
    std::vector<std::vector<Span>> rows(static_cast<size_t>(bottom - top));
    std::vector<Crossing> crossings;
    for (int32_t y = top; y < bottom; ++y) {
        crossings.clear();
        for (size_t i = 0; i < p.size(); ++i) {
            Point a = p[i], b = p[(i + 1) % p.size()];
            if (a.y == b.y)
                continue;
            int dir = 1;
            if (a.y > b.y) {
                std::swap(a, b);
                dir = -1;
            }
            if (y < a.y || y >= b.y)
                continue;
            // The edge meets the row's centre line at num / den; the first pixel whose centre is
            // at or right of it is ceil(num / den - 1/2).
            int64_t dy = b.y - a.y, dx = static_cast<int64_t>(b.x) - a.x;
            int64_t num = 2 * static_cast<int64_t>(a.x) * dy + (2 * static_cast<int64_t>(y) + 1 - 2 * a.y) * dx;
            int64_t den = 2 * dy;
            int64_t first = -FloorDiv(-(2 * num - den), 2 * den);
            crossings.push_back(Crossing { first, dir });
        }
        std::sort(crossings.begin(), crossings.end(), [](const Crossing& l, const Crossing& r) { return l.x < r.x; });
        auto& row = rows[static_cast<size_t>(y - top)];
        auto add = [&row](int64_t l, int64_t r) {
            if (l >= r)
                return;
            if (!row.empty() && row.back().right >= l)
                row.back().right = std::max<int32_t>(row.back().right, static_cast<int32_t>(r));
            else
                row.push_back(Span { static_cast<int32_t>(l), static_cast<int32_t>(r) });
        };
        if (mode == FillMode::Alternate) {
            for (size_t k = 0; k + 1 < crossings.size(); k += 2)
                add(crossings[k].x, crossings[k + 1].x);
        } else {
            int winding = 0;
            for (size_t k = 0; k + 1 < crossings.size(); ++k) {
                winding += crossings[k].dir;
                if (winding != 0)
                    add(crossings[k].x, crossings[k + 1].x);
            }
        }
    }
    return FromRows(top, rows);
}

Region Region::Combine(const Region& a, const Region& b, CombineMode mode)
{
    if (mode == CombineMode::Copy)
        return a;
    std::vector<Band> ba = ToBands(a.m_rects), bb = ToBands(b.m_rects);
    std::vector<int32_t> ys;
    for (const Band& x : ba) {
        ys.push_back(x.top);
        ys.push_back(x.bottom);
    }
    for (const Band& x : bb) {
        ys.push_back(x.top);
        ys.push_back(x.bottom);
    }
    std::sort(ys.begin(), ys.end());
    ys.erase(std::unique(ys.begin(), ys.end()), ys.end());
    static const std::vector<Span> kNone;
    std::vector<Band> out;
    size_t ia = 0, ib = 0;
    for (size_t k = 0; k + 1 < ys.size(); ++k) {
        int32_t y0 = ys[k], y1 = ys[k + 1];
        while (ia < ba.size() && ba[ia].bottom <= y0)
            ++ia;
        while (ib < bb.size() && bb[ib].bottom <= y0)
            ++ib;
        const auto& sa = (ia < ba.size() && ba[ia].top <= y0) ? ba[ia].spans : kNone;
        const auto& sb = (ib < bb.size() && bb[ib].top <= y0) ? bb[ib].spans : kNone;
        std::vector<Span> spans = CombineSpans(sa, sb, mode);
        if (spans.empty())
            continue;
        if (!out.empty() && out.back().bottom == y0 && out.back().spans == spans)
            out.back().bottom = y1;
        else
            out.push_back(Band { y0, y1, std::move(spans) });
    }
    Region result;
    result.FromBands(out);
    return result;
}

RegionKind Region::CombineWith(const Region& other, CombineMode mode)
{
    *this = Combine(*this, other, mode);
    return Kind();
}

RegionKind Region::Kind() const
{
    if (m_rects.empty())
        return RegionKind::Null;
    return m_rects.size() == 1 ? RegionKind::Simple : RegionKind::Complex;
}

bool Region::Contains(Point p) const
{
    if (!m_bounds.Contains(p))
        return false;
    for (const Rect& r : m_rects) {
        if (r.top > p.y)
            break;
        if (r.Contains(p))
            return true;
    }
    return false;
}

bool Region::Intersects(const Rect& rect) const
{
    Rect n = rect.Normalized();
    if (m_bounds.Intersect(n).IsEmpty())
        return false;
    for (const Rect& r : m_rects) {
        if (!r.Intersect(n).IsEmpty())
            return true;
    }
    return false;
}

void Region::Offset(int32_t dx, int32_t dy)
{
    for (Rect& r : m_rects)
        r = r.Offset(dx, dy);
    if (!m_rects.empty())
        m_bounds = m_bounds.Offset(dx, dy);
}

} // namespace tamber::gfx
