#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/gfx/ColorRef.h"
#include "platform/gfx/DeviceBitmap.h"
#include "platform/gfx/GlyphSource.h"
#include "platform/gfx/RasterOp.h"
#include "platform/gfx/Region.h"
#include "platform/gfx/Surface.h"

namespace tamber::gfx {

class Palette;
class SystemPalette;
struct DibInfo;

enum class PenStyle : uint8_t { Solid = 0, Dash, Dot, DashDot, DashDotDot, Null, InsideFrame };
enum class BrushStyle : uint8_t { Solid = 0, Null = 1, Hatched = 2, Pattern = 3 };
enum class HatchStyle : uint8_t { Horizontal = 0, Vertical, ForwardDiagonal, BackwardDiagonal, Cross, DiagonalCross };
enum class BkMode : uint8_t { Transparent = 1, Opaque = 2 };
enum class StretchMode : uint8_t { BlackOnWhite = 1, WhiteOnBlack = 2, ColorOnColor = 3, Halftone = 4 };
enum class FloodFillType : uint8_t { Border = 0, Surface = 1 };
// How the colour table of a device-independent bitmap is read: RGB quads, or 16-bit indices into
// the palette selected in the Dc.
enum class DibColors : uint8_t { Rgb = 0, Palette = 1 };

// Horizontal and vertical alignment of TextOut, combined with |.
namespace TextAlign {
constexpr uint32_t kUpdateCp = 1;
constexpr uint32_t kLeft = 0;
constexpr uint32_t kRight = 2;
constexpr uint32_t kCenter = 6;
constexpr uint32_t kTop = 0;
constexpr uint32_t kBottom = 8;
constexpr uint32_t kBaseline = 24;
} // namespace TextAlign

// Layout options of DrawText, combined with |.
namespace DrawTextFormat {
constexpr uint32_t kLeft = 0x0;
constexpr uint32_t kCenter = 0x1;
constexpr uint32_t kRight = 0x2;
constexpr uint32_t kVCenter = 0x4;
constexpr uint32_t kBottom = 0x8;
constexpr uint32_t kWordBreak = 0x10;
constexpr uint32_t kSingleLine = 0x20;
constexpr uint32_t kExpandTabs = 0x40;
constexpr uint32_t kNoClip = 0x100;
constexpr uint32_t kExternalLeading = 0x200;
constexpr uint32_t kCalcRect = 0x400;
constexpr uint32_t kNoPrefix = 0x800;
} // namespace DrawTextFormat

struct Pen {
    PenStyle style = PenStyle::Solid;
    int32_t width = 1; // 0 draws like 1
    ColorRef color = kBlack;
};

struct Brush {
    BrushStyle style = BrushStyle::Solid;
    ColorRef color = kWhite;
    HatchStyle hatch = HatchStyle::Horizontal;
    // An 8 × 8 pattern for BrushStyle::Pattern (a monochrome one paints 0 in the text colour and 1
    // in the background colour, like a monochrome blit).
    std::shared_ptr<const Image> pattern;

    static Brush Solid(ColorRef color) { return Brush { BrushStyle::Solid, color, HatchStyle::Horizontal, nullptr }; }
    static Brush Hollow() { return Brush { BrushStyle::Null, kWhite, HatchStyle::Horizontal, nullptr }; }
    static Brush Hatched(HatchStyle hatch, ColorRef color) { return Brush { BrushStyle::Hatched, color, hatch, nullptr }; }
    static Brush FromPattern(const Image& pattern);
};

struct Size {
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const Size&, const Size&) = default;
};

// A device context: drawing state (pen, brush, colours, modes, clipping, origin, selected bitmap,
// palette and font) and the drawing operations over a surface.
//
// Coordinates given to drawing calls are logical: device = logical - window origin + viewport
// origin. Clip regions are in device coordinates. Rectangles exclude their right and bottom edge,
// lines exclude their end point. A Dc on a screen surface draws on that surface; a memory Dc draws
// on the bitmap selected into it (a 1 × 1 monochrome one at first). Selected bitmaps, palettes and
// the system palette are observed, not owned: they must outlive the selection.
class Dc {
public:
    // A Dc drawing on a screen or window surface. An Indexed8 surface needs the system palette of
    // its screen; a Mono surface has none.
    Dc(Surface surface, SystemPalette* systemPalette);
    // A memory Dc compatible with another (same pixel format and system palette).
    static std::unique_ptr<Dc> CreateCompatible(const Dc& dc);
    ~Dc();
    Dc(const Dc&) = delete;
    Dc& operator=(const Dc&) = delete;

