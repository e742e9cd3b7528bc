#include "media/CanvasObject.h"

#include <algorithm>
#include <cmath>

namespace tamber {

namespace {

// Members of groups nest; a damaged canvas could make a group hold itself.
constexpr int kMaxNesting = 32;

gfx::Rect BoxOf(const CanvasObject& object, int depth)
{
    gfx::Rect box;
    if (!object.points.empty()) {
        const gfx::Point first = object.points.front();
        box = gfx::Rect { first.x, first.y, first.x, first.y };
        for (const gfx::Point& p : object.points) {
            box.left = std::min(box.left, p.x);
            box.top = std::min(box.top, p.y);
            box.right = std::max(box.right, p.x);
            box.bottom = std::max(box.bottom, p.y);
        }
        ++box.right;
        ++box.bottom;
    } else {
        box = object.bound;
    }
    if (depth < kMaxNesting) {
        for (const CanvasObject* member : object.members)
            box = box.Union(BoxOf(*member, depth + 1));
    }
    return box;
}

int32_t Clamp32(double v)
{
    return static_cast<int32_t>(std::clamp<double>(v, -kMaxCanvasCoordinate, kMaxCanvasCoordinate));
}

// Maps a coordinate from the span [from0, from1] to [to0, to1].
int32_t Scale(int32_t v, int32_t from0, int32_t from1, int32_t to0, int32_t to1)
{
    const double offset = static_cast<double>(v) - from0;
    if (from1 == from0)
        return Clamp32(offset + to0);
    return Clamp32(
        to0 + std::trunc(offset * (static_cast<double>(to1) - to0) / (static_cast<double>(from1) - from0)));
}

struct Mapping {
    gfx::Rect from; // corners, right and bottom inclusive
    gfx::Rect to;
    gfx::Point operator()(gfx::Point p) const
    {
        return gfx::Point { Scale(p.x, from.left, from.right, to.left, to.right),
            Scale(p.y, from.top, from.bottom, to.top, to.bottom) };
    }
};

void MapObject(CanvasObject& object, const Mapping& map, int depth)
{
    for (gfx::Point& p : object.points)
        p = map(p);
    if (!object.bound.IsEmpty()) {
        const gfx::Point a = map(gfx::Point { object.bound.left, object.bound.top });
        const gfx::Point b = map(gfx::Point { object.bound.right, object.bound.bottom });
        object.bound = gfx::Rect { a.x, a.y, b.x, b.y }.Normalized();
    }
    if (depth < kMaxNesting) {
        for (CanvasObject* member : object.members)
            MapObject(*member, map, depth + 1);
    }
}

void OffsetObject(CanvasObject& object, int32_t dx, int32_t dy, int depth)
{
    auto move = [](int32_t v, int32_t d) { return Clamp32(static_cast<double>(v) + d); };
    for (gfx::Point& p : object.points)
        p = gfx::Point { move(p.x, dx), move(p.y, dy) };
    object.bound = gfx::Rect { move(object.bound.left, dx), move(object.bound.top, dy),
        move(object.bound.right, dx), move(object.bound.bottom, dy) };
    if (depth < kMaxNesting) {
        for (CanvasObject* member : object.members)
            OffsetObject(*member, dx, dy, depth + 1);
    }
}

void ApplyTo(CanvasObject& object, const CanvasAttributes& a, int depth)
{
    if (a.foreColor)
        object.foreColor = *a.foreColor;
    if (a.fillColor) {
        object.fillColor = *a.fillColor;
        object.filled = true;
    }
    if (a.lineWidth)
        object.lineWidth = *a.lineWidth;
    if (a.font)
        object.font = *a.font;
    if (a.transparency) {
        object.transparency = NormaliseTransparency(*a.transparency);
        object.transparencyGiven = true;
    }
    if (a.keyColor) {
        object.keyColor = *a.keyColor;
        object.keyColorGiven = true;
    }
    if (depth < kMaxNesting) {
        for (CanvasObject* member : object.members)
            ApplyTo(*member, a, depth + 1);
    }
}

} // namespace

int32_t NormaliseTransparency(int32_t value)
{
    if (value < 0)
        return 0;
    return value <= kOpaque ? value : value % kOpaque;
}

int32_t ClampCoordinate(int64_t value)
{
    return static_cast<int32_t>(std::clamp<int64_t>(value, -kMaxCanvasCoordinate, kMaxCanvasCoordinate));
}

gfx::Rect CanvasObject::Box() const
{
    return BoxOf(*this, 0);
}

gfx::Point CanvasObject::Anchor() const
{
    return points.empty() ? gfx::Point { bound.left, bound.top } : points.front();
}

void CanvasObject::Offset(int32_t dx, int32_t dy)
{
    OffsetObject(*this, dx, dy, 0);
}

void CanvasObject::Apply(const CanvasAttributes& attributes)
{
    ApplyTo(*this, attributes, 0);
}

void CanvasObject::Resize(int32_t handle, gfx::Point to)
{
    const gfx::Rect box = Box();
    if (box.IsEmpty() || handle < 0 || handle > 7)
        return;
    // Inclusive corners, so that a one-pixel-wide side keeps its place.
    Mapping map { gfx::Rect { box.left, box.top, box.right - 1, box.bottom - 1 },
        gfx::Rect { box.left, box.top, box.right - 1, box.bottom - 1 } };
    const bool left = handle == 0 || handle == 6 || handle == 7;
    const bool right = handle == 2 || handle == 3 || handle == 4;
    const bool top = handle == 0 || handle == 1 || handle == 2;
    const bool bottom = handle == 4 || handle == 5 || handle == 6;
    if (left)
        map.to.left = to.x;
    if (right)
        map.to.right = to.x;
    if (top)
        map.to.top = to.y;
    if (bottom)
        map.to.bottom = to.y;
    MapObject(*this, map, 0);
}

} // namespace tamber
