#include "ui/ControlTip.h"

#include "ui/Application.h"

namespace tamber::ui {

ControlTip::ControlTip()
{
    SetLayer(Layer::Topmost);
    SetBackground(kBack);
    gfx::FontRequest font;
    font.faceName = "Helv";
    font.height = 8;
    SetFont(font);
}

ControlTip::~ControlTip()
{
    Detach();
    Destroy();
}

int ControlTip::Attach(TWindow& control, std::string hint)
{
    Detach();
    Destroy();
    if (!control.IsCreated())
        return 0;
    m_hint = std::move(hint);
    SetOwner(&control);
    auto face = Font();
    int32_t width = Painter::TextWidth(face.get(), m_hint) + 7;
    int32_t height = (face ? face->Metrics().height : 0) + 3;
    if (!Create(nullptr, m_hint, gfx::Rect::FromSize(0, 0, width, height)))
        return 0;
    m_control = &control;
    control.AddHook(this);
    return 1;
}

void ControlTip::Detach()
{
    if (!m_control)
        return;
    m_control->RemoveHook(this);
    m_control = nullptr;
    HideTip();
}

void ControlTip::HideTip()
{
    StopTimer();
    Hide();
}

bool ControlTip::Filter(TWindow& window, uint32_t code, uintptr_t, intptr_t, intptr_t&)
{
    switch (code) {
    case msg::kMouseMove:
        if (!IsShown())
            StartTimer(kDelay);
        break;
    case msg::kButtonDown:
    case msg::kButtonUp:
    case msg::kDoubleClick:
    case msg::kRightButtonDown:
    case msg::kRightButtonUp:
    case msg::kMouseLeave:
        HideTip();
        break;
    case msg::kDestroy:
        Detach();
        break;
    default:
        break;
    }
    return false; // the control still gets every message
}

void ControlTip::Timer(uint32_t id)
{
    if (id != TimerId())
        return;
    StopTimer();
    Application* app = App();
    if (!app || !m_control || !m_control->IsVisible())
        return;
    gfx::Point pointer = app->CursorPosition();
    if (!m_control->WindowRect().Contains(pointer))
        return;
    gfx::Rect r = RectInParent();
    int32_t x = pointer.x, y = pointer.y + kPointerGap;
    while (x > 0 && x + r.Width() > app->Screen().Width())
        x -= kStep;
    while (y > 0 && y + r.Height() > app->Screen().Height())
        y -= kStep;
    Move(x, y);
    Show();
}

void ControlTip::Paint(Painter& p)
{
    gfx::Rect r = ClientRect();
    p.FillRect(r, kBack);
    p.FrameRect(r, kInk);
    p.HLine(1, r.right - 1, r.bottom - 2, kInk);
    p.VLine(r.right - 2, 1, r.bottom - 1, kInk);
    p.DrawText(3, 1, m_hint, kInk);
}

} // namespace tamber::ui
