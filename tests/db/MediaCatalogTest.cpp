#include <gtest/gtest.h>

#include "db/MediaCatalog.h"
#include "db/MediaCatalogFormat.h"

using namespace tamber;

namespace {

MediaEntry Make(uint32_t id, std::string name, std::string type, std::vector<MediaPart> parts = {},
    std::vector<ExternalRef> externals = {})
{
    MediaEntry e;
    e.id = id;
    e.name = std::move(name);
    e.type = std::move(type);
    e.parts = std::move(parts);
    e.externals = std::move(externals);
    return e;
}

// An entry written by hand, ending right after the external references (no optional fields).
MemoryBlock EntryWithoutOptionalFields(uint32_t id)
{
    MemoryBlock b(0);
    b.AppendInt(0, 4);  // length, patched below
    b.AppendInt(static_cast<int32_t>(id), 4);
    b.AppendInt(4, 1);
    b.AppendString("Logo", Nul::Exclude);
    b.AppendInt(3, 1);
    b.AppendString("BMP", Nul::Exclude);
    b.AppendInt(1, 4);
    b.AppendString("Data", Nul::Exclude);
    b.AppendInt(12, 4);
    b.AppendInt(1, 4);
    b.AppendString("File", Nul::Exclude);
    b.AppendInt(9, 1);
    b.AppendString("LOGO.BMP", Nul::Include);
    b.WriteInt(0, b.Size(), 4);
    return b;
}

}  // namespace

TEST(MediaEntry, RoundTripsEveryFieldInTheCurrentLayout)
{
    MediaEntry e = Make(42, "Intro", "Video", { { "Data", 29 }, { "Hots", 30 } }, { { "File", "D:\\VIDEO\\INTRO.AVI" } });
    e.encoding = 2;
    e.storedSize = 12345;
    e.cacheFlag = 3;
    MemoryBlock block(0);
    ASSERT_EQ(e.AppendTo(block), e.EncodedSize());
    EXPECT_EQ(block.ReadInt(0, 4), block.Size());
    // The path is stored with its NUL and the length byte counts it.
    int32_t at = block.Find(0, "D:\\VIDEO", 8, Exact::Yes, Direction::Forward);
    ASSERT_GT(at, 0);
    EXPECT_EQ(block.ReadInt(at - 1, 1), 19);

    MediaEntry back;
    ASSERT_EQ(MediaEntry::Parse(block, 0, back), 1);
    EXPECT_EQ(back.id, 42u);
    EXPECT_EQ(back.name, "Intro");
    EXPECT_EQ(back.type, "Video");
    ASSERT_EQ(back.parts.size(), 2u);
    EXPECT_EQ(back.parts[1].tag, "Hots");
    EXPECT_EQ(back.parts[1].recordId, 30u);
    ASSERT_EQ(back.externals.size(), 1u);
    EXPECT_EQ(back.externals[0].tag, "File");
    EXPECT_EQ(back.externals[0].path, "D:\\VIDEO\\INTRO.AVI");
    EXPECT_EQ(back.encoding, 2);
    EXPECT_EQ(back.storedSize, 12345);
    EXPECT_EQ(back.cacheFlag, 3);
}

TEST(MediaEntry, OptionalFieldsReadAsDefaultsWhereTheLengthEnds)
{
    MemoryBlock block = EntryWithoutOptionalFields(5);
    MediaEntry e;
    ASSERT_EQ(MediaEntry::Parse(block, 0, e), 1);
    EXPECT_EQ(e.encoding, 0);
    EXPECT_EQ(e.storedSize, -1);
    EXPECT_EQ(e.cacheFlag, 0);
    EXPECT_EQ(e.externals.at(0).path, "LOGO.BMP");

    // Encoding present, stored size cut in half: only the encoding counts.
    block.AppendInt(2, 1);
    block.AppendInt(0x7777, 2);
    block.WriteInt(0, block.Size(), 4);
    ASSERT_EQ(MediaEntry::Parse(block, 0, e), 1);
    EXPECT_EQ(e.encoding, 2);
    EXPECT_EQ(e.storedSize, -1);
    EXPECT_EQ(e.cacheFlag, 0);
}

