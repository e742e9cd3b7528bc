#include <gtest/gtest.h>

#include "db/MediaCatalogFormat.h"
#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "db/PayloadCodec.h"
#include "platform/FakeSystemServices.h"
#include "platform/MemoryFileSystem.h"

using namespace tamber;

namespace {

constexpr const char* kPath = "/titles/app.mmd";

MemoryBlock Bytes(const std::string& text)
{
    return MemoryBlock(text.data(), static_cast<int32_t>(text.size()));
}

NewMedium Medium(std::string name, std::string type, std::vector<NewPart> parts = {}, int32_t cacheFlag = 0)
{
    NewMedium m;
    m.name = std::move(name);
    m.type = std::move(type);
    m.parts = std::move(parts);
    m.cacheFlag = cacheFlag;
    return m;
}

// An entry of the layout without part and external lists.
MemoryBlock OldEntry(uint32_t id, const std::string& name, const std::string& type)
{
    MemoryBlock b(0);
    b.AppendInt(static_cast<int32_t>(10 + name.size() + type.size()), 4);
    b.AppendInt(static_cast<int32_t>(id), 4);
    b.AppendInt(static_cast<int32_t>(name.size()), 1);
    b.AppendString(name, Nul::Exclude);
    b.AppendInt(static_cast<int32_t>(type.size()), 1);
    b.AppendString(type, Nul::Exclude);
    return b;
}

MemoryBlock CurrentEntry(uint32_t id, const std::string& name)
{
    MediaEntry e;
    e.id = id;
    e.name = name;
    e.type = "Text";
    MemoryBlock b(0);
    e.AppendTo(b);
    return b;
}

struct Fixture {
    MemoryFileSystem fs;
    FakeSystemServices system;
    CapturingMessageSink messages;

    Fixture() { fs.SetCurrentTime(900000000); }

    std::unique_ptr<MediaDatabase> Open(DatabaseAccess access = DatabaseAccess::ReadWrite, const char* path = kPath)
    {
        auto db = std::make_unique<MediaDatabase>(fs, &system, &messages);
        EXPECT_EQ(db->Open(path, {}, access), 1);
        return db;
    }

    // Writes records straight into the file, as an older program would have.
    void Raw(const char* name, uint32_t id, const MemoryBlock& payload)
    {
        RecordFile file(fs);
        ASSERT_EQ(file.Open(kPath, ""), 1);
        ASSERT_EQ(file.WriteRecord(payload, name, id, 0), 1);
    }
};

}  // namespace

