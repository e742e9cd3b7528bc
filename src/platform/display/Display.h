#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/PngFile.h"
#include "platform/display/InputEvent.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Rect.h"
#include "platform/gfx/SystemPalette.h"

namespace tamber {

// The depth of the screen the program sees: 24-bit direct colour, or 8-bit palette indices
// shown through the hardware palette.
enum class ScreenDepth : uint8_t { Palette8 = 8, Direct24 = 24 };

enum class Visibility : uint8_t { Hidden = 0, Shown = 1 };

enum class CursorShape : uint8_t { Arrow = 0, Wait, IBeam, Cross, Hand, SizeAll, SizeNS, SizeWE, No, Hidden, Custom };

// A cursor picture: 0xAARRGGBB pixels, rows top to bottom, with its hot spot.
struct CursorImage {
    int32_t width = 0;
    int32_t height = 0;
    int32_t hotX = 0;
    int32_t hotY = 0;
    std::vector<uint32_t> pixels;
};

// The screen the program sees. Top-level windows draw into surfaces of the screen's depth that
// the display owns; Present composes their dirty parts, back to front, into the screen and
// shows it. On an 8-bit screen the pixels are indices into the hardware palette, which
// presentation converts, so changing the palette changes the picture at the next Present
// without any repainting. Input arrives as a queue of events; the display also keeps the state
// of every key and button and the pointer position as the events delivered them.
//
// Display does the composing and queueing; a subclass shows the result and supplies the
// platform's events.
class Display {
public:
    using SurfaceId = int32_t;

    Display(int32_t width, int32_t height, ScreenDepth depth);
    virtual ~Display();
    Display(const Display&) = delete;
    Display& operator=(const Display&) = delete;

    // The largest screen side accepted.
    static constexpr int32_t kMaxSide = 8192;

    int32_t Width() const { return m_width; }
    int32_t Height() const { return m_height; }
    ScreenDepth Depth() const { return m_depth; }
    int BitsPerPixel() const { return static_cast<int>(m_depth); }
    gfx::PixelFormat Format() const;
    // The 256 colours of an 8-bit screen. On a 24-bit screen it exists but shows nothing.
    gfx::SystemPalette& HardwarePalette() { return m_palette; }
    const gfx::SystemPalette& HardwarePalette() const { return m_palette; }

    // Top-level surfaces, in screen coordinates. A new surface is hidden, black, and on top.
    // Calls with an unknown id answer 0 (or an empty result) and change nothing.
    SurfaceId CreateSurface(const gfx::Rect& bounds);
    int DestroySurface(SurfaceId id);
    gfx::Surface SurfaceView(SurfaceId id) const;
    gfx::Rect SurfaceBounds(SurfaceId id) const;
    // Moves or resizes; the pixels that remain inside the new size are kept.
    int MoveSurface(SurfaceId id, const gfx::Rect& bounds);
    int ShowSurface(SurfaceId id, Visibility visibility);
    int RaiseSurface(SurfaceId id);
    // The topmost shown surface under the point, or 0.
    SurfaceId SurfaceAt(gfx::Point point) const;
    // Marks a rectangle of a surface (in its own coordinates) to be shown at the next Present.
    void Invalidate(SurfaceId id, const gfx::Rect& rect);
    void InvalidateScreen();
    // The colour of the screen where no surface is: 0x00RRGGBB, or an index on an 8-bit screen.
    void SetBackground(uint32_t value);

    // Composes what is dirty and shows it.
    void Present();
    // The composed screen as it was last presented.
    gfx::Surface ScreenView() const { return m_screen.View(); }
    // The presented screen in 32-bit colour (0xFFRRGGBB).
    void Capture(PngImage& image) const;
    int Screenshot(const std::string& path, std::string* error = nullptr) const;

    // Input. PostEvent puts an event at the end of the queue (platform events and injected
    // ones alike). Key, button and pointer state follow the events as they are taken.
    void PostEvent(const InputEvent& event);
    int PollEvent(InputEvent& event);
    // Waits up to timeout milliseconds for an event; answers 1 with an event, 0 without.
    int WaitEvent(InputEvent& event, uint32_t timeoutMs);
    bool IsKeyDown(int32_t key) const;
    gfx::Point PointerPosition() const { return m_pointer; }
    uint8_t Modifiers() const;

    void SetCursor(CursorShape shape);
    void SetCursorImage(const CursorImage& image);
    CursorShape Cursor() const { return m_cursor; }
    const CursorImage& CustomCursor() const { return m_cursorImage; }

protected:
    // Shows the screen's rectangles (already composed). paletteChanged says that every
    // 8-bit pixel must be converted again.
    virtual void Output(const std::vector<gfx::Rect>& rects, bool paletteChanged) = 0;
    // Moves platform events into the queue with PostEvent, waiting up to timeout milliseconds
    // when there are none.
    virtual void Pump(uint32_t timeoutMs) = 0;
    virtual void ApplyCursor() {}
    // Converts screen pixels of a rectangle to 0xFFRRGGBB rows of `pitch` words.
    void ConvertScreen(const gfx::Rect& rect, uint32_t* out, int32_t pitch) const;

private:
    struct TopLevel {
        SurfaceId id = 0;
        gfx::Rect bounds;
        Visibility visibility = Visibility::Hidden;
        gfx::Image image;
    };

    TopLevel* Find(SurfaceId id);
    const TopLevel* Find(SurfaceId id) const;
    void AddDirty(const gfx::Rect& screenRect);
    void Compose(const gfx::Rect& rect);
    void Track(const InputEvent& event);

    int32_t m_width;
    int32_t m_height;
    ScreenDepth m_depth;
    gfx::SystemPalette m_palette;
    uint32_t m_presentedGeneration = 0;
    gfx::Image m_screen;
    uint32_t m_background = 0;
    std::vector<std::unique_ptr<TopLevel>> m_surfaces;  // back to front
    SurfaceId m_nextId = 1;
    std::vector<gfx::Rect> m_dirty;
    std::deque<InputEvent> m_queue;
    std::vector<bool> m_keys = std::vector<bool>(key::kCount);
    gfx::Point m_pointer;
    CursorShape m_cursor = CursorShape::Arrow;
    CursorImage m_cursorImage;
};

}  // namespace tamber
