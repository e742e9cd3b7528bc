#pragma once

#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "base/MemoryBlock.h"
#include "iface/Element.h"

namespace tamber::test {

// Attribute and method calls that fail the test when the element does not answer 1.
inline void Set(Element& e, std::string_view name, ValueType type, const AttributeValue& value)
{
    EXPECT_EQ(e.SetAttribute(name, type, value), 1) << name;
}

inline AttributeValue Get(Element& e, std::string_view name, ValueType type)
{
    AttributeValue value;
    EXPECT_EQ(e.GetAttribute(name, type, value), 1) << name;
    return value;
}

inline int32_t GetLong(Element& e, std::string_view name)
{
    return Get(e, name, ValueType::Long).Long();
}

inline AttributeValue Call(Element& e, std::string_view method, std::vector<AttributeValue> params = {})
{
    AttributeValue result;
    EXPECT_EQ(e.CallMethod(method, params, result), 1) << method;
    return result;
}

// Class chunks: the tagged records an element writes after its common data.
struct Chunk {
    std::string tag;
    MemoryBlock payload;
};

// Splits a run of chunks.
inline std::vector<Chunk> SplitChunks(const MemoryBlock& block)
{
    std::vector<Chunk> chunks;
    int32_t at = 0;
    while (at < block.Size()) {
        Chunk chunk;
        int32_t read = block.ReadChunk(at, chunk.tag, chunk.payload);
        if (read < MemoryBlock::kChunkHeaderSize)
            break;
        at += read;
        chunks.push_back(std::move(chunk));
    }
    return chunks;
}

// Writes the class chunks of source, reads them into target and checks that target writes the
// same bytes. Answers the chunks written.
inline std::vector<Chunk> RoundTrip(const Element& source, Element& target)
{
    MemoryBlock written;
    int count = source.WriteClassChunks(written);
    std::vector<Chunk> chunks = SplitChunks(written);
    EXPECT_EQ(static_cast<int>(chunks.size()), count);
    for (const Chunk& chunk : chunks)
        EXPECT_TRUE(target.ReadClassChunk(chunk.tag, chunk.payload)) << chunk.tag;
    MemoryBlock again;
    target.WriteClassChunks(again);
    EXPECT_EQ(again, written);
    return chunks;
}

inline MemoryBlock ClassChunks(const Element& element)
{
    MemoryBlock block;
    element.WriteClassChunks(block);
    return block;
}

// A small BMP file image: only the header fields matter here.
inline MemoryBlock FakeBitmap(int32_t width, int32_t height, uint8_t fill = 0x55)
{
    MemoryBlock bmp(54 + 16);
    bmp.Write(0, "BM", 2);
    bmp.WriteInt(2, bmp.Size(), 4);
    bmp.WriteInt(14, 40, 4);
    bmp.WriteInt(18, width, 4);
    bmp.WriteInt(22, height, 4);
    for (int32_t i = 54; i < bmp.Size(); ++i)
        bmp.WriteInt(i, fill, 1);
    return bmp;
}

} // namespace tamber::test
