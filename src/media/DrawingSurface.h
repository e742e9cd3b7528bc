#pragma once

#include <memory>

#include "platform/display/Display.h"
#include "platform/gfx/Dc.h"
#include "platform/gfx/Palette.h"

namespace tamber {

class DibImage;
class ScreenContext;

// The device context the graphics layer draws through, for one drawing operation. On a window
// it shares the window's context with the window's other surfaces and selects and realises the
// palette of the moment: the screen palette (padded with black to 256 entries) while the screen
// is faded, else the current palette when there is one. On an image it is a memory context with
// the image's bitmap selected. Either way it starts with a black text colour on white.
class DrawingSurface {
public:
    DrawingSurface(ScreenContext& context, Display::SurfaceId window);
    DrawingSurface(ScreenContext& context, DibImage& image);
    ~DrawingSurface();
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;

    // Null when the window or image has nothing to draw on.
    gfx::Dc* Dc() { return m_dc; }

private:
    ScreenContext& m_context;
    Display::SurfaceId m_window = 0;
    std::unique_ptr<gfx::Dc> m_memory;
    gfx::DeviceBitmap* m_oldBitmap = nullptr;
    gfx::Dc* m_dc = nullptr;
    const gfx::Palette* m_oldPalette = nullptr;
    bool m_paletteSelected = false;
};

}  // namespace tamber
