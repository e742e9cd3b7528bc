#include "ui/ComboBoxControl.h"

#include <algorithm>

#include "ui/Application.h"

namespace tamber::ui {

ComboBoxControl::ComboBoxControl(ComboKind kind)
    : m_kind(kind)
{
    SetBorder(ControlBorder::Sunken);
    m_list.AttachCombo(this);
    m_list.SetBorder(ControlBorder::Flat);
    m_list.SetLayer(Layer::Topmost);
    m_list.SetTabStop(TabStop::No);
}

ComboBoxControl::~ComboBoxControl()
{
    Destroy();
}

void ComboBoxControl::Created()
{
    m_list.SetOwner(this);
    m_list.Create(nullptr, "", gfx::Rect::FromSize(0, 0, std::max(1, RectInParent().Width()), 10));
    if (m_kind == ComboKind::Editable) {
        m_edit = std::make_unique<EditControl>();
        m_edit->SetBorder(ControlBorder::None);
        m_edit->SetTabStop(TabStop::No);
        m_edit->Create(this, "", gfx::Rect { 0, 0, std::max(0, ClientWidth() - kButtonWidth), ClientHeight() }, Visibility::Shown);
        m_editKeys.combo = this;
        m_edit->AddHook(&m_editKeys);
    }
}

bool ComboBoxControl::EditKeys::Filter(TWindow&, uint32_t code, uintptr_t wParam, intptr_t, intptr_t& result)
{
    if (code != msg::kKeyDown)
        return false;
    uint32_t key = static_cast<uint32_t>(wParam);
    bool mine = key == key::kUp || key == key::kDown || key == key::kF1 + 3
        || (combo->IsDroppedDown() && (key == key::kEnter || key == key::kEscape || key == key::kPageUp || key == key::kPageDown));
    if (!mine)
        return false;
    result = combo->KeyDown(key) ? 1 : 0;
    return true;
}

void ComboBoxControl::Destroyed()
{
    if (Application* app = App())
        app->ClearDismissablePopup(&m_list);
    m_list.Destroy();
    m_edit.reset();
    m_focusWithin = false;
}

void ComboBoxControl::SizeRestored(int32_t width, int32_t height)
{
    if (m_edit)
        m_edit->SetRect(gfx::Rect { 0, 0, std::max(0, ClientWidth() - kButtonWidth), ClientHeight() });
}

int ComboBoxControl::DeleteString(int32_t index)
{
    int done = m_list.DeleteString(index);
    Invalidate();
    return done;
}

void ComboBoxControl::ResetContent()
{
    m_list.ResetContent();
    if (m_kind == ComboKind::DropDownList)
        m_shownText.clear();
    Invalidate();
}

int ComboBoxControl::SetCurSel(int32_t index)
{
    if (!m_list.SetCurSel(index))
        return 0;
    if (index >= 0)
        SetText(m_list.GetText(index));
    else if (m_kind == ComboKind::DropDownList)
        SetText("");
    Invalidate();
    return 1;
}

std::string ComboBoxControl::Text() const
{
    return m_edit ? m_edit->Text() : m_shownText;
}

void ComboBoxControl::SetText(std::string_view text)
{
    m_shownText = std::string(text);
    if (m_edit) {
        m_settingText = true;
        m_edit->SetText(text);
        m_edit->SetSelection(0, static_cast<int32_t>(text.size()));
        m_settingText = false;
    }
    Invalidate();
}

gfx::Rect ComboBoxControl::ButtonRect() const
{
    return gfx::Rect { std::max(0, ClientWidth() - kButtonWidth), 0, ClientWidth(), ClientHeight() };
}

void ComboBoxControl::Paint(Painter& p)
{
    gfx::Rect r = ClientRect();
    gfx::Rect field { 0, 0, ButtonRect().left, r.bottom };
    if (!m_edit) {
        bool focus = HasFocus() && !IsDroppedDown();
        p.FillRect(field, IsEnabled() ? m_backColor : look::kFace);
        gfx::Rect inner = field.Inflate(-1, -1);
        if (focus)
            p.FillRect(inner, look::kSelection);
        p.DrawTextAligned(inner.Inflate(-2, 0), m_shownText,
                          !IsEnabled() ? look::kGrayText : focus ? look::kSelectionText : m_textColor, HAlign::Left, VAlign::Center);
        if (focus)
            p.FocusRect(inner);
    }
    gfx::Rect button = ButtonRect();
    p.FillRect(button, look::kFace);
    p.DrawEdge(button, IsDroppedDown() ? Edge::Pressed : Edge::Raised);
    int32_t cx = button.left + button.Width() / 2 - 1 + (IsDroppedDown() ? 1 : 0);
    int32_t cy = button.top + button.Height() / 2 + 1;
    p.Arrow(gfx::Point { cx, cy + 1 }, 4, Painter::Direction::Down, IsEnabled() ? look::kText : look::kGrayText);
}

void ComboBoxControl::ShowDropDown(bool show)
{
    Application* app = App();
    if (!IsCreated() || !app || show == IsDroppedDown())
        return;
    if (!show) {
        m_list.m_single = m_selectionAtDrop;
        app->ClearDismissablePopup(&m_list);
        m_list.Hide();
        Invalidate();
        Notify(notify::kCloseUp);
        return;
    }
    Notify(notify::kDropDown);
    gfx::Rect r = WindowRect();
    int32_t rows = std::clamp(m_list.Count(), 1, kMaxDropRows);
    int32_t height = rows * m_list.ItemHeight() + 2;
    int32_t top = r.bottom;
    if (top + height > app->Screen().Height() && r.top - height >= 0)
        top = r.top - height;
    m_list.SetRect(gfx::Rect::FromSize(r.left, top, r.Width(), height));
    m_selectionAtDrop = m_list.CurSel();
    if (m_list.CurSel() >= 0)
        m_list.EnsureVisible(m_list.CurSel());
    m_list.Show();
    app->SetDismissablePopup(&m_list, [this] { ShowDropDown(false); });
    Invalidate();
}

void ComboBoxControl::SelectByUser(int32_t index)
{
    if (index < 0 || index >= Count() || index == m_list.CurSel()) {
        if (index >= 0 && index < Count())
            SetText(m_list.GetText(index));
        return;
    }
    m_list.SetCurSel(index);
    SetText(m_list.GetText(index));
    Notify(notify::kSelectionChanged);
}

void ComboBoxControl::ListChanged(int32_t index, Commit commit)
{
    if (commit == Commit::No) {
        // Keyboard movement in the open list shows the item at once.
        SetText(m_list.GetText(index));
        if (index != m_selectionAtDrop) {
            m_selectionAtDrop = index;
            Notify(notify::kSelectionChanged);
        }
        return;
    }
    ShowDropDown(false);
    SelectByUser(index);
}

void ComboBoxControl::ButtonDown(gfx::Point p, uint32_t)
{
    // An editable box keeps the focus in its field, also when its button is pressed.
    if (m_edit) {
        m_edit->SetFocus();
        if (!ButtonRect().Contains(p))
            return;
    } else {
        SetFocus();
    }
    ShowDropDown(!IsDroppedDown());
}

bool ComboBoxControl::KeyDown(uint32_t key)
{
    bool alt = IsKeyDown(key::kAlt);
    if (key == key::kF1 + 3 || (alt && (key == key::kDown || key == key::kUp))) {
        ShowDropDown(!IsDroppedDown());
        return true;
    }
    if (IsDroppedDown()) {
        switch (key) {
        case key::kEnter: {
            int32_t index = m_list.CurSel();
            if (index >= 0)
                ListChanged(index, Commit::Yes);
            else
                ShowDropDown(false);
            return true;
        }
        case key::kEscape:
            ShowDropDown(false);
            return true;
        case key::kUp:
        case key::kDown:
        case key::kPageUp:
        case key::kPageDown:
        case key::kHome:
        case key::kEnd:
            return m_list.KeyDown(key);
        default:
            break;
        }
    }
    switch (key) {
    case key::kUp:
        SelectByUser(std::max(0, m_list.CurSel() - 1));
        return true;
    case key::kDown:
        SelectByUser(std::min(Count() - 1, m_list.CurSel() + 1));
        return true;
    case key::kHome:
        if (!m_edit) {
            SelectByUser(0);
            return true;
        }
        break;
    case key::kEnd:
        if (!m_edit) {
            SelectByUser(Count() - 1);
            return true;
        }
        break;
    default:
        break;
    }
    return TControl::KeyDown(key);
}

void ComboBoxControl::Char(uint8_t ch)
{
    if (m_edit || ch <= ' ')
        return;
    int32_t index = m_list.FindPrefix(std::string(1, static_cast<char>(ch)), m_list.CurSel());
    if (index >= 0)
        SelectByUser(index);
}

void ComboBoxControl::FocusGained()
{
    if (m_edit)
        m_edit->SetFocus(); // its notice enters the box
    else
        FocusEntered();
}

void ComboBoxControl::FocusLost()
{
    FocusLeft();
}

void ComboBoxControl::FocusEntered()
{
    if (m_focusWithin)
        return;
    m_focusWithin = true;
    TControl::FocusGained();
}

void ComboBoxControl::FocusLeft()
{
    // The focus has already moved: a move between the box, its field and its list stays inside.
    TWindow* focus = Focus();
    if (!m_focusWithin || (focus && focus->IsWithin(this)))
        return;
    m_focusWithin = false;
    ShowDropDown(false);
    TControl::FocusLost();
}

void ComboBoxControl::Command(uint16_t id, uint16_t code, TWindow* from)
{
    if (!m_edit || from != m_edit.get())
        return;
    switch (code) {
    case notify::kChanged:
        if (!m_settingText)
            Notify(notify::kEditChanged);
        break;
    case notify::kSetFocus:
        FocusEntered();
        break;
    case notify::kKillFocus:
        FocusLeft();
        break;
    case notify::kEnterKey:
    case notify::kEscapeKey:
    case notify::kTabKey:
        Notify(code);
        break;
    default:
        break;
    }
}

} // namespace tamber::ui
