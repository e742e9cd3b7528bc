#pragma once

#include <memory>
#include <string>

#include "platform/display/Display.h"

namespace tamber {

enum class FullScreen : uint8_t { No = 0, Yes = 1 };
enum class VSync : uint8_t { Off = 0, On = 1 };

struct SdlDisplayOptions {
    std::string title = "Tamber";
    FullScreen fullScreen = FullScreen::No;
    VSync vsync = VSync::On;
};

// The screen in one SDL2 window, scaled to fit with its aspect ratio kept (by a whole factor
// when one fits). F11 and Alt+Enter switch between a window and the full screen and are not
// passed on. An 8-bit screen is converted through the hardware palette when presented.
class SdlDisplay : public Display {
public:
    // Answers nullptr, with the reason in error, when SDL cannot open a window.
    static std::unique_ptr<SdlDisplay> Create(int32_t width, int32_t height, ScreenDepth depth,
                                              const SdlDisplayOptions& options, std::string* error = nullptr);
    ~SdlDisplay() override;
    // The size of the primary desktop in pixels; answers 0 when SDL cannot tell.
    static int DesktopSize(int32_t& width, int32_t& height);

    void ToggleFullScreen();
    bool IsFullScreen() const;
    // Where the screen lies in the window's drawable area (x, y, width, height in pixels).
    gfx::Rect Viewport() const;
    // The window's position on the desktop.
    gfx::Point WindowPosition() const;

protected:
    void Output(const std::vector<gfx::Rect>& rects, bool paletteChanged) override;
    void Pump(uint32_t timeoutMs) override;
    void ApplyCursor() override;

private:
    struct State;

    SdlDisplay(int32_t width, int32_t height, ScreenDepth depth);
    bool Open(const SdlDisplayOptions& options, std::string* error);
    void Translate(const void* sdlEvent);
    void Redraw();
    gfx::Point ToScreen(int32_t windowX, int32_t windowY) const;

    std::unique_ptr<State> m_state;
};

}  // namespace tamber
