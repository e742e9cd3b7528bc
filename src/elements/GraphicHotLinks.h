#pragma once

#include <cstdint>
#include <optional>

#include "platform/gfx/Point.h"

namespace tamber {

class Canvas;
struct CanvasObject;
class HotLinkTable;

// Hit tests a Graphic medium's hot links in picture pixels: area links by their rectangle,
// object links by the shape of their canvas object while it is live.
class GraphicHotLinks {
public:
    // The link id of the first link in table order under the point; canvas may be null (object
    // links then never match).
    static std::optional<int32_t> Find(const HotLinkTable& links, const Canvas* canvas, gfx::Point at);
    // Whether the point lies within the object's shape (members' shapes for a group).
    static bool ShapeContains(const CanvasObject& object, gfx::Point at);

    // The pointer moved to the link (none: off every link). Answers the link to announce when
    // the pointer has just come onto a link after being off all of them.
    std::optional<int32_t> Track(std::optional<int32_t> link);
    bool Over() const { return m_over; }

private:
    bool m_over = false;
};

}  // namespace tamber
