#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "base/MemoryBlock.h"
#include "media/Palette.h"
#include "platform/gfx/Dc.h"
#include "platform/gfx/DeviceBitmap.h"
#include "platform/gfx/Dib.h"

namespace tamber {

class ScreenContext;

enum class OfferConversion : uint8_t { No = 0, Yes = 1 };
// Whether an image's own colour table decides its palette, whatever palette is around.
enum class ImagePalette : uint8_t { No = 0, Yes = 1 };

// The image of Graphic media, pictures, button faces and backgrounds: a device bitmap built from
// a packed device-independent bitmap (file header "BM", information header, colour table,
// rows bottom first), with an optional palette of its own. On an 8-bit display a 24-bit image
// can be reduced to 8 bits, after asking the user when the offer flag is set.
class DibImage {
public:
    // Layout of the packed form.
    static constexpr int32_t kFileHeaderSize = 14;
    static constexpr int32_t kFileSizeOffset = 2;
    static constexpr int32_t kPixelOffsetOffset = 10;
    static constexpr int32_t kInfoOffset = kFileHeaderSize;  // the information header follows
    static constexpr int32_t kInfoHeaderSize = 40;
    static constexpr int32_t kCoreHeaderSize = 12;
    static constexpr int32_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;  // 54

    static constexpr const char* kOfferText = "Would you like to convert this 24-bit color bitmap into a 8-bit color bitmap?";
    static constexpr const char* kOfferCaption = "Attention";

    explicit DibImage(ScreenContext& context);
    ~DibImage();
    DibImage(const DibImage&) = delete;
    DibImage& operator=(const DibImage&) = delete;

    // A white bitmap; depth 1 makes it monochrome, 0 the display's depth. Answers 1 or 0.
    int CreateBlank(int32_t width, int32_t height, int32_t depth);
    // A bitmap resource: an information header, colour table and rows without a file header.
    int CreateFromResource(const MemoryBlock& resource, OfferConversion offer);
    // Builds the device bitmap from a packed DIB. An empty buffer changes nothing; a buffer that
    // does not start with "BM" leaves the image empty. Answers 1 when a bitmap was built.
    int SetFromPackedDib(const MemoryBlock& dib, ImagePalette imagePalette, OfferConversion offer);
    // Puts a file header in front of an information header and its data, keeps the result and
    // builds the bitmap with the image's own palette.
    int SetFromDibWithoutHeader(const MemoryBlock& data);
    // The image as a packed DIB: the held one, or the device bitmap converted at the given depth
    // (0: the source depth) with the given palette (null: the image's own or the current one).
    int ToPackedDib(MemoryBlock& out, int32_t depth = 0, Palette* palette = nullptr);

    int32_t Width() const;
    int32_t Height() const;
    Palette* OwnPalette() { return m_ownPalette.get(); }
    // Sets the offer flag and answers the old value.
    OfferConversion ExchangeOfferConversion(OfferConversion offer);
    OfferConversion Offer() const { return m_offer; }
    gfx::DeviceBitmap* Bitmap() { return m_bitmap.get(); }
    const gfx::DeviceBitmap* Bitmap() const { return m_bitmap.get(); }
    int32_t SourceDepth() const { return m_sourceDepth; }
    const MemoryBlock* HeldDib() const { return m_held ? &*m_held : nullptr; }

private:
    int Build(const MemoryBlock& dib, ImagePalette imagePalette);
    Palette* ChoosePalette(const MemoryBlock& dib, ImagePalette imagePalette);
    int Reduce(gfx::Dc& dc, gfx::DeviceBitmap& bitmap, const gfx::DibInfo& info, const uint8_t* bits, size_t bitsSize);

    ScreenContext& m_context;
    OfferConversion m_offer = OfferConversion::No;
    std::unique_ptr<gfx::DeviceBitmap> m_bitmap;
    std::optional<MemoryBlock> m_held;
    int32_t m_sourceDepth = 0;
    std::unique_ptr<Palette> m_ownPalette;
};

}  // namespace tamber
