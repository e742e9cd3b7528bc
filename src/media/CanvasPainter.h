#pragma once

#include <cstdint>

#include "media/CanvasObject.h"
#include "platform/gfx/Dc.h"
#include "platform/gfx/GlyphSource.h"

namespace tamber {

class Canvas;

// Draws the objects of a canvas through a device context, in picture pixels, over whatever the
// context already shows (normally the medium's picture). Objects are drawn in list order, the
// first lowest. Shapes given by two corner points are normalised and include their right and
// bottom edges; filled shapes are painted with the fill colour first, then outlined with the
// line width and fore colour unless the width is 0.
//
// Choices of this painter:
// - SPRAY: every point of the list is one dot of the spray, a square of the line width (at least
//   one pixel) in the fore colour centred on the point.
// - ERASER: paints over what lies beneath with its fill colour (white unless given): shape
//   POLYGON fills the polygon through its points; RECT, ROUNDRECT and OVAL are the eraser's tip,
//   a square box of the line width centred on each point, with consecutive points joined by a
//   line of that width so that a dragged eraser leaves no gaps. An eraser attached to an object
//   is drawn right after that object (wherever it stands in the list); one whose object is not
//   drawn is not drawn either.
// - Objects held by a live group are drawn with the group, not in their own place.
// - FILL uses the fill colour when one was given, else the fore colour.
// - TEXT sizes are points at 96 pixels per inch; lines break at carriage returns.
class CanvasPainter {
public:
    static constexpr int32_t kMaxFilledPolygonPoints = 1024;
    // Corners of a ROUNDRECT: this fraction of the smaller side of its box.
    static constexpr int32_t kRoundCornerDivisor = 5;
    // Pens wider than this are drawn this wide.
    static constexpr int32_t kMaxLineWidth = 1024;
    // Objects reaching further from 0 than this are not drawn: no picture is that large, and the
    // rasteriser's work grows with the size of a shape, not with the part that shows.
    static constexpr int32_t kMaxDrawnCoordinate = 32767;

    // glyphs may be null: TEXT objects are then not drawn.
    CanvasPainter(gfx::Dc& dc, gfx::GlyphSource* glyphs)
        : m_dc(dc)
        , m_glyphs(glyphs)
    {
    }

    // Draws every live object; with a non-empty clip (logical coordinates) only inside it.
    void Draw(const Canvas& canvas, const gfx::Rect& clip = {});
    // One object with its members and attached erasers.
    void DrawObject(const CanvasObject& object);

    // The box of two corner points, normalised, including the right and bottom edges; the bound
    // when the object has fewer than two points.
    static gfx::Rect CornerBox(const CanvasObject& object);

private:
    void Paint(const CanvasObject& object, int depth);
    void PaintShape(const CanvasObject& object);
    void PaintPolygon(const CanvasObject& object);
    void PaintSpray(const CanvasObject& object);
    void PaintEraser(const CanvasObject& object);
    void PaintText(const CanvasObject& object);
    void PaintFill(const CanvasObject& object);
    void PaintBitmap(const CanvasObject& object);
    // Selects the outline pen of the object with a hollow brush; false when the width is 0.
    bool SelectOutline(const CanvasObject& object);
    void SelectFilling(uint32_t color);

    gfx::Dc& m_dc;
    gfx::GlyphSource* m_glyphs;
};

} // namespace tamber
