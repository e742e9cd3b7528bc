#include "ui/PopupMenu.h"

#include <algorithm>

#include "ui/Application.h"

namespace tamber::ui {

PopupMenuWindow::PopupMenuWindow(Menu& menu, TWindow& owner)
    : m_menu(menu)
    , m_owner(owner)
{
    SetLayer(Layer::Topmost);
    SetOwner(&owner);
    SetBackground(look::kFace);
}

int32_t PopupMenuWindow::ItemTop(int32_t index) const
{
    int32_t y = 3;
    for (int32_t i = 0; i < index && i < static_cast<int32_t>(m_menu.Count()); ++i)
        y += m_menu.At(static_cast<size_t>(i)).separator ? kSeparatorHeight : kItemHeight;
    return y;
}

gfx::Point PopupMenuWindow::MeasureSize()
{
    auto face = Font();
    int32_t width = 80;
    for (size_t i = 0; i < m_menu.Count(); ++i) {
        const std::string& text = m_menu.At(i).text;
        size_t tab = text.find('\t');
        int32_t w = Painter::TextWidth(face.get(), text.substr(0, tab));
        if (tab != std::string::npos)
            w += 24 + Painter::TextWidth(face.get(), text.substr(tab + 1));
        width = std::max(width, w + 2 * kMargin + 6);
    }
    return gfx::Point { width, ItemTop(static_cast<int32_t>(m_menu.Count())) + 3 };
}

int32_t PopupMenuWindow::ItemAt(gfx::Point p) const
{
    if (p.x < 0 || p.x >= ClientWidth())
        return -1;
    for (int32_t i = 0; i < static_cast<int32_t>(m_menu.Count()); ++i) {
        int32_t top = ItemTop(i);
        int32_t h = m_menu.At(static_cast<size_t>(i)).separator ? kSeparatorHeight : kItemHeight;
        if (p.y >= top && p.y < top + h)
            return m_menu.At(static_cast<size_t>(i)).separator ? -1 : i;
    }
    return -1;
}

void PopupMenuWindow::Paint(Painter& p)
{
    gfx::Rect all = ClientRect();
    p.DrawEdge(all, Edge::Raised);
    for (int32_t i = 0; i < static_cast<int32_t>(m_menu.Count()); ++i) {
        const Menu::Item& item = m_menu.At(static_cast<size_t>(i));
        int32_t top = ItemTop(i);
        if (item.separator) {
            p.HLine(3, all.right - 3, top + 3, look::kShadow);
            p.HLine(3, all.right - 3, top + 4, look::kHighlight);
            continue;
        }
        gfx::Rect row { 3, top, all.right - 3, top + kItemHeight };
        bool lit = i == m_highlight;
        bool enabled = item.state == ItemState::Enabled;
        if (lit)
            p.FillRect(row, look::kSelection);
        gfx::ColorRef color = lit ? look::kSelectionText : look::kText;
        size_t tab = item.text.find('\t');
        std::string label = item.text.substr(0, tab);
        gfx::Rect textRect { row.left + kMargin, row.top, row.right - kMargin, row.bottom };
        if (!enabled && !lit)
            p.DrawTextAligned(textRect.Offset(1, 1), label, look::kHighlight, HAlign::Left, VAlign::Center, Mnemonic::Underline);
        p.DrawTextAligned(textRect, label, enabled ? color : look::kGrayText, HAlign::Left, VAlign::Center, Mnemonic::Underline);
        if (tab != std::string::npos)
            p.DrawTextAligned(textRect, item.text.substr(tab + 1), enabled ? color : look::kGrayText, HAlign::Right, VAlign::Center);
        if (item.checked) {
            int32_t cx = row.left + 7, cy = row.top + kItemHeight / 2;
            for (int32_t k = 0; k < 3; ++k) {
                p.Line(gfx::Point { cx, cy - 1 + k }, gfx::Point { cx + 2, cy + 1 + k }, color);
                p.Line(gfx::Point { cx + 2, cy + 1 + k }, gfx::Point { cx + 6, cy - 3 + k }, color);
            }
        }
        if (item.submenu)
            p.Arrow(gfx::Point { row.right - 6, row.top + kItemHeight / 2 }, 4, Painter::Direction::Right, color);
    }
}

void PopupMenuWindow::MouseMove(gfx::Point p, uint32_t)
{
    int32_t i = ItemAt(p);
    if (i != m_highlight) {
        m_highlight = i;
        Invalidate();
    }
}

void PopupMenuWindow::ButtonUp(gfx::Point p, uint32_t)
{
    int32_t i = ItemAt(p);
    if (i >= 0)
        Choose(i);
}

void PopupMenuWindow::Step(int32_t direction)
{
    int32_t n = static_cast<int32_t>(m_menu.Count());
    if (n == 0)
        return;
    int32_t i = m_highlight;
    for (int32_t tries = 0; tries < n; ++tries) {
        i = i < 0 ? (direction > 0 ? 0 : n - 1) : (i + direction + n) % n;
        if (!m_menu.At(static_cast<size_t>(i)).separator)
            break;
    }
    m_highlight = i;
    Invalidate();
}

bool PopupMenuWindow::KeyDown(uint32_t key)
{
    switch (key) {
    case key::kUp:
        Step(-1);
        return true;
    case key::kDown:
        Step(1);
        return true;
    case key::kEnter:
        if (m_highlight >= 0)
            Choose(m_highlight);
        return true;
    case key::kEscape:
        Close();
        return true;
    case key::kF1:
        if (!IsKeyDown(key::kShift)) {
            if (HelpProvider* help = m_owner.TopLevel()->GetHelp())
                help->Show();
        }
        return true;
    default:
        break;
    }
    return false;
}

void PopupMenuWindow::Choose(int32_t index)
{
    const Menu::Item& item = m_menu.At(static_cast<size_t>(index));
    if (item.separator || item.submenu || item.state != ItemState::Enabled)
        return;
    if (Application* app = App()) {
        app->PostMessage(m_owner.Handle(), msg::kCommand, PackCommand(item.id, 0), 0);
        app->EndModal(*this, 1);
    }
}

void PopupMenuWindow::Close()
{
    if (Application* app = App())
        app->EndModal(*this, 0);
}

int TrackPopupMenu(Menu& menu, TWindow& owner, gfx::Point screen, MenuAlign align)
{
    Application* app = Application::Current();
    if (!app || !owner.IsCreated() || menu.Count() == 0)
        return -1;
    PopupMenuWindow popup(menu, owner);
    popup.Create(nullptr, "", gfx::Rect::FromSize(screen.x, screen.y, 10, 10));
    gfx::Point size = popup.MeasureSize();
    int32_t x = screen.x;
    if (align == MenuAlign::Center)
        x -= size.x / 2;
    else if (align == MenuAlign::Right)
        x -= size.x;
    int32_t y = screen.y;
    x = std::clamp(x, 0, std::max(0, app->Screen().Width() - size.x));
    if (y + size.y > app->Screen().Height())
        y = std::max(0, y - size.y);
    popup.SetRect(gfx::Rect::FromSize(x, y, size.x, size.y));
    TWindow* previousFocus = app->FocusWindow();
    uint32_t previousHandle = previousFocus ? previousFocus->Handle() : 0;
    app->SetDismissablePopup(&popup, [&popup, app] { app->EndModal(popup, 0); });
    popup.Show();
    popup.SetFocus();
    app->RunModal(popup);
    app->ClearDismissablePopup(&popup);
    popup.Destroy();
    if (TWindow* back = app->FromHandle(previousHandle))
        back->SetFocus();
    Message command;
    if (owner.IsCreated() && app->TakeMessage(command, owner.Handle(), msg::kCommand))
        return CommandId(command.wParam);
    return -1;
}

} // namespace tamber::ui
