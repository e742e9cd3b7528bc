// Every transition effect revealing a 640 × 480 picture on an off-screen 640 × 480 canvas: from a
// device bitmap on 24-bit and 8-bit screens, from a packed DIB, and doubled from a 320 × 240
// picture. Off screen nothing is presented and no clock paces the outline effects, so the
// figures are the drawing alone.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "base/MemoryBlock.h"
#include "media/DibImage.h"
#include "media/DrawingSurface.h"
#include "media/ScreenContext.h"
#include "media/Transition.h"
#include "media/TransitionEffect.h"
#include "platform/display/HeadlessDisplay.h"
#include "support/PackedDib.h"

namespace {

using namespace tamber;

constexpr int32_t kWidth = 640, kHeight = 480;

enum class Source { Bitmap, Dib, HalfSizeBitmap };

// A 24-bit picture, smooth with some detail.
MemoryBlock MakePicture(int32_t width, int32_t height)
{
    return test::MakeDib(width, height, 24, {}, [width, height](int32_t x, int32_t y) {
        return static_cast<uint32_t>(x * 255 / width) | static_cast<uint32_t>(y * 255 / height) << 8
            | static_cast<uint32_t>((x ^ y) & 0xFF) << 16;
    });
}

void DrawEffect(benchmark::State& state, int32_t effect, Source source, ScreenDepth depth)
{
    HeadlessDisplay display(kWidth, kHeight, depth);
    ScreenContext context(display);
    DibImage canvas(context);
    canvas.CreateBlank(kWidth, kHeight, 0);
    const bool half = source == Source::HalfSizeBitmap;
    const MemoryBlock dib = MakePicture(half ? kWidth / 2 : kWidth, half ? kHeight / 2 : kHeight);
    DibImage picture(context);
    picture.SetFromPackedDib(dib, ImagePalette::No, OfferConversion::No);
    DrawingSurface surface(context, canvas);
    Transition transition(surface);
    TransitionRequest request;
    request.bitmap = source == Source::Dib ? nullptr : picture.Bitmap();
    request.dib = source == Source::Dib ? &dib : nullptr;
    request.source = gfx::Rect::FromSize(0, 0, picture.Width(), picture.Height());
    request.dest = gfx::Rect::FromSize(0, 0, kWidth, kHeight);
    request.effect = effect;
    for (auto _ : state) {
        benchmark::DoNotOptimize(transition.Draw(request));
    }
    state.SetItemsProcessed(state.iterations() * kWidth * kHeight);
}

void RegisterAll()
{
    struct Series {
        const char* name;
        Source source;
        ScreenDepth depth;
    };
    const Series series[] = {
        { "bitmap24", Source::Bitmap, ScreenDepth::Direct24 },
        { "bitmap8", Source::Bitmap, ScreenDepth::Palette8 },
        { "dib24", Source::Dib, ScreenDepth::Direct24 },
        { "doubled24", Source::HalfSizeBitmap, ScreenDepth::Direct24 },
    };
    for (const Series& s : series) {
        for (const TransitionEffect& effect : TransitionEffect::All()) {
            const std::string name = std::string(s.name) + "/" + std::to_string(effect.number) + " " + std::string(effect.name);
            benchmark::RegisterBenchmark(name.c_str(), DrawEffect, effect.number, s.source, s.depth)
                ->Unit(benchmark::kMillisecond);
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    RegisterAll();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
