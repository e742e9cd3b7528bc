#include "media/ScreenContext.h"

#include "media/Palette.h"

namespace tamber {

ScreenContext::ScreenContext(Display& display)
    : m_display(display), m_bitsPerPixel(display.BitsPerPixel()), m_screenSample(1, 1, display.Format()) {}

ScreenContext::~ScreenContext() = default;

std::unique_ptr<gfx::Dc> ScreenContext::CreateMemoryDc() {
    gfx::Dc screen(m_screenSample.View(), &System());
    return gfx::Dc::CreateCompatible(screen);
}

void ScreenContext::ShowPalette(const gfx::Palette& palette) {
    ++m_paletteShows;
    if (m_paletteWatcher) {
        m_paletteWatcher(palette);
    }
    gfx::Dc* dc = AcquireWindowDc(m_mainWindow);
    if (dc != nullptr) {
        const gfx::Palette* old = dc->SelectPalette(&palette);
        dc->RealizePalette();
        dc->SelectPalette(old);
        ReleaseWindowDc(m_mainWindow);
    } else if (IsPaletteDevice()) {
        // No main window yet: the palette still reaches the hardware.
        gfx::Palette copy(palette);
        System().Realize(copy, gfx::RealizeMode::Foreground);
    }
    m_display.Present();
}

Palette& ScreenContext::DefaultPalette() {
    if (!m_defaultPalette) {
        m_defaultPalette = std::make_unique<Palette>(*this);
    }
    return *m_defaultPalette;
}

gfx::Dc* ScreenContext::AcquireWindowDc(Display::SurfaceId window) {
    auto found = m_windowDcs.find(window);
    if (found == m_windowDcs.end()) {
        const gfx::Surface surface = m_display.SurfaceView(window);
        if (!surface.IsValid()) {
            return nullptr;
        }
        WindowDc entry;
        entry.dc = std::make_unique<gfx::Dc>(surface, &System());
        found = m_windowDcs.emplace(window, std::move(entry)).first;
    }
    ++found->second.users;
    return found->second.dc.get();
}

void ScreenContext::ReleaseWindowDc(Display::SurfaceId window) {
    auto found = m_windowDcs.find(window);
    if (found != m_windowDcs.end() && --found->second.users <= 0) {
        m_windowDcs.erase(found);
    }
}

MessageAnswer ScreenContext::ShowMessage(const std::string& text, const std::string& caption, MessageButtons buttons) {
    if (m_messageBox) {
        return m_messageBox(text, caption, buttons);
    }
    return MessageAnswer::Ok;
}

}  // namespace tamber
