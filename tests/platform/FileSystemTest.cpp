#include "platform/FileSystem.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/FaultInjectionFileSystem.h"
#include "platform/MemoryFileSystem.h"

namespace tamber {
namespace {

std::string TempPath(const std::string& name)
{
    auto dir = std::filesystem::temp_directory_path() / ("tamber-fs-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return (dir / "file").string();
}

std::string ReadAll(File& file)
{
    std::string text(static_cast<size_t>(file.Length()), '\0');
    EXPECT_EQ(file.Read(0, text.data(), static_cast<int64_t>(text.size())), static_cast<int64_t>(text.size()));
    return text;
}

// What every implementation must do the same way.
void ExerciseFile(FileSystem& fs, const std::string& path)
{
    FileError error = FileError::None;
    EXPECT_EQ(fs.Open(path, FileMode::ReadWrite, &error), nullptr);
    EXPECT_EQ(error, FileError::NotFound);
    EXPECT_EQ(fs.Open(path, FileMode::ReadOnly, &error), nullptr);
    FileStamp stamp;
    EXPECT_EQ(fs.Stat(path, stamp), 0);

    auto file = fs.Open(path, FileMode::Create, &error);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(error, FileError::None);
    EXPECT_EQ(file->Length(), 0);
    EXPECT_EQ(file->Write(4, "abc", 3), 3);  // the gap reads as zeros
    EXPECT_EQ(ReadAll(*file), std::string("\0\0\0\0abc", 7));
    char buffer[10];
    EXPECT_EQ(file->Read(5, buffer, 10), 2);
    EXPECT_EQ(file->Read(50, buffer, 10), 0);
    EXPECT_EQ(file->Read(-1, buffer, 1), -1);
    EXPECT_EQ(file->Truncate(5), 1);
    EXPECT_EQ(ReadAll(*file), std::string("\0\0\0\0a", 5));

    // Another opening sees the bytes at once; a read-only one refuses to write.
    auto reader = fs.Open(path, FileMode::ReadOnly);
    ASSERT_NE(reader, nullptr);
    EXPECT_TRUE(reader->IsReadOnly());
    EXPECT_EQ(reader->Write(0, "x", 1), -1);
    EXPECT_EQ(reader->Truncate(0), 0);
    EXPECT_EQ(file->Write(0, "Z", 1), 1);
    EXPECT_EQ(ReadAll(*reader)[0], 'Z');

    // Stamps: the same through the path and the file; any write changes it or the length;
    // the modification time can be set to the nanosecond.
    FileStamp before, viaFile;
    ASSERT_EQ(fs.Stat(path, before), 1);
    ASSERT_EQ(file->Stamp(viaFile), 1);
    EXPECT_EQ(before, viaFile);
    EXPECT_EQ(before.length, 5);
    ASSERT_EQ(file->SetModifiedTime(before.modifiedNs + 123456789), 1);
    FileStamp after;
    ASSERT_EQ(fs.Stat(path, after), 1);
    EXPECT_EQ(after.modifiedNs, before.modifiedNs + 123456789);
    EXPECT_EQ(reader->SetModifiedTime(0), 0);

    uint32_t bits = 0;
    ASSERT_EQ(fs.SetPermissions(path, 0755), 1);
    ASSERT_EQ(fs.GetPermissions(path, bits), 1);
    EXPECT_EQ(bits, 0755u);
    EXPECT_FALSE(fs.IsOwnProgram(path));
    EXPECT_GT(fs.CurrentTime(), 1600000000);
}

TEST(FileSystem, PosixFilesBehaveAsSpecified)
{
    ExerciseFile(FileSystem::Native(), TempPath("posix"));
}

TEST(FileSystem, MemoryFilesBehaveLikePosixFiles)
{
    MemoryFileSystem fs;
    ExerciseFile(fs, "/dir/file");
}

TEST(FileSystem, PosixKnowsTheRunningProgramAndRefusesDirectories)
{
    auto self = std::filesystem::read_symlink("/proc/self/exe").string();
    EXPECT_TRUE(FileSystem::Native().IsOwnProgram(self));
    FileError error = FileError::None;
    auto dir = std::filesystem::path(TempPath("dir")).parent_path().string();
    EXPECT_EQ(FileSystem::Native().Open(dir, FileMode::ReadOnly, &error), nullptr);
    EXPECT_EQ(error, FileError::Other);
}

TEST(FileSystem, PosixStampsTellTwoQuickWritesApart)
{
    auto path = TempPath("stamp");
    auto file = FileSystem::Native().Open(path, FileMode::Create);
    ASSERT_NE(file, nullptr);
    FileStamp first, second;
    file->Write(0, "a", 1);
    ASSERT_EQ(FileSystem::Native().Stat(path, first), 1);
    // Same length, written again at once: at worst the timestamps tie, and then a writer moves
    // the modification time on by hand, as the record file does.
    file->Write(0, "b", 1);
    ASSERT_EQ(FileSystem::Native().Stat(path, second), 1);
    if (second == first) {
        ASSERT_EQ(file->SetModifiedTime(first.modifiedNs + 1), 1);
        ASSERT_EQ(FileSystem::Native().Stat(path, second), 1);
    }
    EXPECT_NE(second, first);
    EXPECT_GE(second.modifiedNs, first.modifiedNs);
}

TEST(FileSystem, ChangeCountersAreSharedPerFile)
{
    auto path = TempPath("counter");
    auto file = FileSystem::Native().Open(path, FileMode::Create);
    ASSERT_NE(file, nullptr);
    FileStamp stamp;
    ASSERT_EQ(file->Stamp(stamp), 1);
    auto one = FileSystem::Native().OpenChangeCounter(stamp);
    auto two = FileSystem::Native().OpenChangeCounter(stamp);
    ASSERT_NE(one, nullptr);
    ASSERT_NE(two, nullptr);
    uint64_t start = two->Value();
    EXPECT_EQ(one->Bump(), start);
    EXPECT_EQ(two->Value(), start + 1);

    MemoryFileSystem memory;
    EXPECT_EQ(memory.OpenChangeCounter(stamp), nullptr);
    memory.SetChangeCounters(true);
    auto a = memory.OpenChangeCounter(stamp);
    auto b = memory.OpenChangeCounter(stamp);
    a->Bump();
    EXPECT_EQ(b->Value(), 1u);
}

TEST(FileSystem, MemoryFilesWithoutWritePermissionOpenReadOnly)
{
    MemoryFileSystem fs;
    fs.SetContents("/f", {1, 2, 3});
    fs.SetWritable("/f", false);
    FileError error = FileError::None;
    EXPECT_EQ(fs.Open("/f", FileMode::ReadWrite, &error), nullptr);
    EXPECT_EQ(error, FileError::AccessDenied);
    EXPECT_EQ(fs.Open("/f", FileMode::Create, &error), nullptr);
    auto file = fs.Open("/f", FileMode::ReadOnly, &error);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Length(), 3);

    // A frozen clock leaves the modification time alone; the length still tells.
    fs.SetWritable("/f", true);
    fs.SetClockStep(0);
    auto writer = fs.Open("/f", FileMode::ReadWrite);
    FileStamp before, after;
    fs.Stat("/f", before);
    writer->Write(0, "x", 1);
    fs.Stat("/f", after);
    EXPECT_EQ(after.modifiedNs, before.modifiedNs);
    writer->Write(3, "y", 1);
    fs.Stat("/f", after);
    EXPECT_NE(after, before);
}

TEST(FileSystem, FaultInjectionLosesTheKthWriteAndAllLaterOnes)
{
    MemoryFileSystem memory;
    FaultInjectionFileSystem fs(memory);
    fs.SetFaultAt(3);
    auto file = fs.Open("/f", FileMode::Create);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(file->Write(0, "one", 3), 3);
    EXPECT_EQ(file->Write(3, "two", 3), 3);
    EXPECT_FALSE(fs.Crashed());
    EXPECT_EQ(file->Write(6, "three", 5), 5);  // reported done, but lost
    EXPECT_TRUE(fs.Crashed());
    EXPECT_EQ(file->Truncate(0), 1);
    EXPECT_EQ(file->SetModifiedTime(5), 1);
    auto other = fs.Open("/g", FileMode::Create);
    EXPECT_EQ(other->Write(0, "later", 5), 5);
    EXPECT_EQ(fs.WriteCount(), 5);

    auto bytes = memory.Contents("/f");
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "onetwo");
    EXPECT_TRUE(memory.Contents("/g").empty());
    FileStamp stamp;
    memory.Stat("/f", stamp);
    EXPECT_NE(stamp.modifiedNs, 5);
}

}  // namespace
}  // namespace tamber
