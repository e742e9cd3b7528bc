#include "tamberlyne/BmpInput.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "media/DrawingSurface.h"
#include "platform/gfx/Dib.h"
#include "platform/gfx/RasterOp.h"

namespace tamberlyne {

namespace {

// Files larger than this are not pictures we can show.
constexpr std::uintmax_t kMaxFileSize = std::uintmax_t{256} << 20;

}  // namespace

bool ReadBmpFile(VerbContext& ctx, const std::string& path, tamber::MemoryBlock& dib) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        ctx.Fail(path, std::filesystem::exists(path, ec) ? "is not a file" : "no such file");
        return false;
    }
    if (std::filesystem::file_size(path, ec) > kMaxFileSize) {
        ctx.Fail(path, "too large for a picture");
        return false;
    }
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!in.good() && !in.eof()) {
        ctx.Fail(path, "cannot be read");
        return false;
    }
    dib = tamber::MemoryBlock(bytes.data(), static_cast<int32_t>(bytes.size()));
    if (bytes.size() < 2 || bytes[0] != 'B' || bytes[1] != 'M') {
        ctx.Fail(path, "not a BMP file (it does not start with \"BM\")");
        return false;
    }
    tamber::gfx::DibInfo info;
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    const auto* data = reinterpret_cast<const uint8_t*>(bytes.data());
    const bool core = dib.Size() >= 18 && dib.ReadInt(14, 4) == tamber::DibImage::kCoreHeaderSize;
    if (!core && tamber::gfx::DibInfo::ParsePacked(data, bytes.size(), info, bits, bitsSize) == 0) {
        ctx.Fail(path, "damaged or unsupported BMP (header, colour table or size out of range)");
        return false;
    }
    return true;
}

bool MeasureBmp(VerbContext& ctx, const std::string& path, const tamber::MemoryBlock& dib, tamber::ScreenDepth depth,
                int32_t& width, int32_t& height) {
    tamber::HeadlessDisplay probe(1, 1, depth);
    tamber::ScreenContext context(probe);
    tamber::DibImage image(context);
    if (image.SetFromPackedDib(dib, tamber::ImagePalette::Yes, tamber::OfferConversion::No) == 0) {
        ctx.Fail(path, "damaged or unsupported BMP");
        return false;
    }
    width = image.Width();
    height = image.Height();
    if (width > tamber::Display::kMaxSide || height > tamber::Display::kMaxSide) {
        ctx.Fail(path, "larger than the largest screen (" + std::to_string(tamber::Display::kMaxSide) + " pixels a side)");
        return false;
    }
    return true;
}

bool ReadDepthOption(VerbContext& ctx, tamber::ScreenDepth& depth) {
    depth = tamber::ScreenDepth::Direct24;
    if (!ctx.Has("--depth")) {
        return true;
    }
    const std::string value = ctx.Option("--depth");
    if (value == "8") {
        depth = tamber::ScreenDepth::Palette8;
    }
    return value == "8" || value == "24";
}

BmpScreen::BmpScreen(int32_t width, int32_t height, tamber::ScreenDepth depth)
    : display(width, height, depth),
      context(display),
      window(display.CreateSurface(tamber::gfx::Rect::FromSize(0, 0, width, height))),
      image(context) {
    display.ShowSurface(window, tamber::Visibility::Shown);
    context.SetMainWindow(window);
}

bool BmpScreen::Load(VerbContext& ctx, const std::string& path, const tamber::MemoryBlock& dib) {
    if (image.SetFromPackedDib(dib, tamber::ImagePalette::Yes, tamber::OfferConversion::Yes) == 0) {
        ctx.Fail(path, "damaged or unsupported BMP");
        return false;
    }
    if (image.OwnPalette() != nullptr) {
        image.OwnPalette()->MakeCurrent();
    }
    return true;
}

bool BmpScreen::WriteShown(VerbContext& ctx, const std::string& what, const std::string& output) {
    const tamber::gfx::Rect all = tamber::gfx::Rect::FromSize(0, 0, image.Width(), image.Height());
    {
        tamber::DrawingSurface screen(context, window);
        tamber::DrawingSurface picture(context, image);
        if (screen.Dc() == nullptr || picture.Dc() == nullptr) {
            ctx.Fail(what, "cannot be drawn");
            return false;
        }
        screen.Dc()->BitBlt(0, 0, all.Width(), all.Height(), picture.Dc(), 0, 0, tamber::gfx::Rop3::kSrcCopy);
    }
    display.Invalidate(window, all);
    display.Present();
    std::string error;
    if (display.Screenshot(output, &error) == 0) {
        ctx.Fail(output, error.empty() ? "cannot write the picture" : error);
        return false;
    }
    return true;
}

}  // namespace tamberlyne
