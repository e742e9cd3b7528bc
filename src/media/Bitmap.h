#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "base/MemoryBlock.h"
#include "media/ErrorBase.h"
#include "platform/gfx/Dc.h"
#include "platform/gfx/DeviceBitmap.h"
#include "platform/gfx/Palette.h"

namespace tamber {

class ScreenContext;

enum class UsePalette : uint8_t { No = 0, Yes = 1 };
enum class Stretch : uint8_t { No = 0, Yes = 1 };

// A small self-contained picture of the rich-text engine: a device bitmap that converts to and
// from the packed DIB file format and draws itself. On displays of 8 bits or less every picture
// shares one palette (SharedPicturePalette). Failures set an error code with its message.
class Bitmap : public ErrorBase {
public:
    static constexpr int32_t kInvalidBitmap = 450;
    static constexpr int32_t kNoBitmap = 451;
    static constexpr int32_t kCannotConvertToFile = 452;
    static constexpr int32_t kCannotConvertToBitmap = 453;
    static constexpr int32_t kInvalidDc = 454;
    static constexpr const char* kCaption = "Bitmap";
    // Scratch buffers every picture keeps.
    static constexpr size_t kScratchSize = 50210;
    static constexpr size_t kSmallScratchSize = 5021;
    // The file format written: headers, a 256-entry table, then the pixels at 1080.
    static constexpr int32_t kPixelOffset = 1080;
    static constexpr int32_t kFileOverhead = 1082;

    Bitmap(ScreenContext& context, std::unique_ptr<gfx::DeviceBitmap> bitmap, UsePalette usePalette);
    ~Bitmap() override;
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    // Takes the bitmap, deleting the previous one.
    void Set(std::unique_ptr<gfx::DeviceBitmap> bitmap);
    // Hands the bitmap over and forgets it.
    std::unique_ptr<gfx::DeviceBitmap> Release();
    const gfx::DeviceBitmap* Get() const { return m_bitmap.get(); }
    bool UsesPalette() const { return m_usePalette; }

    int FromFileFormat(gfx::Dc* dc, const MemoryBlock& dib);
    int ToFileFormat(gfx::Dc* dc, MemoryBlock& out);
    int Size(int32_t& width, int32_t& height);
    // A zero width or height means the bitmap's own.
    int Draw(gfx::Dc* dc, Stretch stretch, uint32_t rop, int32_t x, int32_t y, int32_t width, int32_t height,
             int32_t sx, int32_t sy, int32_t sourceWidth, int32_t sourceHeight);

protected:
    const char* ErrorText(int32_t code) const override;
    const char* ErrorCaption() const override { return kCaption; }

private:
    // Whether there is a bitmap and a device context; sets the error for the first one missing.
    bool HasBitmapAndDc(const gfx::Dc* dc);

    ScreenContext& m_context;
    std::unique_ptr<gfx::DeviceBitmap> m_bitmap;
    std::unique_ptr<gfx::Palette> m_palette;  // made from an image's table when none is shared
    bool m_usePalette;
    std::vector<uint8_t> m_scratch;
    std::vector<uint8_t> m_smallScratch;
};

// Draws a packed DIB at (x, y) with the given size or, when width is 0, at percent of its own
// size, selecting the palette (when given) first and restoring the old one after. Answers the
// number of scan lines drawn.
int32_t DrawPackedDib(gfx::Dc& dc, const MemoryBlock& dib, int32_t x, int32_t y, int32_t width, int32_t height,
                      int32_t percent, const gfx::Palette* palette);

}  // namespace tamber
