#include "media/DissolveEffect.h"

#include "media/DissolveRegister.h"
#include "media/TransitionCopier.h"
#include "platform/gfx/RasterOp.h"

namespace tamber {

namespace {

constexpr int32_t kCellSide = 4;
// Destination cells narrower than this get bigger source cells.
constexpr int32_t kMinCellSize = 3;

}  // namespace

DissolveCells DissolveCells::For(int32_t sourceWidth, int32_t sourceHeight, int32_t destWidth, int32_t destHeight) {
    DissolveCells c;
    c.scaleX = static_cast<double>(destWidth) / sourceWidth;
    c.scaleY = static_cast<double>(destHeight) / sourceHeight;
    int32_t b = kCellSide;
    c.cellWidth = static_cast<int32_t>(b * c.scaleX);
    c.cellHeight = static_cast<int32_t>(b * c.scaleY);
    // Shrunk pictures: source cells that come out at about four destination pixels again.
    auto resize = [&c](int32_t side) {
        if (c.scaleX < 1.0) {
            c.cellWidth = static_cast<int32_t>(side * c.scaleX);
        }
        if (c.scaleY < 1.0) {
            c.cellHeight = static_cast<int32_t>(side * c.scaleY);
        }
    };
    if (c.cellWidth < kMinCellSize) {
        b = static_cast<int32_t>(static_cast<int64_t>(kCellSide) * sourceWidth / destWidth);
        resize(b);
    }
    if (c.cellHeight < kMinCellSize) {
        b = static_cast<int32_t>(static_cast<int64_t>(b) * sourceHeight / destHeight);
        resize(b);
    }
    c.sourceSide = b;
    c.columns = b > 0 ? sourceWidth / b : 0;
    c.count = b > 0 && c.columns > 0 ? (sourceHeight / b) * c.columns : 0;
    return c;
}

gfx::Rect DissolveCells::SourceSquare(int32_t v) const {
    const int32_t column = v % columns;
    const int32_t row = v / columns;
    return gfx::Rect::FromSize(column * sourceSide, row * sourceSide, sourceSide, sourceSide);
}

gfx::Rect DissolveCells::DestSquare(int32_t v) const {
    const int32_t column = v % columns;
    const int32_t row = v / columns;
    return gfx::Rect::FromSize(static_cast<int32_t>(column * sourceSide * scaleX),
                               static_cast<int32_t>(row * sourceSide * scaleY), cellWidth + 1, cellHeight + 1);
}

void PlayDissolve(TransitionCopier& copier) {
    const gfx::Rect& s = copier.Source();
    const gfx::Rect& d = copier.Dest();
    const DissolveCells cells = DissolveCells::For(s.Width(), s.Height(), d.Width(), d.Height());
    if (cells.count == 0) {
        return;
    }
    auto copyCell = [&](int32_t v) {
        copier.Copy(cells.DestSquare(v), cells.SourceSquare(v), gfx::Rop3::kSrcCopy);
    };
    // The screen is shown once per row's worth of cells rather than after every cell.
    int32_t copied = 0;
    DissolveRegister order;
    for (uint32_t v = order.Next(); v != DissolveRegister::kStart; v = order.Next()) {
        // The register never yields 0; a value equal to the count names the cell below the last
        // row, whose copy lands in the rows the cells leave over (or outside the rectangle).
        if (v > static_cast<uint32_t>(cells.count)) {
            continue;
        }
        copyCell(static_cast<int32_t>(v));
        if (++copied % cells.columns == 0) {
            copier.Show(d);
        }
    }
    copyCell(0);
    copier.Show(d);
}

}  // namespace tamber
