#include "media/DrawingSurface.h"

#include "media/DibImage.h"
#include "media/Palette.h"
#include "media/ScreenContext.h"

namespace tamber {

namespace {

// Raster operations of the draw modes.
constexpr uint32_t kDrawModeRops[DrawingSurface::kDrawModes] = {
    gfx::Rop3::kSrcCopy, gfx::Rop3::kSrcErase, gfx::Rop3::kSrcInvert,  gfx::Rop3::kSrcPaint,
    gfx::Rop3::kSrcAnd,  gfx::Rop3::kNotSrcCopy, gfx::Rop3::kNotSrcErase, gfx::Rop3::kMergePaint,
};

}  // namespace

DrawingSurface::DrawingSurface(ScreenContext& context, Display::SurfaceId window) : m_context(context), m_window(window) {
    m_dc = context.AcquireWindowDc(window);
    if (m_dc == nullptr) {
        return;
    }
    const gfx::Palette* palette = nullptr;
    if (context.ScreenFaded()) {
        gfx::Palette& screen = context.ScreenPalette();
        if (screen.Count() < Palette::kFadeEntries) {
            screen.Resize(Palette::kFadeEntries);  // new entries are black
        }
        palette = &screen;
    } else if (context.Current() != nullptr) {
        palette = context.Current()->Device();
    }
    if (palette != nullptr) {
        m_oldPalette = m_dc->SelectPalette(palette);
        m_dc->RealizePalette();
        m_paletteSelected = true;
    }
    m_dc->SetTextColor(gfx::kBlack);
    m_dc->SetBkColor(gfx::kWhite);
}

DrawingSurface::DrawingSurface(ScreenContext& context, DibImage& image) : m_context(context) {
    if (image.Bitmap() == nullptr) {
        return;
    }
    m_memory = context.CreateMemoryDc();
    m_oldBitmap = m_memory->SelectBitmap(image.Bitmap());
    if (m_oldBitmap == nullptr) {
        m_memory.reset();
        return;
    }
    m_dc = m_memory.get();
    m_dc->SetTextColor(gfx::kBlack);
    m_dc->SetBkColor(gfx::kWhite);
}

DrawingSurface::~DrawingSurface() {
    if (m_memory != nullptr) {
        m_memory->SelectBitmap(m_oldBitmap);
        return;
    }
    if (m_dc != nullptr) {
        if (m_paletteSelected) {
            m_dc->SelectPalette(m_oldPalette);
        }
        m_context.ReleaseWindowDc(m_window);
    }
}

gfx::Dc* DrawingSurface::SourceDc() {
    if (m_source == nullptr && m_dc != nullptr) {
        m_source = gfx::Dc::CreateCompatible(*m_dc);
    }
    return m_source.get();
}

uint32_t DrawingSurface::DrawModeRop() const {
    return m_drawMode >= 0 && m_drawMode < kDrawModes ? kDrawModeRops[m_drawMode] : gfx::Rop3::kSrcCopy;
}

void DrawingSurface::ShowNow(const gfx::Rect& part) {
    if (m_memory != nullptr || m_dc == nullptr || part.IsEmpty()) {
        return;
    }
    Display& display = m_context.GetDisplay();
    display.Invalidate(m_window, m_dc->ToDevice(part));
    display.Present();
}

}  // namespace tamber
