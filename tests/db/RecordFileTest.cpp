#include "db/RecordFile.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "db/PayloadCodec.h"
#include "db/RecordFileFormat.h"
#include "db/RecordFileTestSupport.h"
#include "platform/FaultInjectionFileSystem.h"

namespace tamber {
namespace {

using namespace test;
using namespace recordfile;

class RecordFileTest : public ::testing::Test {
protected:
    MemoryFileSystem fs;
    std::vector<uint8_t> Disk() { return fs.Contents("/db"); }

    // Writes MMData 0 to 2, 50 bytes each, and answers the file's bytes.
    std::vector<uint8_t> WriteThree()
    {
        RecordFile file(fs);
        EXPECT_EQ(file.Open("/db"), 1);
        for (uint32_t i = 0; i < 3; ++i)
            EXPECT_EQ(file.WriteRecord(Filled(50, uint8_t(i)), "MMData", i, 0), 1);
        return Disk();
    }
};

TEST_F(RecordFileTest, NewFileGetsFreshHeaderAndEmptyDirectoryAt256)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    auto disk = Disk();
    ASSERT_EQ(disk.size(), 264u);
    EXPECT_EQ(std::string(disk.begin(), disk.begin() + 2), "RS");
    EXPECT_EQ(Le32(disk, kVersionOffset), 512);
    EXPECT_EQ(Le32(disk, kDirectoryOffsetOffset), 256);
    EXPECT_EQ(Le32(disk, 256), 4);      // length word
    EXPECT_EQ(Le32(disk, 260), 0);      // entry count
    EXPECT_EQ(Le32(disk, kEndOfDataOffset), 264);
    EXPECT_EQ(Le32(disk, kCreatedOffset), static_cast<int32_t>(fs.CurrentTime()));
    EXPECT_EQ(file.Info().recordCount, 0);
}

TEST_F(RecordFileTest, ReadsBackWhatWasWrittenWithNamesIgnoringCase)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    ASSERT_EQ(file.WriteRecord(Bytes("hello"), "MMData", 7, 0), 1);
    ASSERT_EQ(file.WriteRecord(Bytes(""), "MMEntry", 0, 0), 1);
    EXPECT_EQ(Read(file, "mmdata", 7), "hello");
    EXPECT_EQ(Read(file, "MMDATA", 7), "hello");
    EXPECT_EQ(Read(file, "MMEntry", 0), "");
    EXPECT_EQ(Read(file, "MMData", 8), "<absent>");
    EXPECT_EQ(file.RecordExists("mMdAtA", 7), 1);
    EXPECT_EQ(file.RecordExists("MMDat", 7), 0);
    EXPECT_EQ(file.RecordLength("MMData", 7), 5);
    EXPECT_EQ(file.RecordLength("MMData", 9), 0);
    EXPECT_EQ(file.RecordDataOffset("MMData", 7), 256 + 32);
    EXPECT_EQ(file.RecordDataOffset("MMData", 9), 0);
    EXPECT_EQ(file.RecordTime("MMData", 7), static_cast<uint32_t>(fs.CurrentTime()));
    EXPECT_EQ(file.RecordTime("MMData", 9), 0u);
    EXPECT_EQ(file.Info().nameCount, 2);

    // Names are 1 to 8 letters; a name that a scan would stop at is refused.
    EXPECT_EQ(file.WriteRecord(Bytes("x"), "MM2", 1, 0), 0);
    EXPECT_EQ(file.WriteRecord(Bytes("x"), "", 1, 0), 0);
    EXPECT_EQ(file.WriteRecord(Bytes("x"), "MMDataLonger", 1, 0), 1);
    EXPECT_EQ(Read(file, "MMDataLo", 1), "x");

    RecordFile again(fs);
    ASSERT_EQ(again.Open("/db"), 1);
    EXPECT_EQ(Read(again, "MMData", 7), "hello");
    EXPECT_EQ(again.Info().nameCount, 3);
}

// 157 records without long names whose directory starts at 250,295.
void Write157(RecordFile& file)
{
    const int32_t payloadBytes = 250295 - 256 - 157 * 32;
    for (int i = 0; i < 157; ++i) {
        int32_t size = i < 156 ? payloadBytes / 157 : payloadBytes - 156 * (payloadBytes / 157);
        ASSERT_EQ(file.WriteRecord(Filled(size, uint8_t(i)), "MMData", uint32_t(i), 0), 1);
    }
}

TEST_F(RecordFileTest, EndOfDataFollowsTheDirectory)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    Write157(file);
    auto disk = Disk();
    EXPECT_EQ(Le32(disk, kDirectoryOffsetOffset), 250295);
    EXPECT_EQ(Le32(disk, kEndOfDataOffset), 256112);
    EXPECT_EQ(Le32(disk, 250295), 5813);
    EXPECT_EQ(Le32(disk, 250299), 157);
    EXPECT_EQ(Le32(disk, kRecordCountOffset), 157);
    EXPECT_EQ(Le32(disk, kNameCountOffset), 1);
    EXPECT_EQ(disk.size(), 256112u);
}

