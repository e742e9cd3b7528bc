#include "platform/gfx/Dib.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "platform/gfx/DibFormat.h"

namespace tamber::gfx {

namespace {

using namespace DibFormat;

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p)
{
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16
        | static_cast<uint32_t>(p[3]) << 24;
}

// Scales a masked channel to 8 bits.
uint32_t Channel(uint32_t value, uint32_t mask)
{
    if (mask == 0)
        return 0;
    int shift = std::countr_zero(mask);
    uint64_t v = (value & mask) >> shift;
    uint64_t max = mask >> shift;
    return static_cast<uint32_t>((v * 255 + max / 2) / max);
}

// Writes decoded rows: row r of the stored order lands on image row (topDown ? r : height-1-r).
// With a coverage image, compressed runs also mark the pixels they write.
struct RowSink {
    Image& image;
    const DibInfo& info;
    Image* coverage = nullptr;
    int32_t ImageRow(int32_t storedRow) const { return info.topDown ? storedRow : info.height - 1 - storedRow; }
    uint8_t* Row(int32_t storedRow) const { return image.View().Row(ImageRow(storedRow)); }
};

int32_t DecodeRle(const DibInfo& info, const uint8_t* bits, size_t size, const RowSink& sink)
{
    const bool four = info.compression == kBiRle4;
    int32_t x = 0, row = 0;
    size_t i = 0;
    auto put = [&](uint8_t index) {
        if (x >= 0 && x < info.width && row < info.height) {
            sink.Row(row)[x] = index;
            if (sink.coverage)
                sink.coverage->Set(x, sink.ImageRow(row), 1);
        }
        ++x;
    };
    while (i + 1 < size && row < info.height) {
        uint8_t count = bits[i], value = bits[i + 1];
        i += 2;
        if (count > 0) {
            for (int k = 0; k < count && x < info.width; ++k)
                put(four ? ((k & 1) ? (value & 0x0F) : (value >> 4)) : value);
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++row;
        } else if (value == 1) { // end of image
            return info.height;
        } else if (value == 2) { // delta
            if (i + 1 >= size)
                break;
            x += bits[i];
            row += bits[i + 1];
            i += 2;
        } else { // absolute run of `value` pixels, padded to 16 bits
            size_t bytes = four ? (value + 1u) / 2 : value;
            if (i + bytes > size)
                break;
            for (int k = 0; k < value && x < info.width; ++k)
                put(four ? ((k & 1) ? (bits[i + k / 2] & 0x0F) : (bits[i + k / 2] >> 4)) : bits[i + k]);
            i += (bytes + 1) & ~size_t { 1 };
        }
    }
    return std::min(row + (x > 0 ? 1 : 0), info.height);
}

} // namespace

int DibInfo::Parse(const uint8_t* info, size_t infoSize, DibColors usage, DibInfo& out)
{
    out = DibInfo {};
    out.usage = usage;
    if (info == nullptr || infoSize < 4)
        return 0;
    uint32_t headerSize = U32(info);
    int64_t width = 0, height = 0;
    size_t entrySize = usage == DibColors::Palette ? 2 : 4;
    if (headerSize == kCoreHeaderSize) {
        if (infoSize < kCoreHeaderSize)
            return 0;
        width = U16(info + kCoreWidth);
        height = U16(info + kCoreHeight);
        out.bitCount = U16(info + kCoreBitCount);
        out.compression = kBiRgb;
        if (usage == DibColors::Rgb)
            entrySize = 3;
    } else {
        if (headerSize < kInfoHeaderSize || headerSize > kMaxHeaderSize || infoSize < headerSize)
            return 0;
        width = static_cast<int32_t>(U32(info + kWidth));
        height = static_cast<int32_t>(U32(info + kHeight));
        out.bitCount = U16(info + kBitCount);
        out.compression = U32(info + kCompression);
        out.colorsUsed = U32(info + kColorsUsed);
    }
    out.headerSize = headerSize;
    if (height < 0) {
        out.topDown = true;
        height = -height;
    }
    if (width <= 0 || height <= 0 || width > Image::kMaxDimension || height > Image::kMaxDimension
        || width * height > kMaxPixels)
        return 0;
    out.width = static_cast<int32_t>(width);
    out.height = static_cast<int32_t>(height);
    switch (out.bitCount) {
    case 1:
    case 4:
    case 8:
    case 16:
    case 24:
    case 32: break;
    default: return 0;
    }
    switch (out.compression) {
    case kBiRgb: break;
    case kBiRle8:
        if (out.bitCount != 8 || out.topDown)
            return 0;
        break;
    case kBiRle4:
        if (out.bitCount != 4 || out.topDown)
            return 0;
        break;
    case kBiBitfields:
        if (out.bitCount != 16 && out.bitCount != 32)
            return 0;
        break;
    default: return 0;
    }
    out.rowBytes = RowBytes(out.width, out.bitCount);
    size_t offset = headerSize;
    if (out.bitCount == 16)
        out.masks = { 0x7C00, 0x03E0, 0x001F };
    else
        out.masks = { 0xFF0000, 0x00FF00, 0x0000FF };
    if (out.compression == kBiBitfields) {
        size_t at = headerSize >= kMasks + kMasksSize ? kMasks : headerSize;
        if (at + kMasksSize > infoSize)
            return 0;
        out.masks = { U32(info + at), U32(info + at + 4), U32(info + at + 8) };
        if (at == headerSize)
            offset += kMasksSize;
    }
    // Depths up to 8 bits always have a table (all 2^bits entries when none are counted); deeper
    // images may carry one that is only a hint for palette devices.
    int64_t entries = out.colorsUsed;
    if (out.bitCount <= 8) {
        int64_t full = int64_t { 1 } << out.bitCount;
        if (entries == 0 || entries > full)
            entries = entries == 0 ? full : entries;
        if (entries > 256)
            return 0;
    } else if (entries > 256) {
        return 0;
    }
    if (offset + static_cast<size_t>(entries) * entrySize > infoSize)
        return 0;
    out.tableEntries = static_cast<int32_t>(entries);
    const uint8_t* table = info + offset;
    for (int64_t k = 0; k < entries; ++k) {
        const uint8_t* e = table + k * static_cast<int64_t>(entrySize);
        if (usage == DibColors::Palette)
            out.indices.push_back(U16(e));
        else
            out.colors.push_back(static_cast<uint32_t>(e[2]) << 16 | static_cast<uint32_t>(e[1]) << 8 | e[0]);
    }
    out.infoBytes = offset + static_cast<size_t>(entries) * entrySize;
    return 1;
}

