// Opens a media database built from fuzz bytes and walks every entry, part, folder and jump.
//
// Input: one settings byte (bits 0-1: drive kind fixed/CD-ROM/network/fixed; bit 2: open
// read-only; bit 3: try authoring edits), then records, each: a name index (1 byte, into the
// catalogue's record names), an id (1 byte), a payload length (2 bytes, little-endian) and the
// payload. Every payload is also fed straight to the catalogue, folder and jump parsers.
#include <cstddef>
#include <algorithm>
#include <cstdint>

#include "db/CatalogUpgrade.h"
#include "db/MediaCatalogWriter.h"
#include "db/MediaDatabase.h"
#include "platform/FakeSystemServices.h"
#include "platform/MemoryFileSystem.h"

using namespace tamber;

namespace {

constexpr const char* kNames[] = { "MMEntry", "MMFoldr", "MMEJump", "MMEExt", "MMEInt", "MMData", "MMPerms", "MMStart" };
constexpr const char* kPath = "/cd/title.mmd";

void WalkBlocks(const MemoryBlock& payload)
{
    MediaCatalog catalog(payload);
    MediaEntry e;
    for (int32_t i = 0; i < catalog.Count(); ++i)
        catalog.Nth(i, e);
    catalog.FindByName("x", "", e);
    FolderTree tree;
    tree.Parse(payload);
    for (const auto& f : tree.Folders())
        tree.Parent(f.id);
    JumpTable jumps;
    jumps.Parse(payload);
    JumpTable::LinkedMedia(payload);
    MemoryBlock old = payload;
    CatalogUpgrade::AddPartAndExternalCounts(old);
    CatalogUpgrade::AttachExternals(old, 1, payload);
    CatalogUpgrade::AttachInternals(old, 1, payload);
}

void WalkDatabase(MediaDatabase& db)
{
    for (int32_t i = 0; i < db.EntryCount(); ++i) {
        uint32_t id = 0;
        MediaEntry e;
        if (!db.NthEntry(i, &id) || !db.GetEntry(id, e))
            continue;
        EntryInfo info;
        db.FindEntryByName(e.name, e.type, &info);
        db.FindEntryById(id, &info);
        MemoryBlock block(0);
        for (int32_t p = 0; p < static_cast<int32_t>(e.parts.size()); ++p) {
            std::string tag, path;
            int64_t offset = 0;
            int32_t length = 0;
            db.ReadEntryPart(info, p, &tag, block);
            db.PartPosition(info, p, &tag, path, offset, length);
        }
        for (int32_t r = 0; r < static_cast<int32_t>(e.externals.size()); ++r) {
            std::string tag, path;
            db.ExternalPath(info, r, &tag, path);
        }
        db.PrefetchEntry(info);
        db.FlushPrefetch();
        for (int32_t j = 0; j < db.JumpCount(id); ++j) {
            int32_t jumpId = 0;
            std::string name;
            if (db.NthJump(id, j, jumpId, block, &name))
                JumpTable::LinkedMedia(block);
        }
    }
    for (const auto& f : db.Folders().Folders()) {
        std::string name;
        std::vector<int32_t> subs;
        std::vector<uint32_t> media;
        db.FolderParent(f.id);
        db.FolderName(f.id, name);
        db.FolderSubfolders(f.id, subs);
        db.FolderMedia(f.id, media);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    uint8_t settings = data[0];
    MemoryFileSystem fs;
    FakeSystemServices system("/home/fuzz/data");
    static constexpr DriveKind kKinds[] = { DriveKind::Fixed, DriveKind::CdRom, DriveKind::Network, DriveKind::Fixed };
    system.ForceDriveKind(kKinds[settings & 3]);
    {
        RecordFile file(fs);
        if (!file.Open(kPath, ""))
            return 0;
        size_t pos = 1;
        while (pos + 4 <= size) {
            const char* name = kNames[data[pos] % (sizeof kNames / sizeof kNames[0])];
            uint32_t id = data[pos + 1];
            size_t length = data[pos + 2] | (size_t { data[pos + 3] } << 8);
            pos += 4;
            length = std::min(length, size - pos);
            MemoryBlock payload(data + pos, static_cast<int32_t>(length));
            pos += length;
            WalkBlocks(payload);
            file.WriteRecord(payload, name, id, 0);
        }
    }
    CapturingMessageSink messages;
    MediaDatabase db(fs, &system, &messages);
    if (!db.Open(kPath, {}, settings & 4 ? DatabaseAccess::ReadOnly : DatabaseAccess::ReadWrite))
        return 0;
    WalkDatabase(db);
    if (settings & 8) {
        MediaCatalogWriter writer(db);
        NewMedium m;
        m.name = "Fuzz";
        m.type = "Text";
        m.parts = { { "Data", MemoryBlock("abc", 3) } };
        uint32_t id = 0;
        if (writer.CreateMedium(m, &id))
            writer.DeleteMedium(id);
        uint32_t first = 0;
        if (db.NthEntry(0, &first))
            writer.DeleteMedium(first);
        db.AddFolder(0, "F");
        db.RemoveFolder(1);
        WalkDatabase(db);
    }
    return 0;
}
