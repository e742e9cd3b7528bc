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
//
// Pictures drawn through a surface with a transition (see Transition) use its settings: the step
// of the effects, the effect centre, the draw mode that picks the raster operation of plain
// copies, and a second memory context that holds the source bitmap.
class DrawingSurface {
public:
    DrawingSurface(ScreenContext& context, Display::SurfaceId window);
    DrawingSurface(ScreenContext& context, DibImage& image);
    ~DrawingSurface();
    DrawingSurface(const DrawingSurface&) = delete;
    DrawingSurface& operator=(const DrawingSurface&) = delete;

    // Pixels per strip of the sliding effects and frames of the growing ones: the same for every
    // surface.
    static constexpr int32_t kStep = 16;
    // Draw modes 0..7 name raster operations; any other value means a source copy.
    static constexpr int32_t kDrawModes = 8;

    // Null when the window or image has nothing to draw on.
    gfx::Dc* Dc() { return m_dc; }
    ScreenContext& Context() { return m_context; }
    // A memory context compatible with Dc() for source bitmaps, made on first use and kept as
    // long as the surface; null when there is nothing to draw on.
    gfx::Dc* SourceDc();

    int32_t Step() const { return kStep; }
    // Where the growing effects start horizontally; negative (the default) means the middle of
    // the destination rectangle.
    int32_t EffectCenterX() const { return m_effectCenterX; }
    void SetEffectCenterX(int32_t x) { m_effectCenterX = x; }
    int32_t DrawMode() const { return m_drawMode; }
    void SetDrawMode(int32_t mode) { m_drawMode = mode; }
    // The raster operation of the draw mode.
    uint32_t DrawModeRop() const;

    // Shows a part (logical coordinates) that was just drawn: on a window the display presents it
    // at once, so that a progressive reveal is seen step by step; on an image nothing happens.
    void ShowNow(const gfx::Rect& part);

private:
    ScreenContext& m_context;
    Display::SurfaceId m_window = 0;
    std::unique_ptr<gfx::Dc> m_memory;
    gfx::DeviceBitmap* m_oldBitmap = nullptr;
    gfx::Dc* m_dc = nullptr;
    const gfx::Palette* m_oldPalette = nullptr;
    bool m_paletteSelected = false;
    std::unique_ptr<gfx::Dc> m_source;
    int32_t m_effectCenterX = -1;
    int32_t m_drawMode = 0;
};

}  // namespace tamber