TEST(MediaDatabase, AuthoredMediaReadBackThroughEveryLookup)
{
    Fixture f;
    uint32_t mainId = 0, logoId = 0, videoId = 0, twiceId = 0;
    {
        auto db = f.Open();
        MediaCatalogWriter writer(*db);
        ASSERT_EQ(writer.CreateMedium(Medium("Main", "Interface", { { "Data", Bytes("interface bytes") } }), &mainId), 1);
        NewMedium logo = Medium("Logo", "Graphic",
            { { "Data", Bytes(std::string(3000, 'x')) }, { "Hots", Bytes("hot") }, { "Mode", Bytes("m") } });
        logo.encoding = kMethodLzw;
        ASSERT_EQ(writer.CreateMedium(logo, &logoId), 1);
        NewMedium video = Medium("Intro", "Video");
        video.files = { "D:\\VIDEO\\INTRO.AVI" };
        video.folder = -1;
        ASSERT_EQ(writer.CreateMedium(video, &videoId), 1);
        EXPECT_EQ(writer.CreateMedium(Medium("Twice", "Text"), &twiceId), 1);
        NewMedium taken = Medium("Taken", "Text");
        taken.id = logoId;
        EXPECT_EQ(writer.CreateMedium(taken), 0) << "ids are unique";
        EXPECT_EQ(writer.CreateMedium(Medium("", "Text")), 0);
    }
    auto db = f.Open();
    EXPECT_EQ(db->EntryCount(), 4);
    EntryInfo info;
    int32_t parts = 0, externals = 0, encoding = 0, stored = 0, cache = -1;
    ASSERT_EQ(db->FindEntryByName("logo", "GRAPHIC", &info, { &parts, &externals, &encoding, &stored, &cache }), 1);
    EXPECT_EQ(info.id, logoId);
    EXPECT_EQ(info.name, "Logo");
    EXPECT_EQ(parts, 3);
    EXPECT_EQ(externals, 0);
    EXPECT_EQ(encoding, kMethodLzw);
    EXPECT_LT(stored, 3000 + 3 + 1) << "the stored size counts the encoded bytes";
    EXPECT_EQ(stored, db->Records().RecordLength("MMData", 2) + db->Records().RecordLength("MMData", 3)
            + db->Records().RecordLength("MMData", 4));
    EXPECT_EQ(cache, 0);
    EXPECT_EQ(db->FindEntryByName("Logo", "Text", &info), 0);

    MemoryBlock block(0);
    std::string tag;
    ASSERT_EQ(db->ReadEntryPart(info, 0, &tag, block), 1);
    EXPECT_EQ(tag, "Data");
    EXPECT_EQ(block.ToString(), std::string(3000, 'x')) << "parts come back decoded";
    ASSERT_EQ(db->ReadEntryPartByTag(info, "Hots", block), 1);
    EXPECT_EQ(block.ToString(), "hot");
    EXPECT_EQ(db->ReadEntryPartByTag(info, "Styl", block), 0);
    EXPECT_EQ(db->ReadEntryPart(info, 3, &tag, block), 0);

    ASSERT_EQ(db->FindEntryById(videoId, &info), 1);
    std::string path;
    ASSERT_EQ(db->ExternalPath(info, 0, &tag, path), 1);
    EXPECT_EQ(tag, "File");
    EXPECT_EQ(path, "D:\\VIDEO\\INTRO.AVI");
    EXPECT_EQ(db->ExternalPath(info, 1, &tag, path), 0);

    uint32_t id = 0;
    ASSERT_EQ(db->NthEntry(3, &id, { &parts }), 1);
    EXPECT_EQ(id, twiceId);
    EXPECT_EQ(parts, 0);
    EXPECT_EQ(db->NthEntry(4, &id), 0);
    EXPECT_EQ(db->FindEntryById(999, &info), 0);

    // A player reading the file directly finds the stored bytes at the reported position.
    ASSERT_EQ(db->FindEntryByName("Main", "", &info), 1);
    int64_t offset = 0;
    int32_t length = 0;
    ASSERT_EQ(db->PartPosition(info, 0, &tag, path, offset, length), 1);
    EXPECT_EQ(path, kPath);
    auto file = f.fs.Contents(kPath);
    ASSERT_LE(offset + length, static_cast<int64_t>(file.size()));
    EXPECT_EQ(std::string(file.begin() + offset, file.begin() + offset + length), "interface bytes");

    // The root holds what was filed by default.
    std::vector<uint32_t> media;
    ASSERT_EQ(db->FolderMedia(0, media), 1);
    EXPECT_EQ(media, (std::vector<uint32_t> { mainId, logoId, twiceId }));
}

TEST(MediaDatabase, NewDatabaseGetsTheRootFolderOnly)
{
    Fixture f;
    auto db = f.Open();
    std::string name;
    ASSERT_EQ(db->FolderName(0, name), 1);
    EXPECT_EQ(name, "Project");
    std::vector<int32_t> subs { 1 };
    std::vector<uint32_t> media { 1 };
    ASSERT_EQ(db->FolderSubfolders(0, subs), 1);
    ASSERT_EQ(db->FolderMedia(0, media), 1);
    EXPECT_TRUE(subs.empty());
    EXPECT_TRUE(media.empty());
    EXPECT_EQ(db->FolderParent(0), -1);
    EXPECT_EQ(db->Records().RecordExists("MMFoldr", 0), 1);
    EXPECT_TRUE(f.messages.messages.empty());
}

