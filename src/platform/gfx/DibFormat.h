#pragma once

#include <cstddef>
#include <cstdint>

namespace tamber::gfx {

// The layout of device-independent bitmaps (little-endian throughout).
namespace DibFormat {
// File header: "BM", 32-bit file size, two reserved 16-bit words, 32-bit offset of the bits.
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kFileSignatureOffset = 0;
constexpr size_t kFileBitsOffset = 10;

// The older 12-byte header: size, 16-bit width, 16-bit height, 16-bit planes, 16-bit bit count;
// its colour table has 3 bytes per entry (blue, green, red).
constexpr uint32_t kCoreHeaderSize = 12;
constexpr size_t kCoreWidth = 4;
constexpr size_t kCoreHeight = 6;
constexpr size_t kCorePlanes = 8;
constexpr size_t kCoreBitCount = 10;

// The 40-byte information header (later versions extend it): size, width, height (negative: rows
// top to bottom), planes, bit count, compression, image size, two resolutions, colours used,
// colours important; the colour table has 4 bytes per entry (blue, green, red, 0).
constexpr uint32_t kInfoHeaderSize = 40;
constexpr uint32_t kV4HeaderSize = 108;
constexpr uint32_t kMaxHeaderSize = 124;
constexpr size_t kWidth = 4;
constexpr size_t kHeight = 8;
constexpr size_t kPlanes = 12;
constexpr size_t kBitCount = 14;
constexpr size_t kCompression = 16;
constexpr size_t kSizeImage = 20;
constexpr size_t kXPelsPerMeter = 24;
constexpr size_t kYPelsPerMeter = 28;
constexpr size_t kColorsUsed = 32;
constexpr size_t kColorsImportant = 36;
// Channel masks of BI_BITFIELDS: inside headers of 52 bytes and more, else right after the header.
constexpr size_t kMasks = 40;
constexpr size_t kMasksSize = 12;

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kBiRle8 = 1;
constexpr uint32_t kBiRle4 = 2;
constexpr uint32_t kBiBitfields = 3;

// Rows are padded to whole 32-bit words.
constexpr int64_t RowBytes(int64_t width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }
} // namespace DibFormat

} // namespace tamber::gfx