    // Bitmaps of the device's format; on a memory Dc of the selected bitmap's format, which is
    // monochrome until a bitmap is selected (as the classic interface does). Null for bad sizes.
    std::unique_ptr<DeviceBitmap> CreateCompatibleBitmap(int32_t width, int32_t height) const;
    PixelFormat DeviceFormat() const { return m_deviceFormat; }
    int BitsPerPixel() const { return static_cast<int>(m_deviceFormat); }
    SystemPalette* System() const { return m_system; }
    // What the operations draw on now.
    Surface Target() const;

    // State. Each Select answers the previous object.
    Pen SelectPen(const Pen& pen);
    Brush SelectBrush(const Brush& brush);
    // Only for memory Dcs; a null bitmap (or one of another format that is not monochrome) is
    // refused with nullptr and nothing changes; answers the previous one (the stock bitmap too).
    DeviceBitmap* SelectBitmap(DeviceBitmap* bitmap);
    DeviceBitmap* SelectedBitmap() const { return m_state.bitmap; }
    // A null palette selects the default one (the twenty static colours).
    const Palette* SelectPalette(const Palette* palette);
    // Realises the selected palette in the system palette (foreground), answering how many system
    // entries changed; 0 on devices without one.
    int32_t RealizePalette();
    std::shared_ptr<GlyphFace> SelectFont(std::shared_ptr<GlyphFace> font);
    const Pen& CurrentPen() const { return m_state.pen; }
    const Brush& CurrentBrush() const { return m_state.brush; }
    const Palette& CurrentPalette() const;

    ColorRef SetTextColor(ColorRef color);
    ColorRef TextColor() const { return m_state.textColor; }
    ColorRef SetBkColor(ColorRef color);
    ColorRef BkColor() const { return m_state.bkColor; }
    BkMode SetBkMode(BkMode mode);
    FillMode SetPolyFillMode(FillMode mode);
    StretchMode SetStretchBltMode(StretchMode mode);
    Rop2 SetRop2(Rop2 rop);
    uint32_t SetTextAlign(uint32_t align);
    Point SetViewportOrg(Point origin);
    Point SetWindowOrg(Point origin);
    Point SetBrushOrg(Point origin);
    Point MoveTo(Point p);
    Point CurrentPosition() const { return m_state.position; }

    // Clipping. SelectClipRgn copies the region (device coordinates); null removes the clip.
    RegionKind SelectClipRgn(const Region* region);
    RegionKind IntersectClipRect(const Rect& logical);
    RegionKind ExcludeClipRect(const Rect& logical);
    // The clip region as set (empty optional when there is none).
    const std::optional<Region>& ClipRegion() const { return m_state.clip; }
    // A window Dc shows only part of its surface: the visible region (device coordinates) limits
    // every operation in addition to the clip region.
    void SetVisibleRegion(std::optional<Region> region);
    // Where drawing can reach now, in device coordinates.
    const Region& EffectiveClip() const;
    RegionKind GetClipBox(Rect& logicalBox) const;

    // Saves the whole state; answers the new depth. Restore takes a depth (negative: relative to
    // the top, -1 the last save) and answers 1, or 0 when there is no such save.
    int SaveDc();
    int RestoreDc(int level);

    // Pixels. GetPixel answers 0xFFFFFFFF outside the clip.
    ColorRef SetPixel(Point p, ColorRef color);
    ColorRef GetPixel(Point p) const;

    // Lines and shapes with the current pen and brush.
    int LineTo(Point p);
    int Polyline(const Point* points, int32_t count);
    int Polygon(const Point* points, int32_t count);
    int Rectangle(const Rect& r);
    int RoundRect(const Rect& r, int32_t ellipseWidth, int32_t ellipseHeight);
    int Ellipse(const Rect& r);
    // Elliptic arcs of the ellipse in r, from where the ray from its centre through start meets it,
    // counter-clockwise to the ray through end (equal rays: the whole ellipse). Pie adds the two
    // radii and fills the sector; Chord joins the ends and fills the segment.
    int Arc(const Rect& r, Point start, Point end);
    int Pie(const Rect& r, Point start, Point end);
    int Chord(const Rect& r, Point start, Point end);
    int PaintRgn(const Region& logical);
    int FloodFill(Point p, ColorRef color, FloodFillType type);