TEST_F(RecordFileTest, FindsTheContainerBehindAPlayerTrailer)
{
    {
        RecordFile file(fs);
        ASSERT_EQ(file.Open("/db"), 1);
        Write157(file);
    }
    const int32_t base = 1526784;
    std::vector<uint8_t> player(base, 0x90);
    player[0] = 'M';
    player[1] = 'Z';
    auto db = Disk();
    player.insert(player.end(), db.begin(), db.end());
    player.push_back('J');
    player.push_back('M');
    player.resize(player.size() + 4);
    PutLe32(player, player.size() - 4, base);
    ASSERT_EQ(player.size(), 1782902u);

    for (std::string path : {"/bin/PLAYER.EXE", "/bin/tamber"}) {
        fs.SetContents(path, player);
        fs.SetOwnProgram("/bin/tamber");
        RecordFile file(fs);
        ASSERT_EQ(file.Open(path), 1) << path;
        EXPECT_EQ(file.BaseOffset(), base);
        EXPECT_TRUE(file.IsEmbedded());
        EXPECT_EQ(file.RecordDataOffset("MMData", 0), 1527040 + 32);
        uint32_t id = 0;
        int32_t length = 0;
        ASSERT_EQ(file.NthRecord("MMData", 157, id, length), 1);
        MemoryBlock last;
        ASSERT_EQ(file.ReadRecord(last, "MMData", id), 1);
        EXPECT_EQ(last.Size(), length);
        EXPECT_EQ(last.Data()[0], 156);
        // Embedded containers are read-only and nothing is written to the player.
        EXPECT_EQ(file.WriteRecord(Bytes("x"), "MMData", 1, 0), 0);
        EXPECT_EQ(file.DeleteRecord("MMData", 1), 0);
        EXPECT_EQ(fs.Contents(path), player);
    }
    // Any other file name is read as a database of its own, which this is not.
    fs.SetContents("/bin/player.bin", player);
    RecordFile other(fs);
    EXPECT_EQ(other.Open("/bin/player.bin"), 0);
    EXPECT_FALSE(other.WrongPassword());
}

TEST_F(RecordFileTest, SplitsASlotRewrittenMuchSmaller)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    ASSERT_EQ(file.WriteRecord(Filled(1000, 1), "MMData", 1, 0), 1);
    ASSERT_EQ(file.WriteRecord(Filled(10, 2), "MMData", 2, 0), 1);
    ASSERT_EQ(file.WriteRecord(Filled(100, 3), "MMData", 1, 0), 1);
    auto entries = file.Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].offset, 256);
    EXPECT_EQ(entries[0].used, 100);
    EXPECT_EQ(entries[0].capacity, 100);
    EXPECT_EQ(entries[1].offset, 256 + 32 + 100);
    EXPECT_EQ(entries[1].used, -1);
    EXPECT_EQ(entries[1].capacity, 868);
    EXPECT_EQ(entries[2].offset, 256 + 32 + 1000);
    EXPECT_EQ(Read(file, "MMData", 1), Filled(100, 3).ToString());
    EXPECT_EQ(Read(file, "MMData", 2), Filled(10, 2).ToString());

    // With slack the slot keeps payload + slack, and a slot only splits when the rest is big
    // enough to be worth a record.
    file.SetSlack(50);
    ASSERT_EQ(file.WriteRecord(Filled(40, 4), "MMData", 1, 0), 1);
    entries = file.Entries();
    ASSERT_EQ(entries.size(), 3u);  // 40 + 32 + 100 >= 100: kept whole
    EXPECT_EQ(entries[0].capacity, 100);
    EXPECT_EQ(entries[0].used, 40);
}

