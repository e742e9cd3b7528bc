#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"

namespace tamber::test {

// A BMP file image (a packed DIB with the 40-byte header) for tests and benchmarks. table holds
// 0x00RRGGBB colours; pixel(x, y), y counted from the top, gives an index (1, 4 or 8 bits) or a
// 0x00RRGGBB colour (24 bits). colorsUsed < 0 writes the table's length.
inline MemoryBlock MakeDib(int32_t width, int32_t height, int32_t bits, const std::vector<uint32_t>& table,
                           const std::function<uint32_t(int32_t, int32_t)>& pixel, int32_t colorsUsed = -1)
{
    const int32_t rowBytes = ((width * bits + 31) / 32) * 4;
    const int32_t offset = 54 + 4 * static_cast<int32_t>(table.size());
    MemoryBlock dib;
    dib.AppendString("BM", Nul::Exclude);
    for (int32_t v : {offset + rowBytes * height, 0, offset, 40, width, height})
        dib.AppendInt(v, 4);
    dib.AppendInt(1, 2);
    dib.AppendInt(bits, 2);
    const int32_t used = colorsUsed >= 0 ? colorsUsed : static_cast<int32_t>(table.size());
    for (int32_t v : {0, rowBytes * height, 0, 0, used, 0})
        dib.AppendInt(v, 4);
    for (uint32_t color : table)
        dib.AppendInt(static_cast<int32_t>(color & 0xFFFFFF), 4);  // blue, green, red, 0
    std::vector<uint8_t> bytes(static_cast<size_t>(rowBytes));
    for (int32_t row = 0; row < height; ++row) {
        const int32_t y = height - 1 - row;
        std::fill(bytes.begin(), bytes.end(), 0);
        for (int32_t x = 0; x < width; ++x) {
            const uint32_t v = pixel(x, y);
            const size_t at = static_cast<size_t>(x);
            if (bits == 24) {
                for (int k = 0; k < 3; ++k)
                    bytes[at * 3 + k] = static_cast<uint8_t>(v >> (8 * k));
            } else if (bits == 8) {
                bytes[at] = static_cast<uint8_t>(v);
            } else if (bits == 4) {
                bytes[at / 2] |= static_cast<uint8_t>(x % 2 == 0 ? v << 4 : v);
            } else if (bits == 1 && v != 0) {
                bytes[at / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        dib.Append(bytes.data(), rowBytes);
    }
    return dib;
}

// A 24-bit picture of one 0x00RRGGBB colour.
inline MemoryBlock PlainDib(int32_t width, int32_t height, uint32_t rgb)
{
    return MakeDib(width, height, 24, {}, [rgb](int32_t, int32_t) { return rgb; });
}

// The bytes of a block, for writing a file.
inline std::string BytesOf(const MemoryBlock& block)
{
    return std::string(reinterpret_cast<const char*>(block.Data()), static_cast<size_t>(block.Size()));
}

}  // namespace tamber::test
