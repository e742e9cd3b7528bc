#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "media/Palette.h"
#include "media/ScreenContext.h"
#include "platform/display/HeadlessDisplay.h"

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

// A packed DIB with the 40-byte header. table holds 0x00RRGGBB colours; pixel(x, y) gives an
// index (up to 8 bits) or a 0x00RRGGBB colour (24 bits), y counted from the top.
inline MemoryBlock MakeDib(int32_t width, int32_t height, int32_t bits, const std::vector<uint32_t>& table,
                           const std::function<uint32_t(int32_t, int32_t)>& pixel, int32_t colorsUsed = -1)
{
    const int32_t rowBytes = ((width * bits + 31) / 32) * 4;
    const int32_t offset = 54 + 4 * static_cast<int32_t>(table.size());
    MemoryBlock dib;
    dib.AppendString("BM", Nul::Exclude);
    for (int32_t v : {offset + rowBytes * height, 0, offset, 40, width, height})
        dib.AppendInt(v, 4);
    dib.AppendInt(1, 2);
    dib.AppendInt(bits, 2);
    const int32_t used = colorsUsed >= 0 ? colorsUsed : static_cast<int32_t>(table.size());
    for (int32_t v : {0, rowBytes * height, 0, 0, used, 0})
        dib.AppendInt(v, 4);
    for (uint32_t color : table)
        dib.AppendInt(static_cast<int32_t>(color & 0xFFFFFF), 4);  // blue, green, red, 0
    for (int32_t row = 0; row < height; ++row) {
        const int32_t y = height - 1 - row;
        std::vector<uint8_t> bytes(static_cast<size_t>(rowBytes), 0);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = pixel(x, y);
            const size_t at = static_cast<size_t>(x);
            if (bits == 24) {
                for (int k = 0; k < 3; ++k)
                    bytes[at * 3 + k] = static_cast<uint8_t>(v >> (8 * k));
            } else if (bits == 8) {
                bytes[at] = static_cast<uint8_t>(v);
            } else if (bits == 4) {
                bytes[at / 2] |= static_cast<uint8_t>(x % 2 == 0 ? v << 4 : v);
            } else if (bits == 1 && v != 0) {
                bytes[at / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        dib.Append(bytes.data(), rowBytes);
    }
    return dib;
}

// 2 x 2, 8 bits: red, green on top; blue, white below.
inline MemoryBlock SmallDib()
{
    return MakeDib(2, 2, 8, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF},
                   [](int32_t x, int32_t y) { return static_cast<uint32_t>(y * 2 + x); });
}

}  // namespace tamber::test
