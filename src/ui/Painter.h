#pragma once

#include <memory>
#include <string_view>

#include "platform/gfx/ColorRef.h"
#include "platform/gfx/GlyphSource.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Rect.h"
#include "platform/gfx/Surface.h"
#include "ui/ColorMap.h"

namespace tamber::ui {

// Where a window draws: the pixels of its top-level surface, the window's client origin in that
// surface and the part of the surface it may touch.
struct DrawTarget {
    gfx::Surface surface;
    gfx::Point origin;
    gfx::Rect clip;
    const ColorMap* colors = nullptr;
};

// The classic look's colours.
namespace look {
constexpr gfx::ColorRef kFace = 0xC0C0C0;
constexpr gfx::ColorRef kShadow = 0x808080;
constexpr gfx::ColorRef kHighlight = 0xFFFFFF;
constexpr gfx::ColorRef kDarkShadow = 0x000000;
constexpr gfx::ColorRef kWindow = 0xFFFFFF;
constexpr gfx::ColorRef kText = 0x000000;
constexpr gfx::ColorRef kGrayText = 0x808080;
constexpr gfx::ColorRef kSelection = gfx::Rgb(0, 0, 128);
constexpr gfx::ColorRef kSelectionText = 0xFFFFFF;
constexpr gfx::ColorRef kActiveCaption = gfx::Rgb(0, 0, 128);
constexpr gfx::ColorRef kInactiveCaption = 0x808080;
constexpr gfx::ColorRef kDesktop = gfx::Rgb(0, 128, 128);
} // namespace look

enum class Edge : uint8_t { Raised, Sunken, Pressed, RaisedThin, SunkenThin };
enum class HAlign : uint8_t { Left, Center, Right };
enum class VAlign : uint8_t { Top, Center, Bottom };
enum class Mnemonic : uint8_t { Plain, Underline };

// The framework's drawing calls, in client coordinates of the window being drawn, clipped to the
// target. Text goes through a glyph face; without one, text has no width and draws nothing.
class Painter {
public:
    explicit Painter(const DrawTarget& target);

    const DrawTarget& Target() const { return m_target; }
    // Narrows the clip to a client rectangle (never widens it).
    void IntersectClip(const gfx::Rect& rect);
    gfx::Rect ClipInClient() const;

    void SetPixel(int32_t x, int32_t y, gfx::ColorRef color);
    void FillRect(const gfx::Rect& rect, gfx::ColorRef color);
    void FrameRect(const gfx::Rect& rect, gfx::ColorRef color);
    void HLine(int32_t x0, int32_t x1, int32_t y, gfx::ColorRef color); // x1 outside
    void VLine(int32_t x, int32_t y0, int32_t y1, gfx::ColorRef color); // y1 outside
    void Line(gfx::Point from, gfx::Point to, gfx::ColorRef color);     // both ends drawn
    void FillEllipse(const gfx::Rect& rect, gfx::ColorRef color);
    void FrameEllipse(const gfx::Rect& rect, gfx::ColorRef color);
    // A filled triangle pointing in a direction, for arrows: apex at the given point, size rows.
    enum class Direction : uint8_t { Up, Down, Left, Right };
    void Arrow(gfx::Point apex, int32_t size, Direction direction, gfx::ColorRef color);
    // Two-pixel classic 3-D edge.
    void DrawEdge(const gfx::Rect& rect, Edge edge);
    void FocusRect(const gfx::Rect& rect);
    // Copies an Rgb32 image part; where mask (same size as image) is non-zero the destination stays.
    void Blit(const gfx::Image& image, const gfx::Rect& part, gfx::Point to, const gfx::Image* mask = nullptr);

    void SetFont(std::shared_ptr<gfx::GlyphFace> face) { m_face = std::move(face); }
    const std::shared_ptr<gfx::GlyphFace>& Font() const { return m_face; }
    int32_t TextWidth(std::string_view text, Mnemonic mnemonic = Mnemonic::Plain) const;
    int32_t TextHeight() const;
    // Draws with the top of the text at y.
    void DrawText(int32_t x, int32_t y, std::string_view text, gfx::ColorRef color,
                  Mnemonic mnemonic = Mnemonic::Plain);
    void DrawTextAligned(const gfx::Rect& rect, std::string_view text, gfx::ColorRef color, HAlign h, VAlign v,
                         Mnemonic mnemonic = Mnemonic::Plain);

    static int32_t TextWidth(gfx::GlyphFace* face, std::string_view text);

private:
    void FillSurfaceRect(gfx::Rect r, uint32_t pixel);

    DrawTarget m_target;
    std::shared_ptr<gfx::GlyphFace> m_face;
};

} // namespace tamber::ui
