#include <gtest/gtest.h>

#include <random>

#include "db/FullTextFormat.h"
#include "db/FullTextIndex.h"
#include "db/FullTextMemoryStore.h"

using namespace tamber;
using namespace tamber::fulltext;

namespace {

// A posting written byte by byte as the leaf layout has it: positions as 5-byte items.
void AppendPosting(MemoryBlock& entry, int32_t media, uint16_t granule, std::initializer_list<uint32_t> positions)
{
    entry.AppendInt(media, 4);
    entry.AppendInt(0x7777, 2);  // reserved: carried through untouched
    entry.AppendInt(granule, 2);
    entry.AppendInt(static_cast<int32_t>(positions.size() * 5), 2);
    for (uint32_t p : positions) {
        entry.AppendInt(0, 1);
        entry.AppendInt(static_cast<int32_t>(p), 4);
    }
}

void AppendEntry(MemoryBlock& leaf, std::string_view word, const MemoryBlock& postings)
{
    leaf.AppendInt(1 + static_cast<int32_t>(word.size()) + 1 + postings.Size(), 4);
    leaf.AppendInt(0x55, 1);
    leaf.AppendString(word, Nul::Include);
    leaf.Append(postings);
}

// Two leaves: "apple" opens leaf 1 (apple, banana), "melon" opens leaf 2 (melon, plum).
FullTextMemoryStore HandMadeIndex()
{
    FullTextMemoryStore store;
    MemoryBlock keys;
    keys.AppendInt(2, 4);
    keys.AppendString("Apple", Nul::Include);  // keys compare without regard to case
    keys.AppendString("melon", Nul::Include);
    store.WriteRecord(keys, kBuildRecord, kBuildKeysId);

    MemoryBlock leaf1, p;
    leaf1.AppendString("apple", Nul::Include);
    AppendPosting(p, 3, 2, {4, 9});
    AppendPosting(p, 7, 1, {0});
    AppendEntry(leaf1, "apple", p);
    p.Clear();
    AppendPosting(p, 9, 2, {1});
    AppendEntry(leaf1, "banana", p);
    store.WriteRecord(leaf1, kLeafRecord, 1);

    MemoryBlock leaf2;
    leaf2.AppendString("melon", Nul::Include);
    p.Clear();
    AppendPosting(p, 5, 2, {2});
    AppendEntry(leaf2, "melon", p);
    p.Clear();
    AppendEntry(leaf2, "plum", p);
    store.WriteRecord(leaf2, kLeafRecord, 2);

    MemoryBlock fields;
    fields.AppendPString("Date");
    fields.AppendInt(4, 4);
    fields.AppendPString("Price");
    fields.AppendInt(6, 4);
    fields.AppendPString("Title");
    fields.AppendInt(1, 4);
    store.WriteRecord(fields, kFieldIdRecord, kTableId);

    MemoryBlock dates;
    dates.AppendInt(2, 4);
    for (auto [media, m, d, y] : {std::tuple{3, 1, 15, 1996}, std::tuple{7, 12, 31, 1999}}) {
        dates.AppendInt(media, 4);
        dates.AppendInt(0, 2);
        dates.AppendInt(kFieldDate, 1);
        dates.AppendInt(m, 1);
        dates.AppendInt(d, 1);
        dates.AppendInt(y, 2);
    }
    store.WriteRecord(dates, kHashRecord, 4);

    MemoryBlock prices;
    prices.AppendInt(2, 4);
    prices.AppendInt(3, 4);
    prices.AppendInt(0, 2);
    prices.AppendInt(kFieldNumber, 1);
    prices.AppendInt(3, 4);
    prices.AppendInt(500000000, 4);
    prices.AppendInt(7, 4);
    prices.AppendInt(0, 2);
    prices.AppendInt(kFieldString, 1);
    prices.AppendInt(4, 1);
    prices.Append("free", 4);
    store.WriteRecord(prices, kHashRecord, 6);
    return store;
}

std::string PostingWord(const MemoryBlock& block, int32_t offset)
{
    std::string word;
    block.ReadPString(offset, word);
    return word.c_str();
}

}  // namespace

