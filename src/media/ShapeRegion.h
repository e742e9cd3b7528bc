#pragma once

#include <cstdint>
#include <vector>

#include "platform/gfx/Point.h"
#include "platform/gfx/Region.h"

namespace tamber {

// How a new shape joins the region (the numbers are those of the platform's region calls).
enum class RegionCombine : int32_t {
    Replace = 0,
    Intersection = 1,
    Union = 2,
    Difference = 4,
};

// A region built from shapes for hit tests and shaped drawing.
class ShapeRegion {
public:
    void AddRectangle(int32_t x, int32_t y, int32_t width, int32_t height, RegionCombine mode);
    void AddEllipse(int32_t x, int32_t y, int32_t width, int32_t height, RegionCombine mode);
    void AddRoundRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t ellipseWidth, int32_t ellipseHeight,
                      RegionCombine mode);
    void AddPolygon(const std::vector<gfx::Point>& points, RegionCombine mode);

    bool IsEmpty() const { return m_empty; }
    bool Contains(int32_t x, int32_t y) const { return !m_empty && m_region.Contains({x, y}); }
    // The bounding box as x, y, width, height (all 0 when empty).
    void GetBox(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const;
    const gfx::Region& Region() const { return m_region; }

private:
    void Add(const gfx::Region& shape, RegionCombine mode);

    gfx::Region m_region;
    bool m_empty = true;
};

}  // namespace tamber