TEST_F(RecordFileTest, GrowingARecordMovesItToTheBestFittingFreeRecord)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    // Free records of 200, 120, 150 and 120 bytes, kept apart by small records.
    int32_t sizes[] = {200, 120, 150, 120};
    for (uint32_t i = 0; i < 4; ++i) {
        ASSERT_EQ(file.WriteRecord(Filled(sizes[i], 1), "MMFree", i, 0), 1);
        ASSERT_EQ(file.WriteRecord(Filled(10, 2), "MMKeep", i, 0), 1);
    }
    ASSERT_EQ(file.WriteRecord(Filled(100, 3), "MMGrow", 0, 0), 1);
    ASSERT_EQ(file.WriteRecord(Filled(10, 2), "MMKeep", 9, 0), 1);
    for (uint32_t i = 0; i < 4; ++i)
        ASSERT_EQ(file.DeleteRecord("MMFree", i), 1);
    EXPECT_EQ(file.Info().nameCount, 2);
    int64_t firstOf120 = file.Entries()[2].offset;

    // 110 bytes no longer fit the record's 100: it moves to the first 120-byte free record.
    ASSERT_EQ(file.WriteRecord(Filled(110, 4), "MMGrow", 0, 0), 1);
    EXPECT_EQ(file.RecordDataOffset("MMGrow", 0), firstOf120 + 32);
    EXPECT_EQ(Read(file, "MMGrow", 0), Filled(110, 4).ToString());

    // Nothing free is big enough for 500 bytes: appended behind the last record.
    int64_t end = file.Info().directoryOffset;
    ASSERT_EQ(file.WriteRecord(Filled(500, 5), "MMGrow", 0, 0), 1);
    EXPECT_EQ(file.RecordDataOffset("MMGrow", 0), end + 32);
    EXPECT_EQ(file.Info().recordCount, static_cast<int32_t>(file.Entries().size()));
}

TEST_F(RecordFileTest, AppendedRecordsGetSlackAndReuseItInPlace)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    file.SetSlack(-5);
    EXPECT_EQ(file.Slack(), 0);
    file.SetSlack(64);
    ASSERT_EQ(file.WriteRecord(Filled(100, 1), "MMData", 1, 0), 1);
    ASSERT_EQ(file.WriteRecord(Filled(10, 1), "MMData", 2, 0), 1);
    EXPECT_EQ(file.Entries()[0].capacity, 164);
    ASSERT_EQ(file.WriteRecord(Filled(160, 2), "MMData", 1, 0), 1);
    EXPECT_EQ(file.RecordDataOffset("MMData", 1), 256 + 32);
    EXPECT_EQ(Read(file, "MMData", 1), Filled(160, 2).ToString());
}

TEST_F(RecordFileTest, DeletingMergesFreeSpaceAndShortensTheFile)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    for (uint32_t i = 0; i < 4; ++i)
        ASSERT_EQ(file.WriteRecord(Filled(100, uint8_t(i)), "MMData", i, 0), 1);
    size_t full = Disk().size();

    EXPECT_EQ(file.DeleteRecord("MMData", 1), 1);
    EXPECT_EQ(file.DeleteRecord("MMData", 1), 0);
    EXPECT_EQ(file.DeleteRecord("MMData", 2), 1);
    auto entries = file.Entries();
    ASSERT_EQ(entries.size(), 3u);  // the two free neighbours became one
    EXPECT_EQ(entries[1].used, -1);
    EXPECT_EQ(entries[1].capacity, 100 + 32 + 100);
    EXPECT_EQ(Disk().size(), full - 37);

    // The last record goes, and with it the free run before it.
    EXPECT_EQ(file.DeleteRecord("MMData", 3), 1);
    entries = file.Entries();
    ASSERT_EQ(entries.size(), 1u);
    auto disk = Disk();
    EXPECT_EQ(disk.size(), size_t(256 + 132 + 8 + 37));
    EXPECT_EQ(Le32(disk, kDirectoryOffsetOffset), 256 + 132);
    EXPECT_EQ(Le32(disk, kEndOfDataOffset), static_cast<int32_t>(disk.size()));
    EXPECT_EQ(Read(file, "MMData", 0), Filled(100, 0).ToString());
    EXPECT_EQ(file.Info().nameCount, 1);
    EXPECT_EQ(file.DeleteRecord("MMData", 0), 1);
    EXPECT_EQ(file.Info().nameCount, 0);
    EXPECT_EQ(Disk().size(), 264u);
}

TEST_F(RecordFileTest, CountsAndEnumeratesRecordsOfAName)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    EXPECT_EQ(file.NextRecordId("MMData"), 0u);
    for (uint32_t id : {0u, 5u, 2u})
        ASSERT_EQ(file.WriteRecord(Filled(int32_t(id) + 1, 0), "MMData", id, 0), 1);
    ASSERT_EQ(file.WriteRecord(Filled(3, 0), "MMEntry", 40, 0), 1);
    EXPECT_EQ(file.NextRecordId("mmdata"), 6u);
    EXPECT_EQ(file.NextRecordId("MMEntry"), 41u);
    EXPECT_EQ(file.NextRecordId("MMFoldr"), 0u);
    EXPECT_EQ(file.CountRecords("MMData"), 3);
    EXPECT_EQ(file.CountRecords("MMNotes"), 0);

    uint32_t id = 99;
    int32_t length = 99;
    ASSERT_EQ(file.NthRecord("MMData", 2, id, length), 1);  // file order: 0, 5, 2
    EXPECT_EQ(id, 5u);
    EXPECT_EQ(length, 6);
    ASSERT_EQ(file.NthRecord("MMData", 3, id, length), 1);
    EXPECT_EQ(id, 2u);
    EXPECT_EQ(file.NthRecord("MMData", 4, id, length), 0);
    EXPECT_EQ(file.NthRecord("MMData", 0, id, length), 0);
    EXPECT_EQ(file.NthRecord("MMData", -1, id, length), 0);

    EXPECT_EQ(file.RecordIds("mmDATA"), (std::vector<uint32_t>{0, 5, 2}));

    ASSERT_EQ(file.DeleteRecord("MMData", 5), 1);
    EXPECT_EQ(file.NextRecordId("MMData"), 3u);
    EXPECT_EQ(file.CountRecords("MMData"), 2);
    EXPECT_EQ(file.RecordIds("MMData"), (std::vector<uint32_t>{0, 2}));
    EXPECT_EQ(file.RecordIds("MMEntry"), (std::vector<uint32_t>{40}));
    EXPECT_TRUE(file.RecordIds("MMNotes").empty());
}

