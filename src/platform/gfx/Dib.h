#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/gfx/Dc.h"
#include "platform/gfx/Image.h"

namespace tamber::gfx {

// A parsed information header and colour table of a device-independent bitmap.
struct DibInfo {
    // The most pixels a decoded image may have, whatever the header claims.
    static constexpr int64_t kMaxPixels = int64_t { 1 } << 26;

    uint32_t headerSize = 0;
    int32_t width = 0;
    int32_t height = 0; // always positive; see topDown
    bool topDown = false;
    int bitCount = 0;
    uint32_t compression = 0;
    uint32_t colorsUsed = 0; // as stored
    int32_t tableEntries = 0; // entries present in the table
    size_t infoBytes = 0;     // header, masks and table
    int64_t rowBytes = 0;     // one uncompressed row
    std::array<uint32_t, 3> masks {}; // red, green, blue for 16- and 32-bit images
    DibColors usage = DibColors::Rgb;
    std::vector<uint32_t> colors;  // the table as 32-bit pixels (0x00RRGGBB), with DibColors::Rgb
    std::vector<uint16_t> indices; // the table as palette indices, with DibColors::Palette

    // Reads a header and its colour table; answers 1, or 0 for anything malformed or truncated.
    static int Parse(const uint8_t* info, size_t infoSize, DibColors usage, DibInfo& out);
    // Reads a packed image: the file header (optional), the information header, the table, then
    // the bits (at the file header's offset when there is one). Answers 1 or 0.
    static int ParsePacked(const uint8_t* data, size_t size, DibInfo& out, const uint8_t*& bits, size_t& bitsSize);

    bool IsIndexed() const { return bitCount <= 8; }
    // Decodes rows into an image, top row first: table indices in an Indexed8 image for depths up
    // to 8 bits, 0x00RRGGBB in an Rgb32 image otherwise. Rows the bits do not reach stay 0; runs
    // of compressed images that leave the image are cut. Answers the number of rows decoded
    // (0 when nothing could be). For a compressed image, coverage (when given) becomes a
    // monochrome image with 1 where a run wrote a pixel: pixels skipped by a delta, an early end
    // of line or the end of the image stay 0.
    int32_t Decode(const uint8_t* bits, size_t bitsSize, Image& out, Image* coverage = nullptr) const;
    // The number of bytes of uncompressed bits the image needs.
    int64_t ImageBytes() const { return rowBytes * height; }
};

} // namespace tamber::gfx
