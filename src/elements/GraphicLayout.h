#pragma once

#include <cstdint>

#include "platform/gfx/Point.h"
#include "platform/gfx/Rect.h"

namespace tamber {

// Where a Graphic element's picture goes in its view: the display mode's rectangle, the scroll
// bars of the unscaled modes and the mapping of view positions back to picture pixels.
class GraphicLayout {
public:
    enum Display : uint16_t { kNormal = 0, kStretch = 1, kCenter = 2, kBestFit = 3 };
    // Scroll bar positions count steps of this many pixels.
    static constexpr int32_t kScrollStep = 8;
    // What a shown scroll bar takes from the area across it.
    static constexpr int32_t kBarThickness = 15;
    // The strip kept for the drawing tools in edit mode.
    static constexpr int32_t kToolStripWidth = 62;

    struct Bar {
        bool shown = false;
        int32_t max = 0;       // range maximum, in steps
        int32_t position = 0;  // in steps
    };

    // Recomputes everything for a client area and a picture; scroll positions are kept within
    // the new ranges.
    void Update(int32_t clientWidth, int32_t clientHeight, int32_t pictureWidth, int32_t pictureHeight,
        uint16_t display, bool editMode);

    // Where the picture is drawn, in client coordinates.
    const gfx::Rect& Picture() const { return m_picture; }
    // The client area the picture is laid out in (without the tool strip and the bars).
    const gfx::Rect& Area() const { return m_area; }
    // Whether the picture is stretched into Picture() rather than drawn at its corner.
    bool Scaled() const { return m_scaled; }
    const Bar& Horizontal() const { return m_horizontal; }
    const Bar& Vertical() const { return m_vertical; }

    // Sets the bar positions from pixel offsets (divided by the step, toward zero, and kept in
    // range; 0 without a bar). Answers whether a position changed.
    bool ScrollTo(int32_t x, int32_t y);
    int32_t ScrollX() const { return m_horizontal.shown ? m_horizontal.position * kScrollStep : 0; }
    int32_t ScrollY() const { return m_vertical.shown ? m_vertical.position * kScrollStep : 0; }
    int32_t MaxScrollX() const { return m_horizontal.shown ? m_horizontal.max * kScrollStep : 0; }
    int32_t MaxScrollY() const { return m_vertical.shown ? m_vertical.max * kScrollStep : 0; }

    // The picture pixel under a client position; false when the position is off the picture.
    bool ToPicture(gfx::Point client, gfx::Point& picture) const;

private:
    void Place();

    int32_t m_pictureWidth = 0;
    int32_t m_pictureHeight = 0;
    uint16_t m_display = kBestFit;
    gfx::Rect m_area;
    gfx::Rect m_picture;
    bool m_scaled = false;
    bool m_center = false;
    Bar m_horizontal;
    Bar m_vertical;
};

}  // namespace tamber