TEST_F(RecordFileTest, EncodesPayloadsAndKeepsTheEncodingOnRewrite)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    std::string text;
    while (text.size() < 4000)
        text += "the quick brown fox ";
    ASSERT_EQ(file.WriteRecord(Bytes(text), "MMData", 1, kMethodLzw), 1);
    EXPECT_LT(file.RecordLength("MMData", 1), 4000);
    EXPECT_EQ(file.RecordEncoding("MMData", 1), kMethodLzw);
    EXPECT_EQ(Read(file, "MMData", 1), text);
    MemoryBlock stored;
    ASSERT_EQ(file.ReadStoredRecord(stored, "MMData", 1), 1);
    EXPECT_EQ(stored.View().substr(0, 2), "CP");

    // A small payload is stored behind a header; RewriteRecord keeps the record's encoding.
    ASSERT_EQ(file.RewriteRecord(Bytes("abcd"), "MMData", 1), 1);
    EXPECT_EQ(file.RecordLength("MMData", 1), 16);
    EXPECT_EQ(file.RecordEncoding("MMData", 1), kMethodLzw);
    EXPECT_EQ(Read(file, "MMData", 1), "abcd");
    ASSERT_EQ(file.RewriteRecord(Bytes("new"), "MMData", 2), 1);
    EXPECT_EQ(file.RecordEncoding("MMData", 2), 0);

    // Data that does not shrink is stored as given, with encoding 0.
    MemoryBlock noise(2000);
    uint32_t x = 12345;
    for (int i = 0; i < 2000; ++i) {
        x = x * 1103515245 + 12345;
        noise.Data()[i] = uint8_t(x >> 16);
    }
    ASSERT_EQ(file.WriteRecord(noise, "MMData", 3, kMethodLzw), 1);
    EXPECT_EQ(file.RecordEncoding("MMData", 3), 0);
    EXPECT_EQ(file.RecordLength("MMData", 3), 2000);

    // Already-encoded bytes go in unchanged, once.
    MemoryBlock encoded = Bytes(text);
    ASSERT_EQ(EncodePayload(encoded, kMethodLzw), 1);
    file.MarkNextWriteEncoded(kMethodLzw);
    ASSERT_EQ(file.WriteRecord(encoded, "MMData", 4, 0), 1);
    EXPECT_EQ(file.RecordLength("MMData", 4), encoded.Size());
    EXPECT_EQ(Read(file, "MMData", 4), text);
    ASSERT_EQ(file.WriteRecord(Bytes("plain"), "MMData", 5, 0), 1);
    EXPECT_EQ(file.RecordEncoding("MMData", 5), 0);
    EXPECT_EQ(Read(file, "MMData", 5), "plain");
}

TEST_F(RecordFileTest, ChecksMagicVersionAndPassword)
{
    {
        RecordFile file(fs);
        ASSERT_EQ(file.Open("/db", "Secret"), 1);
        ASSERT_EQ(file.WriteRecord(Bytes("x"), "MMData", 1, 0), 1);
        EXPECT_TRUE(file.Info().hasPassword);
    }
    RecordFile file(fs);
    EXPECT_EQ(file.Open("/db", "sECRET"), 1);
    EXPECT_FALSE(file.WrongPassword());
    for (const char* wrong : {"", "Secret2", "Secre"}) {
        EXPECT_EQ(file.Open("/db", wrong), 0) << wrong;
        EXPECT_TRUE(file.WrongPassword());
        EXPECT_FALSE(file.IsOpen());
        EXPECT_EQ(file.RecordExists("MMData", 1), 0);
    }

    auto good = Disk();
    auto bad = good;
    bad[0] = 'X';
    fs.SetContents("/bad", bad);
    EXPECT_EQ(file.Open("/bad", "Secret"), 0);
    EXPECT_FALSE(file.WrongPassword());
    bad = good;
    PutLe32(bad, kVersionOffset, 513);
    fs.SetContents("/bad", bad);
    EXPECT_EQ(file.Open("/bad", "Secret"), 0);
    PutLe32(bad, kVersionOffset, 511);  // older versions open; their directory is rebuilt
    fs.SetContents("/bad", bad);
    EXPECT_EQ(file.Open("/bad", "Secret"), 1);
    EXPECT_EQ(Read(file, "MMData", 1), "x");
    EXPECT_EQ(file.LoadedDirectoryState(), DirectoryState::Missing);
}

