#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/MemoryBlock.h"
#include "platform/gfx/Rect.h"

namespace tamber {
class MediaDatabase;
namespace ui {
class TWindow;
}
}  // namespace tamber

namespace tamber::shell {

// What start-up needs of the window that shows the start Interface.
class StartWindow {
public:
    // The frame rectangle a new Interface window starts with.
    static constexpr gfx::Rect kInitialFrame = gfx::Rect::FromSize(0, 0, 640, 480);

    virtual ~StartWindow() = default;
    // Creates the top-level window (hidden, centred placement, the frame style and caption) and
    // loads the Interface from its record's bytes. Answers 1, or 0 when no window was made.
    virtual int Create(MediaDatabase& database, const MemoryBlock& interfaceBytes, int16_t frameStyle,
                       const std::string& caption) = 0;
    // The Interface's card size.
    virtual int32_t InterfaceWidth() const = 0;
    virtual int32_t InterfaceHeight() const = 0;
    // Removes the frame, hides and shows the window again covering the screen, and marks it
    // full-screen.
    virtual void MakeFullScreen() = 0;
    // Raises "Opened" on the Interface.
    virtual void RaiseOpened() = 0;
    virtual ui::TWindow& Window() = 0;
};

using StartWindowFactory = std::function<std::unique_ptr<StartWindow>()>;

}  // namespace tamber::shell
