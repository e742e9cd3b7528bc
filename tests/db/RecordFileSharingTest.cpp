// Two RecordFiles on one real file stand for two processes sharing a database.
#include <gtest/gtest.h>

#include <filesystem>

#include "db/RecordFile.h"
#include "db/RecordFileTestSupport.h"

namespace tamber {
namespace {

using namespace test;

std::string TempDatabase(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() /
               ("tamber-db-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return (dir / "shared.mmdb").string();
}

TEST(RecordFileSharing, TwoOpenFilesSeeEachOthersWritesWithinOneSecond)
{
    const auto path = TempDatabase("share");
    RecordFile a;
    RecordFile b;
    ASSERT_EQ(a.Open(path), 1);
    ASSERT_EQ(b.Open(path), 1);
    // Rewrites in place within the slack, many within one second: the file keeps its length
    // and only the timestamps tell that the record's length changed.
    a.SetSlack(64);
    b.SetSlack(64);
    ASSERT_EQ(a.WriteRecord(Filled(100, 0), "MMData", 1, 0), 1);
    for (int round = 0; round < 50; ++round) {
        int32_t size = 100 + round % 30;
        ASSERT_EQ(a.WriteRecord(Filled(size, uint8_t(round)), "MMData", 1, 0), 1);
        ASSERT_EQ(Read(b, "MMData", 1), Filled(size, uint8_t(round)).ToString()) << round;
        ASSERT_EQ(b.WriteRecord(Filled(size + 1, uint8_t(round + 100)), "MMData", 1, 0), 1);
        ASSERT_EQ(Read(a, "MMData", 1), Filled(size + 1, uint8_t(round + 100)).ToString()) << round;
    }
    ASSERT_EQ(a.WriteRecord(Bytes("new"), "MMEntry", 3, 0), 1);
    EXPECT_EQ(b.RecordExists("MMEntry", 3), 1);
    EXPECT_EQ(b.NextRecordId("MMEntry"), 4u);
    ASSERT_EQ(b.DeleteRecord("MMEntry", 3), 1);
    EXPECT_EQ(a.RecordExists("MMEntry", 3), 0);
    // Nothing changed since: no reload.
    EXPECT_EQ(a.Refresh(), 0);
    EXPECT_EQ(a.RecordExists("MMData", 1), 1);

    // A batch in one is seen by the other once it ends.
    ASSERT_EQ(a.BeginBatch(), 1);
    for (uint32_t id = 10; id < 20; ++id)
        ASSERT_EQ(a.WriteRecord(Filled(30, uint8_t(id)), "MMData", id, 0), 1);
    ASSERT_EQ(a.EndBatch(), 1);
    EXPECT_EQ(b.CountRecords("MMData"), 11);
    EXPECT_EQ(Read(b, "MMData", 19), Filled(30, 19).ToString());
    std::filesystem::remove_all(std::filesystem::path(path).parent_path());
}

}  // namespace
}  // namespace tamber
