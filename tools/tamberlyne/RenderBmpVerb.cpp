// render-bmp: decodes a BMP file through the image layer and writes what the screen shows.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/MemoryBlock.h"
#include "media/DibImage.h"
#include "media/DrawingSurface.h"
#include "media/ScreenContext.h"
#include "platform/display/HeadlessDisplay.h"
#include "platform/gfx/Dib.h"
#include "tamberlyne/Verb.h"

namespace tamberlyne {

namespace {

// Files larger than this are not pictures we can show.
constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{256} << 20;
constexpr uint32_t kSourceCopy = 0xCC0020;

int RunRenderBmp(VerbContext& ctx) {
    if (ctx.positional.size() != 2) {
        return ctx.UsageError("render-bmp wants a BMP file and a PNG file");
    }
    const std::string& input = ctx.positional[0];
    const std::string& output = ctx.positional[1];
    tamber::ScreenDepth depth = tamber::ScreenDepth::Direct24;
    if (ctx.Has("--depth")) {
        const std::string value = ctx.Option("--depth");
        if (value == "8") {
            depth = tamber::ScreenDepth::Palette8;
        } else if (value != "24") {
            return ctx.UsageError("--depth wants 8 or 24");
        }
    }

    std::error_code ec;
    if (!std::filesystem::is_regular_file(input, ec)) {
        return ctx.Fail(input, std::filesystem::exists(input, ec) ? "is not a file" : "no such file");
    }
    if (std::filesystem::file_size(input, ec) > kMaxFileSize) {
        return ctx.Fail(input, "too large for a picture");
    }
    std::ifstream in(input, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        return ctx.Fail(input, "cannot be read");
    }
    const tamber::MemoryBlock dib(bytes.data(), static_cast<int32_t>(bytes.size()));
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
        return ctx.Fail(input, "not a BMP file (it does not start with \"BM\")");
    }
    tamber::gfx::DibInfo info;
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const bool core = dib.Size() >= 18 && dib.ReadInt(14, 4) == tamber::DibImage::kCoreHeaderSize;
    if (!core && tamber::gfx::DibInfo::ParsePacked(data, bytes.size(), info, bits, bitsSize) == 0) {
        return ctx.Fail(input, "damaged or unsupported BMP (header, colour table or size out of range)");
    }

    // Build the image once on a small screen to learn its size, then show it on a screen of
    // exactly that size.
    int32_t width = 0;
    int32_t height = 0;
    {
        tamber::HeadlessDisplay probe(1, 1, depth);
        tamber::ScreenContext context(probe);
        tamber::DibImage image(context);
        if (image.SetFromPackedDib(dib, tamber::ImagePalette::Yes, tamber::OfferConversion::No) == 0) {
            return ctx.Fail(input, "damaged or unsupported BMP");
        }
        width = image.Width();
        height = image.Height();
    }
    if (width > tamber::Display::kMaxSide || height > tamber::Display::kMaxSide) {
        return ctx.Fail(input, "larger than the largest screen (" + std::to_string(tamber::Display::kMaxSide) + " pixels a side)");
    }

    tamber::HeadlessDisplay display(width, height, depth);
    tamber::ScreenContext context(display);
    const auto window = display.CreateSurface(tamber::gfx::Rect::FromSize(0, 0, width, height));
    display.ShowSurface(window, tamber::Visibility::Shown);
    context.SetMainWindow(window);
    tamber::DibImage image(context);
    // On an 8-bit screen a true-colour picture is reduced to its most popular colours.
    if (image.SetFromPackedDib(dib, tamber::ImagePalette::Yes, tamber::OfferConversion::Yes) == 0) {
        return ctx.Fail(input, "damaged or unsupported BMP");
    }
    if (image.OwnPalette() != nullptr) {
        image.OwnPalette()->MakeCurrent();
    }
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