TEST(MediaDatabase, EntryRecordsOfTheOldLayoutMergeIntoOneInReverseFileOrder)
{
    Fixture f;
    f.Raw("MMEntry", 0, CurrentEntry(1, "Zero"));
    f.Raw("MMEntry", 4, CurrentEntry(4, "Four"));
    f.Raw("MMEntry", 7, CurrentEntry(7, "Seven"));
    auto db = f.Open();
    ASSERT_EQ(f.messages.messages.size(), 1u);
    EXPECT_EQ(f.messages.messages[0].caption, "MMDB");
    EXPECT_EQ(f.messages.messages[0].text, "Updating old style media entries...");
    EXPECT_EQ(db->Records().CountRecords("MMEntry"), 1);
    EXPECT_TRUE(db->Upgrades().entries);
    EXPECT_FALSE(db->Upgrades().inMemoryOnly);
    std::vector<uint32_t> order;
    for (uint32_t id = 0, i = 0; db->NthEntry(static_cast<int32_t>(i), &id); ++i)
        order.push_back(id);
    EXPECT_EQ(order, (std::vector<uint32_t> { 1, 7, 4 }));

    // Stored with room to grow, and the upgrade does not run again.
    MemoryBlock stored(0);
    ASSERT_EQ(db->Records().ReadRecord(stored, "MMEntry", 0), 1);
    auto entries = db->Records().Entries();
    auto it = std::find_if(entries.begin(), entries.end(), [](const RecordEntry& e) { return e.name == "MMEntry"; });
    ASSERT_NE(it, entries.end());
    EXPECT_GE(it->capacity, stored.Size() + catalog::kCatalogSlack);
    f.messages.messages.clear();
    f.Open();
    EXPECT_TRUE(f.messages.messages.empty());
}

TEST(MediaDatabase, AllThreeOldLayoutsUpgradeInOrder)
{
    Fixture f;
    MemoryBlock zero = OldEntry(1, "Story", "GT");
    f.Raw("MMEntry", 0, zero);
    f.Raw("MMEntry", 2, OldEntry(2, "Map", "BMP"));
    MemoryBlock ids(0);
    for (int32_t id : { 10, 11, 12 })
        ids.AppendInt(id, 4);
    f.Raw("MMEInt", 1, ids);
    MemoryBlock paths(0);
    paths.AppendString("MAP.BMP", Nul::Include);
    paths.AppendInt(0, 1);
    f.Raw("MMEExt", 2, paths);
    MemoryBlock root(0);
    root.AppendString("Project", Nul::Include);
    root.AppendInt(1, 4);
    root.AppendInt(3, 4);
    root.AppendInt(1, 4);
    root.AppendInt(1, 4);
    f.Raw("MMFoldr", 0, root);
    MemoryBlock art(0);
    art.AppendString("Art", Nul::Include);
    art.AppendInt(0, 4);
    art.AppendInt(1, 4);
    art.AppendInt(2, 4);
    f.Raw("MMFoldr", 3, art);
    auto before = f.fs.Contents(kPath);

    // Read-only: the upgrade happens in memory and the file stays as it was.
    auto readOnly = f.Open(DatabaseAccess::ReadOnly);
    EXPECT_TRUE(readOnly->Upgrades().inMemoryOnly);
    EXPECT_EQ(f.fs.Contents(kPath), before);
    MediaEntry story;
    ASSERT_EQ(readOnly->GetEntry(1, story), 1);
    EXPECT_EQ(story.parts.size(), 3u);
    EXPECT_EQ(readOnly->FolderParent(3), 0);
    ASSERT_EQ(f.messages.messages.size(), 3u);
    EXPECT_EQ(f.messages.messages[0].text, "Updating old style media entries...");
    EXPECT_EQ(f.messages.messages[1].text, "Updating old style internals and externals...");
    EXPECT_EQ(f.messages.messages[2].text, "Updating old style folders...");
    EXPECT_EQ(readOnly->AddFolder(0, "No"), -1) << "a read-only database refuses edits";

    f.messages.messages.clear();
    auto db = f.Open();
    EXPECT_EQ(f.messages.messages.size(), 3u);
    EXPECT_FALSE(db->Upgrades().inMemoryOnly);
    for (const char* gone : { "MMEInt", "MMEExt" })
        EXPECT_EQ(db->Records().CountRecords(gone), 0) << gone;
    EXPECT_EQ(db->Records().CountRecords("MMEntry"), 1);
    EXPECT_EQ(db->Records().CountRecords("MMFoldr"), 1);

    MediaEntry e;
    ASSERT_EQ(db->GetEntry(1, e), 1);
    ASSERT_EQ(e.parts.size(), 3u);
    EXPECT_EQ(e.parts[0].tag, "Text");
    EXPECT_EQ(e.parts[2].tag, "Rulr");
    EXPECT_EQ(e.parts[2].recordId, 12u);
    ASSERT_EQ(db->GetEntry(2, e), 1);
    ASSERT_EQ(e.externals.size(), 1u);
    EXPECT_EQ(e.externals[0].path, "MAP.BMP");
    std::string name;
    ASSERT_EQ(db->FolderName(3, name), 1);
    EXPECT_EQ(name, "Art");
    std::vector<uint32_t> media;
    ASSERT_EQ(db->FolderMedia(3, media), 1);
    EXPECT_EQ(media, (std::vector<uint32_t> { 2 }));
}

