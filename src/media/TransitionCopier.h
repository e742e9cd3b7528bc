#pragma once

#include <cstddef>
#include <cstdint>

#include "base/MemoryBlock.h"
#include "media/TransitionStep.h"
#include "platform/gfx/Dc.h"
#include "platform/gfx/Dib.h"

namespace tamber {

class DrawingSurface;

// The picture of one transition: a device bitmap selected into a memory context, or the header
// and rows of a packed DIB.
struct TransitionPicture {
    const gfx::Dc* bitmapDc = nullptr;
    const uint8_t* dibInfo = nullptr;
    size_t dibInfoSize = 0;
    const uint8_t* dibBits = nullptr;
    size_t dibBitsSize = 0;
    gfx::DibInfo dib;

    // Reads a packed DIB (file header "BM" first); answers 1, or 0 when it is malformed.
    int SetDib(const MemoryBlock& packed);
};

// The copies of one transition from a source rectangle of a picture to a destination rectangle
// of a surface. Effects describe what to show; this class maps destination parts to picture parts
// through the scale factors, makes the platform calls, reports each one to the watcher and shows
// finished steps.
class TransitionCopier {
public:
    TransitionCopier(DrawingSurface& surface, const TransitionPicture& picture, const gfx::Rect& source,
                     const gfx::Rect& dest, uint32_t rop, const TransitionWatcher* watcher);

    const gfx::Rect& Dest() const { return m_dest; }
    const gfx::Rect& Source() const { return m_source; }
    // The caller's raster operation, for plain copies.
    uint32_t Rop() const { return m_rop; }
    int32_t Step() const;
    // Where the growing effects start: the surface's effect centre x when set, else the middle of
    // the destination; always the middle vertically.
    gfx::Point Centre() const;

    // Copies what `part` of the destination shows when the picture, at the destination's size,
    // has its top-left corner at `origin`. The part is cut to the destination rectangle and to
    // the picture; source coordinates are the destination ones times the scale factors,
    // truncated.
    void CopyPicture(const gfx::Rect& part, gfx::Point origin, uint32_t rop);
    // One copy from picture pixels (top row 0) to destination pixels, stretched when the sizes
    // differ. Empty rectangles copy nothing and answer 0.
    int Copy(const gfx::Rect& dest, const gfx::Rect& source, uint32_t rop);
    // Moves the destination rectangle's content; what moves out is lost.
    void Scroll(int32_t dx, int32_t dy);
    // Inverts a dotted outline of the rectangle; a second call removes it.
    void InvertOutline(const gfx::Rect& rect);
    // Waits through the clock until `milliseconds` have passed since the last wait ended (or
    // since the copier was made); no clock, no wait.
    void WaitSinceLast(uint32_t milliseconds);
    // Shows a finished step on the screen.
    void Show(const gfx::Rect& part);
    // The whole source rectangle into the whole destination rectangle, shown; answers the
    // platform call's result.
    int Final(uint32_t rop);

private:
    int Transfer(const gfx::Rect& dest, const gfx::Rect& source, uint32_t rop);
    void Report(const TransitionStep& step);

    DrawingSurface& m_surface;
    gfx::Dc& m_dc;
    const TransitionPicture& m_picture;
    gfx::Rect m_source;
    gfx::Rect m_dest;
    uint32_t m_rop;
    const TransitionWatcher* m_watcher;
    double m_scaleX;
    double m_scaleY;
    uint32_t m_lastWait = 0;
};

}  // namespace tamber