TEST_F(RecordFileTest, OpenPoliciesDecideOnCreatingAndWriting)
{
    RecordFile file(fs);
    EXPECT_EQ(file.Open("/none", "", OpenPolicy::ReadOnly), 0);
    EXPECT_EQ(file.Open("/none", "", OpenPolicy::ExistingOnly), 0);
    EXPECT_FALSE(fs.Exists("/none"));
    ASSERT_EQ(file.Open("/db", "", OpenPolicy::CreateIfMissing), 1);
    ASSERT_EQ(file.WriteRecord(Bytes("x"), "MMData", 1, 0), 1);

    // A file that refuses writing opens read-only.
    fs.SetWritable("/db", false);
    ASSERT_EQ(file.Open("/db"), 1);
    EXPECT_TRUE(file.IsReadOnly());
    EXPECT_EQ(Read(file, "MMData", 1), "x");
    EXPECT_EQ(file.WriteRecord(Bytes("y"), "MMData", 1, 0), 0);
    EXPECT_EQ(file.DeleteRecord("MMData", 1), 0);
    EXPECT_EQ(file.BeginBatch(), 0);
    EXPECT_EQ(Read(file, "MMData", 1), "x");

    // Read-only opening never writes, even when the directory needs rebuilding.
    fs.SetWritable("/db", true);
    auto disk = Disk();
    PutLe32(disk, kDirectoryOffsetOffset, 0);
    fs.SetContents("/db", disk);
    ASSERT_EQ(file.Open("/db", "", OpenPolicy::ReadOnly), 1);
    EXPECT_EQ(Read(file, "MMData", 1), "x");
    EXPECT_EQ(Disk(), disk);
}

TEST_F(RecordFileTest, RebuildsAMissingOrDamagedDirectoryByScanning)
{
    const auto good = WriteThree();
    const int32_t directory = Le32(good, kDirectoryOffsetOffset);
    const int32_t secondEntryOffset = directory + 8 + 37 + 32;

    struct Damage {
        const char* what;
        void (*apply)(std::vector<uint8_t>&, int32_t directory, int32_t secondEntryOffset);
        DirectoryState state;
    };
    const Damage damages[] = {
        {"equal offsets", [](auto& d, int32_t, int32_t second) { PutLe32(d, second, 256); }, DirectoryState::Damaged},
        {"length word past the end", [](auto& d, int32_t dir, int32_t) { PutLe32(d, dir, 0x7FFFFFF0); }, DirectoryState::Damaged},
        {"directory offset past the end", [](auto& d, int32_t, int32_t) { PutLe32(d, kDirectoryOffsetOffset, 1 << 30); }, DirectoryState::Damaged},
        {"long name without end", [](auto& d, int32_t dir, int32_t) { for (int i = 0; i < 37 * 3; ++i) if (d[dir + 8 + i] == 0) d[dir + 8 + i] = 'A'; }, DirectoryState::Damaged},
        {"negative count", [](auto& d, int32_t dir, int32_t) { PutLe32(d, dir + 4, -1); }, DirectoryState::Damaged},
        {"no directory", [](auto& d, int32_t, int32_t) { PutLe32(d, kDirectoryOffsetOffset, 0); }, DirectoryState::Missing},
    };
    for (const Damage& damage : damages) {
        auto disk = good;
        damage.apply(disk, directory, secondEntryOffset);
        fs.SetContents("/db", disk);
        RecordFile file(fs);
        ASSERT_EQ(file.Open("/db"), 1) << damage.what;
        EXPECT_EQ(file.LoadedDirectoryState(), damage.state) << damage.what;
        for (uint32_t i = 0; i < 3; ++i)
            EXPECT_EQ(Read(file, "MMData", i), Filled(50, uint8_t(i)).ToString()) << damage.what;
        EXPECT_EQ(Disk(), good) << damage.what;  // the rebuilt directory was written back
    }
}

