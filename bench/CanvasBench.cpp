// Graphic canvases: reading a canvas text of 1,000 objects with 200 commands, stepping through
// the commands, and drawing every object over a 640 × 480 picture on 24-bit and 8-bit screens,
// with and without a half-transparent 64 × 64 bitmap object (blended pixel by pixel). Each
// drawing first puts the picture back, as a redraw after an animation step does.
#include <cstdint>
#include <string>

#include <benchmark/benchmark.h>

#include "base/MemoryBlock.h"
#include "media/Canvas.h"
#include "media/CanvasBitmaps.h"
#include "media/CanvasPainter.h"
#include "media/CanvasStepper.h"
#include "media/DibImage.h"
#include "media/DrawingSurface.h"
#include "media/ScreenContext.h"
#include "platform/display/HeadlessDisplay.h"
#include "support/PackedDib.h"

namespace {

using namespace tamber;

constexpr int32_t kWidth = 640, kHeight = 480;
constexpr int kObjects = 1000;

// Shapes of every kind spread over the picture, then commands that move and reorder them.
std::string MakeText()
{
    static const char* kTypes[]
        = { "LINE", "RECT", "ROUNDRECT", "OVAL", "POLYLINE", "SPRAY", "POLYGON", "CURVE" };
    std::string text = "CANVAS (640 480) { OBJECT {\n";
    for (int i = 0; i < kObjects; ++i) {
        const int x = (i * 37) % 600, y = (i * 53) % 440;
        text += std::string(kTypes[i % 8]) + " " + std::to_string(i + 1) + " { ForeColor 0x"
            + std::to_string(100000 + i) + " FillColor "
            + std::to_string(static_cast<int64_t>(i) * 2654435 % 16777216) + " LineWidth "
            + std::to_string(i % 4) + " (" + std::to_string(x) + " " + std::to_string(y) + " "
            + std::to_string(x + 30) + " " + std::to_string(y + 20) + " " + std::to_string(x + 10) + " "
            + std::to_string(y + 35) + ") }\n";
    }
    text += "} COMMAND {\n";
    for (int i = 0; i < 200; ++i)
        text += "MACROBEGIN () MOVE (" + std::to_string(i + 1) + " (3 -2)) TOTOP (" + std::to_string(i + 2)
            + " 0) MACROEND ()\n";
    return text + "} }";
}

// A 24-bit picture, smooth with some detail.
MemoryBlock MakePicture(int32_t width, int32_t height)
{
    return test::MakeDib(width, height, 24, {}, [width, height](int32_t x, int32_t y) {
        return static_cast<uint32_t>(x * 255 / width) | static_cast<uint32_t>(y * 255 / height) << 8
            | static_cast<uint32_t>((x ^ y) & 0xFF) << 16;
    });
}

void ReadCanvas(benchmark::State& state)
{
    const std::string text = MakeText();
    for (auto _ : state) {
        Canvas canvas;
        benchmark::DoNotOptimize(canvas.Read(text, {}));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}

void StepCommands(benchmark::State& state)
{
    Canvas canvas;
    canvas.Read(MakeText(), {});
    for (auto _ : state) {
        CanvasStepper stepper(canvas, canvas.Commands(), nullptr);
        while (stepper.Step() > 0) { }
    }
    state.SetItemsProcessed(
        static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(canvas.Commands().size()));
}

void DrawCanvas(benchmark::State& state, ScreenDepth depth, bool blended)
{
    HeadlessDisplay display(kWidth, kHeight, depth);
    ScreenContext context(display);
    const MemoryBlock picture = MakePicture(kWidth, kHeight);
    MemoryBlock bitmaps;
    CanvasBitmaps::AppendRecord(bitmaps, 5000, MakePicture(64, 64));
    std::string text = MakeText();
    if (blended)
        text.insert(text.find("} COMMAND"), "BITMAP 5000 { Transparency 50 (300 200) }\n");
    Canvas canvas;
    Canvas::Sources sources;
    sources.bitmaps = &bitmaps;
    canvas.Read(text, sources);
    DibImage image(context);
    for (auto _ : state) {
        image.SetFromPackedDib(picture, ImagePalette::Yes, OfferConversion::No);
        DrawingSurface surface(context, image);
        CanvasPainter(*surface.Dc(), nullptr).Draw(canvas);
    }
    state.SetItemsProcessed(
        static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(canvas.Live().size()));
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::RegisterBenchmark("ReadCanvas/1000-objects", ReadCanvas)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("StepCommands/200-macros", StepCommands)->Unit(benchmark::kMicrosecond);
    for (bool blended : { false, true }) {
        for (ScreenDepth depth : { ScreenDepth::Direct24, ScreenDepth::Palette8 }) {
            const std::string name = std::string("DrawCanvas/")
                + (depth == ScreenDepth::Direct24 ? "24-bit" : "8-bit")
                + (blended ? "/with-blended-bitmap" : "");
            benchmark::RegisterBenchmark(name.c_str(), DrawCanvas, depth, blended)
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
