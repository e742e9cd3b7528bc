#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>

#include "platform/clock/Clock.h"
#include "platform/display/Display.h"
#include "platform/gfx/Dc.h"
#include "platform/gfx/Palette.h"
#include "platform/gfx/SystemPalette.h"

namespace tamber {

class Palette;

enum class MessageButtons : uint8_t { Ok = 0, OkCancel = 1 };
enum class MessageAnswer : uint8_t { Ok = 1, Cancel = 2 };

// Asks the user something in a modal message box. Without one installed, every box takes its
// default button (OK).
using MessageBoxHandler =
    std::function<MessageAnswer(const std::string& text, const std::string& caption, MessageButtons buttons)>;

// The process-wide state of the colour and image layer, and its way to the screen: the display's
// depth and hardware palette, the current palette, the screen-is-faded flag with its screen
// palette, the main window whose drawing surface shows palette fades, the window device contexts
// shared by drawing surfaces, the palette shared by rich-text pictures, and the message boxes.
// The application makes one; tests make their own over a headless display.
class ScreenContext {
public:
    explicit ScreenContext(Display& display);
    ~ScreenContext();
    ScreenContext(const ScreenContext&) = delete;
    ScreenContext& operator=(const ScreenContext&) = delete;

    Display& GetDisplay() { return m_display; }
    gfx::SystemPalette& System() { return m_display.HardwarePalette(); }
    gfx::PixelFormat ScreenFormat() const { return m_display.Format(); }
    // Bits per pixel of the display: 8 or 24. Tests may pretend another depth (1, 4, 16) to
    // exercise the rules that depend on it; drawing still uses the display's real format.
    int BitsPerPixel() const { return m_bitsPerPixel; }
    void SetBitsPerPixel(int bits) { m_bitsPerPixel = bits; }
    bool IsPaletteDevice() const { return m_display.Depth() == ScreenDepth::Palette8; }

    // A memory device context compatible with the display.
    std::unique_ptr<gfx::Dc> CreateMemoryDc();

    // The current palette (observed, never owned; a palette clears itself when destroyed).
    Palette* Current() const { return m_current; }
    void SetCurrent(Palette* palette) { m_current = palette; }

    bool ScreenFaded() const { return m_screenFaded; }
    void SetScreenFaded(bool faded) { m_screenFaded = faded; }
    // The palette that surfaces select while the screen is faded: the colours the last fade
    // worked on, padded with black to 256 entries.
    gfx::Palette& ScreenPalette() { return m_screenPalette; }

    // How the hardware palette treats its static colours; answers the previous use.
    gfx::SystemPaletteUse SetSystemPaletteUse(gfx::SystemPaletteUse use) { return System().SetUse(use); }

    // The top-level surface of the main window, where palette changes are made visible.
    void SetMainWindow(Display::SurfaceId id) { m_mainWindow = id; }
    Display::SurfaceId MainWindow() const { return m_mainWindow; }
    // Selects the palette into the main window's device context, realises it and presents the
    // screen, which shows the new colours at once.
    void ShowPalette(const gfx::Palette& palette);
    // How many times ShowPalette ran, and a watcher called each time (tests follow fades with it).
    int32_t PaletteShows() const { return m_paletteShows; }
    void SetPaletteWatcher(std::function<void(const gfx::Palette&)> watcher) { m_paletteWatcher = std::move(watcher); }

    // Window device contexts shared by the drawing surfaces of one window; the context lives
    // while at least one surface uses it. Answers nullptr for an unknown window.
    gfx::Dc* AcquireWindowDc(Display::SurfaceId window);
    void ReleaseWindowDc(Display::SurfaceId window);

    // The palette pictures are drawn with on an 8-bit display when their caller names none;
    // empty until first asked for (the drawing routine fills it with the full standard set).
    Palette& DefaultPalette();

    // The clock that paced drawing waits on (observed); none means no waiting.
    void SetClock(Clock* clock) { m_clock = clock; }
    Clock* GetClock() const { return m_clock; }

    // The palette shared by every rich-text picture and the count of its users.
    std::unique_ptr<gfx::Palette>& SharedPicturePalette() { return m_sharedPicturePalette; }
    int32_t& SharedPictureUsers() { return m_sharedPictureUsers; }
    // A copy of the hardware palette cached while converting pictures.
    std::unique_ptr<gfx::Palette>& CachedSystemPalette() { return m_cachedSystemPalette; }

    void SetMessageBoxHandler(MessageBoxHandler handler) { m_messageBox = std::move(handler); }
    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons);

private:
    struct WindowDc {
        std::unique_ptr<gfx::Dc> dc;
        int32_t users = 0;
    };

    Display& m_display;
    int m_bitsPerPixel;
    gfx::Image m_screenSample;  // a 1 x 1 image of the screen's format for compatible contexts
    Palette* m_current = nullptr;
    bool m_screenFaded = false;
    gfx::Palette m_screenPalette;
    Display::SurfaceId m_mainWindow = 0;
    int32_t m_paletteShows = 0;
    std::function<void(const gfx::Palette&)> m_paletteWatcher;
    std::map<Display::SurfaceId, WindowDc> m_windowDcs;
    std::unique_ptr<gfx::Palette> m_sharedPicturePalette;
    int32_t m_sharedPictureUsers = 0;
    std::unique_ptr<gfx::Palette> m_cachedSystemPalette;
    MessageBoxHandler m_messageBox;
    Clock* m_clock = nullptr;
    // Last, so that it goes first: a palette releases the current role through the context.
    std::unique_ptr<Palette> m_defaultPalette;
};

}  // namespace tamber
