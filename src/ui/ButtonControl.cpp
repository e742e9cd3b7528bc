#include "ui/ButtonControl.h"

#include "ui/Application.h"

namespace tamber::ui {

namespace {

constexpr int32_t kMarkSize = 13;

bool IsRadio(ButtonKind k)
{
    return k == ButtonKind::Radio || k == ButtonKind::Radio3d;
}

bool IsCheckKind(ButtonKind k)
{
    return k == ButtonKind::Check || k == ButtonKind::Check3d || k == ButtonKind::ThreeState;
}

} // namespace

ButtonControl::ButtonControl(ButtonKind kind)
    : m_kind(kind)
{
    if (kind == ButtonKind::Push || kind == ButtonKind::DefaultPush)
        m_backColor = look::kFace;
}

void ButtonControl::SetKind(ButtonKind kind)
{
    m_kind = kind;
    Invalidate();
}

void ButtonControl::SetCheck(int32_t state)
{
    int32_t limit = m_kind == ButtonKind::ThreeState ? 2 : 1;
    state = state < 0 ? 0 : state > limit ? limit : state;
    if (state == m_check)
        return;
    m_check = state;
    Invalidate();
}

void ButtonControl::SetBitmaps(ButtonBitmaps bitmaps)
{
    m_bitmaps = std::move(bitmaps);
    Invalidate();
}

void ButtonControl::SetDrawCaption(DrawCaption draw)
{
    m_drawCaption = draw;
    Invalidate();
}

void ButtonControl::Click()
{
    if (!IsEnabled())
        return;
    if (m_kind == ButtonKind::Check || m_kind == ButtonKind::Check3d) {
        SetCheck(m_check ? 0 : 1);
    } else if (m_kind == ButtonKind::ThreeState) {
        SetCheck((m_check + 1) % 3);
    } else if (IsRadio(m_kind)) {
        SetCheck(1);
        if (!m_group.empty() && Parent()) {
            for (TWindow* sibling : Parent()->Children()) {
                auto* radio = dynamic_cast<ButtonControl*>(sibling);
                if (radio && radio != this && IsRadio(radio->Kind()) && radio->Group() == m_group)
                    radio->SetCheck(0);
            }
        }
    }
    Notify(notify::kClicked);
}

void ButtonControl::ButtonDown(gfx::Point p, uint32_t)
{
    SetFocus();
    SetCapture();
    m_pressed = true;
    Invalidate();
}

void ButtonControl::MouseMove(gfx::Point p, uint32_t)
{
    bool inside = ClientRect().Contains(p);
    if (inside != m_hover) {
        m_hover = inside;
        if (m_kind == ButtonKind::Bitmap5)
            Invalidate();
    }
    if (HasCapture() && inside != m_pressed) {
        m_pressed = inside;
        Invalidate();
    }
}

void ButtonControl::ButtonUp(gfx::Point p, uint32_t)
{
    if (!HasCapture())
        return;
    ReleaseCapture();
    bool click = m_pressed && ClientRect().Contains(p);
    m_pressed = false;
    Invalidate();
    if (click)
        Click();
}

void ButtonControl::DoubleClick(gfx::Point, uint32_t)
{
    Notify(notify::kDoubleClicked);
}

void ButtonControl::MouseLeave()
{
    if (m_hover) {
        m_hover = false;
        if (m_kind == ButtonKind::Bitmap5)
            Invalidate();
    }
}

bool ButtonControl::KeyDown(uint32_t key)
{
    if (key == key::kSpace) {
        Click();
        return true;
    }
    return TControl::KeyDown(key);
}

const gfx::Image* ButtonControl::CurrentBitmap() const
{
    const ButtonBitmaps& b = m_bitmaps;
    auto pick = [](const std::shared_ptr<const gfx::Image>& first, const std::shared_ptr<const gfx::Image>& second) {
        return first ? first.get() : second.get();
    };
    bool down = m_pressed || (IsRadio(m_kind) || IsCheckKind(m_kind) ? m_check != 0 : false);
    if (!IsEnabled())
        return pick(b.disabled, b.up);
    bool highlight = m_kind == ButtonKind::Bitmap5 && m_hover;
    if (down)
        return highlight ? pick(b.downHighlight, b.down ? b.down : b.up) : pick(b.down, b.up);
    return highlight ? pick(b.upHighlight, b.up) : b.up.get();
}

void ButtonControl::PaintCaption(Painter& p, const gfx::Rect& rect, HAlign align)
{
    const std::string& text = Caption();
    if (text.empty())
        return;
    if (!IsEnabled()) {
        p.DrawTextAligned(rect.Offset(1, 1), text, look::kHighlight, align, VAlign::Center, Mnemonic::Underline);
        p.DrawTextAligned(rect, text, look::kGrayText, align, VAlign::Center, Mnemonic::Underline);
        return;
    }
    p.DrawTextAligned(rect, text, m_textColor, align, VAlign::Center, Mnemonic::Underline);
}

void ButtonControl::PaintPush(Painter& p)
{
    gfx::Rect r = ClientRect();
    p.FillRect(r, m_backColor);
    gfx::Rect face = r;
    if (m_kind == ButtonKind::DefaultPush || HasFocus()) {
        p.FrameRect(face, look::kDarkShadow);
        face = face.Inflate(-1, -1);
    }
    p.FillRect(face.Inflate(-2, -2), look::kFace);
    p.DrawEdge(face, m_pressed ? Edge::Pressed : Edge::Raised);
    gfx::Rect text = face.Inflate(-3, -3);
    if (m_pressed)
        text = text.Offset(1, 1);
    PaintCaption(p, text, HAlign::Center);
    if (HasFocus()) {
        int32_t w = p.TextWidth(Caption(), Mnemonic::Underline), h = p.TextHeight();
        gfx::Rect focus { text.left + (text.Width() - w) / 2 - 2, text.top + (text.Height() - h) / 2 - 1, 0, 0 };
        focus.right = focus.left + w + 4;
        focus.bottom = focus.top + h + 2;
        p.FocusRect(focus.Intersect(face.Inflate(-3, -3)));
    }
}

void ButtonControl::PaintMark(Painter& p)
{
    gfx::Rect r = ClientRect();
    p.FillRect(r, m_backColor);
    int32_t top = (r.Height() - kMarkSize) / 2;
    gfx::Rect box = gfx::Rect::FromSize(0, top, kMarkSize, kMarkSize);
    bool flat = m_kind == ButtonKind::Radio || m_kind == ButtonKind::Check || m_kind == ButtonKind::ThreeState;
    gfx::ColorRef well = m_pressed || !IsEnabled() ? look::kFace : look::kWindow;
    gfx::ColorRef ink = IsEnabled() ? look::kText : look::kGrayText;
    if (IsRadio(m_kind)) {
        gfx::Rect circle = gfx::Rect::FromSize(0, top, 12, 12);
        if (flat) {
            p.FillEllipse(circle, look::kDarkShadow);
            p.FillEllipse(circle.Inflate(-1, -1), well);
        } else {
            p.FillEllipse(circle, look::kShadow);
            p.FillEllipse(circle.Offset(1, 1).Intersect(circle), look::kHighlight);
            p.FillEllipse(circle.Inflate(-1, -1), look::kDarkShadow);
            p.FillEllipse(gfx::Rect { circle.left + 2, circle.top + 2, circle.right - 1, circle.bottom - 1 }, look::kFace);
            p.FillEllipse(circle.Inflate(-2, -2), well);
        }
        if (m_check)
            p.FillEllipse(circle.Inflate(-4, -4), ink);
    } else {
        if (flat) {
            p.FillRect(box, well);
            p.FrameRect(box, look::kDarkShadow);
        } else {
            p.FillRect(box.Inflate(-2, -2), well);
            p.DrawEdge(box, Edge::Sunken);
        }
        if (m_check) {
            gfx::ColorRef mark = m_check == 2 ? look::kGrayText : ink;
            if (m_check == 2)
                p.FillRect(box.Inflate(-2, -2), look::kFace);
            int32_t x = box.left + 3, y = box.top + 5;
            for (int32_t k = 0; k < 3; ++k) {
                p.Line(gfx::Point { x, y + k }, gfx::Point { x + 2, y + 2 + k }, mark);
                p.Line(gfx::Point { x + 2, y + 2 + k }, gfx::Point { x + 6, y - 2 + k }, mark);
            }
        }
    }
    gfx::Rect text { kMarkSize + 4, 0, r.right, r.bottom };
    PaintCaption(p, text, HAlign::Left);
    if (HasFocus()) {
        int32_t w = p.TextWidth(Caption(), Mnemonic::Underline), h = p.TextHeight();
        int32_t y = (r.Height() - h) / 2;
        p.FocusRect(gfx::Rect { text.left - 1, y - 1, text.left + w + 1, y + h + 1 }.Intersect(r));
    }
}

void ButtonControl::PaintBitmap(Painter& p)
{
    gfx::Rect r = ClientRect();
    p.FillRect(r, m_backColor);
    if (const gfx::Image* image = CurrentBitmap()) {
        const gfx::Image* mask = m_bitmaps.mask.get();
        if (mask && (mask->Width() != image->Width() || mask->Height() != image->Height()))
            mask = nullptr;
        p.Blit(*image, gfx::Rect { 0, 0, image->Width(), image->Height() }, gfx::Point { 0, 0 }, mask);
    } else {
        p.DrawEdge(r, m_pressed ? Edge::Pressed : Edge::Raised);
    }
    if (m_drawCaption == DrawCaption::Yes)
        PaintCaption(p, m_pressed ? r.Offset(1, 1) : r, HAlign::Center);
    if (HasFocus())
        p.FocusRect(r.Inflate(-3, -3));
}

void ButtonControl::Paint(Painter& p)
{
    switch (m_kind) {
    case ButtonKind::Push:
    case ButtonKind::DefaultPush:
        PaintPush(p);
        break;
    case ButtonKind::Bitmap3:
    case ButtonKind::Bitmap5:
        PaintBitmap(p);
        break;
    default:
        PaintMark(p);
        break;
    }
}

} // namespace tamber::ui
