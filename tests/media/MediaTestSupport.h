#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "media/Palette.h"
#include "media/ScreenContext.h"
#include "platform/display/HeadlessDisplay.h"
#include "support/PackedDib.h"

namespace tamber::test {

// A headless screen with one shown main window; message boxes are recorded as "caption|text"
// and answered with `answer`.
struct Screen {
    explicit Screen(ScreenDepth depth) : display(64, 48, depth), context(display)
    {
        window = display.CreateSurface(gfx::Rect::FromSize(0, 0, 64, 48));
        display.ShowSurface(window, Visibility::Shown);
        context.SetMainWindow(window);
        context.SetMessageBoxHandler([this](const std::string& text, const std::string& caption, MessageButtons) {
            messages.push_back(caption + "|" + text);
            return answer;
        });
    }
    // The colour a pixel of an image shows, as 0x00RRGGBB.
    uint32_t Shown(const gfx::Surface& view, gfx::PixelFormat format, int32_t x, int32_t y)
    {
        const uint32_t v = view.Get(x, y);
        switch (format) {
        case gfx::PixelFormat::Indexed8: return display.HardwarePalette().Pixels()[v & 255];
        case gfx::PixelFormat::Mono: return v != 0 ? 0xFFFFFF : 0;
        default: return v;
        }
    }
    uint32_t Shown(const gfx::DeviceBitmap& bitmap, int32_t x, int32_t y)
    {
        return Shown(bitmap.View(), bitmap.Format(), x, y);
    }
    uint32_t WindowColor(int32_t x, int32_t y)
    {
        const gfx::Surface view = display.SurfaceView(window);
        return Shown(view, view.format, x, y);
    }

    HeadlessDisplay display;
    ScreenContext context;
    Display::SurfaceId window = 0;
    std::vector<std::string> messages;
    MessageAnswer answer = MessageAnswer::Ok;
};

inline Color ColorAt(const Palette& palette, int32_t index)
{
    Color color(1, 2, 3);
    EXPECT_EQ(palette.GetColor(index, color), index);
    return color;
}

// 2 x 2, 8 bits: red, green on top; blue, white below.
inline MemoryBlock SmallDib()
{
    return MakeDib(2, 2, 8, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                   [](int32_t x, int32_t y) { return static_cast<uint32_t>(y * 2 + x); });
}

}  // namespace tamber::test
