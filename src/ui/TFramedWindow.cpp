#include "ui/TFramedWindow.h"

#include <algorithm>

#include "ui/Application.h"
#include "ui/PopupMenu.h"

namespace tamber::ui {

namespace {

struct StyleRow {
    int32_t code;
    FrameFeatures features;
};

// The frame style codes.
constexpr std::array<StyleRow, 11> kStyles { {
    { 1, { FrameBorder::Thin, CaptionBar::None, false, false } },
    { 2, { FrameBorder::Thin, CaptionBar::Normal, false, false } },
    { 3, { FrameBorder::Thin, CaptionBar::Normal, true, true } },
    { 4, { FrameBorder::Sizing, CaptionBar::Normal, false, false } },
    { 5, { FrameBorder::Sizing, CaptionBar::Normal, true, true } },
    { 6, { FrameBorder::Thin, CaptionBar::SmallTop, false, false } },
    { 7, { FrameBorder::Thin, CaptionBar::SmallTop, false, true } },
    { 8, { FrameBorder::Thin, CaptionBar::SmallLeft, false, false } },
    { 9, { FrameBorder::Thin, CaptionBar::SmallLeft, false, true } },
    { 10, { FrameBorder::Dialog, CaptionBar::Normal, false, false } },
    { 11, { FrameBorder::Dialog, CaptionBar::Normal, false, true } },
} };

} // namespace

FrameFeatures FrameFeatures::ForStyle(int32_t code)
{
    for (const StyleRow& row : kStyles) {
        if (row.code == code) {
            FrameFeatures f = row.features;
            // A dialog frame never has a minimise box.
            if (f.border == FrameBorder::Dialog)
                f.minimizeBox = false;
            return f;
        }
    }
    return FrameFeatures {};
}

TFramedWindow::TFramedWindow(int32_t frameStyle)
    : m_style(frameStyle)
    , m_features(FrameFeatures::ForStyle(frameStyle))
{
}

int TFramedWindow::CreateFramed(TWindow* parent, std::string_view caption, const gfx::Rect& rect, Placement placement,
                                Visibility visibility)
{
    gfx::Rect r = rect;
    Application* app = Application::Current();
    if (placement == Placement::Centered && app && !parent) {
        r = gfx::Rect::FromSize((app->Screen().Width() - rect.Width()) / 2, (app->Screen().Height() - rect.Height()) / 2,
                                rect.Width(), rect.Height());
    }
    if (!Create(parent, caption, r, visibility))
        return 0;
    BuildSystemMenu();
    return 1;
}

void TFramedWindow::BuildSystemMenu()
{
    m_systemMenu.Clear();
    if (Parent()) {
        // Child framed windows get the reduced menu.
        m_systemMenu.Append(static_cast<uint16_t>(syscmd::kMove), "&Move");
        m_systemMenu.Append(static_cast<uint16_t>(syscmd::kClose), "&Close\tCtrl+F4");
        return;
    }
    m_systemMenu.Append(static_cast<uint16_t>(syscmd::kRestore), "&Restore", ItemState::Disabled);
    m_systemMenu.Append(static_cast<uint16_t>(syscmd::kMove), "&Move");
    m_systemMenu.Append(static_cast<uint16_t>(syscmd::kSize), "&Size",
                        m_features.border == FrameBorder::Sizing ? ItemState::Enabled : ItemState::Disabled);
    m_systemMenu.Append(static_cast<uint16_t>(syscmd::kMinimize), "Mi&nimize",
                        m_features.minimizeBox ? ItemState::Enabled : ItemState::Disabled);
    m_systemMenu.AppendSeparator();
    m_systemMenu.Append(static_cast<uint16_t>(syscmd::kClose), "&Close\tAlt+F4");
}

void TFramedWindow::SetFrameStyle(int32_t code)
{
    m_style = code;
    m_features = FrameFeatures::ForStyle(code);
    gfx::Rect r = RectInParent();
    SetRect(gfx::Rect {});
    SetRect(r);
    if (IsCreated()) {
        BuildSystemMenu();
        InvalidateFrame();
    }
}

bool TFramedWindow::IsActiveFrame() const
{
    Application* app = App();
    return app && const_cast<TFramedWindow*>(this)->TopLevel() == app->ActiveWindow();
}

int32_t TFramedWindow::BorderWidth() const
{
    switch (m_features.border) {
    case FrameBorder::Thin:
        return kThinBorder;
    case FrameBorder::Sizing:
        return kSizingBorder;
    case FrameBorder::Dialog:
        return kDialogBorder;
    case FrameBorder::None:
        break;
    }
    return 0;
}

Insets TFramedWindow::NonClientInsets() const
{
    int32_t b = BorderWidth();
    Insets in { b, b, b, b };
    switch (m_features.caption) {
    case CaptionBar::Normal:
        in.top += kCaptionHeight;
        break;
    case CaptionBar::SmallTop:
        in.top += kSmallCaption;
        break;
    case CaptionBar::SmallLeft:
        in.left += kSmallCaption;
        break;
    case CaptionBar::None:
        break;
    }
    return in;
}

gfx::Rect TFramedWindow::CaptionRect() const
{
    int32_t b = BorderWidth();
    gfx::Rect r = RectInParent();
    switch (m_features.caption) {
    case CaptionBar::Normal:
        return gfx::Rect { b, b, r.Width() - b, b + kCaptionHeight };
    case CaptionBar::SmallTop:
        return gfx::Rect { b, b, r.Width() - b, b + kSmallCaption };
    case CaptionBar::SmallLeft:
        return gfx::Rect { b, b, b + kSmallCaption, r.Height() - b };
    case CaptionBar::None:
        break;
    }
    return gfx::Rect {};
}

gfx::Rect TFramedWindow::CloseBoxRect() const
{
    if (!m_features.systemMenu)
        return gfx::Rect {};
    gfx::Rect c = CaptionRect();
    switch (m_features.caption) {
    case CaptionBar::Normal:
        return gfx::Rect::FromSize(c.right - 18, c.top + 2, 16, 14);
    case CaptionBar::SmallTop:
        return gfx::Rect::FromSize(c.right - 11, c.top + 1, 10, 10);
    case CaptionBar::SmallLeft:
        return gfx::Rect::FromSize(c.left + 1, c.top + 1, 10, 10);
    case CaptionBar::None:
        break;
    }
    return gfx::Rect {};
}

gfx::Rect TFramedWindow::MinimizeBoxRect() const
{
    if (!m_features.minimizeBox || m_features.caption != CaptionBar::Normal)
        return gfx::Rect {};
    gfx::Rect c = CaptionRect();
    int32_t right = m_features.systemMenu ? c.right - 20 : c.right - 2;
    return gfx::Rect::FromSize(right - 16, c.top + 2, 16, 14);
}

gfx::Rect TFramedWindow::SystemBoxRect() const
{
    if (!m_features.systemMenu || m_features.caption != CaptionBar::Normal)
        return gfx::Rect {};
    gfx::Rect c = CaptionRect();
    return gfx::Rect::FromSize(c.left + 1, c.top + 1, 16, 16);
}

HitArea TFramedWindow::HitTest(gfx::Point p) const
{
    gfx::Rect r = RectInParent();
    int32_t w = r.Width(), h = r.Height();
    int32_t b = BorderWidth();
    if (p.x < 0 || p.y < 0 || p.x >= w || p.y >= h)
        return HitArea::Nowhere;
    if (CloseBoxRect().Contains(p))
        return HitArea::CloseBox;
    if (MinimizeBoxRect().Contains(p))
        return HitArea::MinimizeBox;
    if (SystemBoxRect().Contains(p))
        return HitArea::SystemMenu;
    if (CaptionRect().Contains(p))
        return HitArea::Caption;
    bool edge = p.x < b || p.y < b || p.x >= w - b || p.y >= h - b;
    if (edge && m_features.border == FrameBorder::Sizing && GetSizeState() == SizeState::Restored) {
        bool left = p.x < kCornerGrip, right = p.x >= w - kCornerGrip;
        bool top = p.y < kCornerGrip, bottom = p.y >= h - kCornerGrip;
        if (p.y < b)
            return left ? HitArea::TopLeft : right ? HitArea::TopRight : HitArea::Top;
        if (p.y >= h - b)
            return left ? HitArea::BottomLeft : right ? HitArea::BottomRight : HitArea::Bottom;
        if (p.x < b)
            return top ? HitArea::TopLeft : bottom ? HitArea::BottomLeft : HitArea::Left;
        return top ? HitArea::TopRight : bottom ? HitArea::BottomRight : HitArea::Right;
    }
    if (edge)
        return HitArea::Border;
    Insets in = NonClientInsets();
    if (p.x < in.left || p.y < in.top || p.x >= w - in.right || p.y >= h - in.bottom)
        return HitArea::Border;
    return HitArea::Client;
}

void TFramedWindow::DrawBox(Painter& p, const gfx::Rect& box, HitArea kind, bool pressed)
{
    if (box.IsEmpty())
        return;
    p.FillRect(box, look::kFace);
    p.DrawEdge(box, pressed ? Edge::Pressed : (box.Width() < 12 ? Edge::RaisedThin : Edge::Raised));
    int32_t shift = pressed ? 1 : 0;
    int32_t cx = box.left + box.Width() / 2 + shift - 1, cy = box.top + box.Height() / 2 + shift - 1;
    int32_t arm = box.Width() < 12 ? 2 : 3;
    switch (kind) {
    case HitArea::CloseBox:
        for (int32_t d = -arm; d <= arm; ++d) {
            p.FillRect(gfx::Rect::FromSize(cx + d, cy + d, 2, 1), look::kText);
            p.FillRect(gfx::Rect::FromSize(cx + d, cy - d, 2, 1), look::kText);
        }
        break;
    case HitArea::MinimizeBox:
        p.FillRect(gfx::Rect { cx - 3, cy + 3, cx + 3, cy + 5 }, look::kText);
        break;
    case HitArea::SystemMenu:
        p.FillRect(gfx::Rect { box.left + 3, cy, box.right - 3, cy + 3 }, look::kHighlight);
        p.FrameRect(gfx::Rect { box.left + 3, cy, box.right - 3, cy + 3 }, look::kText);
        break;
    default:
        break;
    }
}

void TFramedWindow::PaintNonClient(Painter& p)
{
    gfx::Rect r = RectInParent();
    gfx::Rect all { 0, 0, r.Width(), r.Height() };
    switch (m_features.border) {
    case FrameBorder::Thin:
        p.FrameRect(all, look::kDarkShadow);
        break;
    case FrameBorder::Sizing:
        p.DrawEdge(all, Edge::Raised);
        p.FrameRect(all.Inflate(-2, -2), look::kFace);
        p.FrameRect(all.Inflate(-3, -3), look::kFace);
        break;
    case FrameBorder::Dialog:
        p.DrawEdge(all, Edge::Raised);
        p.FrameRect(all.Inflate(-2, -2), look::kFace);
        break;
    case FrameBorder::None:
        break;
    }
    gfx::Rect caption = CaptionRect();
    if (caption.IsEmpty())
        return;
    bool active = IsActiveFrame();
    p.FillRect(caption, active ? look::kActiveCaption : look::kInactiveCaption);
    gfx::ColorRef text = active ? look::kHighlight : look::kFace;
    bool pressed = m_drag == Drag::Box && m_boxPressed;
    DrawBox(p, CloseBoxRect(), HitArea::CloseBox, pressed && m_dragArea == HitArea::CloseBox);
    DrawBox(p, MinimizeBoxRect(), HitArea::MinimizeBox, pressed && m_dragArea == HitArea::MinimizeBox);
    DrawBox(p, SystemBoxRect(), HitArea::SystemMenu, false);
    if (m_features.caption == CaptionBar::SmallLeft)
        return; // no room for text across a vertical bar
    gfx::Rect textRect = caption;
    textRect.left += SystemBoxRect().IsEmpty() ? 3 : 20;
    gfx::Rect boxes = CloseBoxRect().Union(MinimizeBoxRect());
    if (!boxes.IsEmpty())
        textRect.right = boxes.left - 2;
    Painter clipped = p;
    clipped.IntersectClip(textRect.Offset(-0, -0));
    clipped.DrawTextAligned(textRect, Caption(), text, HAlign::Left, VAlign::Center);
}

void TFramedWindow::NonClientButtonDown(HitArea area, gfx::Point screen)
{
    switch (area) {
    case HitArea::Caption:
        if (GetSizeState() == SizeState::Minimized && m_features.caption == CaptionBar::Normal) {
            m_drag = Drag::None;
            return;
        }
        m_drag = Drag::Move;
        break;
    case HitArea::Left:
    case HitArea::Right:
    case HitArea::Top:
    case HitArea::Bottom:
    case HitArea::TopLeft:
    case HitArea::TopRight:
    case HitArea::BottomLeft:
    case HitArea::BottomRight:
        m_drag = Drag::Size;
        break;
    case HitArea::CloseBox:
    case HitArea::MinimizeBox:
        m_drag = Drag::Box;
        m_boxPressed = true;
        InvalidateFrame();
        break;
    case HitArea::SystemMenu: {
        gfx::Rect box = SystemBoxRect();
        gfx::Rect w = WindowRect();
        int chosen = TrackPopupMenu(m_systemMenu, *this, gfx::Point { w.left + box.left, w.top + box.bottom });
        if (chosen >= 0)
            SendMessage(msg::kSysCommand, static_cast<uintptr_t>(chosen));
        return;
    }
    default:
        return;
    }
    m_dragArea = area;
    m_dragStart = screen;
    m_dragRect = RectInParent();
    SetCapture();
}

void TFramedWindow::NonClientDoubleClick(HitArea area, gfx::Point screen)
{
    if (area == HitArea::Caption && GetSizeState() == SizeState::Minimized) {
        Restore();
        return;
    }
    if (area == HitArea::SystemMenu) {
        SendMessage(msg::kSysCommand, syscmd::kClose);
        return;
    }
    NonClientButtonDown(area, screen);
}

void TFramedWindow::TrackDrag(gfx::Point screen, bool finished)
{
    int32_t dx = screen.x - m_dragStart.x, dy = screen.y - m_dragStart.y;
    gfx::Rect r = m_dragRect;
    if (m_drag == Drag::Move) {
        SetRect(r.Offset(dx, dy));
    } else if (m_drag == Drag::Size) {
        Insets in = NonClientInsets();
        int32_t minW = in.left + in.right + 40, minH = in.top + in.bottom + 10;
        switch (m_dragArea) {
        case HitArea::Left:
        case HitArea::TopLeft:
        case HitArea::BottomLeft:
            r.left = std::min(r.left + dx, r.right - minW);
            break;
        case HitArea::Right:
        case HitArea::TopRight:
        case HitArea::BottomRight:
            r.right = std::max(r.right + dx, r.left + minW);
            break;
        default:
            break;
        }
        switch (m_dragArea) {
        case HitArea::Top:
        case HitArea::TopLeft:
        case HitArea::TopRight:
            r.top = std::min(r.top + dy, r.bottom - minH);
            break;
        case HitArea::Bottom:
        case HitArea::BottomLeft:
        case HitArea::BottomRight:
            r.bottom = std::max(r.bottom + dy, r.top + minH);
            break;
        default:
            break;
        }
        SetRect(r);
    } else if (m_drag == Drag::Box) {
        gfx::Rect w = WindowRect();
        gfx::Point p { screen.x - w.left, screen.y - w.top };
        gfx::Rect box = m_dragArea == HitArea::CloseBox ? CloseBoxRect() : MinimizeBoxRect();
        bool inside = box.Contains(p);
        if (inside != m_boxPressed) {
            m_boxPressed = inside;
            InvalidateFrame();
        }
        if (finished && inside) {
            m_drag = Drag::None;
            m_boxPressed = false;
            InvalidateFrame();
            if (m_dragArea == HitArea::CloseBox)
                SendMessage(msg::kSysCommand, syscmd::kClose);
            else
                SendMessage(msg::kSysCommand, GetSizeState() == SizeState::Minimized ? syscmd::kRestore : syscmd::kMinimize);
            return;
        }
    }
}

intptr_t TFramedWindow::WindowProc(uint32_t code, uintptr_t wParam, intptr_t lParam)
{
    if (m_drag != Drag::None && (code == msg::kMouseMove || code == msg::kButtonUp)) {
        bool finished = code == msg::kButtonUp;
        Application* app = App();
        gfx::Point screen = app ? app->CursorPosition() : gfx::Point {};
        TrackDrag(screen, finished);
        if (finished) {
            m_drag = Drag::None;
            m_boxPressed = false;
            ReleaseCapture();
            InvalidateFrame();
        }
        return 0;
    }
    return TWindow::WindowProc(code, wParam, lParam);
}

void TFramedWindow::Command(uint16_t id, uint16_t code, TWindow* from)
{
    if (id >= 0xF000)
        SendMessage(msg::kSysCommand, id);
}

} // namespace tamber::ui
