#include <gtest/gtest.h>

#include "db/JumpTable.h"

using namespace tamber;

TEST(JumpTable, NamedAndUnnamedTargetsRoundTrip)
{
    JumpTable table;
    table.Targets().push_back({ 4, "", JumpTable::LinkTo(17) });
    table.Targets().push_back({ 9, "Chapter two", JumpTable::LinkTo(23) });
    MemoryBlock stored = table.Serialize();
    // Unnamed: positive length; named: negative length and the name in front of the data.
    EXPECT_EQ(stored.ReadInt(8, 4), table.Targets()[0].data.Size());
    int32_t second = 4 + 8 + table.Targets()[0].data.Size();
    EXPECT_EQ(stored.ReadInt(second + 4, 4), -table.Targets()[1].data.Size());
    EXPECT_EQ(stored.ReadInt(second + 8, 1), 12);

    JumpTable back;
    ASSERT_EQ(back.Parse(stored), 1);
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.Nth(1)->name, "Chapter two");
    EXPECT_EQ(back.FindId(4)->name, "");
    EXPECT_EQ(back.FindId(5), nullptr);
    EXPECT_EQ(back.Nth(2), nullptr);
    EXPECT_EQ(JumpTable::LinkedMedia(back.FindId(9)->data), (std::vector<uint32_t> { 23 }));
}

TEST(JumpTable, LinkedMediaReadsMObjAmongOtherChunksAndActions)
{
    MemoryBlock data(0);
    data.AppendInt(2, 2);
    // Action 1: a "Cued" chunk, then "MObj" 5.
    MemoryBlock a1(0);
    a1.AppendInt(2, 2);
    a1.AppendString("Cued", Nul::Exclude);
    a1.AppendInt(3, 2);
    a1.AppendString("abc", Nul::Exclude);
    a1.AppendString("MObj", Nul::Exclude);
    a1.AppendInt(4, 2);
    a1.AppendInt(5, 4);
    data.AppendInt(a1.Size(), 2);
    data.Append(a1);
    // Action 2 claims more chunks than it holds.
    MemoryBlock a2(0);
    a2.AppendInt(9, 2);
    a2.AppendString("MObj", Nul::Exclude);
    a2.AppendInt(4, 2);
    a2.AppendInt(8, 4);
    data.AppendInt(a2.Size(), 2);
    data.Append(a2);
    EXPECT_EQ(JumpTable::LinkedMedia(data), (std::vector<uint32_t> { 5, 8 }));

    // An action length running past the data is cut to what is there and swallows the rest.
    MemoryBlock cut = data;
    cut.WriteInt(2, 0x7FFF, 2);
    EXPECT_EQ(JumpTable::LinkedMedia(cut), (std::vector<uint32_t> { 5 }));
}

TEST(JumpTable, DamagedTablesKeepTheTargetsBeforeTheDamage)
{
    JumpTable table;
    table.Targets().push_back({ 1, "One", JumpTable::LinkTo(2) });
    table.Targets().push_back({ 3, "", JumpTable::LinkTo(4) });
    MemoryBlock stored = table.Serialize();

    JumpTable back;
    MemoryBlock lyingCount = stored;
    lyingCount.WriteInt(0, 1000000, 4);
    EXPECT_EQ(back.Parse(lyingCount), 0);
    MemoryBlock truncated = stored;
    truncated.Resize(stored.Size() - 3);
    EXPECT_EQ(back.Parse(truncated), 0);
    EXPECT_EQ(back.Count(), 1);
    MemoryBlock minLength = stored;
    minLength.WriteInt(8, INT32_MIN, 4);
    EXPECT_EQ(back.Parse(minLength), 0);
    EXPECT_EQ(back.Count(), 0);
}
