#include <gtest/gtest.h>

#include "tools/VerbRun.h"

namespace {

namespace fs = std::filesystem;

class RecordVerbsTest : public VerbTest {
protected:
    void SetUp() override
    {
        VerbTest::SetUp();
        db = Path("sample.mmdb");
    }

    static std::string Text(size_t n)
    {
        std::string text;
        while (text.size() < n)
            text += "record payload " + std::to_string(text.size()) + "\n";
        return text.substr(0, n);
    }

    std::string db;
};

TEST_F(RecordVerbsTest, PutCatRecordsAndRmWorkTogether)
{
    std::string big = Text(5000);
    auto bigFile = WriteFile("big.txt", big);
    auto smallFile = WriteFile("small.txt", "tiny");
    ASSERT_EQ(Tamberlyne({"put", db, "MMData", "1", bigFile, "--encoding", "2"}).status, 0);
    ASSERT_EQ(Tamberlyne({"put", db, "MMEntry", "7", smallFile, "--slack", "16"}).status, 0);
    ASSERT_EQ(Tamberlyne({"put", db, "MMData", "2", smallFile}).status, 0);
    ASSERT_EQ(Tamberlyne({"put", db, "MMData", "3", smallFile}).status, 0);

    VerbRun cat = Tamberlyne({"cat", db, "mmdata", "1"});
    EXPECT_EQ(cat.status, 0);
    EXPECT_EQ(cat.out, big);
    VerbRun raw = Tamberlyne({"cat", db, "MMData", "1", "--raw"});
    EXPECT_EQ(raw.out.substr(0, 2), "CP");
    EXPECT_LT(raw.out.size(), big.size());

    ASSERT_EQ(Tamberlyne({"rm", db, "MMEntry", "7"}).status, 0);
    VerbRun records = Tamberlyne({"records", db});
    EXPECT_EQ(records.status, 0);
    std::istringstream lines(records.out);
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);)
        rows.push_back(line);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[0], "MMData 1 " + std::to_string(raw.out.size()) + " " + std::to_string(raw.out.size()) + " 2 256");
    int64_t freeAt = 256 + 32 + int64_t(raw.out.size());
    EXPECT_EQ(rows[1], "- 7 -1 20 0 " + std::to_string(freeAt));
    EXPECT_EQ(rows[2], "MMData 2 4 4 0 " + std::to_string(freeAt + 52));

    VerbRun info = Tamberlyne({"info", db});
    EXPECT_EQ(info.status, 0);
    EXPECT_NE(info.out.find("records       4\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("names         1\n"), std::string::npos);
    EXPECT_NE(info.out.find("password      no\n"), std::string::npos);
    EXPECT_NE(info.out.find("base offset   0\n"), std::string::npos);
    EXPECT_NE(info.out.find("end of data   " + std::to_string(fs::file_size(db)) + "\n"), std::string::npos);

    VerbRun missing = Tamberlyne({"rm", db, "MMEntry", "7"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "tamberlyne: " + db + ": no record MMEntry 7\n");
    EXPECT_EQ(Tamberlyne({"cat", db, "MMEntry", "7"}).status, 1);
}

TEST_F(RecordVerbsTest, ReadOnlyVerbsNeverCreateAFile)
{
    for (auto verb : {"info", "records", "verify"}) {
        VerbRun r = Tamberlyne({verb, db});
        EXPECT_EQ(r.status, 1) << verb;
        EXPECT_EQ(r.err, "tamberlyne: " + db + ": no such file\n") << verb;
    }
    EXPECT_EQ(Tamberlyne({"cat", db, "MMData", "1"}).status, 1);
    EXPECT_EQ(Tamberlyne({"rm", db, "MMData", "1"}).status, 1);
    EXPECT_FALSE(fs::exists(db));

    auto notDb = WriteFile("notes.txt", "plain text, not a database");
    VerbRun r = Tamberlyne({"info", notDb});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err, "tamberlyne: " + notDb + ": not a database (it does not start with \"RS\")\n");
    EXPECT_EQ(ReadFile(notDb), "plain text, not a database");
}

TEST_F(RecordVerbsTest, PasswordsAndUsageErrors)
{
    auto file = WriteFile("p.txt", "secret data");
    ASSERT_EQ(Tamberlyne({"--password", "Open Sesame", "put", db, "MMData", "1", file}).status, 0);
    VerbRun wrong = Tamberlyne({"cat", db, "MMData", "1"});
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.err, "tamberlyne: " + db + ": Can't open the database without the correct password!\n");
    VerbRun right = Tamberlyne({"cat", db, "MMData", "1", "--password", "open sesame"});
    EXPECT_EQ(right.status, 0);
    EXPECT_EQ(right.out, "secret data");
    EXPECT_NE(Tamberlyne({"info", db, "--password", "OPEN SESAME"}).out.find("password      yes"), std::string::npos);

    EXPECT_EQ(Tamberlyne({"put", db, "MM9", "1", file}).status, 2);
    EXPECT_EQ(Tamberlyne({"put", db, "MMData", "-1", file}).status, 2);
    EXPECT_EQ(Tamberlyne({"put", db, "MMData", "4294967296", file}).status, 2);
    EXPECT_EQ(Tamberlyne({"put", db, "MMData", "1", file, "--encoding", "11"}).status, 2);
    EXPECT_EQ(Tamberlyne({"put", db, "MMData", "1", file, "--slack", "-3"}).status, 2);
    EXPECT_EQ(Tamberlyne({"cat", db, "MMData"}).status, 2);
    EXPECT_EQ(Tamberlyne({"info"}).status, 2);
    VerbRun noSource = Tamberlyne({"put", db, "MMData", "1", Path("absent")});
    EXPECT_EQ(noSource.status, 1);
    EXPECT_EQ(noSource.err, "tamberlyne: " + Path("absent") + ": cannot be read\n");
}

