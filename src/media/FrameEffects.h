#pragma once

#include <cstdint>

#include "platform/gfx/Rect.h"

namespace tamber {

class TransitionCopier;

// Whether a framed effect's rectangle or gap grows from the centre or shrinks towards it.
enum class Motion : uint8_t { Outward, Inward };
// The direction in which a curtain's gap opens: Across (a vertical gap, left and right bands) or
// Down (a horizontal gap, top and bottom bands).
enum class CurtainAxis : uint8_t { Across, Down };

// Frame `frame` of `frames` of a rectangle growing linearly from the zero-size rectangle at
// `centre` (frame 0) to `full` (the last frame); edges are computed in floating point and
// truncated.
gfx::Rect GrowingFrame(const gfx::Rect& full, gfx::Point centre, int32_t frame, int32_t frames);

// Effects that run a fixed number of frames (the surface's step) between the centre and the
// whole destination rectangle.
// Iris Out copies the picture inside a growing rectangle; Iris In copies the bands outside a
// shrinking one, closing in from the edges.
void PlayIris(TransitionCopier& copier, Motion motion);
// Zoom stretches the whole picture into the growing rectangle.
void PlayZoom(TransitionCopier& copier);
// Trace draws only an inverting outline of the rectangle, frame by frame, paced by the clock;
// the picture itself comes with the final copy.
void PlayTrace(TransitionCopier& copier, Motion motion);
// Curtains: a gap through the centre that closes (Inward: the bands on both sides are copied)
// or opens (Outward: the gap is copied).
void PlayCurtain(TransitionCopier& copier, CurtainAxis axis, Motion motion);

}  // namespace tamber
