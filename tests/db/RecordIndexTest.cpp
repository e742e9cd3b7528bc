#include "db/RecordIndex.h"

#include <gtest/gtest.h>

#include <cstring>

namespace tamber {
namespace {

struct Name {
    uint8_t bytes[8] = {};
    explicit Name(const char* text) { std::memcpy(bytes, text, std::min<size_t>(std::strlen(text), 8)); }
};

TEST(RecordIndex, NamesCompareOverEightCharactersIgnoringAsciiCase)
{
    EXPECT_EQ(RecordIndex::NameKey("mmdata"), RecordIndex::NameKey(Name("MMData").bytes));
    EXPECT_EQ(RecordIndex::NameKey("MMDataXYZ"), RecordIndex::NameKey("MMDATAxy"));
    EXPECT_NE(RecordIndex::NameKey("MMData"), RecordIndex::NameKey("MMDat"));
    EXPECT_NE(RecordIndex::NameKey("MM\xE9"), RecordIndex::NameKey("MM\xC9"));
    uint8_t padded[8] = {'A', 'B', 0, 'C', 0, 0, 0, 0};  // nothing counts after the NUL
    EXPECT_EQ(RecordIndex::NameKey(padded), RecordIndex::NameKey("ab"));
}

TEST(RecordIndex, MovesItemsFoundFarFromTheEndToTheEnd)
{
    RecordIndex index;
    for (uint32_t id = 0; id < 100; ++id)
        index.Add(Name("MMData").bytes, id, 1000 + int32_t(id));
    EXPECT_EQ(index.Slots(), 100);
    // The last 20 items stay where they are.
    EXPECT_EQ(index.Find(RecordIndex::NameKey("MMData"), 80), 1080);
    EXPECT_EQ(index.Slots(), 100);
    EXPECT_EQ(index.Find(RecordIndex::NameKey("mmdata"), 79), 1079);
    EXPECT_EQ(index.Slots(), 101);
    // Found again at once, now among the last 20.
    EXPECT_EQ(index.Find(RecordIndex::NameKey("MMData"), 79), 1079);
    EXPECT_EQ(index.Slots(), 101);
    EXPECT_EQ(index.Find(RecordIndex::NameKey("MMData"), 100), -1);
    EXPECT_EQ(index.Find(RecordIndex::NameKey("MMEntry"), 5), -1);
    // An id of 0xFFFFFFFF is a record like any other, never a moved-away slot.
    EXPECT_EQ(index.Find(RecordIndex::NameKey("MMData"), 0xFFFFFFFFu), -1);
    index.Add(Name("MMData").bytes, 0xFFFFFFFFu, 7);
    EXPECT_EQ(index.Find(RecordIndex::NameKey("MMData"), 0xFFFFFFFFu), 7);
}

TEST(RecordIndex, HashedLookupsAnswerAsTheBackwardSearch)
{
    RecordIndex index;
    const char* names[] = {"MMData", "MMEntry", "mmdata", "MMFoldr"};
    // Duplicates included: the later item hides the earlier one.
    for (int32_t i = 0; i < 3000; ++i)
        index.Add(Name(names[i % 4]).bytes, uint32_t(i % 700), i * 37);
    uint32_t x = 99;
    for (int round = 0; round < 5000; ++round) {
        x = x * 1664525 + 1013904223;
        uint64_t key = RecordIndex::NameKey(names[(x >> 8) % 4]);
        uint32_t id = (x >> 12) % 800;
        int32_t expected = index.FindByScan(key, id);
        ASSERT_EQ(index.Find(key, id), expected) << round;
    }
    // Moved-away slots are dropped from time to time, so the index stays bounded.
    EXPECT_LT(index.Slots(), 2 * 3000 + 64 + 2);
    EXPECT_EQ(index.Count(), 3000);
    index.Clear();
    EXPECT_TRUE(index.Empty());
    EXPECT_EQ(index.Find(RecordIndex::NameKey("MMData"), 1), -1);
}

}  // namespace
}  // namespace tamber
