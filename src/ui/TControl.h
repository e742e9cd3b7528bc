#pragma once

#include <functional>

#include "ui/Controls.h"
#include "ui/TWindow.h"

namespace tamber::ui {

enum class ControlBorder : uint8_t { None = 0, Flat = 1, Sunken = 2 };
enum class TabStop : uint8_t { No = 0, Yes = 1 };

// The common part of the standard controls: colours, an optional border, keyboard focus with
// Tab moving it, and notifications to the owner. Enter, Escape and Tab reach the owner as
// notices; focus changes too.
class TControl : public TWindow {
public:
    using Listener = std::function<void(TControl& control, uint16_t code)>;

    TControl();

    void SetTextColor(gfx::ColorRef color);
    void SetBackColor(gfx::ColorRef color);
    gfx::ColorRef TextColor() const { return m_textColor; }
    gfx::ColorRef BackColor() const { return m_backColor; }
    void SetBorder(ControlBorder border);
    ControlBorder Border() const { return m_border; }
    void SetTabStop(TabStop stop) { m_tabStop = stop; }
    bool IsTabStop() const override { return m_tabStop == TabStop::Yes; }
    // Called with every notification after the owner got it.
    void SetListener(Listener listener) { m_listener = std::move(listener); }

    // Sends a command message with the code to the owner (the parent unless set).
    void Notify(uint16_t code);
    // Moves the focus to the next (or previous) tab stop of the top-level window.
    static void MoveFocus(TWindow& from, bool backwards);

protected:
    Insets NonClientInsets() const override;
    void PaintNonClient(Painter& painter) override;
    bool KeyDown(uint32_t key) override;
    void FocusGained() override;
    void FocusLost() override;
    bool IsShiftDown() const { return IsKeyDown(key::kShift); }
    bool IsCtrlDown() const { return IsKeyDown(key::kCtrl); }
    // Tells only the listener (for notifications that reach the owner by another message).
    void Tell(uint16_t code)
    {
        if (m_listener && IsCreated())
            m_listener(*this, code);
    }

    gfx::ColorRef m_textColor = look::kText;
    gfx::ColorRef m_backColor = look::kWindow;

private:
    ControlBorder m_border = ControlBorder::None;
    TabStop m_tabStop = TabStop::Yes;
    Listener m_listener;
};

} // namespace tamber::ui
