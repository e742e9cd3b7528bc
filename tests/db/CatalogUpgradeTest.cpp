#include <gtest/gtest.h>

#include "db/CatalogUpgrade.h"
#include "db/FolderTree.h"
#include "db/MediaCatalog.h"

using namespace tamber;

namespace {

// An entry of the layout without part and external lists.
MemoryBlock OldEntry(uint32_t id, const std::string& name, const std::string& type)
{
    MemoryBlock b(0);
    b.AppendInt(static_cast<int32_t>(8 + 2 + name.size() + type.size()), 4);
    b.AppendInt(static_cast<int32_t>(id), 4);
    b.AppendInt(static_cast<int32_t>(name.size()), 1);
    b.AppendString(name, Nul::Exclude);
    b.AppendInt(static_cast<int32_t>(type.size()), 1);
    b.AppendString(type, Nul::Exclude);
    return b;
}

MemoryBlock Ids(std::vector<int32_t> ids)
{
    MemoryBlock b(0);
    for (int32_t id : ids)
        b.AppendInt(id, 4);
    return b;
}

MemoryBlock Paths(std::vector<std::string> paths)
{
    MemoryBlock b(0);
    for (const auto& p : paths)
        b.AppendString(p, Nul::Include);
    b.AppendInt(0, 1);
    return b;
}

}  // namespace

TEST(CatalogUpgrade, EntryRecordsAreMergedFromLastToFirstSkippingIdZero)
{
    MemoryBlock catalog = OldEntry(1, "Zero", "Text");
    std::vector<StoredRecord> records;
    records.push_back({ 0, OldEntry(99, "Ignored", "Text") });
    records.push_back({ 4, OldEntry(4, "Four", "Text") });
    records.push_back({ 7, OldEntry(7, "Seven", "Text") });
    CatalogUpgrade::MergeEntryRecords(catalog, records);
    ASSERT_EQ(CatalogUpgrade::AddPartAndExternalCounts(catalog), 3);
    MediaCatalog c(catalog);
    EXPECT_EQ(c.Ids(), (std::vector<uint32_t> { 1, 7, 4 }));
}

TEST(CatalogUpgrade, OldEntriesGainCountsPathsAndParts)
{
    MemoryBlock catalog(0);
    catalog.Append(OldEntry(1, "Story", "GT"));
    catalog.Append(OldEntry(2, "Map", "BMP"));
    catalog.Append(OldEntry(3, "Song", "WAV"));
    ASSERT_EQ(CatalogUpgrade::AddPartAndExternalCounts(catalog), 3);

    ASSERT_EQ(CatalogUpgrade::AttachExternals(catalog, 3, Paths({ "C:\\SND\\SONG.WAV", "SONG2.WAV" })), 1);
    ASSERT_EQ(CatalogUpgrade::AttachInternals(catalog, 1, Ids({ 10, 11, 12, 13 })), 1);
    ASSERT_EQ(CatalogUpgrade::AttachInternals(catalog, 2, Ids({ 20, 21, 22 })), 1);
    // A second list for a medium that has parts adds one "Hots".
    ASSERT_EQ(CatalogUpgrade::AttachInternals(catalog, 2, Ids({ 23 })), 1);
    ASSERT_EQ(CatalogUpgrade::AttachInternals(catalog, 3, Ids({ 30 })), 1);
    EXPECT_EQ(CatalogUpgrade::AttachInternals(catalog, 8, Ids({ 1 })), 0);

    MediaCatalog c(catalog);
    MediaEntry e;
    ASSERT_EQ(c.Find(1, e), 1);
    ASSERT_EQ(e.parts.size(), 3u);
    EXPECT_EQ(e.parts[0].tag + e.parts[1].tag + e.parts[2].tag, "TextStylRulr");
    EXPECT_EQ(e.parts[2].recordId, 12u);
    EXPECT_EQ(e.storedSize, -1);

    ASSERT_EQ(c.Find(2, e), 1);
    ASSERT_EQ(e.parts.size(), 3u);
    EXPECT_EQ(e.parts[0].tag, "Data");
    EXPECT_EQ(e.parts[0].recordId, 20u);
    EXPECT_EQ(e.parts[1].tag, "Hots");
    EXPECT_EQ(e.parts[1].recordId, 21u);
    EXPECT_EQ(e.parts[2].tag, "Hots");
    EXPECT_EQ(e.parts[2].recordId, 23u);

    ASSERT_EQ(c.Find(3, e), 1);
    ASSERT_EQ(e.externals.size(), 2u);
    EXPECT_EQ(e.externals[0].tag, "File");
    EXPECT_EQ(e.externals[0].path, "C:\\SND\\SONG.WAV");
    EXPECT_EQ(e.externals[1].path, "SONG2.WAV");
    ASSERT_EQ(e.parts.size(), 1u) << "a short id list gives as many parts as it holds";
    EXPECT_EQ(e.parts[0].tag, "Data");
    EXPECT_EQ(e.parts[0].recordId, 30u);
}

TEST(CatalogUpgrade, DamagedOldCatalogsAreCarriedOverAsFarAsReadable)
{
    MemoryBlock catalog = OldEntry(1, "Fine", "BMP");
    MemoryBlock bad = OldEntry(2, "Bad", "BMP");
    bad.WriteInt(8, 120, 1);  // name length past the entry
    catalog.Append(bad);
    EXPECT_EQ(CatalogUpgrade::AddPartAndExternalCounts(catalog), 1);
    // A path list without its final NUL, and an id list cut mid-id.
    MemoryBlock paths(0);
    paths.AppendString("UNTERMINATED", Nul::Exclude);
    EXPECT_EQ(CatalogUpgrade::AttachExternals(catalog, 1, paths), 1);
    EXPECT_EQ(CatalogUpgrade::AttachInternals(catalog, 1, MemoryBlock("\x05\x00", 2)), 1);
    MediaCatalog c(catalog);
    MediaEntry e;
    ASSERT_EQ(c.Find(1, e), 1);
    EXPECT_TRUE(e.externals.empty());
    EXPECT_TRUE(e.parts.empty());
}

TEST(CatalogUpgrade, FolderRecordsGetTheirIdsAndTheRootsId)
{
    auto folderBody = [](const std::string& name, std::vector<int32_t> subs, std::vector<int32_t> media) {
        MemoryBlock b(0);
        b.AppendString(name, Nul::Include);
        b.AppendInt(static_cast<int32_t>(subs.size()), 4);
        for (int32_t s : subs)
            b.AppendInt(s, 4);
        b.AppendInt(static_cast<int32_t>(media.size()), 4);
        for (int32_t m : media)
            b.AppendInt(m, 4);
        return b;
    };
    MemoryBlock tree = folderBody("Project", { 2, 5 }, { 1 });
    std::vector<StoredRecord> records;
    records.push_back({ 0, folderBody("Root copy", {}, {}) });
    records.push_back({ 2, folderBody("Art", {}, { 3, 4 }) });
    records.push_back({ 5, folderBody("Sound", {}, {}) });
    CatalogUpgrade::MergeFolderRecords(tree, records);

    FolderTree folders;
    ASSERT_EQ(folders.Parse(tree), 1);
    ASSERT_EQ(folders.Folders().size(), 3u);
    EXPECT_EQ(folders.Folders()[0].id, 0);
    EXPECT_EQ(folders.Folders()[1].name, "Sound");
    EXPECT_EQ(folders.Folders()[2].id, 2);
    EXPECT_EQ(folders.Folders()[2].media, (std::vector<uint32_t> { 3, 4 }));
    EXPECT_EQ(folders.Parent(5), 0);
}
