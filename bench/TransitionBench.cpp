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

namespace {

using namespace tamber;

constexpr int32_t kWidth = 640, kHeight = 480;

enum class Source { Bitmap, Dib, HalfSizeBitmap };

// A 24-bit packed DIB of a smooth picture with some detail.
MemoryBlock MakePicture(int32_t width, int32_t height)
{
    const int32_t rowBytes = ((width * 24 + 31) / 32) * 4;
    MemoryBlock dib;
    dib.AppendString("BM", Nul::Exclude);
    for (int32_t v : { 54 + rowBytes * height, 0, 54, 40, width, height })
        dib.AppendInt(v, 4);
    dib.AppendInt(1, 2);
    dib.AppendInt(24, 2);
    for (int32_t v : { 0, rowBytes * height, 0, 0, 0, 0 })
        dib.AppendInt(v, 4);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const uint8_t pixel[3] = { static_cast<uint8_t>(x * 255 / width), static_cast<uint8_t>(y * 255 / height),
                                       static_cast<uint8_t>((x ^ y) & 0xFF) };
            dib.Append(pixel, 3);
        }
        for (int32_t pad = width * 3; pad < rowBytes; ++pad)
            dib.AppendInt(0, 1);
    }
    return dib;
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
