// render-bmp: decodes a BMP file through the image layer and writes what the screen shows.
#include <string>

#include "base/MemoryBlock.h"
#include "tamberlyne/BmpInput.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

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
    if (!bmp.Load(ctx, input, dib) || !bmp.WriteShown(ctx, input, output)) {
        return kExitFailure;
    }
    ctx.out << "wrote " << output << " (" << width << "x" << height << ", " << bmp.image.SourceDepth()
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