TEST_F(RecordFileTest, ScanStopsAtTheFirstImplausibleHeader)
{
    const auto good = WriteThree();
    const size_t second = 256 + 32 + 50;
    struct Damage {
        const char* what;
        size_t at;
        uint8_t value;
    };
    const Damage damages[] = {
        {"digit in the name", second + kNameOffset + 2, '4'},
        {"encoding 11", second + kEncodingOffset, 11},
        {"reserved byte", second + kReservedOffset + 3, 1},
        {"long-name flag 2", second + kLongNameFlagOffset, 2},
        {"time before 1993", second + kTimeOffset + 3, 0x2A},  // early 1992
        {"time in the future", second + kTimeOffset + 3, 0xF0},
        {"used above capacity", second + kUsedOffset + 1, 1},
        {"capacity past the end", second + kCapacityOffset + 2, 1},
    };
    for (const Damage& damage : damages) {
        auto disk = good;
        PutLe32(disk, kDirectoryOffsetOffset, 0);
        disk[damage.at] = damage.value;
        fs.SetContents("/db", disk);
        RecordFile file(fs);
        ASSERT_EQ(file.Open("/db"), 1) << damage.what;
        EXPECT_EQ(Read(file, "MMData", 0), Filled(50, 0).ToString()) << damage.what;
        EXPECT_EQ(file.RecordExists("MMData", 1), 0) << damage.what;
        EXPECT_EQ(file.RecordExists("MMData", 2), 0) << damage.what;
        EXPECT_EQ(file.Info().recordCount, 1) << damage.what;
        EXPECT_EQ(file.LoadedRecordCount(), 3) << damage.what;
    }
}

TEST_F(RecordFileTest, RebuildDirectoryFindsRecordsBeyondTheCount)
{
    // A sound directory that lists only the first record.
    auto disk = WriteThree();
    const int32_t directory = Le32(disk, kDirectoryOffsetOffset);
    PutLe32(disk, directory, 4 + 37);
    PutLe32(disk, directory + 4, 1);
    disk.resize(directory + 8 + 37);
    PutLe32(disk, kRecordCountOffset, 1);
    fs.SetContents("/db", disk);
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    EXPECT_EQ(file.CountRecords("MMData"), 1);
    ASSERT_EQ(file.RebuildDirectory(), 1);
    EXPECT_EQ(file.CountRecords("MMData"), 3);
    EXPECT_EQ(Read(file, "MMData", 2), Filled(50, 2).ToString());
}

TEST_F(RecordFileTest, BatchesWriteTheDirectoryOnceAtTheEnd)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    ASSERT_EQ(file.WriteRecord(Filled(300, 9), "MMData", 100, 0), 1);
    ASSERT_EQ(file.BeginBatch(), 1);
    EXPECT_EQ(file.BeginBatch(), 0);
    for (uint32_t i = 0; i < 20; ++i)
        ASSERT_EQ(file.WriteRecord(Filled(40, uint8_t(i)), "MMData", i, 0), 1);
    ASSERT_EQ(file.WriteRecord(Filled(10, 1), "MMData", 100, 0), 1);
    ASSERT_EQ(file.DeleteRecord("MMData", 3), 1);
    EXPECT_EQ(Le32(Disk(), kDirectoryOffsetOffset), 0);
    EXPECT_EQ(Read(file, "MMData", 7), Filled(40, 7).ToString());
    ASSERT_EQ(file.EndBatch(), 1);
    EXPECT_EQ(file.EndBatch(), 0);
    EXPECT_NE(Le32(Disk(), kDirectoryOffsetOffset), 0);

    RecordFile again(fs);
    ASSERT_EQ(again.Open("/db"), 1);
    EXPECT_EQ(again.LoadedDirectoryState(), DirectoryState::Valid);
    EXPECT_EQ(again.CountRecords("MMData"), 20);
    EXPECT_EQ(Read(again, "MMData", 100), Filled(10, 1).ToString());
    EXPECT_EQ(Read(again, "MMData", 19), Filled(40, 19).ToString());
    EXPECT_EQ(again.RecordExists("MMData", 3), 0);
}

