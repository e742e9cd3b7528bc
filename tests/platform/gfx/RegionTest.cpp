#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "platform/gfx/GfxTestSupport.h"
#include "platform/gfx/Region.h"

namespace tamber::gfx {
namespace {

using test::Lcg;

constexpr int32_t kGrid = 40;
using PixelSet = std::vector<bool>;

PixelSet ToSet(const Region& r)
{
    PixelSet s(kGrid * kGrid);
    for (int32_t y = 0; y < kGrid; ++y) {
        for (int32_t x = 0; x < kGrid; ++x)
            s[static_cast<size_t>(y * kGrid + x)] = r.Contains(Point { x, y });
    }
    return s;
}

// The banded form: sorted, bands share top and bottom, no overlaps or touching neighbours, and
// vertically adjacent bands differ.
void ExpectCanonical(const Region& r)
{
    const auto& rects = r.Rects();
    for (size_t i = 0; i < rects.size(); ++i) {
        ASSERT_FALSE(rects[i].IsEmpty());
        if (i == 0)
            continue;
        const Rect &a = rects[i - 1], &b = rects[i];
        if (a.top == b.top) {
            ASSERT_EQ(a.bottom, b.bottom);
            ASSERT_LT(a.right, b.left) << "spans of one band touch or overlap";
        } else {
            ASSERT_GE(b.top, a.bottom);
        }
    }
    Rect bounds;
    for (const Rect& x : rects)
        bounds = bounds.Union(x);
    EXPECT_EQ(r.Bounds(), bounds);
}

Region RandomShape(Lcg& rng)
{
    Rect box = Rect { rng.Range(-3, 30), rng.Range(-3, 30), 0, 0 };
    box.right = box.left + rng.Range(1, 18);
    box.bottom = box.top + rng.Range(1, 18);
    switch (rng.Range(0, 3)) {
    case 0: return Region(box);
    case 1: return Region::FromEllipse(box);
    case 2: return Region::FromRoundRect(box, rng.Range(0, 10), rng.Range(0, 10));
    default: {
        Point pts[5];
        for (Point& p : pts)
            p = Point { rng.Range(0, kGrid), rng.Range(0, kGrid) };
        return Region::FromPolygon(pts, 5, rng.Range(0, 1) ? FillMode::Winding : FillMode::Alternate);
    }
    }
}

TEST(Region, CombiningAgreesWithPixelSets)
{
    Lcg rng(11);
    const std::pair<CombineMode, std::function<bool(bool, bool)>> modes[] = {
        { CombineMode::And, [](bool a, bool b) { return a && b; } },
        { CombineMode::Or, [](bool a, bool b) { return a || b; } },
        { CombineMode::Xor, [](bool a, bool b) { return a != b; } },
        { CombineMode::Diff, [](bool a, bool b) { return a && !b; } },
        { CombineMode::Copy, [](bool a, bool) { return a; } },
    };
    for (int round = 0; round < 200; ++round) {
        Region a = RandomShape(rng), b = RandomShape(rng);
        // Chains of operations keep the form canonical too.
        if (round % 3 == 0)
            a = Region::Combine(a, RandomShape(rng), CombineMode::Or);
        PixelSet sa = ToSet(a), sb = ToSet(b);
        for (const auto& [mode, model] : modes) {
            Region c = Region::Combine(a, b, mode);
            ExpectCanonical(c);
            PixelSet sc = ToSet(c);
            for (size_t i = 0; i < sc.size(); ++i)
                ASSERT_EQ(sc[i], model(sa[i], sb[i])) << "round " << round << " mode " << static_cast<int>(mode);
        }
    }
}

TEST(Region, EqualPixelSetsGiveEqualRegions)
{
    // Two rectangles side by side are one rectangle.
    Region r(Rect { 0, 0, 5, 5 });
    r.CombineWith(Region(Rect { 5, 0, 9, 5 }), CombineMode::Or);
    EXPECT_EQ(r, Region(Rect { 0, 0, 9, 5 }));
    EXPECT_EQ(r.Kind(), RegionKind::Simple);
    r.CombineWith(Region(Rect { 2, 2, 3, 3 }), CombineMode::Diff);
    EXPECT_EQ(r.Kind(), RegionKind::Complex);
    r.CombineWith(Region(Rect { 2, 2, 3, 3 }), CombineMode::Or);
    EXPECT_EQ(r, Region(Rect { 0, 0, 9, 5 }));
    EXPECT_EQ(Region::Combine(r, r, CombineMode::Xor).Kind(), RegionKind::Null);
}

TEST(Region, EllipseHoldsPixelsWhoseCentresAreInside)
{
    for (Rect box : { Rect { 0, 0, 1, 1 }, Rect { 2, 3, 9, 8 }, Rect { 0, 0, 16, 16 }, Rect { 1, 1, 30, 7 },
                      Rect { 5, 0, 6, 20 }, Rect { 0, 0, 4, 4 } }) {
        Region e = Region::FromEllipse(box);
        ExpectCanonical(e);
        double cx = (box.left + box.right) / 2.0, cy = (box.top + box.bottom) / 2.0;
        double rx = box.Width() / 2.0, ry = box.Height() / 2.0;
        for (int32_t y = -1; y <= box.bottom; ++y) {
            for (int32_t x = -1; x <= box.right; ++x) {
                double u = (x + 0.5 - cx) / rx, v = (y + 0.5 - cy) / ry;
                bool inside = u * u + v * v <= 1.0 + 1e-12;
                EXPECT_EQ(e.Contains(Point { x, y }), inside) << x << "," << y;
                // Mirror images about both axes of the box.
                Point mx { box.left + box.right - 1 - x, y }, my { x, box.top + box.bottom - 1 - y };
                EXPECT_EQ(e.Contains(Point { x, y }), e.Contains(mx));
                EXPECT_EQ(e.Contains(Point { x, y }), e.Contains(my));
            }
        }
    }
    EXPECT_TRUE(Region::FromEllipse(Rect { 3, 3, 3, 9 }).IsEmpty());
}

// Crossing-number and winding-number tests of pixel centres.
bool InsidePolygon(const std::vector<Point>& poly, double px, double py, FillMode mode)
{
    int crossings = 0, winding = 0;
    for (size_t i = 0; i < poly.size(); ++i) {
        Point a = poly[i], b = poly[(i + 1) % poly.size()];
        if (a.y == b.y)
            continue;
        bool up = a.y < b.y;
        double y0 = std::min(a.y, b.y), y1 = std::max(a.y, b.y);
        if (py < y0 || py >= y1)
            continue;
        double x = a.x + (py - a.y) * (b.x - a.x) / static_cast<double>(b.y - a.y);
        if (x <= px) { // the crossing lies left of the centre (a centre on an edge belongs to it)
            ++crossings;
            winding += up ? 1 : -1;
        }
    }
    return mode == FillMode::Alternate ? (crossings % 2) == 1 : winding != 0;
}

TEST(Region, PolygonFillModesAgreeWithCrossingAndWindingNumbers)
{
    // A five-pointed star: its centre is outside with alternate filling, inside with winding.
    std::vector<Point> star { { 20, 2 }, { 31, 36 }, { 2, 14 }, { 38, 14 }, { 9, 36 } };
    Region alt = Region::FromPolygon(star.data(), 5, FillMode::Alternate);
    Region wind = Region::FromPolygon(star.data(), 5, FillMode::Winding);
    EXPECT_FALSE(alt.Contains(Point { 20, 20 }));
    EXPECT_TRUE(wind.Contains(Point { 20, 20 }));
    Lcg rng(5);
    for (int round = 0; round < 60; ++round) {
        std::vector<Point> poly;
        int n = rng.Range(3, 7);
        for (int i = 0; i < n; ++i)
            poly.push_back(Point { rng.Range(0, kGrid - 1), rng.Range(0, kGrid - 1) });
        if (round == 0)
            poly = star;
        for (FillMode mode : { FillMode::Alternate, FillMode::Winding }) {
            Region r = Region::FromPolygon(poly.data(), static_cast<int32_t>(poly.size()), mode);
            ExpectCanonical(r);
            for (int32_t y = 0; y < kGrid; ++y) {
                for (int32_t x = 0; x < kGrid; ++x)
                    ASSERT_EQ(r.Contains(Point { x, y }), InsidePolygon(poly, x + 0.5, y + 0.5, mode))
                        << "round " << round << " at " << x << "," << y;
            }
        }
    }
    // A rectangle as a polygon covers what the rectangle covers.
    Point box[] = { { 2, 3 }, { 9, 3 }, { 9, 7 }, { 2, 7 } };
    EXPECT_EQ(Region::FromPolygon(box, 4, FillMode::Alternate), Region(Rect { 2, 3, 9, 7 }));
}

TEST(Region, RoundRectangleKeepsStraightEdgesAndRoundCorners)
{
    Region r = Region::FromRoundRect(Rect { 0, 0, 20, 10 }, 8, 6);
    ExpectCanonical(r);
    EXPECT_EQ(r.Bounds(), (Rect { 0, 0, 20, 10 }));
    EXPECT_FALSE(r.Contains(Point { 0, 0 }));
    EXPECT_FALSE(r.Contains(Point { 19, 9 }));
    EXPECT_TRUE(r.Contains(Point { 10, 0 }));
    EXPECT_TRUE(r.Contains(Point { 0, 5 }));
    // Corner ellipses of zero size give the plain rectangle.
    EXPECT_EQ(Region::FromRoundRect(Rect { 0, 0, 5, 5 }, 0, 0), Region(Rect { 0, 0, 5, 5 }));
}

TEST(Region, HitTestBoundsAndOffset)
{
    Region r(Rect { 0, 0, 4, 4 });
    r.CombineWith(Region(Rect { 10, 10, 12, 20 }), CombineMode::Or);
    EXPECT_EQ(r.Bounds(), (Rect { 0, 0, 12, 20 }));
    EXPECT_TRUE(r.Contains(Point { 11, 19 }));
    EXPECT_FALSE(r.Contains(Point { 12, 19 }));
    EXPECT_FALSE(r.Contains(Point { 5, 5 }));
    EXPECT_TRUE(r.Intersects(Rect { 3, 3, 11, 11 }));
    EXPECT_FALSE(r.Intersects(Rect { 4, 4, 10, 10 }));
    r.Offset(-10, 5);
    EXPECT_EQ(r.Bounds(), (Rect { -10, 5, 2, 25 }));
    EXPECT_TRUE(r.Contains(Point { -10, 5 }));
}

} // namespace
} // namespace tamber::gfx
