#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "platform/gfx/Rect.h"
#include "platform/gfx/Surface.h"
#include "ui/InputEvent.h"

namespace tamber::ui {

enum class CursorShape : uint8_t { Arrow = 0, Wait = 1, IBeam = 2, Cross = 3, SizeWE = 4, SizeNS = 5, SizeAll = 6, Hand = 7 };
enum class Interactive : uint8_t { No = 0, Yes = 1 };

// What the window framework needs of the screen: its size and depth, a place to show the
// composed screen image, and the user's input. A real screen shows a window and waits for input;
// the headless one keeps the image in memory and hands out the input queued into it.
class ScreenPort {
public:
    virtual ~ScreenPort() = default;

    virtual int32_t Width() const = 0;
    virtual int32_t Height() const = 0;
    // Rgb32 (24-bit screen) or Indexed8 (256-colour screen).
    virtual gfx::PixelFormat Format() const = 0;
    // Shows the given parts of the screen image. On an 8-bit screen palette holds the colour
    // (0x00RRGGBB) of every index.
    virtual void Present(const gfx::Surface& screen, const std::vector<gfx::Rect>& dirty,
                         const std::array<uint32_t, 256>& palette) = 0;
    // Waits at most timeoutMs for input; answers 1 with an event, 0 without one.
    virtual int WaitInput(InputEvent& event, uint32_t timeoutMs) = 0;
    virtual void SetCursor(CursorShape shape) { }
    // Whether a person is in front of it (a nested loop may wait for input).
    virtual Interactive IsInteractive() const = 0;
};

} // namespace tamber::ui
