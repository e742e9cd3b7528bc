#pragma once

#include <memory>

#include "iface/InterfaceWindow.h"
#include "shell/StartWindow.h"

namespace tamber::shell {

// The start Interface in an interface window, top-level and running.
class InterfaceStartWindow final : public StartWindow {
public:
    // screen may be null: the window then keeps no palette.
    explicit InterfaceStartWindow(ScreenContext* screen) : m_screen(screen) {}

    int Create(MediaDatabase& database, const MemoryBlock& interfaceBytes, int16_t frameStyle,
               const std::string& caption) override;
    int32_t InterfaceWidth() const override;
    int32_t InterfaceHeight() const override;
    void MakeFullScreen() override { m_window->MakeFullScreen(); }
    void RaiseOpened() override;
    ui::TWindow& Window() override { return *m_window; }
    InterfaceWindow& Interface() { return *m_window; }

private:
    ScreenContext* m_screen;
    std::unique_ptr<InterfaceWindow> m_window;
};

}  // namespace tamber::shell
