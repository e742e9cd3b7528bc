#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "base/MemoryBlock.h"
#include "db/RecordFile.h"
#include "platform/MemoryFileSystem.h"

namespace tamber::test {

inline MemoryBlock Bytes(const std::string& text)
{
    return MemoryBlock(text.data(), static_cast<int32_t>(text.size()));
}

inline MemoryBlock Filled(int32_t n, uint8_t seed)
{
    MemoryBlock block(n);
    for (int32_t i = 0; i < n; ++i)
        block.Data()[i] = static_cast<uint8_t>(seed + i * 7);
    return block;
}

inline int32_t Le32(const std::vector<uint8_t>& bytes, size_t at)
{
    if (at + 4 > bytes.size())
        return 0;
    return static_cast<int32_t>(uint32_t(bytes[at]) | uint32_t(bytes[at + 1]) << 8 | uint32_t(bytes[at + 2]) << 16 |
                                uint32_t(bytes[at + 3]) << 24);
}

inline void PutLe32(std::vector<uint8_t>& bytes, size_t at, int32_t value)
{
    if (at + 4 > bytes.size())
        return;
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = static_cast<uint8_t>(static_cast<uint32_t>(value) >> (8 * i));
}

inline std::string Read(RecordFile& file, const std::string& name, uint32_t id)
{
    MemoryBlock block;
    if (!file.ReadRecord(block, name, id))
        return "<absent>";
    return block.ToString();
}

}  // namespace tamber::test
