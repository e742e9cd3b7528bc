#pragma once

#include <memory>

#include "iface/InterfaceModel.h"
#include "shell/StartWindow.h"
#include "ui/TFramedWindow.h"

namespace tamber::shell {

// A start window that loads the Interface for its size and "Opened" but shows only its frame
// and a blank client area: the player's window when no interface window is wired in.
class BlankStartWindow final : public StartWindow {
public:
    BlankStartWindow();
    ~BlankStartWindow() override;

    int Create(MediaDatabase& database, const MemoryBlock& interfaceBytes, int16_t frameStyle,
               const std::string& caption) override;
    int32_t InterfaceWidth() const override { return m_width; }
    int32_t InterfaceHeight() const override { return m_height; }
    void MakeFullScreen() override;
    void RaiseOpened() override;
    ui::TWindow& Window() override { return m_frame; }
    bool IsFullScreen() const { return m_fullScreen; }

private:
    ui::TFramedWindow m_frame;
    InterfaceModel m_model;
    int32_t m_width = 0;
    int32_t m_height = 0;
    bool m_fullScreen = false;
};

}  // namespace tamber::shell
