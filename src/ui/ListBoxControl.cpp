#include "ui/ListBoxControl.h"

#include <algorithm>

#include "ui/ComboBoxControl.h"

namespace tamber::ui {

namespace {

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares ASCII letters without case.
int CompareNoCase(std::string_view a, std::string_view b)
{
    size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        char x = Lower(a[i]), y = Lower(b[i]);
        if (x != y)
            return static_cast<unsigned char>(x) < static_cast<unsigned char>(y) ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    return text.size() >= prefix.size() && CompareNoCase(text.substr(0, prefix.size()), prefix) == 0;
}

} // namespace

ListBoxControl::ListBoxControl(SelectionMode mode)
    : m_mode(mode)
{
    SetBorder(ControlBorder::Sunken);
}

ListBoxControl::~ListBoxControl()
{
    Destroy();
}

void ListBoxControl::SetMode(SelectionMode mode)
{
    m_mode = mode;
    m_selected.assign(m_items.size(), false);
    m_single = -1;
    Invalidate();
}

int32_t ListBoxControl::AddString(std::string_view text)
{
    return InsertString(-1, text);
}

int32_t ListBoxControl::InsertString(int32_t index, std::string_view text)
{
    if (index < 0 || index > Count())
        index = Count();
    m_items.insert(m_items.begin() + index, std::string(text));
    m_selected.insert(m_selected.begin() + index, false);
    if (m_single >= index)
        ++m_single;
    UpdateScrollBar();
    Invalidate();
    return index;
}

int32_t ListBoxControl::InsertSorted(std::string_view text)
{
    int32_t index = 0;
    while (index < Count() && CompareNoCase(m_items[static_cast<size_t>(index)], text) <= 0)
        ++index;
    return InsertString(index, text);
}

int ListBoxControl::DeleteString(int32_t index)
{
    if (index < 0 || index >= Count())
        return 0;
    m_items.erase(m_items.begin() + index);
    m_selected.erase(m_selected.begin() + index);
    if (m_single == index)
        m_single = -1;
    else if (m_single > index)
        --m_single;
    m_caret = std::clamp(m_caret, 0, std::max(0, Count() - 1));
    m_top = std::clamp(m_top, 0, std::max(0, Count() - 1));
    UpdateScrollBar();
    Invalidate();
    return 1;
}

void ListBoxControl::ResetContent()
{
    m_items.clear();
    m_selected.clear();
    m_single = -1;
    m_caret = 0;
    m_top = 0;
    UpdateScrollBar();
    Invalidate();
}

std::string ListBoxControl::GetText(int32_t index) const
{
    if (index < 0 || index >= Count())
        return {};
    return m_items[static_cast<size_t>(index)];
}

int32_t ListBoxControl::FindPrefix(std::string_view text, int32_t start) const
{
    int32_t n = Count();
    for (int32_t k = 1; k <= n; ++k) {
        int32_t i = ((start < -1 ? -1 : start) + k) % n;
        if (StartsWithNoCase(m_items[static_cast<size_t>(i)], text))
            return i;
    }
    return -1;
}

int32_t ListBoxControl::CurSel() const
{
    if (m_mode == SelectionMode::Single)
        return m_single;
    return IsSelected(m_caret) ? m_caret : -1;
}

int ListBoxControl::SetCurSel(int32_t index)
{
    if (index < -1 || index >= Count())
        return 0;
    if (m_mode == SelectionMode::Multiple) {
        std::fill(m_selected.begin(), m_selected.end(), false);
        if (index >= 0) {
            m_selected[static_cast<size_t>(index)] = true;
            m_caret = index;
        }
    } else {
        m_single = index;
        if (index >= 0)
            m_caret = index;
    }
    if (index >= 0)
        EnsureVisible(index);
    Invalidate();
    return 1;
}

bool ListBoxControl::IsSelected(int32_t index) const
{
    if (index < 0 || index >= Count())
        return false;
    return m_mode == SelectionMode::Single ? index == m_single : m_selected[static_cast<size_t>(index)];
}

int ListBoxControl::SetSelected(int32_t index, bool selected)
{
    if (index < 0 || index >= Count())
        return 0;
    if (m_mode == SelectionMode::Single)
        return SetCurSel(selected ? index : (m_single == index ? -1 : m_single));
    m_selected[static_cast<size_t>(index)] = selected;
    Invalidate();
    return 1;
}

std::vector<int32_t> ListBoxControl::SelectedItems() const
{
    std::vector<int32_t> out;
    for (int32_t i = 0; i < Count(); ++i) {
        if (IsSelected(i))
            out.push_back(i);
    }
    return out;
}

int32_t ListBoxControl::ItemHeight() const
{
    auto face = Font();
    return std::max(8, face ? face->Metrics().height + 2 : 16);
}

int32_t ListBoxControl::VisibleRows() const
{
    return std::max(1, ClientHeight() / ItemHeight());
}

bool ListBoxControl::ScrollBarShown() const
{
    return m_scroll && m_scroll->IsShown();
}

void ListBoxControl::SetTopIndex(int32_t index)
{
    int32_t maxTop = std::max(0, Count() - VisibleRows());
    index = std::clamp(index, 0, maxTop);
    if (index == m_top)
        return;
    m_top = index;
    if (m_scroll)
        m_scroll->SetPos(m_top);
    Invalidate();
}

void ListBoxControl::EnsureVisible(int32_t index)
{
    if (index < m_top)
        SetTopIndex(index);
    else if (index >= m_top + VisibleRows())
        SetTopIndex(index - VisibleRows() + 1);
}

void ListBoxControl::UpdateScrollBar()
{
    if (!IsCreated())
        return;
    bool needed = Count() * ItemHeight() > ClientHeight();
    if (!m_scroll) {
        m_scroll = std::make_unique<ScrollBarControl>(Orientation::Vertical);
        m_scroll->SetTabStop(TabStop::No);
        m_scroll->Create(this, "", gfx::Rect::FromSize(ClientWidth() - kScrollWidth, 0, kScrollWidth, ClientHeight()));
    }
    m_scroll->SetRect(gfx::Rect::FromSize(ClientWidth() - kScrollWidth, 0, kScrollWidth, ClientHeight()));
    int32_t maxTop = std::max(0, Count() - VisibleRows());
    m_scroll->SetRange(0, maxTop);
    m_scroll->SetPage(VisibleRows());
    m_top = std::clamp(m_top, 0, maxTop);
    m_scroll->SetPos(m_top);
    if (needed)
        m_scroll->Show();
    else
        m_scroll->Hide();
}

int32_t ListBoxControl::ItemAt(gfx::Point p) const
{
    if (p.x < 0 || p.x >= ClientWidth() || p.y < 0)
        return -1;
    int32_t index = m_top + p.y / ItemHeight();
    return index < Count() ? index : -1;
}

void ListBoxControl::Paint(Painter& p)
{
    gfx::Rect r = ClientRect();
    if (ScrollBarShown())
        r.right -= kScrollWidth;
    p.FillRect(r, IsEnabled() ? m_backColor : look::kFace);
    int32_t h = ItemHeight();
    for (int32_t i = m_top, y = 0; i < Count() && y < r.bottom; ++i, y += h) {
        gfx::Rect row { r.left, y, r.right, y + h };
        bool selected = IsSelected(i);
        if (selected)
            p.FillRect(row, look::kSelection);
        gfx::ColorRef color = !IsEnabled() ? look::kGrayText : selected ? look::kSelectionText : m_textColor;
        p.DrawTextAligned(row.Inflate(-2, 0), m_items[static_cast<size_t>(i)], color, HAlign::Left, VAlign::Center);
        if (i == m_caret && HasFocus())
            p.FocusRect(row);
    }
}

void ListBoxControl::SelectByUser(int32_t index, bool toggle)
{
    if (index < 0 || index >= Count())
        return;
    m_caret = index;
    bool changed = false;
    if (m_mode == SelectionMode::Multiple) {
        if (toggle) {
            m_selected[static_cast<size_t>(index)] = !m_selected[static_cast<size_t>(index)];
            changed = true;
        }
    } else if (m_single != index) {
        m_single = index;
        changed = true;
    }
    EnsureVisible(index);
    Invalidate();
    if (changed && !m_combo)
        Notify(notify::kSelectionChanged);
}

void ListBoxControl::MoveCaret(int32_t index)
{
    if (Count() == 0)
        return;
    index = std::clamp(index, 0, Count() - 1);
    if (m_mode == SelectionMode::Multiple) {
        m_caret = index;
        EnsureVisible(index);
        Invalidate();
        return;
    }
    SelectByUser(index, false);
    if (m_combo)
        m_combo->ListChanged(index, ComboBoxControl::Commit::No);
}

void ListBoxControl::ButtonDown(gfx::Point p, uint32_t)
{
    if (m_combo)
        return; // a drop-down list picks on release
    SetFocus();
    int32_t index = ItemAt(p);
    if (index < 0)
        return;
    SetCapture();
    m_dragging = true;
    SelectByUser(index, true);
}

void ListBoxControl::MouseMove(gfx::Point p, uint32_t)
{
    if (m_combo) {
        int32_t index = ItemAt(p);
        if (index >= 0 && index != m_single) {
            m_single = index;
            m_caret = index;
            Invalidate();
        }
        return;
    }
    if (!m_dragging || m_mode == SelectionMode::Multiple)
        return;
    int32_t index = p.y < 0 ? m_top - 1 : ItemAt(gfx::Point { std::clamp(p.x, 0, ClientWidth() - 1), p.y });
    if (p.y >= ClientHeight())
        index = std::min(Count() - 1, m_top + VisibleRows());
    if (index >= 0)
        SelectByUser(index, false);
}

void ListBoxControl::ButtonUp(gfx::Point p, uint32_t)
{
    if (m_combo) {
        int32_t index = ItemAt(p);
        if (index >= 0)
            m_combo->ListChanged(index, ComboBoxControl::Commit::Yes);
        return;
    }
    if (m_dragging) {
        m_dragging = false;
        ReleaseCapture();
    }
}

void ListBoxControl::DoubleClick(gfx::Point p, uint32_t flags)
{
    int32_t index = ItemAt(p);
    if (index < 0 || m_combo)
        return;
    if (m_mode == SelectionMode::Single)
        SelectByUser(index, false);
    Notify(notify::kDoubleClicked);
}

bool ListBoxControl::KeyDown(uint32_t key)
{
    switch (key) {
    case key::kUp:
        MoveCaret(m_caret - 1);
        return true;
    case key::kDown:
        MoveCaret(CurSel() < 0 && m_mode == SelectionMode::Single ? 0 : m_caret + 1);
        return true;
    case key::kPageUp:
        MoveCaret(m_caret - VisibleRows() + 1);
        return true;
    case key::kPageDown:
        MoveCaret(m_caret + VisibleRows() - 1);
        return true;
    case key::kHome:
        MoveCaret(0);
        return true;
    case key::kEnd:
        MoveCaret(Count() - 1);
        return true;
    case key::kSpace:
        if (m_mode == SelectionMode::Multiple)
            SelectByUser(m_caret, true);
        return true;
    default:
        return TControl::KeyDown(key);
    }
}

void ListBoxControl::Char(uint8_t ch)
{
    if (ch <= ' ' || IsCtrlDown())
        return;
    std::string prefix(1, static_cast<char>(ch));
    int32_t index = FindPrefix(prefix, m_caret);
    if (index >= 0)
        MoveCaret(index);
}

void ListBoxControl::Scrolled(ScrollBarKind, int32_t code, int32_t pos, TWindow* from)
{
    if (!m_scroll || from != m_scroll.get())
        return;
    m_top = std::clamp(m_scroll->Pos(), 0, std::max(0, Count() - VisibleRows()));
    Invalidate();
}

} // namespace tamber::ui
