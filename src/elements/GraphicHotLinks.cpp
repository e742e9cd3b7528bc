#include "elements/GraphicHotLinks.h"

#include <algorithm>

#include "media/Canvas.h"
#include "media/HotLinkTable.h"
#include "media/ShapeRegion.h"

namespace tamber {

bool GraphicHotLinks::ShapeContains(const CanvasObject& object, gfx::Point at)
{
    if (object.type == CanvasObjectType::Group)
        return std::any_of(object.members.begin(), object.members.end(),
            [at](const CanvasObject* member) { return member && ShapeContains(*member, at); });
    // Box() includes its right and bottom edges.
    gfx::Rect box = object.Box();
    const int32_t width = box.Width() + 1;
    const int32_t height = box.Height() + 1;
    ShapeRegion shape;
    switch (object.type) {
    case CanvasObjectType::Oval:
        shape.AddEllipse(box.left, box.top, width, height, RegionCombine::Replace);
        break;
    case CanvasObjectType::RoundRect:
        shape.AddRoundRect(box.left, box.top, width, height, width / 4, height / 4, RegionCombine::Replace);
        break;
    case CanvasObjectType::Polygon:
        if (object.points.size() >= 3) {
            shape.AddPolygon(object.points, RegionCombine::Replace);
            break;
        }
        [[fallthrough]];
    default:
        shape.AddRectangle(box.left, box.top, width, height, RegionCombine::Replace);
        break;
    }
    return shape.Contains(at.x, at.y);
}

std::optional<int32_t> GraphicHotLinks::Find(const HotLinkTable& links, const Canvas* canvas, gfx::Point at)
{
    for (const HotLink& link : links.Links()) {
        if (link.kind == HotLinkKind::Area) {
            gfx::Rect area = gfx::Rect::FromSize(link.area.x, link.area.y, link.area.width, link.area.height);
            if (area.Normalized().Contains(at))
                return link.linkId;
            continue;
        }
        if (!canvas || !link.object)
            continue;
        const auto& live = canvas->Live();
        if (std::find(live.begin(), live.end(), link.object) == live.end())
            continue;
        if (ShapeContains(*link.object, at))
            return link.linkId;
    }
    return std::nullopt;
}

std::optional<int32_t> GraphicHotLinks::Track(std::optional<int32_t> link)
{
    bool wasOver = m_over;
    m_over = link.has_value();
    if (m_over && !wasOver)
        return link;
    return std::nullopt;
}

}  // namespace tamber