TEST(MediaEntry, DamagedEntriesAreRejectedWithoutReadingPastThem)
{
    MemoryBlock good = EntryWithoutOptionalFields(5);
    MediaEntry e;
    struct Damage {
        const char* what;
        int32_t offset;
        int32_t value;
        int width;
    };
    const Damage damages[] = {
        { "length past the block", 0, 1000, 4 },
        { "length below the smallest entry", 0, 3, 4 },
        { "negative length", 0, -8, 4 },
        { "name longer than the entry", 8, 200, 1 },
        { "part count that lies", 17, 0x10000000, 4 },
        { "negative part count", 17, -1, 4 },
        { "external count that lies", 29, 7, 4 },
        { "path length past the entry", 37, 250, 1 },
    };
    for (const auto& d : damages) {
        MemoryBlock b = good;
        b.WriteInt(d.offset, d.value, d.width);
        EXPECT_EQ(MediaEntry::Parse(b, 0, e), 0) << d.what;
    }
    EXPECT_EQ(MediaEntry::Parse(good, -1, e), 0);
    EXPECT_EQ(MediaEntry::Parse(good, good.Size() - 4, e), 0);
}

TEST(MediaCatalog, LooksUpByIdNameAndPosition)
{
    MediaCatalog catalog;
    ASSERT_EQ(catalog.Add(Make(7, "Main", "Interface", { { "Data", 1 } })), 1);
    ASSERT_EQ(catalog.Add(Make(3, "Logo", "Graphic", { { "Data", 29 }, { "Hots", 30 }, { "Mode", 31 } })), 1);
    ASSERT_EQ(catalog.Add(Make(9, "main", "Graphic")), 1);
    EXPECT_EQ(catalog.Add(Make(3, "Again", "Text")), 0) << "ids are unique";

    MediaEntry e;
    EXPECT_EQ(catalog.Count(), 3);
    ASSERT_EQ(catalog.Find(3, e), 1);
    EXPECT_EQ(e.parts[1].recordId, 30u);
    EXPECT_EQ(catalog.Find(4, e), 0);

    ASSERT_EQ(catalog.FindByName("MAIN", "interface", e), 1);
    EXPECT_EQ(e.id, 7u);
    ASSERT_EQ(catalog.FindByName("main", "GRAPHIC", e), 1);
    EXPECT_EQ(e.id, 9u);
    ASSERT_EQ(catalog.FindByName("main", "", e), 1);
    EXPECT_EQ(e.id, 7u) << "the first in catalogue order";
    EXPECT_EQ(catalog.FindByName("Logo", "Text", e), 0);

    ASSERT_EQ(catalog.Nth(2, e), 1);
    EXPECT_EQ(e.id, 9u);
    EXPECT_EQ(catalog.Nth(3, e), 0);
    EXPECT_EQ(catalog.Nth(-1, e), 0);
    EXPECT_EQ(catalog.NextId(), 10u);
}

TEST(MediaCatalog, EditsKeepTheTableInStep)
{
    MediaCatalog catalog;
    catalog.Add(Make(1, "A", "Text"));
    catalog.Add(Make(2, "B", "Text"));
    catalog.Add(Make(3, "C", "Text"));
    MediaEntry e;
    ASSERT_EQ(catalog.Find(3, e), 1);  // builds the table

    MediaEntry longer = Make(2, "A much longer name than before", "Text", { { "Text", 4 } });
    ASSERT_EQ(catalog.Replace(longer), 1);
    ASSERT_EQ(catalog.Find(3, e), 1);
    EXPECT_EQ(e.name, "C");
    ASSERT_EQ(catalog.Nth(1, e), 1);
    EXPECT_EQ(e.name, longer.name);

    ASSERT_EQ(catalog.Remove(1), 1);
    EXPECT_EQ(catalog.Remove(1), 0);
    EXPECT_EQ(catalog.Ids(), (std::vector<uint32_t> { 2, 3 }));
    EXPECT_EQ(catalog.Replace(Make(99, "X", "Text")), 0);
}

TEST(MediaCatalog, WalkStopsAtDamageAndAddsAfterTheLastGoodEntry)
{
    MediaCatalog built;
    built.Add(Make(1, "A", "Text"));
    built.Add(Make(2, "B", "Text"));
    MemoryBlock block = built.Block();
    int32_t second = block.ReadInt(0, 4);
    block.WriteInt(second, 0, 4);  // a zero length would never advance the walk

    MediaCatalog catalog(block);
    EXPECT_EQ(catalog.Count(), 1);
    MediaEntry e;
    EXPECT_EQ(catalog.Find(2, e), 0);
    ASSERT_EQ(catalog.Add(Make(5, "E", "Text")), 1);
    ASSERT_EQ(catalog.Find(5, e), 1);
    EXPECT_EQ(catalog.Count(), 2);
}
