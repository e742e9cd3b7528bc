// Builds images from arbitrary packed DIBs the way pictures arrive from a database, on both
// screen depths, and converts them back.
// Input: one mode byte (bit 0: 8-bit screen, bit 1: offer the 24-to-8-bit reduction, bit 2:
// treat the rest as a DIB without file header), then the DIB.
#include <cstddef>
#include <cstdint>

#include "media/DibImage.h"
#include "media/ScreenContext.h"
#include "platform/display/HeadlessDisplay.h"

namespace {

// Pictures larger than this are skipped to keep each run fast; the size check itself is
// exercised by the tests.
constexpr int64_t kMaxFuzzPixels = int64_t{1} << 20;

int64_t ClaimedPixels(const uint8_t* data, size_t size, size_t infoAt) {
    if (size < infoAt + 12) {
        return 0;
    }
    auto read32 = [&](size_t at) {
        return static_cast<int32_t>(data[at] | data[at + 1] << 8 | data[at + 2] << 16 | static_cast<uint32_t>(data[at + 3]) << 24);
    };
    int64_t width = read32(infoAt + 4);
    int64_t height = read32(infoAt + 8);
    if (read32(infoAt) == 12) {
        width = data[infoAt + 4] | data[infoAt + 5] << 8;
        height = data[infoAt + 6] | data[infoAt + 7] << 8;
    }
    return (width < 0 ? -width : width) * (height < 0 ? -height : height);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) {
        return 0;
    }
    const uint8_t mode = data[0];
    const bool headerless = (mode & 4) != 0;
    if (ClaimedPixels(data + 1, size - 1, headerless ? 0 : 14) > kMaxFuzzPixels) {
        return 0;
    }
    tamber::HeadlessDisplay display(16, 16, (mode & 1) != 0 ? tamber::ScreenDepth::Palette8 : tamber::ScreenDepth::Direct24);
    tamber::ScreenContext context(display);
    tamber::DibImage image(context);
    const tamber::MemoryBlock dib(data + 1, static_cast<int32_t>(size - 1));
    if (headerless) {
        image.SetFromDibWithoutHeader(dib);
    } else {
        image.SetFromPackedDib(dib, tamber::ImagePalette::Yes,
                               (mode & 2) != 0 ? tamber::OfferConversion::Yes : tamber::OfferConversion::No);
    }
    tamber::MemoryBlock back;
    if (image.Bitmap() != nullptr && image.ToPackedDib(back) == 1 && !headerless) {
        tamber::DibImage again(context);
        again.SetFromPackedDib(back, tamber::ImagePalette::No, tamber::OfferConversion::No);
    }
    return 0;
}
