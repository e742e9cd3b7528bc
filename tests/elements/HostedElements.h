#pragma once

#include <memory>

#include "base/MemoryBlock.h"
#include "iface/InterfaceModel.h"
#include "media/ScreenContext.h"
#include "platform/gfx/Image.h"
#include "ui/TWindow.h"
#include "support/PackedDib.h"
#include "ui/UiTestSupport.h"

namespace tamber::test {

// An Interface shown in a plain top-level window at the screen's origin, Card coordinates equal
// to window coordinates, on a headless application with block glyphs (every character a 4 x 7
// block in a 6-pixel cell, lines 10 high).
class HostedInterface : public InterfaceModel {
public:
    static constexpr gfx::ColorRef kCardColor = 0x00808000;

    explicit HostedInterface(int32_t cards = 2) : screenContext(ui.screen)
    {
        SetMode(Mode::Running);
        for (int32_t i = 0; i < cards; ++i)
            AddCard();
        window.SetBackground(kCardColor);
        window.Create(nullptr, "Interface", gfx::Rect::FromSize(0, 0, 320, 240), Visibility::Shown);
    }

    ui::TWindow* HostWindow() override { return &window; }
    ScreenContext* Screen() const override { return const_cast<ScreenContext*>(&screenContext); }

    // Adds the element to the card and shows it when the card is the current one.
    template<class E>
    E* Place(int32_t card, int32_t id, CardRect frame)
    {
        auto element = std::make_unique<E>(this);
        element->SetId(id);
        element->SetFrame(frame);
        E* raw = static_cast<E*>(AddElement(card, std::move(element)));
        raw->Show();
        return raw;
    }

    uint32_t Pixel(int32_t x, int32_t y)
    {
        ui.app.ProcessPending();
        return ui.Pixel(x, y);
    }

    ui::test::UiHarness ui;
    ScreenContext screenContext;
    ui::TWindow window;
};

// Paints into an image: a Dc over Rgb32 pixels cleared to the given 0x00RRGGBB value.
struct Canvas {
    Canvas(int32_t width, int32_t height, uint32_t clear = 0x00FFFFFF)
        : image(width, height, gfx::PixelFormat::Rgb32), dc(image.View(), nullptr)
    {
        image.Fill(clear);
    }
    uint32_t At(int32_t x, int32_t y) const { return image.Get(x, y); }
    int Count(uint32_t value) const
    {
        int n = 0;
        for (int32_t y = 0; y < image.Height(); ++y)
            for (int32_t x = 0; x < image.Width(); ++x)
                n += image.Get(x, y) == value;
        return n;
    }
    gfx::Image image;
    gfx::Dc dc;
};

// A 24-bit BMP file image whose pixel (x, y), counted from the top, is colours[y * width + x]
// (0x00RRGGBB).
inline MemoryBlock Bmp24(int32_t width, int32_t height, const std::vector<uint32_t>& colors)
{
    return MakeDib(width, height, 24, {},
        [&](int32_t x, int32_t y) { return colors[static_cast<size_t>(y * width + x)]; });
}

}  // namespace tamber::test
