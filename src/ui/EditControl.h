#pragma once

#include <string>
#include <string_view>

#include "ui/TControl.h"

namespace tamber::ui {

// Options of an edit control (combine with |).
constexpr uint32_t kEditPassword = 1; // shows '*' for every character; copying is refused
constexpr uint32_t kEditReadOnly = 2; // the user cannot change the text
constexpr uint32_t kEditSpin = 4;     // a spin button steps the text as a number between limits

// A one-line text field with a caret, a selection (mouse drag, Shift with the arrows, Home and
// End), the clipboard keys (Ctrl+C/X/V, Ctrl+Insert, Shift+Delete, Shift+Insert, Ctrl+A) and an
// optional spin button (Up and Down do the same). Every change of the text notifies kChanged.
class EditControl : public TControl {
public:
    static constexpr int32_t kSpinWidth = 16;
    static constexpr char kMaskChar = '*';

    EditControl();

    void SetOptions(uint32_t options);
    uint32_t Options() const { return m_options; }
    const std::string& Text() const { return m_text; }
    // Replaces the text (caret at the end) and notifies kChanged.
    void SetText(std::string_view text);
    // What the field shows: the text or its mask.
    std::string DisplayText() const;

    void SetSpinLimits(double min, double max, double increment);
    double SpinMin() const { return m_min; }
    double SpinMax() const { return m_max; }
    double SpinIncrement() const { return m_increment; }
    // Steps the number in the text up (+1) or down (-1), kept within the limits.
    void Spin(int32_t direction);
    static std::string FormatNumber(double value);

    int32_t SelectionStart() const { return std::min(m_anchor, m_caret); }
    int32_t SelectionEnd() const { return std::max(m_anchor, m_caret); }
    int32_t Caret() const { return m_caret; }
    void SetSelection(int32_t anchor, int32_t caret);
    // Puts text in place of the selection as if typed (read-only fields refuse).
    void ReplaceSelection(std::string_view text);

protected:
    void Paint(Painter& p) override;
    void ButtonDown(gfx::Point p, uint32_t flags) override;
    void DoubleClick(gfx::Point p, uint32_t flags) override;
    void MouseMove(gfx::Point p, uint32_t flags) override;
    void ButtonUp(gfx::Point p, uint32_t flags) override;
    bool KeyDown(uint32_t key) override;
    void Char(uint8_t ch) override;
    void Timer(uint32_t id) override;

private:
    gfx::Rect TextRect() const;
    gfx::Rect SpinRect(int32_t direction) const;
    int32_t OffsetAt(int32_t x) const;
    int32_t XOf(int32_t offset) const;
    void MoveCaret(int32_t to, bool extend);
    void ScrollToCaret();
    void Changed();

    uint32_t m_options = 0;
    std::string m_text;
    int32_t m_caret = 0;
    int32_t m_anchor = 0;
    int32_t m_scrollX = 0;
    double m_min = -99999999.0;
    double m_max = 99999999.0;
    double m_increment = 1.0;
    bool m_selecting = false;
    int32_t m_spinning = 0;
    static constexpr uint32_t kSpinTimer = 1;
};

} // namespace tamber::ui