TEST_F(RecordVerbsTest, VerifyFindsDamageAndRepairRebuildsTheDirectory)
{
    auto big = WriteFile("big.txt", Text(3000));
    auto small = WriteFile("small.txt", "abc");
    ASSERT_EQ(Tamberlyne({"put", db, "MMData", "1", big, "--encoding", "2"}).status, 0);
    ASSERT_EQ(Tamberlyne({"put", db, "MMData", "2", small}).status, 0);
    VerbRun good = Tamberlyne({"verify", db});
    EXPECT_EQ(good.status, 0) << good.out;
    EXPECT_EQ(good.out, db + ": no problems\n");

    // The encoded payload loses its "CP" mark.
    std::string bytes = ReadFile(db);
    std::string damaged = bytes;
    damaged[256 + 32] = 'X';
    WriteFile("sample.mmdb", damaged);
    VerbRun bad = Tamberlyne({"verify", db});
    EXPECT_EQ(bad.status, 1);
    EXPECT_NE(bad.out.find("record MMData 1 at 256: encoding 2 but the payload does not decode"), std::string::npos)
        << bad.out;
    EXPECT_NE(bad.out.find(db + ": 1 problem\n"), std::string::npos);

    // Without a directory offset: listed by verify, which does not write; fixed by --repair.
    std::string before = bytes;
    before.replace(6, 4, 4, '\0');  // the header's directory offset
    WriteFile("sample.mmdb", before);
    VerbRun missing = Tamberlyne({"verify", db});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.out.find("no directory (directory offset 0)"), std::string::npos) << missing.out;
    EXPECT_EQ(ReadFile(db), before);
    VerbRun repaired = Tamberlyne({"verify", db, "--repair"});
    EXPECT_EQ(repaired.status, 0) << repaired.out;
    EXPECT_NE(repaired.out.find("directory rebuilt by scanning: 2 records"), std::string::npos) << repaired.out;
    EXPECT_EQ(Tamberlyne({"verify", db}).status, 0);
    EXPECT_EQ(Tamberlyne({"cat", db, "MMData", "2"}).out, "abc");
}

TEST_F(RecordVerbsTest, BundleAppendsTheDatabaseBehindTheTrailer)
{
    auto payload = WriteFile("p.txt", "inside the player");
    ASSERT_EQ(Tamberlyne({"put", db, "MMStart", "0", payload}).status, 0);
    std::string program = "\x7f" "ELF pretend program bytes";
    auto player = WriteFile("player", program);
    fs::permissions(player, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    auto out = Path("bundled");

    VerbRun bundle = Tamberlyne({"bundle", player, db, out});
    ASSERT_EQ(bundle.status, 0) << bundle.err;
    std::string bytes = ReadFile(out);
    std::string database = ReadFile(db);
    ASSERT_EQ(bytes.size(), program.size() + database.size() + 6);
    EXPECT_EQ(bytes.substr(0, program.size()), program);
    EXPECT_EQ(bytes.substr(program.size(), database.size()), database);
    EXPECT_EQ(bytes.substr(bytes.size() - 6, 2), "JM");
    EXPECT_EQ(static_cast<uint8_t>(bytes[bytes.size() - 4]), program.size());
    EXPECT_EQ(fs::status(out).permissions(), fs::status(player).permissions());

    EXPECT_NE(Tamberlyne({"info", out}).out.find("base offset   " + std::to_string(program.size())), std::string::npos);
    EXPECT_EQ(Tamberlyne({"cat", out, "MMStart", "0"}).out, "inside the player");
    VerbRun rm = Tamberlyne({"rm", out, "MMStart", "0"});
    EXPECT_EQ(rm.status, 1);
    EXPECT_EQ(rm.err, "tamberlyne: " + out + ": the database inside a player file cannot be changed\n");
    EXPECT_EQ(ReadFile(out), bytes);

    // Bundling a bundled player again replaces the database it carries.
    auto again = Path("again");
    ASSERT_EQ(Tamberlyne({"bundle", out, db, again}).status, 0);
    EXPECT_EQ(ReadFile(again), bytes);
    EXPECT_EQ(Tamberlyne({"bundle", player, Path("none"), again}).status, 1);
}

}  // namespace
