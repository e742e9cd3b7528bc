#include "media/ShapeRegion.h"

namespace tamber {

void ShapeRegion::Add(const gfx::Region& shape, RegionCombine mode) {
    switch (mode) {
    case RegionCombine::Replace:
        m_region = shape;
        break;
    case RegionCombine::Intersection:
        m_region.CombineWith(shape, gfx::CombineMode::And);
        break;
    case RegionCombine::Union:
        m_region.CombineWith(shape, gfx::CombineMode::Or);
        break;
    case RegionCombine::Difference:
        m_region.CombineWith(shape, gfx::CombineMode::Diff);
        break;
    }
    m_empty = m_region.IsEmpty();
}

void ShapeRegion::AddRectangle(int32_t x, int32_t y, int32_t width, int32_t height, RegionCombine mode) {
    Add(gfx::Region::FromRect(gfx::Rect::FromSize(x, y, width, height).Normalized()), mode);
}

void ShapeRegion::AddEllipse(int32_t x, int32_t y, int32_t width, int32_t height, RegionCombine mode) {
    Add(gfx::Region::FromEllipse(gfx::Rect::FromSize(x, y, width, height).Normalized()), mode);
}

void ShapeRegion::AddRoundRect(int32_t x, int32_t y, int32_t width, int32_t height, int32_t ellipseWidth,
                               int32_t ellipseHeight, RegionCombine mode) {
    Add(gfx::Region::FromRoundRect(gfx::Rect::FromSize(x, y, width, height).Normalized(), ellipseWidth, ellipseHeight),
        mode);
}

void ShapeRegion::AddPolygon(const std::vector<gfx::Point>& points, RegionCombine mode) {
    Add(gfx::Region::FromPolygon(points.data(), static_cast<int32_t>(points.size()), gfx::FillMode::Alternate), mode);
}

void ShapeRegion::GetBox(int32_t& x, int32_t& y, int32_t& width, int32_t& height) const {
    const gfx::Rect box = m_empty ? gfx::Rect{} : m_region.Bounds();
    x = box.left;
    y = box.top;
    width = box.Width();
    height = box.Height();
}

}  // namespace tamber
