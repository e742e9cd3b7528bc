#include <gtest/gtest.h>

#include "base/MemoryBlock.h"

using namespace tamber;

namespace {

MemoryBlock BlockOf(std::string_view text)
{
    return MemoryBlock(text.data(), static_cast<int32_t>(text.size()));
}

}  // namespace

TEST(MemoryBlock, ConstructionZeroFillsAndNegativeSizeIsEmpty)
{
    MemoryBlock block(5);
    ASSERT_EQ(block.Size(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(*block.Data(i), 0);
    MemoryBlock negative(-3);
    EXPECT_EQ(negative.Size(), 0);
    EXPECT_NE(negative.Data(), nullptr);
}

TEST(MemoryBlock, ResizeAnswersAsDocumented)
{
    MemoryBlock block = BlockOf("abcdef");
    EXPECT_EQ(block.Resize(6), 1);
    EXPECT_EQ(block.ToString(), "abcdef");
    EXPECT_EQ(block.Resize(3), 1);
    EXPECT_EQ(block.ToString(), "abc");
    EXPECT_EQ(block.Resize(5), 1);
    EXPECT_EQ(block.ToString(), std::string("abc\0\0", 5));
    EXPECT_EQ(block.Resize(0), 0);
    EXPECT_EQ(block.Size(), 0);
    EXPECT_EQ(block.Resize(-1), 1);  // already empty: same size
}

TEST(MemoryBlock, DataOutsideRangeYieldsFirstByte)
{
    MemoryBlock block = BlockOf("xyz");
    EXPECT_EQ(block.Data(7), block.Data(0));
    EXPECT_EQ(block.Data(-1), block.Data(0));
    EXPECT_EQ(*block.Data(2), 'z');
}

TEST(MemoryBlock, WritePastEndAppendsAtEnd)
{
    MemoryBlock block = BlockOf("ab");
    EXPECT_EQ(block.Write(10, "cd", 2), 2);
    EXPECT_EQ(block.ToString(), "abcd");
    EXPECT_EQ(block.Write(-1, "x", 1), 0);
    EXPECT_EQ(block.Write(0, "x", 0), 0);
    EXPECT_EQ(block.Write(3, "XYZ", 3), 3);
    EXPECT_EQ(block.ToString(), "abcXYZ");
}

TEST(MemoryBlock, InsertMovesTailUpIncludingFromItself)
{
    MemoryBlock block = BlockOf("abef");
    EXPECT_EQ(block.Insert(2, "cd", 2), 2);
    EXPECT_EQ(block.ToString(), "abcdef");
    EXPECT_EQ(block.Insert(0, block.Data(4), 2), 2);  // source inside the block
    EXPECT_EQ(block.ToString(), "efabcdef");
}

TEST(MemoryBlock, ReadCopiesOnlyExistingBytes)
{
    MemoryBlock block = BlockOf("hello");
    char buffer[16] = {};
    EXPECT_EQ(block.Read(3, buffer, 10), 2);
    EXPECT_EQ(std::string(buffer, 2), "lo");
    EXPECT_EQ(block.Read(5, buffer, 1), 0);
    EXPECT_EQ(block.Read(-1, buffer, 1), 0);
    EXPECT_EQ(MemoryBlock().Read(0, buffer, 1), 0);
}

TEST(MemoryBlock, DeleteClampsToTheEnd)
{
    MemoryBlock block = BlockOf("abcdef");
    EXPECT_EQ(block.Delete(4, 10), 2);
    EXPECT_EQ(block.ToString(), "abcd");
    EXPECT_EQ(block.Delete(1, 2), 2);
    EXPECT_EQ(block.ToString(), "ad");
    EXPECT_EQ(block.Delete(5, 1), 0);
    EXPECT_EQ(block.Delete(0, 0), 0);
}

TEST(MemoryBlock, CompareFoldsOnlyAsciiLetters)
{
    MemoryBlock block = BlockOf("abc\xe9");
    EXPECT_EQ(block.Compare(0, "ABC", 3, Exact::No), 0);
    EXPECT_EQ(block.Compare(0, "ABC", 3, Exact::Yes), 1);
    EXPECT_EQ(block.Compare(3, "\xc9", 1, Exact::No), 1);  // é vs É stay different
    EXPECT_EQ(block.Compare(0, "abd", 3, Exact::Yes), -1);
    EXPECT_EQ(block.Compare(2, "cde", 3, Exact::Yes), -2);  // runs past the end
    EXPECT_EQ(block.Compare(0, "zz", 0, Exact::Yes), 0);
    EXPECT_EQ(MemoryBlock().Compare(0, "a", 1, Exact::Yes), -2);
}

TEST(MemoryBlock, FindForwardAndBackward)
{
    MemoryBlock block = BlockOf("abcABCabc");
    EXPECT_EQ(block.Find(1, "abc", 3, Exact::Yes, Direction::Forward), 6);
    EXPECT_EQ(block.Find(1, "abc", 3, Exact::No, Direction::Forward), 3);
    EXPECT_EQ(block.Find(5, "abc", 3, Exact::Yes, Direction::Backward), 0);
    EXPECT_EQ(block.Find(7, "abc", 3, Exact::Yes, Direction::Forward), -1);  // start + n past end
    EXPECT_EQ(block.Find(-1, "abc", 3, Exact::Yes, Direction::Forward), -1);
    EXPECT_EQ(block.Find(4, "x", 0, Exact::Yes, Direction::Forward), 4);
    EXPECT_EQ(block.Find(0, "xyz", 3, Exact::Yes, Direction::Forward), -1);
}

TEST(MemoryBlock, IntegersAreLittleEndianWithWidthRules)
{
    MemoryBlock block;
    block.AppendInt(0x12345678, 4);
    block.AppendInt(0xFFFF, 2);
    block.AppendInt(0xFF, 1);
    ASSERT_EQ(block.Size(), 7);
    EXPECT_EQ(*block.Data(0), 0x78);
    EXPECT_EQ(block.ReadInt(0, 4), 0x12345678);
    EXPECT_EQ(block.ReadInt(4, 2), -1);
    EXPECT_EQ(block.ReadInt(6, 1), 255);
    EXPECT_EQ(block.ReadInt(5, 4), 0xFFFF);  // bytes past the end read as 0
    block.InsertInt(0, 7, 2);
    EXPECT_EQ(block.ReadInt(0, 2), 7);
    EXPECT_EQ(block.ReadInt(2, 4), 0x12345678);
}

TEST(MemoryBlock, CStringsAreCutToCapacity)
{
    MemoryBlock block;
    block.AppendString("hello", Nul::Include);
    block.AppendString("world", Nul::Exclude);
    char buffer[4];
    EXPECT_EQ(block.ReadCString(0, buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "hel");
    EXPECT_EQ(block.ReadCString(6, buffer, sizeof buffer), 0);  // no NUL follows
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(block.ReadCString(0), "hello");
}

TEST(MemoryBlock, PStringsCarryLengthPlusOneAndNul)
{
    MemoryBlock block;
    EXPECT_EQ(block.AppendPString(""), 2);
    EXPECT_EQ(block.ToString(), std::string("\x01\0", 2));
    EXPECT_EQ(block.AppendPString("Card"), 6);
    std::string text;
    EXPECT_EQ(block.ReadPString(2, text), 6);
    EXPECT_EQ(text, "Card");
    EXPECT_EQ(block.ReadPString(0, text), 2);
    EXPECT_EQ(text, "");
    MemoryBlock longOne;
    EXPECT_EQ(longOne.AppendPString(std::string(300, 'x')), 256);
    EXPECT_EQ(longOne.ReadPString(0, text), 256);
    EXPECT_EQ(text.size(), 254u);
}

TEST(MemoryBlock, NthStringWalksNulSeparatedStrings)
{
    MemoryBlock block;
    for (const char* s : {"one", "two", "three"})
        block.AppendString(s, Nul::Include);
    EXPECT_EQ(block.NthString(2), "three");
    char buffer[3];
    EXPECT_EQ(block.NthString(1, buffer, sizeof buffer), 3);
    EXPECT_STREQ(buffer, "tw");
    EXPECT_EQ(block.NthString(3, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
}

TEST(MemoryBlock, ChunksRoundTripAndTruncatedChunkReadsWhatIsPresent)
{
    MemoryBlock payload = BlockOf("payload!");
    MemoryBlock block;
    EXPECT_EQ(block.WriteChunk("Card", payload), 16);
    EXPECT_EQ(block.WriteChunk("Scrp", MemoryBlock()), 8);

    std::string tag;
    MemoryBlock out;
    int32_t step = block.ReadChunk(0, tag, out);
    EXPECT_EQ(step, 16);
    EXPECT_EQ(tag, "Card");
    EXPECT_EQ(out.ToString(), "payload!");
    EXPECT_EQ(block.ReadChunk(step, tag, out), 8);
    EXPECT_EQ(tag, "Scrp");
    EXPECT_EQ(out.Size(), 0);

    MemoryBlock truncated = block;
    truncated.Resize(12);  // header plus 4 of 8 payload bytes
    EXPECT_EQ(truncated.ReadChunk(0, tag, out), 12);
    EXPECT_EQ(out.ToString(), "payl");

    MemoryBlock lying;
    lying.AppendString("Intr", Nul::Exclude);
    lying.AppendInt(0x7FFFFFFF, 4);
    EXPECT_EQ(lying.ReadChunk(0, tag, out), 8);
    EXPECT_EQ(out.Size(), 0);
    EXPECT_EQ(MemoryBlock(4).ReadChunk(0, tag, out), 0);
}

TEST(MemoryBlock, ReleaseAndAdoptHandOverStorage)
{
    MemoryBlock block = BlockOf("abc");
    MemoryBlock::Storage storage = block.Release();
    EXPECT_EQ(block.Size(), 0);
    EXPECT_EQ(storage.size(), 3u);
    EXPECT_EQ(MemoryBlock().Release().size(), 1u);  // an empty block hands out one byte
    MemoryBlock other;
    other.Adopt(std::move(storage));
    EXPECT_EQ(other.ToString(), "abc");
}

TEST(StringBlock, HoldsTerminatorAndEmptiesForEmptyText)
{
    StringBlock s("abc");
    EXPECT_EQ(s.Size(), 4);
    EXPECT_EQ(s.Get(), "abc");
    s.Set("");
    EXPECT_EQ(s.Size(), 0);
    EXPECT_STREQ(s.CStr(), "");
}
