#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "tamberlyne/Verb.h"

namespace {

namespace fs = std::filesystem;

struct Result {
    int code;
    std::string out;
    std::string err;
};

class RecordVerbsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dir = fs::temp_directory_path() /
              ("tamber-verbs-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        db = (dir / "sample.mmdb").string();
    }
    void TearDown() override { fs::remove_all(dir); }

    Result Run(std::vector<std::string> args)
    {
        std::ostringstream out, err;
        int code = tamberlyne::RunTamberlyne(args, out, err);
        return {code, out.str(), err.str()};
    }

    std::string WriteFile(const std::string& name, const std::string& bytes)
    {
        std::string path = (dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    static std::string ReadFile(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    void Poke32(const std::string& path, size_t at, uint32_t value)
    {
        std::string bytes = ReadFile(path);
        for (int i = 0; i < 4; ++i)
            bytes[at + i] = static_cast<char>(value >> (8 * i));
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
    }

    std::string Text(size_t n)
    {
        std::string text;
        while (text.size() < n)
            text += "record payload " + std::to_string(text.size()) + "\n";
        return text.substr(0, n);
    }

    fs::path dir;
    std::string db;
};

TEST_F(RecordVerbsTest, PutCatRecordsAndRmWorkTogether)
{
    std::string big = Text(5000);
    auto bigFile = WriteFile("big.txt", big);
    auto smallFile = WriteFile("small.txt", "tiny");
    ASSERT_EQ(Run({"put", db, "MMData", "1", bigFile, "--encoding", "2"}).code, 0);
    ASSERT_EQ(Run({"put", db, "MMEntry", "7", smallFile, "--slack", "16"}).code, 0);
    ASSERT_EQ(Run({"put", db, "MMData", "2", smallFile}).code, 0);
    ASSERT_EQ(Run({"put", db, "MMData", "3", smallFile}).code, 0);

    Result cat = Run({"cat", db, "mmdata", "1"});
    EXPECT_EQ(cat.code, 0);
    EXPECT_EQ(cat.out, big);
    Result raw = Run({"cat", db, "MMData", "1", "--raw"});
    EXPECT_EQ(raw.out.substr(0, 2), "CP");
    EXPECT_LT(raw.out.size(), big.size());

    ASSERT_EQ(Run({"rm", db, "MMEntry", "7"}).code, 0);
    Result records = Run({"records", db});
    EXPECT_EQ(records.code, 0);
    std::istringstream lines(records.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "MMData 1 " + std::to_string(raw.out.size()) + " " + std::to_string(raw.out.size()) + " 2 256");
    int64_t freeAt = 256 + 32 + int64_t(raw.out.size());
    EXPECT_EQ(rows[1], "- 7 -1 20 0 " + std::to_string(freeAt));
    EXPECT_EQ(rows[2], "MMData 2 4 4 0 " + std::to_string(freeAt + 52));

    Result info = Run({"info", db});
    EXPECT_EQ(info.code, 0);
    EXPECT_NE(info.out.find("records       4\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("names         1\n"), std::string::npos);
    EXPECT_NE(info.out.find("password      no\n"), std::string::npos);
    EXPECT_NE(info.out.find("base offset   0\n"), std::string::npos);
    EXPECT_NE(info.out.find("end of data   " + std::to_string(fs::file_size(db)) + "\n"), std::string::npos);

    Result missing = Run({"rm", db, "MMEntry", "7"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.err, "tamberlyne: " + db + ": no record MMEntry 7\n");
    EXPECT_EQ(Run({"cat", db, "MMEntry", "7"}).code, 1);
}

TEST_F(RecordVerbsTest, ReadOnlyVerbsNeverCreateAFile)
{
    for (auto verb : {"info", "records", "verify"}) {
        Result r = Run({verb, db});
        EXPECT_EQ(r.code, 1) << verb;
        EXPECT_EQ(r.err, "tamberlyne: " + db + ": no such file\n") << verb;
    }
    EXPECT_EQ(Run({"cat", db, "MMData", "1"}).code, 1);
    EXPECT_EQ(Run({"rm", db, "MMData", "1"}).code, 1);
    EXPECT_FALSE(fs::exists(db));

    auto notDb = WriteFile("notes.txt", "plain text, not a database");
    Result r = Run({"info", notDb});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "tamberlyne: " + notDb + ": not a database (it does not start with \"RS\")\n");
    EXPECT_EQ(ReadFile(notDb), "plain text, not a database");
}

TEST_F(RecordVerbsTest, PasswordsAndUsageErrors)
{
    auto file = WriteFile("p.txt", "secret data");
    ASSERT_EQ(Run({"--password", "Open Sesame", "put", db, "MMData", "1", file}).code, 0);
    Result wrong = Run({"cat", db, "MMData", "1"});
    EXPECT_EQ(wrong.code, 1);
    EXPECT_EQ(wrong.err, "tamberlyne: " + db + ": Can't open the database without the correct password!\n");
    Result right = Run({"cat", db, "MMData", "1", "--password", "open sesame"});
    EXPECT_EQ(right.code, 0);
    EXPECT_EQ(right.out, "secret data");
    EXPECT_NE(Run({"info", db, "--password", "OPEN SESAME"}).out.find("password      yes"), std::string::npos);

    EXPECT_EQ(Run({"put", db, "MM9", "1", file}).code, 2);
    EXPECT_EQ(Run({"put", db, "MMData", "-1", file}).code, 2);
    EXPECT_EQ(Run({"put", db, "MMData", "4294967296", file}).code, 2);
    EXPECT_EQ(Run({"put", db, "MMData", "1", file, "--encoding", "11"}).code, 2);
    EXPECT_EQ(Run({"put", db, "MMData", "1", file, "--slack", "-3"}).code, 2);
    EXPECT_EQ(Run({"cat", db, "MMData"}).code, 2);
    EXPECT_EQ(Run({"info"}).code, 2);
    Result noSource = Run({"put", db, "MMData", "1", (dir / "absent").string()});
    EXPECT_EQ(noSource.code, 1);
    EXPECT_EQ(noSource.err, "tamberlyne: " + (dir / "absent").string() + ": cannot be read\n");
}

TEST_F(RecordVerbsTest, VerifyFindsDamageAndRepairRebuildsTheDirectory)
{
    auto big = WriteFile("big.txt", Text(3000));
    auto small = WriteFile("small.txt", "abc");
    ASSERT_EQ(Run({"put", db, "MMData", "1", big, "--encoding", "2"}).code, 0);
    ASSERT_EQ(Run({"put", db, "MMData", "2", small}).code, 0);
    Result good = Run({"verify", db});
    EXPECT_EQ(good.code, 0) << good.out;
    EXPECT_EQ(good.out, db + ": no problems\n");

    // The encoded payload loses its "CP" mark.
    std::string bytes = ReadFile(db);
    std::string damaged = bytes;
    damaged[256 + 32] = 'X';
    std::ofstream(db, std::ios::binary | std::ios::trunc) << damaged;
    Result bad = Run({"verify", db});
    EXPECT_EQ(bad.code, 1);
    EXPECT_NE(bad.out.find("record MMData 1 at 256: encoding 2 but the payload does not decode"), std::string::npos)
        << bad.out;
    EXPECT_NE(bad.out.find(db + ": 1 problem\n"), std::string::npos);

    // Without a directory offset: listed by verify, which does not write; fixed by --repair.
    std::ofstream(db, std::ios::binary | std::ios::trunc) << bytes;
    Poke32(db, 6, 0);
    std::string before = ReadFile(db);
    Result missing = Run({"verify", db});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.out.find("no directory (directory offset 0)"), std::string::npos) << missing.out;
    EXPECT_EQ(ReadFile(db), before);
    Result repaired = Run({"verify", db, "--repair"});
    EXPECT_EQ(repaired.code, 0) << repaired.out;
    EXPECT_NE(repaired.out.find("directory rebuilt by scanning: 2 records"), std::string::npos) << repaired.out;
    EXPECT_EQ(Run({"verify", db}).code, 0);
    EXPECT_EQ(Run({"cat", db, "MMData", "2"}).out, "abc");
}

TEST_F(RecordVerbsTest, BundleAppendsTheDatabaseBehindTheTrailer)
{
    auto payload = WriteFile("p.txt", "inside the player");
    ASSERT_EQ(Run({"put", db, "MMStart", "0", payload}).code, 0);
    std::string program = "\x7f" "ELF pretend program bytes";
    auto player = WriteFile("player", program);
    fs::permissions(player, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    auto out = (dir / "bundled").string();

    Result bundle = Run({"bundle", player, db, out});
    ASSERT_EQ(bundle.code, 0) << bundle.err;
    std::string bytes = ReadFile(out);
    std::string database = ReadFile(db);
    ASSERT_EQ(bytes.size(), program.size() + database.size() + 6);
    EXPECT_EQ(bytes.substr(0, program.size()), program);
    EXPECT_EQ(bytes.substr(program.size(), database.size()), database);
    EXPECT_EQ(bytes.substr(bytes.size() - 6, 2), "JM");
    EXPECT_EQ(static_cast<uint8_t>(bytes[bytes.size() - 4]), program.size());
    EXPECT_EQ(fs::status(out).permissions(), fs::status(player).permissions());

    EXPECT_NE(Run({"info", out}).out.find("base offset   " + std::to_string(program.size())), std::string::npos);
    EXPECT_EQ(Run({"cat", out, "MMStart", "0"}).out, "inside the player");
    Result rm = Run({"rm", out, "MMStart", "0"});
    EXPECT_EQ(rm.code, 1);
    EXPECT_EQ(rm.err, "tamberlyne: " + out + ": the database inside a player file cannot be changed\n");
    EXPECT_EQ(ReadFile(out), bytes);

    // Bundling a bundled player again replaces the database it carries.
    auto again = (dir / "again").string();
    ASSERT_EQ(Run({"bundle", out, db, again}).code, 0);
    EXPECT_EQ(ReadFile(again), bytes);
    EXPECT_EQ(Run({"bundle", player, (dir / "none").string(), again}).code, 1);
}

}  // namespace