TEST_F(RecordFileTest, ALongBatchWritesEachRecordOnceAndSurvivesACrash)
{
    FaultInjectionFileSystem counting(fs);
    RecordFile file(counting);
    ASSERT_EQ(file.Open("/db"), 1);
    ASSERT_EQ(file.WriteRecord(Filled(20, 1), "MMKeep", 1, 0), 1);
    ASSERT_EQ(file.BeginBatch(), 1);
    // More records than the count the header runs ahead by, so it must be raised on the way.
    constexpr uint32_t kRecords = 6000;
    int64_t before = counting.WriteCount();
    for (uint32_t id = 0; id < kRecords; ++id)
        ASSERT_EQ(file.WriteRecord(Filled(int32_t(id % 50), uint8_t(id)), "MMData", id, 0), 1);
    // One write per appended record; the header only now and then.
    EXPECT_LT(counting.WriteCount() - before, int64_t(kRecords) + 10);

    // The writer dies before EndBatch: a copy of the disk opens with every record.
    MemoryFileSystem crashed;
    crashed.SetContents("/db", Disk());
    RecordFile recovered(crashed);
    ASSERT_EQ(recovered.Open("/db"), 1);
    EXPECT_NE(recovered.LoadedDirectoryState(), DirectoryState::Valid);
    EXPECT_EQ(recovered.CountRecords("MMData"), int32_t(kRecords));
    EXPECT_EQ(Read(recovered, "MMKeep", 1), Filled(20, 1).ToString());
    for (uint32_t id : {0u, 4095u, 4096u, 4097u, kRecords - 1})
        EXPECT_EQ(Read(recovered, "MMData", id), Filled(int32_t(id % 50), uint8_t(id)).ToString()) << id;

    ASSERT_EQ(file.EndBatch(), 1);
    RecordFile again(fs);
    ASSERT_EQ(again.Open("/db"), 1);
    EXPECT_EQ(again.LoadedDirectoryState(), DirectoryState::Valid);
    EXPECT_EQ(again.CountRecords("MMData"), int32_t(kRecords));
    EXPECT_EQ(again.Info().recordCount, int32_t(kRecords) + 1);
}

TEST_F(RecordFileTest, PrefetchedRecordsAreServedWithoutTheFile)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    ASSERT_EQ(file.WriteRecord(Bytes("one"), "MMData", 1, 0), 1);
    ASSERT_EQ(file.WriteRecord(Bytes("two"), "MMData", 2, 0), 1);
    EXPECT_EQ(file.PrefetchRecord("MMData", 9), 0);
    ASSERT_EQ(file.PrefetchRecord("MMData", 1), 1);
    ASSERT_EQ(file.PrefetchRecord("mmdata", 1), 1);
    ASSERT_EQ(file.PrefetchRecord("MMData", 2), 1);
    // Writing empties the cache.
    ASSERT_EQ(file.WriteRecord(Bytes("three"), "MMData", 3, 0), 1);
    ASSERT_EQ(file.PrefetchRecord("MMData", 1), 1);

    fs.Remove("/db");
    EXPECT_EQ(Read(file, "MMData", 1), "one");
    EXPECT_EQ(Read(file, "MMData", 1), "<absent>");  // taken out of the cache by the first read
    EXPECT_EQ(Read(file, "MMData", 2), "<absent>");
}

TEST_F(RecordFileTest, TwoOpenFilesSeeEachOthersWritesEvenWithoutClockTicks)
{
    fs.SetClockStep(0);  // timestamps never move by themselves
    RecordFile a(fs);
    RecordFile b(fs);
    ASSERT_EQ(a.Open("/db"), 1);
    ASSERT_EQ(b.Open("/db"), 1);
    // Rewrites within the slack keep the file's length; only the stamp can tell.
    a.SetSlack(40);
    b.SetSlack(40);
    ASSERT_EQ(a.WriteRecord(Filled(20, 0), "MMData", 1, 0), 1);
    for (int32_t round = 0; round < 5; ++round) {
        ASSERT_EQ(a.WriteRecord(Filled(21 + round, uint8_t(round)), "MMData", 1, 0), 1);
        EXPECT_EQ(Read(b, "MMData", 1), Filled(21 + round, uint8_t(round)).ToString()) << round;
        ASSERT_EQ(b.WriteRecord(Filled(30 + round, uint8_t(round + 100)), "MMData", 1, 0), 1);
        EXPECT_EQ(Read(a, "MMData", 1), Filled(30 + round, uint8_t(round + 100)).ToString()) << round;
    }
    ASSERT_EQ(a.DeleteRecord("MMData", 1), 1);
    EXPECT_EQ(b.RecordExists("MMData", 1), 0);
    EXPECT_EQ(b.Refresh(), 0);
}

TEST_F(RecordFileTest, AQuietChangeCounterSparesLookingAtTheFile)
{
    fs.SetChangeCounters(true);
    fs.SetClockStep(0);
    RecordFile a(fs);
    RecordFile b(fs);
    ASSERT_EQ(a.Open("/db"), 1);
    ASSERT_EQ(b.Open("/db"), 1);
    a.SetSlack(40);
    ASSERT_EQ(a.WriteRecord(Filled(20, 0), "MMData", 1, 0), 1);
    int64_t before = fs.StatCalls();
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(b.RecordExists("MMData", 1), 1);
    EXPECT_LT(fs.StatCalls() - before, 1000);
    // Every change by the other is still seen at once.
    for (int32_t round = 0; round < 5; ++round) {
        ASSERT_EQ(a.WriteRecord(Filled(21 + round, uint8_t(round)), "MMData", 1, 0), 1);
        EXPECT_EQ(b.RecordLength("MMData", 1), 21 + round);
        ASSERT_EQ(b.DeleteRecord("MMData", 1), 1);
        EXPECT_EQ(a.RecordExists("MMData", 1), 0);
    }
}

