#include <gtest/gtest.h>

#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "tools/VerbRun.h"

using namespace tamber;

namespace {

MemoryBlock Bytes(const std::string& text)
{
    return MemoryBlock(text.data(), static_cast<int32_t>(text.size()));
}

class MediaVerbs : public VerbTest {
protected:
    void SetUp() override
    {
        VerbTest::SetUp();
        m_path = Path("title.mmd");
    }

    std::vector<std::string> Args(std::vector<std::string> args)
    {
        args.insert(args.begin(), { "--data-dir", (m_dir / "data").string() });
        return args;
    }

    std::string m_path;
};

}  // namespace

TEST_F(MediaVerbs, ListMediaPartsFoldersAndJumps)
{
    {
        MediaDatabase db;
        ASSERT_EQ(db.Open(m_path), 1);
        MediaCatalogWriter writer(db);
        int32_t art = db.AddFolder(0, "Art Work");
        NewMedium logo;
        logo.name = "Logo";
        logo.type = "Graphic";
        logo.parts = { { "Data", Bytes(std::string("BM\0\x01 binary", 11)) }, { "Hots", Bytes("h") } };
        logo.encoding = 2;
        logo.folder = art;
        uint32_t logoId = 0, introId = 0, storyId = 0;
        ASSERT_EQ(writer.CreateMedium(logo, &logoId), 1);
        NewMedium intro;
        intro.name = "Opening video";
        intro.type = "Video";
        intro.files = { "D:\\VIDEO\\INTRO.AVI" };
        ASSERT_EQ(writer.CreateMedium(intro, &introId), 1);
        NewMedium story;
        story.name = "Story";
        story.type = "Text";
        ASSERT_EQ(writer.CreateMedium(story, &storyId), 1);
        JumpTable jumps;
        jumps.Targets().push_back({ 3, "See the logo", JumpTable::LinkTo(logoId) });
        jumps.Targets().push_back({ 4, "", JumpTable::LinkTo(77) });
        ASSERT_EQ(writer.SetJumpTable(storyId, jumps), 1);
    }

    VerbRun media = Tamberlyne(Args({ "media", m_path }));
    ASSERT_EQ(media.status, 0) << media.err;
    std::istringstream lines(media.out);
    std::string line;
    std::getline(lines, line);
    EXPECT_EQ(line.rfind("1 Graphic Logo parts=Data:1,Hots:2 files= encoding=2 stored=", 0), 0u) << line;
    std::getline(lines, line);
    EXPECT_EQ(line, "2 Video \"Opening video\" parts= files=D:\\VIDEO\\INTRO.AVI stored=0");
    std::getline(lines, line);
    EXPECT_EQ(line, "3 Text Story parts= files= stored=0");

    VerbRun part = Tamberlyne(Args({ "part", m_path, "logo", "0" }));
    ASSERT_EQ(part.status, 0) << part.err;
    EXPECT_EQ(part.out, std::string("BM\0\x01 binary", 11));
    EXPECT_EQ(Tamberlyne(Args({ "part", m_path, "#1", "Hots" })).out, "h");
    EXPECT_EQ(Tamberlyne(Args({ "part", m_path, "#1", "2" })).status, 1);
    EXPECT_EQ(Tamberlyne(Args({ "part", m_path, "Nobody", "0" })).status, 1);
    EXPECT_EQ(Tamberlyne(Args({ "part", m_path, "#x", "0" })).status, 2);
    EXPECT_EQ(Tamberlyne(Args({ "part", m_path })).status, 2);

    VerbRun folders = Tamberlyne(Args({ "folders", m_path }));
    ASSERT_EQ(folders.status, 0) << folders.err;
    EXPECT_EQ(folders.out,
        "Project (folder 0)\n"
        "  - 2 Video \"Opening video\"\n"
        "  - 3 Text Story\n"
        "  \"Art Work\" (folder 1)\n"
        "    - 1 Graphic Logo\n");

    VerbRun jumps = Tamberlyne(Args({ "jumps", m_path, "STORY" }));
    ASSERT_EQ(jumps.status, 0) << jumps.err;
    EXPECT_EQ(jumps.out, "3 \"See the logo\" -> 1 Logo\n4 - -> 77 (not in the catalogue)\n");
    EXPECT_EQ(Tamberlyne(Args({ "jumps", m_path, "#2" })).out, "");
}

TEST_F(MediaVerbs, ResolvesExternalPathsWithDriveMappings)
{
    {
        MediaDatabase db;
        ASSERT_EQ(db.Open(m_path), 1);
        MediaCatalogWriter writer(db);
        NewMedium m;
        m.name = "Clip";
        m.type = "Video";
        m.files = { "D:\\VIDEO\\INTRO.AVI", "C:\\ART\\LOGO.BMP", "..\\GONE.WAV" };
        ASSERT_EQ(writer.CreateMedium(m), 1);
    }
    WriteFile("cd/video/Intro.avi", "x");
    WriteFile("Art/logo.bmp", "x");
    VerbRun run = Tamberlyne(Args({ "--drive", "d=" + (m_dir / "cd").string(), "media", m_path, "--resolve" }));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "1 Video Clip parts= files=D:\\VIDEO\\INTRO.AVI->" + (m_dir / "cd" / "video" / "Intro.avi").string()
            + ",C:\\ART\\LOGO.BMP->" + (m_dir / "Art" / "logo.bmp").string() + ",..\\GONE.WAV->(missing) stored=0\n");
    EXPECT_EQ(Tamberlyne(Args({ "--drive", "DD", "media", m_path })).status, 2);
}

TEST_F(MediaVerbs, OldLayoutsAreUpgradedInMemoryOnly)
{
    {
        RecordFile file;
        ASSERT_EQ(file.Open(m_path, ""), 1);
        for (uint32_t id : { 0u, 5u }) {
            MemoryBlock entry(0);
            std::string name = id == 0 ? "First" : "Second";
            entry.AppendInt(static_cast<int32_t>(8 + 2 + 2 * 4 + name.size() + 4), 4);
            entry.AppendInt(static_cast<int32_t>(id + 1), 4);
            entry.AppendInt(static_cast<int32_t>(name.size()), 1);
            entry.AppendString(name, Nul::Exclude);
            entry.AppendInt(4, 1);
            entry.AppendString("Text", Nul::Exclude);
            entry.AppendInt(0, 4);
            entry.AppendInt(0, 4);
            ASSERT_EQ(file.WriteRecord(entry, "MMEntry", id, 0), 1);
        }
    }
    auto before = std::filesystem::last_write_time(m_path);
    auto size = std::filesystem::file_size(m_path);
    VerbRun media = Tamberlyne(Args({ "media", m_path }));
    ASSERT_EQ(media.status, 0) << media.err;
    EXPECT_EQ(media.out, "1 Text First parts= files=\n6 Text Second parts= files=\n");
    EXPECT_NE(media.err.find("upgraded in memory only"), std::string::npos) << media.err;
    EXPECT_EQ(std::filesystem::last_write_time(m_path), before);
    EXPECT_EQ(std::filesystem::file_size(m_path), size);
}

TEST_F(MediaVerbs, MissingAndDamagedDatabasesFailCleanly)
{
    VerbRun missing = Tamberlyne(Args({ "media", (m_dir / "none.mmd").string() }));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("none.mmd"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(m_dir / "none.mmd")) << "read-only verbs create nothing";
    EXPECT_EQ(Tamberlyne(Args({ "folders", WriteFile("junk.mmd", "not a database at all") })).status, 1);
}