TEST(FullTextIndex, WordPostingsBlockCarriesWordAndPostingBytes)
{
    FullTextMemoryStore store = HandMadeIndex();
    FullTextIndex index(store);
    MemoryBlock postings;
    ASSERT_EQ(index.WordPostings("Apple", postings), 2);
    EXPECT_EQ(postings.ReadInt(0, 4), 2);
    // First posting: "apple" as a length-prefixed string, then media 3, reserved, granule 2, 10 bytes.
    EXPECT_EQ(postings.ReadInt(4, 1), 6);
    EXPECT_EQ(PostingWord(postings, 4), "apple");
    int32_t at = 4 + 7;
    EXPECT_EQ(postings.ReadInt(at, 4), 3);
    EXPECT_EQ(postings.ReadInt(at + 4, 2) & 0xFFFF, 0x7777);
    EXPECT_EQ(postings.ReadInt(at + 6, 2), 2);
    EXPECT_EQ(postings.ReadInt(at + 8, 2), 10);
    EXPECT_EQ(postings.ReadInt(at + 10 + 5 + 1, 4), 9);
    at += 10 + 10;
    EXPECT_EQ(PostingWord(postings, at), "apple");
    EXPECT_EQ(postings.ReadInt(at + 7, 4), 7);
    EXPECT_EQ(postings.Size(), at + 7 + 10 + 5);

    EXPECT_EQ(index.WordPostings("MELON", postings), 1);
    EXPECT_EQ(index.WordPostings("plum", postings), 0);  // an entry without postings
    EXPECT_EQ(postings.ReadInt(0, 4), 0);
}

TEST(FullTextIndex, WordsOutsideTheirLeafFindNothing)
{
    FullTextMemoryStore store = HandMadeIndex();
    FullTextIndex index(store);
    MemoryBlock postings;
    EXPECT_EQ(index.LeafFor("aardvark"), 0);
    EXPECT_EQ(index.WordPostings("aardvark", postings), 0);  // before the first key
    EXPECT_EQ(postings.ReadInt(0, 4), 0);
    EXPECT_EQ(index.LeafFor("cherry"), 1);
    EXPECT_EQ(index.WordPostings("cherry", postings), 0);  // sorts after every entry of leaf 1
    EXPECT_EQ(index.WordPostings("apples", postings), 0);  // scan stops at "banana"
    EXPECT_EQ(index.LeafFor("zebra"), 2);
    EXPECT_EQ(index.WordPostings("zebra", postings), 0);
}

TEST(FullTextIndex, KeysAreReadOnceAndOneLeafPerWord)
{
    FullTextMemoryStore store = HandMadeIndex();
    FullTextIndex index(store);
    MemoryBlock postings;
    index.WordPostings("apple", postings);
    int32_t reads = store.ReadCount();
    EXPECT_EQ(reads, 2);  // the keys and leaf 1
    index.WordPostings("melon", postings);
    EXPECT_EQ(store.ReadCount(), reads + 1);
}

TEST(FullTextIndex, MediaFieldFormatsEachKind)
{
    FullTextMemoryStore store = HandMadeIndex();
    FullTextIndex index(store);
    std::string value;
    EXPECT_EQ(index.MediaField(3, "date", value), 1);
    EXPECT_EQ(value, "1/15/1996");
    EXPECT_EQ(index.MediaField(3, "Price", value), 1);
    EXPECT_EQ(value, "3.500000");
    EXPECT_EQ(index.MediaField(7, "PRICE", value), 1);
    EXPECT_EQ(value, "free");
    EXPECT_EQ(index.MediaField(5, "Price", value), 0);  // no entry for the medium
    EXPECT_EQ(index.MediaField(3, "Colour", value), 0);  // no such field
    EXPECT_EQ(index.MediaField(3, "Title", value), 0);   // a field without a value table
    EXPECT_EQ(index.FieldId("title"), 1);
    EXPECT_EQ(index.GranuleId("Body"), -1);  // no granule table at all
}

