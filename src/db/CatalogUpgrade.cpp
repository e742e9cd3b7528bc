#include "db/CatalogUpgrade.h"

#include <algorithm>
#include <string>

#include "db/MediaCatalog.h"
#include "db/MediaCatalogFormat.h"

namespace tamber {

using namespace catalog;

namespace {

// Where the lists of a current-layout entry lie; every offset checked against the entry.
struct EntryLayout {
    int32_t position = 0;
    int32_t length = 0;
    std::string type;
    int32_t partCountAt = 0;
    int32_t partCount = 0;
    int32_t externalCountAt = 0;
    int32_t externalCount = 0;
    int32_t externalsEnd = 0;
};

// The length of the short string at pos, or -1 when it runs past end.
int32_t ShortStringSize(const MemoryBlock& block, int32_t pos, int32_t end)
{
    if (pos >= end)
        return -1;
    int32_t n = block.ReadInt(pos, 1) & 0xFF;
    return n + 1 <= end - pos ? n + 1 : -1;
}

bool Locate(const MemoryBlock& catalog, uint32_t mediaId, EntryLayout& layout)
{
    int32_t position = 0;
    int32_t length = 0;
    while ((length = MediaEntry::StoredLength(catalog, position)) != 0
        && static_cast<uint32_t>(catalog.ReadInt(position + kEntryIdOffset, 4)) != mediaId)
        position += length;
    if (length == 0)
        return false;
    int32_t end = position + length;
    int32_t pos = position + kEntryNameOffset;
    int32_t nameSize = ShortStringSize(catalog, pos, end);
    if (nameSize < 0)
        return false;
    pos += nameSize;
    int32_t typeSize = ShortStringSize(catalog, pos, end);
    if (typeSize < 0)
        return false;
    layout.type.assign(reinterpret_cast<const char*>(catalog.Data(pos + 1)), static_cast<size_t>(typeSize - 1));
    pos += typeSize;
    if (end - pos < kCountSize)
        return false;
    layout.partCountAt = pos;
    layout.partCount = catalog.ReadInt(pos, 4);
    pos += kCountSize;
    if (layout.partCount < 0 || int64_t { layout.partCount } * kPartSize > end - pos - kCountSize)
        return false;
    pos += layout.partCount * kPartSize;
    layout.externalCountAt = pos;
    layout.externalCount = catalog.ReadInt(pos, 4);
    pos += kCountSize;
    if (layout.externalCount < 0)
        return false;
    for (int32_t i = 0; i < layout.externalCount; ++i) {
        if (end - pos < kExternalHeadSize)
            return false;
        int32_t pathSize = ShortStringSize(catalog, pos + kExternalTagSize, end);
        if (pathSize < 0)
            return false;
        pos += kExternalTagSize + pathSize;
    }
    layout.position = position;
    layout.length = length;
    layout.externalsEnd = pos;
    return true;
}

void Grow(MemoryBlock& catalog, const EntryLayout& layout, int32_t added)
{
    catalog.WriteInt(layout.position + kEntryLengthOffset, layout.length + added, 4);
}

}  // namespace

void CatalogUpgrade::MergeEntryRecords(MemoryBlock& catalog, const std::vector<StoredRecord>& records)
{
    for (auto it = records.rbegin(); it != records.rend(); ++it)
        if (it->id != kCatalogRecordId)
            catalog.Append(it->payload);
}

int32_t CatalogUpgrade::AddPartAndExternalCounts(MemoryBlock& catalog)
{
    // Old entries are length, id, name and type; anything else they carry stays behind the
    // new counts.
    constexpr int32_t kOldMinEntry = kEntryHeadSize + 2;
    constexpr uint8_t kZeroCounts[2 * kCountSize] = {};
    int32_t rewritten = 0;
    int32_t position = 0;
    while (catalog.Size() - position >= kOldMinEntry) {
        int32_t length = catalog.ReadInt(position, 4);
        if (length < kOldMinEntry || length > catalog.Size() - position)
            break;
        int32_t end = position + length;
        int32_t pos = position + kEntryNameOffset;
        int32_t nameSize = ShortStringSize(catalog, pos, end);
        int32_t typeSize = nameSize < 0 ? -1 : ShortStringSize(catalog, pos + nameSize, end);
        if (typeSize < 0 || length > INT32_MAX - 2 * kCountSize)
            break;
        if (catalog.Insert(pos + nameSize + typeSize, kZeroCounts, sizeof kZeroCounts) != sizeof kZeroCounts)
            break;
        catalog.WriteInt(position, length + 2 * kCountSize, 4);
        position += length + 2 * kCountSize;
        ++rewritten;
    }
    return rewritten;
}

int32_t CatalogUpgrade::AttachExternals(MemoryBlock& catalog, uint32_t mediaId, const MemoryBlock& paths)
{
    EntryLayout layout;
    if (!Locate(catalog, mediaId, layout))
        return 0;
    MemoryBlock refs(0);
    int32_t added = 0;
    for (int32_t pos = 0; pos < paths.Size();) {
        std::string path = paths.ReadCString(pos);
        if (path.empty())
            break;  // the empty string ends the list (or no NUL was left)
        pos += static_cast<int32_t>(path.size()) + 1;
        path.resize(std::min<size_t>(path.size(), kMaxShortString - 1));
        refs.AppendString(kExternalFileTag, Nul::Exclude);
        refs.AppendInt(static_cast<int32_t>(path.size()) + 1, 1);
        refs.AppendString(path, Nul::Include);
        ++added;
    }
    if (added == 0)
        return 1;
    if (catalog.Insert(layout.externalsEnd, refs.Data(), refs.Size()) != refs.Size())
        return 0;
    catalog.WriteInt(layout.externalCountAt, layout.externalCount + added, 4);
    Grow(catalog, layout, refs.Size());
    return 1;
}

int32_t CatalogUpgrade::AttachInternals(MemoryBlock& catalog, uint32_t mediaId, const MemoryBlock& recordIds)
{
    EntryLayout layout;
    if (!Locate(catalog, mediaId, layout))
        return 0;
    static const std::vector<const char*> kTextTags { kTagText, kTagStyl, kTagRulr };
    static const std::vector<const char*> kFirstTags { kTagData, kTagHots };
    static const std::vector<const char*> kLaterTags { kTagHots };
    const auto& tags = EqualsNoCase(layout.type, "GT") ? kTextTags : layout.partCount == 0 ? kFirstTags : kLaterTags;
    size_t available = static_cast<size_t>(recordIds.Size() / 4);
    size_t n = std::min(tags.size(), available);
    if (n == 0)
        return 1;
    MemoryBlock parts(0);
    for (size_t i = 0; i < n; ++i) {
        parts.AppendString(tags[i], Nul::Exclude);
        parts.AppendInt(recordIds.ReadInt(static_cast<int32_t>(i) * 4, 4), 4);
    }
    int32_t partsEnd = layout.partCountAt + kCountSize + layout.partCount * kPartSize;
    if (catalog.Insert(partsEnd, parts.Data(), parts.Size()) != parts.Size())
        return 0;
    catalog.WriteInt(layout.partCountAt, layout.partCount + static_cast<int32_t>(n), 4);
    Grow(catalog, layout, parts.Size());
    return 1;
}

void CatalogUpgrade::MergeFolderRecords(MemoryBlock& tree, const std::vector<StoredRecord>& records)
{
    tree.InsertInt(0, kRootFolderId, 4);
    for (auto it = records.rbegin(); it != records.rend(); ++it) {
        if (it->id == kFolderRecordId)
            continue;
        tree.AppendInt(static_cast<int32_t>(it->id), 4);
        tree.Append(it->payload);
    }
}

}  // namespace tamber
