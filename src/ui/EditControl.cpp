#include "ui/EditControl.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "ui/Application.h"
#include "ui/Clipboard.h"

namespace tamber::ui {

EditControl::EditControl()
{
    SetBorder(ControlBorder::Sunken);
    SetCursor(CursorShape::IBeam);
}

void EditControl::SetOptions(uint32_t options)
{
    m_options = options;
    Invalidate();
}

void EditControl::SetText(std::string_view text)
{
    m_text = std::string(text);
    m_caret = m_anchor = static_cast<int32_t>(m_text.size());
    ScrollToCaret();
    Changed();
}

std::string EditControl::DisplayText() const
{
    if (m_options & kEditPassword)
        return std::string(m_text.size(), kMaskChar);
    return m_text;
}

void EditControl::SetSpinLimits(double min, double max, double increment)
{
    m_min = min;
    m_max = max;
    m_increment = increment;
}

std::string EditControl::FormatNumber(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.10g", value);
    return buffer;
}

void EditControl::Spin(int32_t direction)
{
    double value = std::strtod(m_text.c_str(), nullptr);
    value += direction * m_increment;
    double low = std::min(m_min, m_max), high = std::max(m_min, m_max);
    value = std::clamp(value, low, high);
    std::string text = FormatNumber(value);
    if (text != m_text)
        SetText(text);
}

void EditControl::SetSelection(int32_t anchor, int32_t caret)
{
    int32_t n = static_cast<int32_t>(m_text.size());
    m_anchor = std::clamp(anchor, 0, n);
    m_caret = std::clamp(caret, 0, n);
    ScrollToCaret();
    Invalidate();
}

void EditControl::ReplaceSelection(std::string_view text)
{
    if (m_options & kEditReadOnly)
        return;
    int32_t start = SelectionStart(), end = SelectionEnd();
    std::string filtered;
    for (char c : text) {
        if (static_cast<uint8_t>(c) >= 32)
            filtered.push_back(c);
    }
    m_text.replace(static_cast<size_t>(start), static_cast<size_t>(end - start), filtered);
    m_caret = m_anchor = start + static_cast<int32_t>(filtered.size());
    ScrollToCaret();
    Changed();
}

void EditControl::Changed()
{
    Invalidate();
    Notify(notify::kChanged);
}

gfx::Rect EditControl::TextRect() const
{
    gfx::Rect r = ClientRect().Inflate(-2, -1);
    if (m_options & kEditSpin)
        r.right = ClientWidth() - kSpinWidth - 1;
    return r;
}

gfx::Rect EditControl::SpinRect(int32_t direction) const
{
    int32_t half = ClientHeight() / 2;
    int32_t left = ClientWidth() - kSpinWidth;
    return direction > 0 ? gfx::Rect { left, 0, ClientWidth(), half } : gfx::Rect { left, half, ClientWidth(), ClientHeight() };
}

int32_t EditControl::XOf(int32_t offset) const
{
    std::string shown = DisplayText();
    return TextRect().left - m_scrollX + Painter::TextWidth(Font().get(), std::string_view(shown).substr(0, static_cast<size_t>(offset)));
}

int32_t EditControl::OffsetAt(int32_t x) const
{
    std::string shown = DisplayText();
    auto face = Font();
    int32_t pen = TextRect().left - m_scrollX;
    for (size_t i = 0; i < shown.size(); ++i) {
        int32_t w = face ? face->Advance(static_cast<uint8_t>(shown[i])) : 0;
        if (x < pen + w / 2)
            return static_cast<int32_t>(i);
        pen += w;
    }
    return static_cast<int32_t>(shown.size());
}

void EditControl::ScrollToCaret()
{
    if (!IsCreated())
        return;
    gfx::Rect r = TextRect();
    int32_t x = XOf(m_caret);
    if (x < r.left)
        m_scrollX -= r.left - x;
    else if (x >= r.right)
        m_scrollX += x - r.right + 1;
    m_scrollX = std::max(0, m_scrollX);
}

void EditControl::MoveCaret(int32_t to, bool extend)
{
    m_caret = std::clamp(to, 0, static_cast<int32_t>(m_text.size()));
    if (!extend)
        m_anchor = m_caret;
    ScrollToCaret();
    Invalidate();
}

void EditControl::Paint(Painter& p)
{
    gfx::Rect all = ClientRect();
    bool readOnly = (m_options & kEditReadOnly) != 0;
    gfx::ColorRef back = !IsEnabled() || readOnly ? look::kFace : m_backColor;
    p.FillRect(all, back);
    gfx::Rect r = TextRect();
    Painter text = p;
    text.IntersectClip(r);
    std::string shown = DisplayText();
    int32_t y = r.top + (r.Height() - p.TextHeight()) / 2;
    text.DrawText(r.left - m_scrollX, y, shown, IsEnabled() ? m_textColor : look::kGrayText);
    int32_t start = SelectionStart(), end = SelectionEnd();
    if (HasFocus() && start != end) {
        int32_t x0 = XOf(start), x1 = XOf(end);
        text.FillRect(gfx::Rect { x0, y, x1, y + p.TextHeight() }, look::kSelection);
        text.DrawText(x0, y, std::string_view(shown).substr(static_cast<size_t>(start), static_cast<size_t>(end - start)),
                      look::kSelectionText);
    }
    if (HasFocus())
        text.VLine(XOf(m_caret), y, y + std::max(1, p.TextHeight()), look::kText);
    if (m_options & kEditSpin) {
        for (int32_t dir : { 1, -1 }) {
            gfx::Rect box = SpinRect(dir);
            p.FillRect(box, look::kFace);
            p.DrawEdge(box, m_spinning == dir ? Edge::Pressed : Edge::Raised);
            int32_t cx = box.left + box.Width() / 2 - 1, cy = box.top + box.Height() / 2;
            p.Arrow(gfx::Point { cx, dir > 0 ? cy - 2 : cy + 1 }, 3, dir > 0 ? Painter::Direction::Up : Painter::Direction::Down,
                    IsEnabled() ? look::kText : look::kGrayText);
        }
    }
}

void EditControl::ButtonDown(gfx::Point p, uint32_t)
{
    SetFocus();
    if (m_options & kEditSpin) {
        for (int32_t dir : { 1, -1 }) {
            if (SpinRect(dir).Contains(p)) {
                if (m_options & kEditReadOnly)
                    return;
                m_spinning = dir;
                Spin(dir);
                SetCapture();
                SetTimer(kSpinTimer, 400);
                return;
            }
        }
    }
    MoveCaret(OffsetAt(p.x), IsShiftDown());
    m_selecting = true;
    SetCapture();
}

void EditControl::DoubleClick(gfx::Point p, uint32_t flags)
{
    if ((m_options & kEditSpin) && p.x >= ClientWidth() - kSpinWidth) {
        ButtonDown(p, flags);
        return;
    }
    // A double click selects the word under the pointer.
    int32_t at = OffsetAt(p.x), n = static_cast<int32_t>(m_text.size());
    int32_t start = at, end = at;
    while (start > 0 && m_text[static_cast<size_t>(start - 1)] != ' ')
        --start;
    while (end < n && m_text[static_cast<size_t>(end)] != ' ')
        ++end;
    SetSelection(start, end);
}

void EditControl::MouseMove(gfx::Point p, uint32_t)
{
    if (m_selecting && HasCapture())
        MoveCaret(OffsetAt(p.x), true);
}

void EditControl::ButtonUp(gfx::Point, uint32_t)
{
    if (m_spinning) {
        m_spinning = 0;
        KillTimer(kSpinTimer);
        Invalidate();
    }
    m_selecting = false;
    if (HasCapture())
        ReleaseCapture();
}

void EditControl::Timer(uint32_t id)
{
    if (id != kSpinTimer || !m_spinning)
        return;
    SetTimer(kSpinTimer, 60);
    if (SpinRect(m_spinning).Contains(ScreenToClient(CursorPosition())))
        Spin(m_spinning);
}

bool EditControl::KeyDown(uint32_t key)
{
    bool shift = IsShiftDown(), ctrl = IsCtrlDown();
    bool readOnly = (m_options & kEditReadOnly) != 0;
    bool password = (m_options & kEditPassword) != 0;
    int32_t n = static_cast<int32_t>(m_text.size());
    Clipboard* clipboard = App() ? &App()->GetClipboard() : nullptr;
    auto selected = [&] { return m_text.substr(static_cast<size_t>(SelectionStart()), static_cast<size_t>(SelectionEnd() - SelectionStart())); };
    auto copy = [&] {
        if (!password && clipboard && SelectionStart() != SelectionEnd())
            clipboard->SetText(selected());
    };
    switch (key) {
    case key::kLeft:
        MoveCaret(!shift && SelectionStart() != SelectionEnd() ? SelectionStart() : m_caret - 1, shift);
        return true;
    case key::kRight:
        MoveCaret(!shift && SelectionStart() != SelectionEnd() ? SelectionEnd() : m_caret + 1, shift);
        return true;
    case key::kHome:
        MoveCaret(0, shift);
        return true;
    case key::kEnd:
        MoveCaret(n, shift);
        return true;
    case key::kUp:
    case key::kDown:
        if ((m_options & kEditSpin) && !readOnly)
            Spin(key == key::kUp ? 1 : -1);
        return true;
    case key::kBackspace:
        if (readOnly)
            return true;
        if (SelectionStart() == SelectionEnd() && m_caret > 0)
            m_anchor = m_caret - 1;
        if (SelectionStart() != SelectionEnd())
            ReplaceSelection("");
        return true;
    case key::kDelete:
        if (readOnly)
            return true;
        if (shift) { // cut
            if (password)
                return true;
            copy();
        } else if (SelectionStart() == SelectionEnd() && m_caret < n) {
            m_anchor = m_caret + 1;
        }
        if (SelectionStart() != SelectionEnd())
            ReplaceSelection("");
        return true;
    case key::kInsert:
        if (ctrl)
            copy();
        else if (shift && clipboard && !readOnly)
            ReplaceSelection(clipboard->GetText());
        return true;
    default:
        break;
    }
    if (ctrl) {
        switch (key) {
        case 'A':
            SetSelection(0, n);
            return true;
        case 'C':
            copy();
            return true;
        case 'X':
            if (!readOnly && !password) {
                copy();
                if (SelectionStart() != SelectionEnd())
                    ReplaceSelection("");
            }
            return true;
        case 'V':
            if (!readOnly && clipboard)
                ReplaceSelection(clipboard->GetText());
            return true;
        default:
            break;
        }
    }
    return TControl::KeyDown(key);
}

void EditControl::Char(uint8_t ch)
{
    if (ch < 32 || ch == 127 || IsCtrlDown() || (m_options & kEditReadOnly))
        return;
    char c = static_cast<char>(ch);
    ReplaceSelection(std::string_view(&c, 1));
}

} // namespace tamber::ui