int DibInfo::ParsePacked(const uint8_t* data, size_t size, DibInfo& out, const uint8_t*& bits, size_t& bitsSize)
{
    bits = nullptr;
    bitsSize = 0;
    if (data == nullptr || size < 4)
        return 0;
    size_t start = 0;
    size_t bitsAt = 0;
    bool hasFileHeader = data[kFileSignatureOffset] == 'B' && data[kFileSignatureOffset + 1] == 'M';
    if (hasFileHeader) {
        if (size < kFileHeaderSize + 4)
            return 0;
        start = kFileHeaderSize;
        bitsAt = U32(data + kFileBitsOffset);
    }
    if (!Parse(data + start, size - start, DibColors::Rgb, out))
        return 0;
    size_t afterTable = start + out.infoBytes;
    // A file header's offset wins when it is plausible; writers often get it wrong by the size of
    // a table they left out, so a bad one falls back to the bits right after the table.
    if (!hasFileHeader || bitsAt < afterTable || bitsAt >= size)
        bitsAt = afterTable;
    if (bitsAt > size)
        return 0;
    bits = data + bitsAt;
    bitsSize = size - bitsAt;
    return 1;
}

int32_t DibInfo::Decode(const uint8_t* bits, size_t bitsSize, Image& out, Image* coverage) const
{
    if (width <= 0 || height <= 0 || bits == nullptr)
        return 0;
    bool compressed = compression == kBiRle8 || compression == kBiRle4;
    // Nothing to decode: do not allocate an image for it.
    if (compressed ? bitsSize < 2 : static_cast<int64_t>(bitsSize) < rowBytes)
        return 0;
    if (!out.Create(width, height, IsIndexed() ? PixelFormat::Indexed8 : PixelFormat::Rgb32))
        return 0;
    RowSink sink { out, *this };
    if (compressed) {
        if (coverage && coverage->Create(width, height, PixelFormat::Mono))
            sink.coverage = coverage;
        return DecodeRle(*this, bits, bitsSize, sink);
    }
    int64_t rows = std::min<int64_t>(height, static_cast<int64_t>(bitsSize) / rowBytes);
    const uint8_t maxIndex = static_cast<uint8_t>(std::max(0, std::min(255, tableEntries - 1)));
    for (int32_t r = 0; r < rows; ++r) {
        const uint8_t* src = bits + r * rowBytes;
        uint8_t* row = sink.Row(r);
        uint32_t* row32 = reinterpret_cast<uint32_t*>(row);
        switch (bitCount) {
        case 1:
            for (int32_t x = 0; x < width; ++x)
                row[x] = std::min<uint8_t>(maxIndex, src[x >> 3] >> (7 - (x & 7)) & 1);
            break;
        case 4:
            for (int32_t x = 0; x < width; ++x)
                row[x] = std::min<uint8_t>(maxIndex, (x & 1) ? (src[x >> 1] & 0x0F) : (src[x >> 1] >> 4));
            break;
        case 8:
            for (int32_t x = 0; x < width; ++x)
                row[x] = std::min(maxIndex, src[x]);
            break;
        case 16:
            for (int32_t x = 0; x < width; ++x) {
                uint32_t v = U16(src + 2 * x);
                row32[x] = Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 | Channel(v, masks[2]);
            }
            break;
        case 24:
            for (int32_t x = 0; x < width; ++x) {
                const uint8_t* p = src + 3 * x;
                row32[x] = static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[1]) << 8 | p[0];
            }
            break;
        case 32:
            if (compression == kBiRgb) {
                for (int32_t x = 0; x < width; ++x)
                    row32[x] = U32(src + 4 * x) & 0xFFFFFF;
            } else {
                for (int32_t x = 0; x < width; ++x) {
                    uint32_t v = U32(src + 4 * x);
                    row32[x] = Channel(v, masks[0]) << 16 | Channel(v, masks[1]) << 8 | Channel(v, masks[2]);
                }
            }
            break;
        }
    }
    return static_cast<int32_t>(rows);
}

} // namespace tamber::gfx
