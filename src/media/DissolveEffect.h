#pragma once

#include <cstdint>

#include "platform/gfx/Rect.h"

namespace tamber {

class TransitionCopier;

// How a dissolve cuts the picture into square cells: b source pixels a side, each copied into a
// destination square of (cellWidth + 1) x (cellHeight + 1) pixels, so that neighbours overlap by
// a pixel and no seam shows when the scale is not whole.
struct DissolveCells {
    int32_t sourceSide = 4;
    double scaleX = 1.0;  // destination width / source width
    double scaleY = 1.0;
    int32_t cellWidth = 4;
    int32_t cellHeight = 4;
    int32_t columns = 0;
    int32_t count = 0;

    // Cells of about four destination pixels; a picture shrunk to less than three pixels a cell
    // gets bigger source cells instead. Both sizes must be positive.
    static DissolveCells For(int32_t sourceWidth, int32_t sourceHeight, int32_t destWidth, int32_t destHeight);

    // Cell v's square in the picture and in the destination.
    gfx::Rect SourceSquare(int32_t v) const;
    gfx::Rect DestSquare(int32_t v) const;
};

// Reveals the picture in cells in the register's pseudo-random order, cell 0 last. Cells are
// placed from the picture's and the destination context's origins, not the rectangles' corners.
void PlayDissolve(TransitionCopier& copier);

}  // namespace tamber