    // Rectangles with an explicit brush (the current brush and pen are not used).
    int FillRect(const Rect& r, const Brush& brush);
    int FrameRect(const Rect& r, const Brush& brush);
    int InvertRect(const Rect& r);
    // The dotted inverting outline of a focus rectangle; drawing it twice removes it.
    int DrawFocusRect(const Rect& r);
    int FillRgn(const Region& logical, const Brush& brush);

    // Block transfers with any ternary raster operation. The source Dc may be this one, and the
    // source may be null when the operation does not use one.
    int PatBlt(const Rect& r, uint32_t rop);
    int BitBlt(int32_t x, int32_t y, int32_t width, int32_t height, const Dc* source, int32_t sx, int32_t sy,
               uint32_t rop);
    // Negative widths or heights mirror.
    int StretchBlt(int32_t x, int32_t y, int32_t width, int32_t height, const Dc* source, int32_t sx, int32_t sy,
                   int32_t sourceWidth, int32_t sourceHeight, uint32_t rop);
    // Moves the pixels of the scroll rectangle (logical; null: the whole surface) by dx, dy,
    // within the clip rectangle (null: the scroll rectangle). Answers the region uncovered
    // (device coordinates) through uncovered when given.
    int ScrollDc(int32_t dx, int32_t dy, const Rect* scroll, const Rect* clip, Region* uncovered);

    // Device-independent bitmaps. info points to the information header followed by the colour
    // table; bits to the rows. Every size is checked; bad headers answer 0.
    // Answers the number of scan lines drawn.
    int32_t StretchDIBits(int32_t x, int32_t y, int32_t width, int32_t height, int32_t sx, int32_t sy,
                          int32_t sourceWidth, int32_t sourceHeight, const uint8_t* bits, size_t bitsSize,
                          const uint8_t* info, size_t infoSize, DibColors usage, uint32_t rop);
    // Sets scan lines [startScan, startScan + numScans) (counted from the bottom of the image) of
    // a bitmap, which must not be selected in another Dc; answers the number set.
    int32_t SetDIBits(DeviceBitmap& bitmap, int32_t startScan, int32_t numScans, const uint8_t* bits,
                      size_t bitsSize, const uint8_t* info, size_t infoSize, DibColors usage);
    // Reads scan lines of a bitmap in the format the header asks for (1, 4, 8, 24 or 32 bits,
    // uncompressed); fills in the header's image size and the colour table. With bits null only
    // the header and table are filled in. Answers the number of scan lines read (1 for bits null).
    int32_t GetDIBits(const DeviceBitmap& bitmap, int32_t startScan, int32_t numScans, uint8_t* bits,
                      size_t bitsSize, uint8_t* info, size_t infoSize, DibColors usage);
    // A bitmap of the device's format (not the selected bitmap's), initialised from the bits when
    // given. Make monochrome bitmaps with DeviceBitmap and SetDIBits.
    std::unique_ptr<DeviceBitmap> CreateDIBitmap(const uint8_t* bits, size_t bitsSize, const uint8_t* info,
                                                 size_t infoSize, DibColors usage);

    // Text with the selected font. Without a font nothing is drawn and extents are 0.
    int TextOut(Point p, std::string_view text);
    Size GetTextExtent(std::string_view text) const;
    FontMetrics GetTextMetrics() const;
    // Answers the height of the laid-out text; with kCalcRect sets rect's right and bottom instead
    // of drawing.
    int32_t DrawText(std::string_view text, Rect& rect, uint32_t format);

    // Coordinate helpers.
    Point ToDevice(Point logical) const;
    Rect ToDevice(const Rect& logical) const;
    Point ToLogical(Point device) const;

private:
    struct State {
        Pen pen;
        Brush brush = Brush::Solid(kWhite);
        ColorRef textColor = kBlack;
        ColorRef bkColor = kWhite;
        BkMode bkMode = BkMode::Opaque;
        FillMode fillMode = FillMode::Alternate;
        StretchMode stretchMode = StretchMode::BlackOnWhite;
        Rop2 rop2 = Rop2::CopyPen;
        uint32_t textAlign = 0;
        Point viewportOrg;
        Point windowOrg;
        Point brushOrg;
        Point position;
        std::optional<Region> clip;
        const Palette* palette = nullptr;
        DeviceBitmap* bitmap = nullptr;
        std::shared_ptr<GlyphFace> font;
    };
    struct Source;
    struct Mapping;

