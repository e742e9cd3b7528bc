#pragma once

#include <cstdint>

#include "base/MemoryBlock.h"
#include "media/TransitionStep.h"
#include "platform/gfx/Dc.h"
#include "platform/gfx/RasterOp.h"

namespace tamber {

class DibImage;
class DrawingSurface;
class Palette;

// What to draw: a picture (a device bitmap, or a packed DIB when there is no bitmap), the part
// of it to take, where to put it, how, and with which effect.
struct TransitionRequest {
    gfx::DeviceBitmap* bitmap = nullptr;
    const MemoryBlock* dib = nullptr;
    gfx::Rect source;  // picture pixels, top row 0
    gfx::Rect dest;    // logical coordinates of the surface
    uint32_t rop = gfx::Rop3::kSrcCopy;
    Palette* palette = nullptr;  // none: the default palette on an 8-bit display
    gfx::StretchMode stretchMode = gfx::StretchMode::ColorOnColor;
    int32_t effect = 0;  // 0 "None" to 22 "Dissolve"; unknown numbers draw like 0
};

// Which palette a picture of a DibImage is drawn with.
enum class PictureColors : uint8_t { Image, Current, None };

// The routine that puts every picture on a surface: copies it from a source rectangle into a
// destination rectangle, first revealing it with a transition effect (see TransitionEffect),
// then always with one full copy. Each step of a reveal is shown at once on a window surface.
class Transition {
public:
    explicit Transition(DrawingSurface& surface) : m_surface(surface) {}

    // Told of every copy, scroll and outline as it is made.
    void SetWatcher(TransitionWatcher watcher) { m_watcher = std::move(watcher); }

    // Answers the result of the final copy; 0 with nothing drawn when the surface has no memory
    // context for the picture or the picture is unusable.
    int Draw(const TransitionRequest& request);

    // A DibImage at its own size with its top-left corner at `at`, or stretched into `into`,
    // with the surface's draw mode.
    int DrawImage(DibImage& image, gfx::Point at, int32_t effect, PictureColors colors);
    int DrawImage(DibImage& image, const gfx::Rect& into, int32_t effect, PictureColors colors);

private:
    DrawingSurface& m_surface;
    TransitionWatcher m_watcher;
};

}  // namespace tamber
