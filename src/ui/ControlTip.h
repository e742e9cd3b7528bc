#pragma once

#include <string>

#include "ui/TWindow.h"

namespace tamber::ui {

// A one-line hint shown near the pointer when it rests on a control. The tip watches the
// control's messages: while the pointer moves inside, a 400 ms timer runs; when it fires with
// the pointer still inside, the tip appears below the pointer, moved left and up in steps of 8
// pixels until it fits on the screen. A button press or release in the control, or the pointer
// leaving it, hides the tip and stops the timer. Destroying the control ends the watching.
class ControlTip : public TWindow, private MessageHook {
public:
    static constexpr const char* kTipClassName = "vkmcontroltips";
    static constexpr uint32_t kDelay = 400;
    static constexpr int32_t kStep = 8;
    static constexpr int32_t kPointerGap = 20;
    static constexpr gfx::ColorRef kBack = gfx::Rgb(255, 255, 128);
    static constexpr gfx::ColorRef kInk = gfx::Rgb(0, 0, 128);

    ControlTip();
    ~ControlTip() override;

    const char* ClassName() const override { return kTipClassName; }
    // Makes the tip window for the control (hidden) and starts watching it. Answers 1, or 0 when
    // the control has no window.
    int Attach(TWindow& control, std::string hint);
    void Detach();
    const std::string& Hint() const { return m_hint; }
    bool IsWatching() const { return m_control != nullptr; }

protected:
    void Paint(Painter& p) override;
    void Timer(uint32_t id) override;

private:
    bool Filter(TWindow& window, uint32_t code, uintptr_t wParam, intptr_t lParam, intptr_t& result) override;
    void HideTip();

    TWindow* m_control = nullptr;
    std::string m_hint;
};

} // namespace tamber::ui
