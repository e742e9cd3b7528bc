#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <memory>
#include <vector>

#include "media/DibImage.h"
#include "media/DrawingSurface.h"
#include "media/MediaTestSupport.h"
#include "media/Transition.h"
#include "platform/gfx/RasterOp.h"

namespace tamber::test {

// A picture whose every pixel tells where it came from: red from x, green from y.
inline uint32_t PicturePixel(int32_t x, int32_t y)
{
    return static_cast<uint32_t>((x * 5) << 16 | (y * 7) << 8 | 0x33);
}

inline MemoryBlock CodedDib(int32_t width, int32_t height)
{
    return MakeDib(width, height, 24, {}, [](int32_t x, int32_t y) { return PicturePixel(x, y); });
}

// A checkerboard of two system colours, so that any pixel drawn over shows.
inline uint32_t BackgroundPixel(int32_t x, int32_t y)
{
    return ((x / 3 + y / 3) % 2) != 0 ? 0x808080u : 0x008000u;
}

// A canvas image with a checkered background and a surface drawing on it, on a 24-bit or an
// 8-bit screen.
struct Stage {
    static constexpr int32_t kWidth = 64;
    static constexpr int32_t kHeight = 48;

    explicit Stage(ScreenDepth depth) : screen(depth), canvas(screen.context)
    {
        canvas.CreateBlank(kWidth, kHeight, 0);
        surface = std::make_unique<DrawingSurface>(screen.context, canvas);
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x) {
                const uint32_t c = BackgroundPixel(x, y);
                const auto channel = [c](int shift) { return static_cast<uint8_t>(c >> shift); };
                surface->Dc()->SetPixel(gfx::Point { x, y }, gfx::Rgb(channel(16), channel(8), channel(0)));
            }
        }
    }
    uint32_t At(int32_t x, int32_t y) { return screen.Shown(*canvas.Bitmap(), x, y); }
    std::vector<uint32_t> Pixels()
    {
        std::vector<uint32_t> out;
        for (int32_t y = 0; y < kHeight; ++y) {
            for (int32_t x = 0; x < kWidth; ++x)
                out.push_back(At(x, y));
        }
        return out;
    }

    Screen screen;
    DibImage canvas;
    std::unique_ptr<DrawingSurface> surface;
};

// A picture read from a packed DIB, checked to have loaded.
struct Picture : DibImage {
    Picture(ScreenContext& context, const MemoryBlock& dib) : DibImage(context)
    {
        EXPECT_EQ(SetFromPackedDib(dib, ImagePalette::No, OfferConversion::No), 1);
    }
};

// Every step of a transition, in order.
struct StepLog {
    std::vector<TransitionStep> steps;

    void Attach(Transition& transition)
    {
        transition.SetWatcher([this](const TransitionStep& step) { steps.push_back(step); });
    }
    std::vector<TransitionStep> Of(TransitionStep::Kind kind) const
    {
        std::vector<TransitionStep> out;
        std::copy_if(steps.begin(), steps.end(), std::back_inserter(out),
            [&](const TransitionStep& s) { return s.kind == kind; });
        return out;
    }
};

inline TransitionStep CopyStep(const gfx::Rect& dest, const gfx::Rect& source, uint32_t rop = gfx::Rop3::kSrcCopy)
{
    return TransitionStep { TransitionStep::Kind::Copy, dest, source, {}, rop };
}
inline TransitionStep FinalStep(const gfx::Rect& dest, const gfx::Rect& source, uint32_t rop = gfx::Rop3::kSrcCopy)
{
    return TransitionStep { TransitionStep::Kind::Final, dest, source, {}, rop };
}
inline TransitionStep ScrollStep(const gfx::Rect& dest, int32_t dx, int32_t dy)
{
    return TransitionStep { TransitionStep::Kind::Scroll, dest, {}, gfx::Point { dx, dy }, 0 };
}

} // namespace tamber::test

namespace tamber {

// Readable steps in failure messages.
inline void PrintTo(const TransitionStep& s, std::ostream* os)
{
    static const char* const kKinds[] = { "Copy", "Scroll", "Outline", "Final" };
    auto rect = [os](const gfx::Rect& r) { *os << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")"; };
    *os << kKinds[static_cast<int>(s.kind)] << " dest ";
    rect(s.dest);
    *os << " source ";
    rect(s.source);
    *os << " offset " << s.offset.x << "," << s.offset.y << " rop " << std::hex << s.rop << std::dec;
}

} // namespace tamber
