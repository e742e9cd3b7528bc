// Reads arbitrary canvas texts the way a Graphic medium's "Objs" part arrives, then runs their
// commands and animations and draws the result on a small screen of either depth.
// Input: one mode byte (bit 0: 8-bit screen, bit 1: run the commands), then the canvas text,
// then optionally a NUL and the "Bmps" bytes.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>

#include "media/Canvas.h"
#include "media/CanvasPainter.h"
#include "media/CanvasStepper.h"
#include "media/DibImage.h"
#include "media/DrawingSurface.h"
#include "media/HotLinkTable.h"
#include "media/ScreenContext.h"
#include "platform/Beeper.h"
#include "platform/display/HeadlessDisplay.h"

namespace {

// Every character a 3 x 5 block on a 4-pixel advance.
class TinyFace : public tamber::gfx::GlyphFace {
public:
    TinyFace()
    {
        m_metrics.height = 7;
        m_metrics.ascent = 6;
        m_metrics.descent = 1;
    }
    const tamber::gfx::FontMetrics& Metrics() const override { return m_metrics; }
    int32_t Advance(uint8_t) override { return 4; }
    int Render(uint8_t, tamber::gfx::GlyphBitmap& glyph) override
    {
        glyph = tamber::gfx::GlyphBitmap { m_bits, 3, 5, 1, 0, 5, 4, tamber::gfx::GlyphDepth::Mono1 };
        return 1;
    }

private:
    tamber::gfx::FontMetrics m_metrics;
    const uint8_t m_bits[5] = { 0xE0, 0xE0, 0xE0, 0xE0, 0xE0 };
};

class TinyGlyphs : public tamber::gfx::GlyphSource {
public:
    std::shared_ptr<tamber::gfx::GlyphFace> OpenFace(const tamber::gfx::FontRequest&) override
    {
        return std::make_shared<TinyFace>();
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const uint8_t mode = data[0];
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    tamber::MemoryBlock bitmaps;
    const size_t nul = text.find('\0');
    if (nul != std::string_view::npos) {
        bitmaps = tamber::MemoryBlock(text.data() + nul + 1, static_cast<int32_t>(text.size() - nul - 1));
        text = text.substr(0, nul);
    }
    tamber::HotLinkTable links;
    links.Links() = { tamber::HotLink { tamber::HotLinkKind::Object, {}, 1, nullptr, 1 } };
    tamber::Canvas canvas;
    tamber::Canvas::Sources sources;
    sources.bitmaps = &bitmaps;
    sources.hotLinks = &links;
    if (canvas.Read(text, sources) == 0)
        return 0;

    if ((mode & 2) != 0) {
        tamber::CountingBeeper beeper;
        tamber::CanvasStepper history(canvas, canvas.Commands(), &beeper);
        while (history.Step() > 0) { }
        for (const tamber::CanvasEventGroup& group : canvas.EventGroups()) {
            tamber::CanvasStepper animation(canvas, group.commands, &beeper);
            while (animation.Step() > 0) { }
        }
    }

    tamber::HeadlessDisplay display(
        48, 32, (mode & 1) != 0 ? tamber::ScreenDepth::Palette8 : tamber::ScreenDepth::Direct24);
    tamber::ScreenContext context(display);
    tamber::DibImage picture(context);
    if (picture.CreateBlank(48, 32, 0) == 0)
        return 0;
    tamber::DrawingSurface surface(context, picture);
    if (surface.Dc() == nullptr)
        return 0;
    TinyGlyphs glyphs;
    tamber::CanvasPainter(*surface.Dc(), &glyphs).Draw(canvas);
    return 0;
}
