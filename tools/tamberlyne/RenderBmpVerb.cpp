// render-bmp: decodes a BMP file through the image layer and writes what the screen shows.
#include <string>

#include "base/MemoryBlock.h"
#include "media/DibImage.h"
#include "media/DrawingSurface.h"
#include "media/ScreenContext.h"
#include "platform/display/HeadlessDisplay.h"
#include "tamberlyne/BmpInput.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

constexpr uint32_t kSourceCopy = 0xCC0020;

int RunRenderBmp(VerbContext& ctx) {
    if (ctx.positional.size() != 2) {
        return ctx.UsageError("render-bmp wants a BMP file and a PNG file");
    }
    const std::string& input = ctx.positional[0];
    const std::string& output = ctx.positional[1];
    tamber::ScreenDepth depth;
    if (!ReadDepthOption(ctx, depth)) {
        return ctx.UsageError("--depth wants 8 or 24");
    }

    tamber::MemoryBlock dib;
    if (!ReadBmpFile(ctx, input, dib)) {
        return kExitFailure;
    }

    // The picture's size decides the screen's.
    int32_t width = 0;
    int32_t height = 0;
    if (!MeasureBmp(ctx, input, dib, depth, width, height)) {
        return kExitFailure;
    }

    BmpScreen bmp(width, height, depth);
    if (!bmp.Load(ctx, input, dib)) {
        return kExitFailure;
    }
    tamber::HeadlessDisplay& display = bmp.display;
    tamber::ScreenContext& context = bmp.context;
    const auto window = bmp.window;
    tamber::DibImage& image = bmp.image;
    {
        tamber::DrawingSurface screen(context, window);
        tamber::DrawingSurface picture(context, image);
        if (screen.Dc() == nullptr || picture.Dc() == nullptr) {
            return ctx.Fail(input, "cannot be drawn");
        }
        screen.Dc()->BitBlt(0, 0, width, height, picture.Dc(), 0, 0, kSourceCopy);
    }
    display.Invalidate(window, tamber::gfx::Rect::FromSize(0, 0, width, height));
    display.Present();
    std::string error;
    if (display.Screenshot(output, &error) == 0) {
        return ctx.Fail(output, error.empty() ? "cannot write the picture" : error);
    }
    ctx.out << "wrote " << output << " (" << width << "x" << height << ", " << image.SourceDepth()
            << "-bit image on a " << static_cast<int>(depth) << "-bit screen)\n";
    return kExitOk;
}

VerbRegistration reg{Verb{
    "render-bmp",
    "render-bmp FILE.bmp OUT.png [--depth 8]",
    "decode a BMP picture and write it as the screen shows it",
    "Builds the picture the way the player does (1, 4, 8, 16, 24 and 32 bits, RLE-compressed, the\n"
    "older 12-byte header) with its own palette, draws it on a headless screen of its size and\n"
    "writes that screen as a PNG picture.\n"
    "  --depth 8    show it on a 256-colour screen: the colours go through the hardware palette,\n"
    "               and a 24-bit picture is first reduced to its most popular colours\n"
    "  --depth 24   a true-colour screen (the default)\n",
    {},
    {"--depth"},
    RunRenderBmp,
    95,
}};

}  // namespace

}  // namespace tamberlyne
