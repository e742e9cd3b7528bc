#include "ui/ScrollBarControl.h"

#include <algorithm>

namespace tamber::ui {

ScrollBarControl::ScrollBarControl(Orientation orientation)
    : m_orientation(orientation)
{
    m_backColor = look::kFace;
}

void ScrollBarControl::SetOrientation(Orientation orientation)
{
    m_orientation = orientation;
    Invalidate();
}

void ScrollBarControl::SetRange(int32_t min, int32_t max)
{
    if (max < min)
        return;
    m_min = min;
    m_max = max;
    m_pos = std::clamp(m_pos, m_min, m_max);
    Invalidate();
}

void ScrollBarControl::SetPage(int32_t page)
{
    m_page = std::max(0, page);
    Invalidate();
}

void ScrollBarControl::SetPos(int32_t pos)
{
    pos = std::clamp(pos, m_min, m_max);
    if (pos == m_pos)
        return;
    m_pos = pos;
    Invalidate();
}

int32_t ScrollBarControl::Length() const
{
    return m_orientation == Orientation::Horizontal ? ClientWidth() : ClientHeight();
}

int32_t ScrollBarControl::Thickness() const
{
    return m_orientation == Orientation::Horizontal ? ClientHeight() : ClientWidth();
}

int32_t ScrollBarControl::ArrowSize() const
{
    return std::max(0, std::min(Thickness(), Length() / 2));
}

void ScrollBarControl::ThumbSpan(int32_t& start, int32_t& size) const
{
    int32_t arrow = ArrowSize();
    int32_t track = Length() - 2 * arrow;
    int64_t range = static_cast<int64_t>(m_max) - m_min;
    if (m_page > 0)
        size = static_cast<int32_t>(static_cast<int64_t>(track) * m_page / (range + m_page));
    else
        size = Thickness();
    size = std::max(size, kMinThumb);
    if (size > track) {
        start = arrow;
        size = 0; // no room for a thumb
        return;
    }
    int32_t room = track - size;
    start = arrow + (range > 0 ? static_cast<int32_t>(room * (static_cast<int64_t>(m_pos) - m_min) / range) : 0);
}

ScrollBarControl::Part ScrollBarControl::PartAt(gfx::Point p) const
{
    int32_t a = Along(p);
    int32_t arrow = ArrowSize();
    if (a < arrow)
        return Part::ArrowBack;
    if (a >= Length() - arrow)
        return Part::ArrowForward;
    int32_t start, size;
    ThumbSpan(start, size);
    if (size == 0)
        return Part::None;
    if (a < start)
        return Part::PageBack;
    if (a >= start + size)
        return Part::PageForward;
    return Part::Thumb;
}

void ScrollBarControl::Send(uint16_t code)
{
    uint32_t message = m_orientation == Orientation::Horizontal ? msg::kHScroll : msg::kVScroll;
    uintptr_t w = static_cast<uintptr_t>(code) | static_cast<uintptr_t>(static_cast<uint16_t>(m_pos)) << 16;
    if (TWindow* target = NotifyTarget())
        target->SendMessage(message, w, static_cast<intptr_t>(Handle()));
    Tell(code);
}

void ScrollBarControl::Act(Part part)
{
    switch (part) {
    case Part::ArrowBack:
        SetPos(m_pos - 1);
        Send(scroll::kLineUp);
        break;
    case Part::ArrowForward:
        SetPos(m_pos + 1);
        Send(scroll::kLineDown);
        break;
    case Part::PageBack:
        SetPos(m_pos - PageStep());
        Send(scroll::kPageUp);
        break;
    case Part::PageForward:
        SetPos(m_pos + PageStep());
        Send(scroll::kPageDown);
        break;
    default:
        break;
    }
}

void ScrollBarControl::ButtonDown(gfx::Point p, uint32_t)
{
    if (IsTabStop())
        SetFocus();
    Part part = PartAt(p);
    if (part == Part::None)
        return;
    SetCapture();
    m_active = part;
    if (part == Part::Thumb) {
        int32_t start, size;
        ThumbSpan(start, size);
        m_dragOffset = Along(p) - start;
    } else {
        Act(part);
        m_repeating = false;
        SetTimer(kRepeatTimer, kRepeatDelay);
    }
    Invalidate();
}

void ScrollBarControl::MouseMove(gfx::Point p, uint32_t)
{
    if (m_active != Part::Thumb || !HasCapture())
        return;
    int32_t start, size;
    ThumbSpan(start, size);
    int32_t arrow = ArrowSize();
    int32_t room = Length() - 2 * arrow - size;
    if (room <= 0)
        return;
    int32_t along = std::clamp(Along(p) - m_dragOffset - arrow, 0, room);
    int64_t range = static_cast<int64_t>(m_max) - m_min;
    int32_t pos = m_min + static_cast<int32_t>((along * range + room / 2) / room);
    if (pos != m_pos) {
        SetPos(pos);
        Send(scroll::kThumbTrack);
    }
}

void ScrollBarControl::ButtonUp(gfx::Point, uint32_t)
{
    if (m_active == Part::None)
        return;
    Part was = m_active;
    m_active = Part::None;
    KillTimer(kRepeatTimer);
    ReleaseCapture();
    Invalidate();
    if (was == Part::Thumb)
        Send(scroll::kThumbPosition);
    Send(scroll::kEndScroll);
}

void ScrollBarControl::Timer(uint32_t id)
{
    if (id != kRepeatTimer || m_active == Part::None || m_active == Part::Thumb)
        return;
    if (!m_repeating) {
        m_repeating = true;
        SetTimer(kRepeatTimer, kRepeatInterval);
    }
    // The track repeats only while the pointer stays over the same side of the thumb.
    Part under = PartAt(ScreenToClient(CursorPosition()));
    if (under == m_active)
        Act(m_active);
}

bool ScrollBarControl::KeyDown(uint32_t key)
{
    switch (key) {
    case key::kLeft:
    case key::kUp:
        Act(Part::ArrowBack);
        return true;
    case key::kRight:
    case key::kDown:
        Act(Part::ArrowForward);
        return true;
    case key::kPageUp:
        Act(Part::PageBack);
        return true;
    case key::kPageDown:
        Act(Part::PageForward);
        return true;
    case key::kHome:
        SetPos(m_min);
        Send(scroll::kThumbPosition);
        return true;
    case key::kEnd:
        SetPos(m_max);
        Send(scroll::kThumbPosition);
        return true;
    default:
        return TControl::KeyDown(key);
    }
}

void ScrollBarControl::Paint(Painter& p)
{
    gfx::Rect r = ClientRect();
    bool horizontal = m_orientation == Orientation::Horizontal;
    int32_t arrow = ArrowSize();
    int32_t length = Length();
    auto span = [&](int32_t from, int32_t to) {
        return horizontal ? gfx::Rect { from, 0, to, r.bottom } : gfx::Rect { 0, from, r.right, to };
    };
    // The track: a fine checker of face and white, as the classic look has it.
    gfx::Rect track = span(arrow, length - arrow);
    p.FillRect(track, look::kFace);
    for (int32_t y = track.top; y < track.bottom; ++y) {
        for (int32_t x = track.left + ((y + track.left) & 1); x < track.right; x += 2)
            p.SetPixel(x, y, look::kHighlight);
    }
    if (m_active == Part::PageBack || m_active == Part::PageForward) {
        int32_t start, size;
        ThumbSpan(start, size);
        gfx::Rect lit = m_active == Part::PageBack ? span(arrow, start) : span(start + size, length - arrow);
        p.FillRect(lit, look::kDarkShadow);
    }
    gfx::ColorRef ink = IsEnabled() && m_max > m_min ? look::kText : look::kGrayText;
    auto drawArrow = [&](const gfx::Rect& box, Painter::Direction dir, bool pressed) {
        p.FillRect(box, look::kFace);
        p.DrawEdge(box, pressed ? Edge::Pressed : Edge::Raised);
        int32_t cx = box.left + box.Width() / 2 + (pressed ? 1 : 0) - (horizontal ? 0 : 0);
        int32_t cy = box.top + box.Height() / 2 + (pressed ? 1 : 0);
        int32_t size = std::max(1, std::min(box.Width(), box.Height()) / 4);
        switch (dir) {
        case Painter::Direction::Up:
            p.Arrow(gfx::Point { cx - 1, cy - size / 2 - 1 }, size, dir, ink);
            break;
        case Painter::Direction::Down:
            p.Arrow(gfx::Point { cx - 1, cy + size / 2 }, size, dir, ink);
            break;
        case Painter::Direction::Left:
            p.Arrow(gfx::Point { cx - size / 2 - 1, cy - 1 }, size, dir, ink);
            break;
        case Painter::Direction::Right:
            p.Arrow(gfx::Point { cx + size / 2, cy - 1 }, size, dir, ink);
            break;
        }
    };
    drawArrow(span(0, arrow), horizontal ? Painter::Direction::Left : Painter::Direction::Up, m_active == Part::ArrowBack);
    drawArrow(span(length - arrow, length), horizontal ? Painter::Direction::Right : Painter::Direction::Down,
              m_active == Part::ArrowForward);
    int32_t start, size;
    ThumbSpan(start, size);
    if (size > 0 && m_max > m_min) {
        gfx::Rect thumb = span(start, start + size);
        p.FillRect(thumb, look::kFace);
        p.DrawEdge(thumb, Edge::Raised);
    }
    if (HasFocus() && size > 0)
        p.FocusRect(span(start, start + size).Inflate(-3, -3));
}

} // namespace tamber::ui
