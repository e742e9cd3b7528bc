#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"
#include "platform/gfx/Point.h"
#include "platform/gfx/Rect.h"

namespace tamber {

enum class CanvasObjectType : int32_t {
    Line = 0,
    Rect = 1,
    RoundRect = 2,
    Oval = 3,
    PolyLine = 4,
    Eraser = 5,
    Spray = 6,
    Text = 7,
    Fill = 8,
    Polygon = 9,
    Bitmap = 10,
    Curve = 11,
    Group = 12,
};

enum class EraserShape : int32_t { Polygon = 0, Rect = 1, RoundRect = 2, Oval = 3 };

// The font of a TEXT object: face, size in points and style bits.
struct CanvasFont {
    static constexpr int32_t kMaxFaceLength = 31;
    static constexpr uint32_t kBold = 1;
    static constexpr uint32_t kItalic = 2;
    static constexpr uint32_t kUnderline = 4;
    static constexpr uint32_t kStrikeOut = 8;

    std::string face = "Arial";
    int32_t size = 12;
    uint32_t style = 0;

    bool operator==(const CanvasFont&) const = default;
};

// Coordinates are kept within this distance of 0, far beyond any picture, so that sizes and
// moves computed from them never overflow.
constexpr int32_t kMaxCanvasCoordinate = 1 << 28;

// Opacity of a BITMAP object in percent: 100 draws it plainly.
constexpr int32_t kOpaque = 100;

// What an ATTRIBUTE command (or an object's block) sets; unset fields are left as they are.
struct CanvasAttributes {
    std::optional<uint32_t> foreColor;
    std::optional<uint32_t> fillColor; // given: the object is filled
    std::optional<int32_t> lineWidth;
    std::optional<CanvasFont> font;
    std::optional<int32_t> transparency;
    std::optional<uint32_t> keyColor;
};

// One drawing object of a canvas. Colours are packed 0x00BBGGRR.
struct CanvasObject {
    static constexpr size_t kMaxFileNameLength = 35;

    int32_t id = 0;
    CanvasObjectType type = CanvasObjectType::Line;
    uint32_t foreColor = 0x000000;
    uint32_t fillColor = 0xFFFFFF;
    bool filled = false;
    int32_t lineWidth = 1;
    std::vector<gfx::Point> points;
    gfx::Rect bound; // from "Bound (x y width height)"
    // TEXT
    std::string content;
    CanvasFont font;
    // BITMAP: the picture, as a packed DIB, found after reading.
    std::string fileName;
    int32_t transparency = kOpaque;
    bool transparencyGiven = false;
    uint32_t keyColor = 0;
    bool keyColorGiven = false;
    MemoryBlock picture;
    // The object an ERASER belongs to, and the erasers attached to this object.
    int32_t parent = 0;
    CanvasObject* parentObject = nullptr;
    std::vector<CanvasObject*> erasers;
    EraserShape eraserShape = EraserShape::Polygon;
    // GROUP
    std::vector<int32_t> memberIds;
    std::vector<CanvasObject*> members;

    // The smallest rectangle around the points (right and bottom edges included), or the bound
    // when there are no points.
    gfx::Rect Box() const;
    // Where a TEXT or BITMAP object is drawn: its first point, else its bound's corner.
    gfx::Point Anchor() const;
    void Offset(int32_t dx, int32_t dy);
    void Apply(const CanvasAttributes& attributes);
    // Moves one of the eight handles of Box() (0 top-left, then clockwise: 1 top, 2 top-right,
    // 3 right, 4 bottom-right, 5 bottom, 6 bottom-left, 7 left) to `to`, scaling the points.
    void Resize(int32_t handle, gfx::Point to);
};

// The transparency a BITMAP object is drawn with: the value itself up to 100, the value modulo
// 100 above that, and 0 for negative values.
int32_t NormaliseTransparency(int32_t value);

// A coordinate brought within kMaxCanvasCoordinate of 0.
int32_t ClampCoordinate(int64_t value);

} // namespace tamber
