#include "iface/BackgroundFill.h"

#include "platform/gfx/ColorRef.h"
#include "platform/gfx/Dib.h"

namespace tamber {

namespace {

constexpr int32_t kBmpFileHeaderSize = 14;

bool IsBmpFile(const MemoryBlock& picture)
{
    return picture.Size() > kBmpFileHeaderSize && picture.Data()[0] == 'B' && picture.Data()[1] == 'M';
}

}  // namespace

uint8_t BackgroundFill::GradientChannel(int32_t back, int32_t gradient, int32_t y, int32_t height)
{
    if (height <= 0)
        return static_cast<uint8_t>(back);
    // Integer division truncates toward zero, also for a falling channel.
    return static_cast<uint8_t>(back + (gradient - back) * y / height);
}

MemoryBlock BackgroundFill::PictureColors(const MemoryBlock& picture)
{
    MemoryBlock triples;
    if (!IsBmpFile(picture))
        return triples;
    gfx::DibInfo info;
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    if (!gfx::DibInfo::ParsePacked(picture.Data(), static_cast<size_t>(picture.Size()), info, bits, bitsSize))
        return triples;
    for (uint32_t pixel : info.colors) {
        const uint8_t rgb[3] = {static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8),
            static_cast<uint8_t>(pixel)};
        triples.Append(rgb, 3);
    }
    return triples;
}

int BackgroundFill::DecodePicture(const MemoryBlock& picture, gfx::Image& rgb)
{
    if (!IsBmpFile(picture))
        return 0;
    gfx::DibInfo info;
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    if (!gfx::DibInfo::ParsePacked(picture.Data(), static_cast<size_t>(picture.Size()), info, bits, bitsSize))
        return 0;
    gfx::Image decoded;
    if (info.Decode(bits, bitsSize, decoded) <= 0 || decoded.IsEmpty())
        return 0;
    if (decoded.Format() == gfx::PixelFormat::Rgb32) {
        rgb = std::move(decoded);
        return 1;
    }
    if (!rgb.Create(decoded.Width(), decoded.Height(), gfx::PixelFormat::Rgb32))
        return 0;
    for (int32_t y = 0; y < decoded.Height(); ++y) {
        for (int32_t x = 0; x < decoded.Width(); ++x) {
            uint32_t index = decoded.Get(x, y);
            rgb.Set(x, y, index < info.colors.size() ? info.colors[index] : 0);
        }
    }
    return 1;
}

int BackgroundFill::Render(const Settings& settings, gfx::Image& out, MemoryBlock* pictureColors)
{
    if (pictureColors)
        pictureColors->Clear();
    if (!out.Create(settings.width, settings.height, gfx::PixelFormat::Rgb32))
        return 0;
    const int32_t width = settings.width;
    const int32_t height = settings.height;

    bool picture = settings.kind == kStretchedPicture || settings.kind == kTiledPicture;
    gfx::Image source;
    if (picture && settings.picture && DecodePicture(*settings.picture, source)) {
        if (pictureColors)
            *pictureColors = PictureColors(*settings.picture);
        const int32_t sw = source.Width();
        const int32_t sh = source.Height();
        for (int32_t y = 0; y < height; ++y) {
            int32_t sy = settings.kind == kTiledPicture
                ? y % sh
                : static_cast<int32_t>(static_cast<int64_t>(y) * sh / height);
            for (int32_t x = 0; x < width; ++x) {
                int32_t sx = settings.kind == kTiledPicture
                    ? x % sw
                    : static_cast<int32_t>(static_cast<int64_t>(x) * sw / width);
                out.Set(x, y, source.Get(sx, sy));
            }
        }
        return 1;
    }

    const uint32_t back = settings.backColor;
    if (settings.kind != kGradient) {
        out.Fill(gfx::ColorRefToPixel(back & 0x00FFFFFF));
        return 1;
    }
    const uint32_t gradient = settings.gradientColor;
    for (int32_t y = 0; y < height; ++y) {
        gfx::ColorRef row = gfx::Rgb(GradientChannel(gfx::RedOf(back), gfx::RedOf(gradient), y, height),
            GradientChannel(gfx::GreenOf(back), gfx::GreenOf(gradient), y, height),
            GradientChannel(gfx::BlueOf(back), gfx::BlueOf(gradient), y, height));
        uint32_t pixel = gfx::ColorRefToPixel(row);
        for (int32_t x = 0; x < width; ++x)
            out.Set(x, y, pixel);
    }
    return 1;
}

}  // namespace tamber