TEST(MediaDatabase, FolderEditsPersistAndDeletingAMediumCleansUp)
{
    Fixture f;
    uint32_t a = 0, b = 0;
    int32_t art = -1;
    {
        auto db = f.Open();
        art = db->AddFolder(0, "Art");
        ASSERT_GT(art, 0);
        MediaCatalogWriter writer(*db);
        writer.Begin();
        NewMedium ma = Medium("A", "Graphic", { { "Data", Bytes("a") } });
        ma.folder = art;
        ASSERT_EQ(writer.CreateMedium(ma, &a), 1);
        ASSERT_EQ(writer.CreateMedium(Medium("B", "Graphic", { { "Data", Bytes("b") } }), &b), 1);
        JumpTable jumps;
        jumps.Targets().push_back({ 1, "To B", JumpTable::LinkTo(b) });
        ASSERT_EQ(writer.SetJumpTable(a, jumps), 1);
        NewMedium badFolder = Medium("C", "Text");
        badFolder.folder = 42;
        EXPECT_EQ(writer.CreateMedium(badFolder), 0);
        ASSERT_EQ(writer.Commit(), 1);
        EXPECT_EQ(db->RenameFolder(art, "Pictures"), 1);
        EXPECT_EQ(db->FileMedia(art, b), 1);
        EXPECT_EQ(db->UnfileMedia(0, b), 1);
    }
    auto db = f.Open();
    std::vector<uint32_t> media;
    ASSERT_EQ(db->FolderMedia(art, media), 1);
    EXPECT_EQ(media, (std::vector<uint32_t> { a, b }));
    std::string name;
    db->FolderName(art, name);
    EXPECT_EQ(name, "Pictures");
    EXPECT_EQ(db->JumpCount(a), 1);

    MediaEntry entry;
    ASSERT_EQ(db->GetEntry(a, entry), 1);
    uint32_t part = entry.parts[0].recordId;
    MediaCatalogWriter writer(*db);
    ASSERT_EQ(writer.DeleteMedium(a), 1);
    EXPECT_EQ(db->GetEntry(a, entry), 0);
    EXPECT_EQ(db->Records().RecordExists("MMData", part), 0);
    EXPECT_EQ(db->Records().RecordExists("MMEJump", a), 0);
    EXPECT_EQ(db->JumpCount(a), 0);
    db->FolderMedia(art, media);
    EXPECT_EQ(media, (std::vector<uint32_t> { b }));
    EXPECT_EQ(writer.DeleteMedium(a), 0);
    ASSERT_EQ(db->RemoveFolder(art), 1);
    EXPECT_EQ(db->FolderName(art, name), 0);
}

TEST(MediaDatabase, JumpTargetsAreReadAndCachedOnlyOnCdRom)
{
    Fixture f;
    uint32_t id = 0;
    {
        auto db = f.Open();
        MediaCatalogWriter writer(*db);
        ASSERT_EQ(writer.CreateMedium(Medium("Story", "Text"), &id), 1);
        JumpTable jumps;
        jumps.Targets().push_back({ 5, "", JumpTable::LinkTo(9) });
        jumps.Targets().push_back({ 8, "End", JumpTable::LinkTo(10) });
        ASSERT_EQ(writer.SetJumpTable(id, jumps), 1);
        EXPECT_EQ(writer.SetJumpTable(id + 1, jumps), 0) << "no such medium";
    }
    auto check = [&](MediaDatabase& db, int32_t expected) {
        EXPECT_EQ(db.JumpCount(id), expected);
        int32_t jumpId = 0;
        MemoryBlock data(0);
        std::string name;
        ASSERT_EQ(db.NthJump(id, 1, jumpId, data, &name), 1);
        EXPECT_EQ(jumpId, 8);
        EXPECT_EQ(name, "End");
        ASSERT_EQ(db.JumpById(id, 5, data, &name), 1);
        EXPECT_EQ(JumpTable::LinkedMedia(data), (std::vector<uint32_t> { 9 }));
        EXPECT_EQ(db.JumpById(id, 6, data), 0);
    };
    f.system.SetDriveKind("/titles", DriveKind::CdRom);
    auto cd = f.Open();
    auto fixed = std::make_unique<MediaDatabase>(f.fs, nullptr, nullptr);
    ASSERT_EQ(fixed->Open(kPath), 1);
    check(*cd, 2);
    check(*fixed, 2);

    // Another process adds a target: the CD-ROM database keeps its copy of the table.
    JumpTable more;
    MemoryBlock stored(0);
    ASSERT_EQ(fixed->Records().ReadRecord(stored, "MMEJump", id), 1);
    more.Parse(stored);
    more.Targets().push_back({ 11, "", JumpTable::LinkTo(1) });
    ASSERT_EQ(fixed->Records().WriteRecord(more.Serialize(), "MMEJump", id, 0), 1);
    check(*cd, 2);
    check(*fixed, 3);
}