TEST(FullTextIndex, BuiltNeedsKeysAndFieldTableExceptOnCdRom)
{
    FullTextMemoryStore fixed;
    EXPECT_EQ(FullTextIndex(fixed).IsBuilt(), 0);
    fixed.WriteRecord(MemoryBlock(4), kBuildRecord, kBuildKeysId);
    EXPECT_EQ(FullTextIndex(fixed).IsBuilt(), 0);
    fixed.WriteRecord(MemoryBlock(), kFieldIdRecord, kTableId);
    EXPECT_EQ(FullTextIndex(fixed).IsBuilt(), 1);

    FullTextMemoryStore cd(DriveKind::CdRom);
    cd.WriteRecord(MemoryBlock(4), kBuildRecord, kBuildKeysId);
    EXPECT_EQ(FullTextIndex(cd).IsBuilt(), 1);
}

TEST(FullTextIndex, CdRomReusesTheLastFieldTable)
{
    FullTextMemoryStore cd(DriveKind::CdRom);
    FullTextMemoryStore fixed;
    for (FullTextMemoryStore* s : {&cd, &fixed}) {
        FullTextMemoryStore made = HandMadeIndex();
        for (auto [name, id] : {std::pair{kFieldIdRecord, kTableId}, std::pair{kHashRecord, 4u}})
            s->WriteRecord(*made.Find(name, id), name, id);
    }
    FullTextIndex onCd(cd);
    FullTextIndex onDisk(fixed);
    std::string value;
    onCd.MediaField(3, "Date", value);
    onDisk.MediaField(3, "Date", value);
    int32_t cdReads = cd.ReadCount();
    int32_t diskReads = fixed.ReadCount();
    onCd.MediaField(7, "Date", value);
    onDisk.MediaField(7, "Date", value);
    EXPECT_EQ(value, "12/31/1999");
    EXPECT_EQ(cd.ReadCount() - cdReads, 1);      // the name table only
    EXPECT_EQ(fixed.ReadCount() - diskReads, 2);  // the name table and the values
}

TEST(FullTextIndex, DamagedRecordsGiveEmptyOrPartialResultsWithoutCrashing)
{
    std::mt19937 random(7);
    for (int round = 0; round < 400; ++round) {
        FullTextMemoryStore store = HandMadeIndex();
        struct Target {
            const char* name;
            uint32_t id;
        };
        const Target targets[] = {{kLeafRecord, 1}, {kLeafRecord, 2}, {kBuildRecord, 0}, {kHashRecord, 4},
            {kHashRecord, 6}, {kFieldIdRecord, 0}};
        const Target& t = targets[round % std::size(targets)];
        MemoryBlock* block = store.Find(t.name, t.id);
        ASSERT_NE(block, nullptr);
        int action = static_cast<int>(random() % 3);
        if (action == 0 && block->Size() > 0) {
            block->Resize(static_cast<int32_t>(random() % block->Size()));
        } else {
            for (int k = 0; k < 4 && block->Size() > 0; ++k)
                *block->Data(static_cast<int32_t>(random() % block->Size())) = static_cast<uint8_t>(random());
        }
        FullTextIndex index(store);
        MemoryBlock postings;
        for (const char* word : {"apple", "banana", "melon", "plum", "zzz"}) {
            int32_t count = index.WordPostings(word, postings);
            EXPECT_GE(count, 0);
            EXPECT_EQ(postings.ReadInt(0, 4), count);
        }
        std::string value;
        for (int32_t media : {3, 5, 7})
            index.MediaField(media, "Date", value), index.MediaField(media, "Price", value);
    }
}