TEST_F(RecordFileTest, GarbageAndTruncatedFilesNeverCrash)
{
    {
        RecordFile file(fs);
        ASSERT_EQ(file.Open("/db"), 1);
        for (uint32_t i = 0; i < 6; ++i)
            ASSERT_EQ(file.WriteRecord(Filled(30 + int32_t(i) * 40, uint8_t(i)), "MMData", i, i % 2 ? kMethodLzw : 0), 1);
    }
    const auto good = Disk();
    uint32_t x = 7;
    auto random = [&] {
        x = x * 1664525 + 1013904223;
        return x >> 8;
    };
    for (size_t cut = 0; cut <= good.size(); cut += 7) {
        std::vector<uint8_t> disk(good.begin(), good.begin() + cut);
        fs.SetContents("/t", disk);
        RecordFile file(fs);
        if (file.Open("/t", "", OpenPolicy::ReadOnly)) {
            for (const auto& entry : file.Entries()) {
                MemoryBlock block;
                file.ReadRecord(block, entry.name, entry.id);
            }
        }
    }
    for (int round = 0; round < 300; ++round) {
        auto disk = good;
        for (int flips = 0; flips < 1 + round % 8; ++flips)
            disk[2 + random() % (disk.size() - 2)] = static_cast<uint8_t>(random());
        fs.SetContents("/t", disk);
        RecordFile file(fs);
        if (!file.Open("/t"))
            continue;
        int readable = 0;
        for (const auto& entry : file.Entries()) {
            MemoryBlock block;
            readable += file.ReadRecord(block, entry.name, entry.id);
        }
        EXPECT_LE(readable, 6);
        file.WriteRecord(Bytes("after"), "MMData", 77, 0);
        EXPECT_EQ(Read(file, "MMData", 77), "after");
    }
}

TEST_F(RecordFileTest, RandomChangesAgreeWithAModelAndWithAFreshOpen)
{
    RecordFile file(fs);
    ASSERT_EQ(file.Open("/db"), 1);
    std::map<std::pair<std::string, uint32_t>, std::string> model;
    const char* names[] = {"MMData", "MMEntry", "MMFoldr"};
    uint32_t x = 2024;
    auto random = [&](uint32_t n) {
        x = x * 1664525 + 1013904223;
        return (x >> 8) % n;
    };
    bool inBatch = false;
    for (int step = 0; step < 1500; ++step) {
        std::string name = names[random(3)];
        uint32_t id = random(40);
        uint32_t action = random(20);
        if (action < 12) {
            file.SetSlack(static_cast<int32_t>(random(3) * 24));
            MemoryBlock payload = Filled(static_cast<int32_t>(random(4) == 0 ? random(3000) : random(200)), uint8_t(step));
            ASSERT_EQ(file.WriteRecord(payload, name, id, static_cast<int32_t>(random(3))), 1);
            model[{name, id}] = payload.ToString();
        } else if (action < 18) {
            EXPECT_EQ(file.DeleteRecord(name, id), model.erase({name, id}) ? 1 : 0);
        } else if (!inBatch) {
            ASSERT_EQ(file.BeginBatch(), 1);
            inBatch = true;
        } else {
            ASSERT_EQ(file.EndBatch(), 1);
            inBatch = false;
        }
        ASSERT_EQ(file.RecordExists(name, id), model.count({name, id}) ? 1 : 0) << step;
        if (step % 100 != 99)
            continue;
        RecordFile fresh(fs);
        ASSERT_EQ(fresh.Open("/db", "", OpenPolicy::ReadOnly), 1);
        for (RecordFile* f : {&file, &fresh}) {
            for (const auto& [key, bytes] : model)
                ASSERT_EQ(Read(*f, key.first, key.second), bytes) << step;
            std::set<std::string> used;
            for (const char* n : names) {
                int32_t count = 0;
                uint32_t next = 0;
                for (const auto& [key, bytes] : model)
                    if (key.first == n) {
                        ++count;
                        next = std::max(next, key.second + 1);
                        used.insert(n);
                    }
                EXPECT_EQ(f->CountRecords(n), count) << step;
                EXPECT_EQ(f->NextRecordId(n), next) << step;
            }
            EXPECT_EQ(f->Info().nameCount, static_cast<int32_t>(used.size())) << step;
            EXPECT_EQ(f->Info().recordCount, static_cast<int32_t>(f->Entries().size())) << step;
        }
        auto a = file.Entries();
        auto b = fresh.Entries();
        ASSERT_EQ(a.size(), b.size()) << step;
        for (size_t i = 0; i < a.size(); ++i)
            EXPECT_TRUE(a[i].offset == b[i].offset && a[i].used == b[i].used && a[i].capacity == b[i].capacity) << step;
    }
}

}  // namespace
}  // namespace tamber
