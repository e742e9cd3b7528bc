#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/Point.h"
#include "platform/gfx/Rect.h"

namespace tamber::gfx {

enum class FillMode { Alternate = 1, Winding = 2 };
// How two regions combine (the numbering callers store).
enum class CombineMode { And = 1, Or = 2, Xor = 3, Diff = 4, Copy = 5 };
// What a region holds after an operation.
enum class RegionKind { Error = 0, Null = 1, Simple = 2, Complex = 3 };

// A set of pixels kept as y-x banded rectangles: sorted by top, then left; rectangles of one band
// share top and bottom, never overlap or touch, and vertically adjacent bands differ.
// Two regions holding the same pixels therefore hold the same rectangles.
class Region {
public:
    struct Span {
        int32_t left;
        int32_t right;
        friend bool operator==(const Span&, const Span&) = default;
    };

    Region() = default;
    explicit Region(const Rect& rect);

    static Region FromRect(const Rect& rect) { return Region(rect); }
    // Ellipse inscribed in the rectangle (right and bottom outside): a pixel belongs when its
    // centre lies inside or on the ellipse. Symmetric about both axes of the rectangle.
    static Region FromEllipse(const Rect& rect);
    // Rectangle whose corners are quarters of an ellipse ellipseWidth × ellipseHeight.
    static Region FromRoundRect(const Rect& rect, int32_t ellipseWidth, int32_t ellipseHeight);
    // Polygon closed from the last point to the first: a pixel belongs when its centre is inside
    // by the fill mode; pixels whose centres lie exactly on a left or top edge belong, those on a
    // right or bottom edge do not.
    static Region FromPolygon(const Point* points, int32_t count, FillMode mode);
    // Per-row spans: rows[i] are the spans of row top + i, each sorted and not overlapping.
    static Region FromRows(int32_t top, const std::vector<std::vector<Span>>& rows);

    static Region Combine(const Region& a, const Region& b, CombineMode mode);
    RegionKind CombineWith(const Region& other, CombineMode mode);

    RegionKind Kind() const;
    bool IsEmpty() const { return m_rects.empty(); }
    const std::vector<Rect>& Rects() const { return m_rects; }
    Rect Bounds() const { return m_bounds; }
    bool Contains(Point p) const;
    // True when any pixel of the rectangle belongs.
    bool Intersects(const Rect& rect) const;
    void Offset(int32_t dx, int32_t dy);
    void Clear();

    friend bool operator==(const Region& a, const Region& b) { return a.m_rects == b.m_rects; }

private:
    struct Band {
        int32_t top;
        int32_t bottom;
        std::vector<Span> spans;
    };
    static std::vector<Band> ToBands(const std::vector<Rect>& rects);
    void FromBands(const std::vector<Band>& bands);

    std::vector<Rect> m_rects;
    Rect m_bounds;
};

} // namespace tamber::gfx
