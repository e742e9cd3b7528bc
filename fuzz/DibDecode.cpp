// Packed device-independent bitmaps (with or without the file header) through every call that
// reads them: drawing on 32-bit and 8-bit surfaces, building device bitmaps, and reading back.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/Dc.h"
#include "platform/gfx/Dib.h"
#include "platform/gfx/DibFormat.h"
#include "platform/gfx/Image.h"
#include "platform/gfx/Palette.h"
#include "platform/gfx/SystemPalette.h"

using namespace tamber::gfx;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    DibInfo info;
    const uint8_t* bits = nullptr;
    size_t bitsSize = 0;
    if (!DibInfo::ParsePacked(data, size, info, bits, bitsSize))
        return 0;
    // Large images are legal but slow to clear; they add nothing the small ones do not cover.
    if (static_cast<int64_t>(info.width) * info.height > (1 << 20))
        return 0;
    const size_t infoAt = (size >= 2 && data[0] == 'B' && data[1] == 'M') ? DibFormat::kFileHeaderSize : 0;
    const uint8_t* header = data + infoAt;
    const size_t headerSize = info.infoBytes;

    Image screen(24, 16, PixelFormat::Rgb32);
    Dc dc(screen.View(), nullptr);
    dc.SetStretchBltMode(StretchMode::Halftone);
    dc.StretchDIBits(-3, 2, 30, -9, 1, 1, info.width, info.height, bits, bitsSize, header, headerSize,
                     DibColors::Rgb, Rop3::kSrcCopy);

    SystemPalette system;
    Palette palette({ { 1, 2, 3, 0 }, { 200, 100, 0, kPaletteNoCollapse }, { 9, 9, 9, kPaletteReserved } });
    Image eight(16, 16, PixelFormat::Indexed8);
    Dc dc8(eight.View(), &system);
    dc8.SelectPalette(&palette);
    dc8.RealizePalette();
    dc8.StretchDIBits(0, 0, 16, 16, 0, 0, info.width, info.height, bits, bitsSize, header, headerSize,
                      DibColors::Palette, Rop3::kSrcInvert);
    auto bitmap = dc8.CreateDIBitmap(bits, bitsSize, header, headerSize, DibColors::Rgb);
    if (bitmap) {
        DeviceBitmap mono(bitmap->Width(), bitmap->Height(), PixelFormat::Mono);
        dc.SetDIBits(mono, 1, info.height - 1, bits, bitsSize, header, headerSize, DibColors::Rgb);
        for (int bitCount : { 1, 4, 8, 24 }) {
            std::vector<uint8_t> out(static_cast<size_t>(info.width) * 4 * info.height + 4);
            std::vector<uint8_t> outInfo(40 + 256 * 4, 0);
            outInfo[0] = 40;
            outInfo[14] = static_cast<uint8_t>(bitCount);
            dc8.GetDIBits(*bitmap, 0, info.height, out.data(), out.size(), outInfo.data(), outInfo.size(),
                          DibColors::Rgb);
        }
    }
    return 0;
}
