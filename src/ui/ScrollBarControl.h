#pragma once

#include "ui/TControl.h"

namespace tamber::ui {

enum class Orientation : uint8_t { Horizontal = 0, Vertical = 1 };

// A horizontal or vertical scroll bar: two arrows, a track and a thumb. The bar moves its own
// position and tells its owner with a scroll message (kHScroll or kVScroll) carrying one of the
// scroll codes and the new position: the arrows step by a line, the track by a page, dragging
// the thumb sends kThumbTrack on every move and kThumbPosition when let go; every mouse action
// ends with kEndScroll. Held arrows and track repeat on a timer.
class ScrollBarControl : public TControl {
public:
    static constexpr uint32_t kRepeatDelay = 400;
    static constexpr uint32_t kRepeatInterval = 50;
    static constexpr int32_t kMinThumb = 8;

    explicit ScrollBarControl(Orientation orientation = Orientation::Horizontal);

    Orientation GetOrientation() const { return m_orientation; }
    void SetOrientation(Orientation orientation);
    // A range whose maximum is below its minimum is ignored.
    void SetRange(int32_t min, int32_t max);
    void SetPage(int32_t page);
    // Moves the thumb without telling the owner; the position is kept within the range.
    void SetPos(int32_t pos);
    int32_t Min() const { return m_min; }
    int32_t Max() const { return m_max; }
    int32_t Page() const { return m_page; }
    int32_t Pos() const { return m_pos; }

    // Geometry along the bar, in client pixels.
    int32_t Length() const;
    int32_t Thickness() const;
    int32_t ArrowSize() const;
    void ThumbSpan(int32_t& start, int32_t& size) const;

protected:
    void Paint(Painter& p) override;
    void ButtonDown(gfx::Point p, uint32_t flags) override;
    void DoubleClick(gfx::Point p, uint32_t flags) override { ButtonDown(p, flags); }
    void MouseMove(gfx::Point p, uint32_t flags) override;
    void ButtonUp(gfx::Point p, uint32_t flags) override;
    void Timer(uint32_t id) override;
    bool KeyDown(uint32_t key) override;

private:
    enum class Part : uint8_t { None, ArrowBack, ArrowForward, PageBack, PageForward, Thumb };

    Part PartAt(gfx::Point p) const;
    int32_t Along(gfx::Point p) const { return m_orientation == Orientation::Horizontal ? p.x : p.y; }
    void Act(Part part);
    void Send(uint16_t code);
    int32_t PageStep() const { return m_page > 0 ? m_page : 1; }

    Orientation m_orientation;
    int32_t m_min = 0;
    int32_t m_max = 100;
    int32_t m_page = 0;
    int32_t m_pos = 0;
    Part m_active = Part::None;
    int32_t m_dragOffset = 0;
    bool m_repeating = false;
    static constexpr uint32_t kRepeatTimer = 1;
};

} // namespace tamber::ui
