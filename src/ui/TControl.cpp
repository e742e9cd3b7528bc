#include "ui/TControl.h"

#include <algorithm>

#include "ui/Application.h"

namespace tamber::ui {

TControl::TControl()
{
    SetNoBackground();
}

void TControl::SetTextColor(gfx::ColorRef color)
{
    m_textColor = color;
    Invalidate();
}

void TControl::SetBackColor(gfx::ColorRef color)
{
    m_backColor = color;
    Invalidate();
}

void TControl::SetBorder(ControlBorder border)
{
    m_border = border;
    FrameChanged();
}

Insets TControl::NonClientInsets() const
{
    int32_t b = m_border == ControlBorder::Sunken ? 2 : m_border == ControlBorder::Flat ? 1 : 0;
    return Insets { b, b, b, b };
}

void TControl::PaintNonClient(Painter& p)
{
    gfx::Rect r = RectInParent();
    gfx::Rect all { 0, 0, r.Width(), r.Height() };
    if (m_border == ControlBorder::Sunken)
        p.DrawEdge(all, Edge::Sunken);
    else if (m_border == ControlBorder::Flat)
        p.FrameRect(all, look::kDarkShadow);
}

void TControl::Notify(uint16_t code)
{
    uint32_t handle = Handle();
    if (TWindow* target = NotifyTarget())
        target->SendMessage(msg::kCommand, PackCommand(Id(), code), static_cast<intptr_t>(handle));
    if (m_listener && IsCreated())
        m_listener(*this, code);
}

namespace {

void CollectTabStops(TWindow& w, std::vector<TWindow*>& out)
{
    for (TWindow* child : w.Children()) {
        if (!child->IsShown() || !child->IsEnabled())
            continue;
        if (child->IsTabStop())
            out.push_back(child);
        else
            CollectTabStops(*child, out);
    }
}

} // namespace

void TControl::MoveFocus(TWindow& from, bool backwards)
{
    std::vector<TWindow*> stops;
    CollectTabStops(*from.TopLevel(), stops);
    if (stops.empty())
        return;
    // The stop that holds the focus (an edit field inside a combo box counts as the box).
    auto it = std::find_if(stops.begin(), stops.end(), [&](TWindow* s) { return from.IsWithin(s); });
    size_t index = 0;
    if (it != stops.end()) {
        size_t at = static_cast<size_t>(it - stops.begin());
        index = backwards ? (at + stops.size() - 1) % stops.size() : (at + 1) % stops.size();
    } else if (backwards) {
        index = stops.size() - 1;
    }
    stops[index]->SetFocus();
}

bool TControl::KeyDown(uint32_t key)
{
    switch (key) {
    case key::kEnter:
        Notify(notify::kEnterKey);
        return true;
    case key::kEscape:
        Notify(notify::kEscapeKey);
        return true;
    case key::kTab: {
        uint32_t handle = Handle();
        MoveFocus(*this, IsShiftDown());
        if (App() && App()->FromHandle(handle) == this)
            Notify(notify::kTabKey);
        return true;
    }
    default:
        return false;
    }
}

void TControl::FocusGained()
{
    Invalidate();
    Notify(notify::kSetFocus);
}

void TControl::FocusLost()
{
    Invalidate();
    Notify(notify::kKillFocus);
}

} // namespace tamber::ui