TEST(MediaDatabase, NetworkDrivesSeeOtherWritersCatalogueAndFolders)
{
    Fixture f;
    f.Open();
    f.system.SetDriveKind("/titles", DriveKind::Network);
    auto reader = f.Open();
    auto fixedReader = std::make_unique<MediaDatabase>(f.fs, nullptr, nullptr);
    ASSERT_EQ(fixedReader->Open(kPath), 1);
    EXPECT_TRUE(reader->OnNetwork());
    EntryInfo info;
    EXPECT_EQ(reader->FindEntryByName("Late", "", &info), 0);
    EXPECT_EQ(fixedReader->FindEntryByName("Late", "", &info), 0);

    f.fs.SetCurrentTime(900000100);  // record times are in seconds
    auto writerDb = std::make_unique<MediaDatabase>(f.fs, nullptr, nullptr);
    ASSERT_EQ(writerDb->Open(kPath), 1);
    MediaCatalogWriter writer(*writerDb);
    ASSERT_EQ(writer.CreateMedium(Medium("Late", "Text")), 1);
    ASSERT_GT(writerDb->AddFolder(0, "Later"), 0);

    EXPECT_EQ(reader->FindEntryByName("Late", "", &info), 1);
    EXPECT_EQ(reader->Folders().Folders().size(), 2u);
    EXPECT_EQ(fixedReader->FindEntryByName("Late", "", &info), 0) << "a fixed drive trusts its copy";
}

TEST(MediaDatabase, CdRomCompanionsCopyFlaggedMedia)
{
    Fixture f;
    uint32_t ids[5] = {};
    {
        auto db = f.Open();
        MediaCatalogWriter writer(*db);
        for (int32_t flag = 0; flag <= 4; ++flag) {
            NewMedium m = Medium("M" + std::to_string(flag), "Graphic",
                { { "Data", Bytes("data" + std::to_string(flag)) }, { "Hots", Bytes("hots") } }, flag);
            m.encoding = kMethodLzw;
            ASSERT_EQ(writer.CreateMedium(m, &ids[flag]), 1);
        }
    }
    f.system.SetDriveKind("/titles", DriveKind::CdRom);
    const std::string permanentPath = f.system.CompanionFolder() + "/app.zdp";
    const std::string temporaryPath = f.system.CompanionFolder() + "/app.zdt";
    auto partIds = [&](MediaDatabase& db, uint32_t id) {
        MediaEntry e;
        db.GetEntry(id, e);
        return std::vector<uint32_t> { e.parts[0].recordId, e.parts[1].recordId };
    };
    {
        auto db = f.Open();
        ASSERT_TRUE(db->OnCdRom());
        ASSERT_NE(db->PermanentCompanion(), nullptr);
        EXPECT_TRUE(f.system.IsDirectory(f.system.CompanionFolder()));
        RecordFile& perm = *db->PermanentCompanion();
        RecordFile& temp = *db->TemporaryCompanion();
        EXPECT_EQ(perm.Path(), permanentPath);
        EXPECT_EQ(db->Permissions(), (std::vector<uint32_t> { ids[1] }));
        for (uint32_t r : partIds(*db, ids[1])) {
            EXPECT_EQ(perm.RecordExists("MMData", r), 1);
            EXPECT_EQ(perm.RecordEncoding("MMData", r), 0) << "companions hold unencoded copies";
        }
        for (uint32_t r : partIds(*db, ids[2]))
            EXPECT_EQ(temp.RecordExists("MMData", r), 1);
        EXPECT_EQ(perm.RecordExists("MMData", partIds(*db, ids[3])[0]), 0);

        // Flags 3 and 4 copy on first read; PartPosition then points into the companion.
        EntryInfo info;
        MemoryBlock block(0);
        ASSERT_EQ(db->FindEntryById(ids[3], &info), 1);
        ASSERT_EQ(db->ReadEntryPart(info, 0, nullptr, block), 1);
        EXPECT_EQ(block.ToString(), "data3");
        EXPECT_EQ(perm.RecordExists("MMData", partIds(*db, ids[3])[0]), 1);
        EXPECT_EQ(perm.RecordExists("MMData", partIds(*db, ids[3])[1]), 0);
        ASSERT_EQ(db->FindEntryById(ids[4], &info), 1);
        std::string path;
        int64_t offset = 0;
        int32_t length = 0;
        ASSERT_EQ(db->PartPosition(info, 1, nullptr, path, offset, length), 1);
        EXPECT_EQ(path, temporaryPath);
        auto bytes = f.fs.Contents(temporaryPath);
        EXPECT_EQ(std::string(bytes.begin() + offset, bytes.begin() + offset + length), "hots");
        ASSERT_EQ(db->FindEntryById(ids[0], &info), 1);
        ASSERT_EQ(db->PartPosition(info, 0, nullptr, path, offset, length), 1);
        EXPECT_EQ(path, kPath);
        EXPECT_EQ(db->AddFolder(0, "No"), -1) << "folder edits are refused on CD-ROM";
        MediaCatalogWriter writer(*db);
        EXPECT_EQ(writer.CreateMedium(Medium("No", "Text")), 0);
        EXPECT_EQ(db->PrefetchEntry(info), 1);
        db->FlushPrefetch();
    }
    // Next open: the permanent copies and the list stay, the temporary companion starts over.
    auto db = f.Open();
    EXPECT_EQ(db->Permissions(), (std::vector<uint32_t> { ids[1] }));
    EXPECT_EQ(db->PermanentCompanion()->RecordExists("MMData", partIds(*db, ids[3])[0]), 1);
    EXPECT_EQ(db->TemporaryCompanion()->RecordExists("MMData", partIds(*db, ids[4])[1]), 0);
    EXPECT_EQ(db->TemporaryCompanion()->RecordExists("MMData", partIds(*db, ids[2])[0]), 1);
}