    Dc(PixelFormat format, SystemPalette* systemPalette);
    void ClipChanged() { m_clipValid = false; }
    const SystemPalette& Sys() const;

    // Colour resolution for the target's format.
    uint32_t Resolve(ColorRef color, PixelFormat format) const;
    ColorRef ColorOf(uint32_t value, PixelFormat format) const;
    // Plain RGB colours of pens, brushes and text match any colour in use on the screen; colours
    // of images and explicit palette-relative colours match the selected palette.
    enum class Match : uint32_t { Palette = 0, Screen = 1 };
    uint32_t NearestIndexCached(uint32_t pixel, Match match = Match::Palette) const;
    uint32_t MaskOf(PixelFormat format) const;

    // Filling.
    void PatternRow(const Brush& brush, PixelFormat format, int32_t y, int32_t x0, int32_t n, uint32_t* out,
                    uint8_t* inkMask) const;
    void FillRegionDevice(const Region& device, const Brush& brush, uint8_t rop3);
    void FillSolidDevice(const Region& device, ColorRef color, uint8_t rop3);
    void PenRegion(const Region& device);
    void StyledLineDevice(Point a, Point b, int32_t& styleOffset);
    void StyledPixelsDevice(const std::vector<Point>& pixels, int32_t& styleOffset);
    void DrawOutline(const Region& ring, const Rect& r, bool styled);
    enum class ArcKind { Arc, Pie, Chord };
    int ArcShape(const Rect& logical, Point start, Point end, ArcKind kind);
    bool IsStyledPen() const
    {
        return m_state.pen.style != PenStyle::Solid && m_state.pen.style != PenStyle::InsideFrame
            && m_state.pen.style != PenStyle::Null;
    }
    void PolylineDevice(const std::vector<Point>& points, bool closed);
    uint8_t PenRop() const { return Rop2ToRop3(m_state.rop2); }

    // Transfers.
    Source MakeSource(const Dc& source) const;
    int Transfer(const Rect& dest, const Source& source, const Rect& sourceRect, bool mirrorX, bool mirrorY,
                 uint8_t code, const Region* limit = nullptr);
    bool CopyRows(const Rect& destDevice, const Surface& source, const Rect& sourceRect, const Region* limit);
    void ConvertRow(const Source& source, int32_t y, const int32_t* columns, int32_t n, uint32_t* out) const;
    int32_t DibTransfer(int32_t x, int32_t y, int32_t width, int32_t height, int32_t sx, int32_t sy,
                        int32_t sourceWidth, int32_t sourceHeight, const uint8_t* bits, size_t bitsSize,
                        const DibInfo& info, uint32_t rop);
    static int32_t DecodeForTransfer(const DibInfo& dib, const uint8_t* bits, size_t bitsSize, Rect& sourceRect,
                                     Image& pixels, Image& coverage);
    void DibColorLut(const DibInfo& info, PixelFormat format, uint32_t* lut) const;
    Region CoveredDestination(const Image& coverage, const Rect& dest, const Rect& sourceRect, bool mirrorX,
                              bool mirrorY) const;

    // Text.
    void DrawGlyphs(Point deviceOrigin, std::string_view text, const std::vector<int32_t>* underlineAt);
    int32_t LineWidth(std::string_view text, uint32_t format) const;

    PixelFormat m_deviceFormat;
    SystemPalette* m_system;
    Surface m_surface;
    bool m_isMemory = false;
    DeviceBitmap m_stockBitmap;
    State m_state;
    std::vector<State> m_saved;
    std::optional<Region> m_visible;
    mutable Region m_effectiveClip;
    mutable bool m_clipValid = false;
    mutable std::vector<uint32_t> m_nearestKeys;
    mutable std::vector<uint8_t> m_nearestValues;
    mutable uint64_t m_nearestStamp = 0;
    mutable uint32_t m_nearestGeneration = 0;
};

} // namespace tamber::gfx