TEST(MediaDatabase, WorksWithoutCompanionsWhenTheirFolderCannotBeMade)
{
    Fixture f;
    uint32_t id = 0;
    {
        auto db = f.Open();
        MediaCatalogWriter writer(*db);
        ASSERT_EQ(writer.CreateMedium(Medium("M", "Graphic", { { "Data", Bytes("d") } }, 1), &id), 1);
    }
    f.system.ForceDriveKind(DriveKind::CdRom);
    f.system.RefuseDirectories(true);
    auto db = f.Open();
    EXPECT_EQ(db->PermanentCompanion(), nullptr);
    EntryInfo info;
    MemoryBlock block(0);
    ASSERT_EQ(db->FindEntryById(id, &info), 1);
    ASSERT_EQ(db->ReadEntryPart(info, 0, nullptr, block), 1);
    EXPECT_EQ(block.ToString(), "d");
}

TEST(MediaDatabase, DamagedCatalogueRecordsNeitherCrashNorHang)
{
    Fixture f;
    MemoryBlock catalog = CurrentEntry(1, "Good");
    MemoryBlock bad = CurrentEntry(2, "Bad");
    bad.WriteInt(17, 0x7FFFFFFF, 4);  // part count of "Bad"
    catalog.Append(bad);
    MemoryBlock zeroLength(0);
    zeroLength.AppendInt(0, 4);
    zeroLength.AppendInt(3, 4);
    catalog.Append(zeroLength);
    f.Raw("MMEntry", 0, catalog);
    MemoryBlock tree(0);
    tree.AppendInt(0, 4);
    tree.AppendString("Project", Nul::Include);
    tree.AppendInt(-5, 4);
    f.Raw("MMFoldr", 0, tree);
    f.Raw("MMEJump", 1, MemoryBlock("\xff\xff\xff\x7f", 4));

    auto db = f.Open();
    EXPECT_EQ(db->EntryCount(), 2);
    EntryInfo info;
    EXPECT_EQ(db->FindEntryById(1, &info), 1);
    EXPECT_EQ(db->FindEntryById(2, &info), 0);
    EXPECT_EQ(db->FindEntryById(3, &info), 0);
    uint32_t id = 0;
    EXPECT_EQ(db->NthEntry(1, &id), 0);
    EXPECT_EQ(db->JumpCount(1), 0);
    EXPECT_EQ(db->FolderParent(0), -1);
}
