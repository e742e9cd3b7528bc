#include "db/MediaCatalogWriter.h"

#include <algorithm>

#include "db/MediaCatalogFormat.h"
#include "db/MediaDatabase.h"

namespace tamber {

using namespace catalog;

MediaCatalogWriter::~MediaCatalogWriter()
{
    while (m_open > 0)
        Commit();
}

void MediaCatalogWriter::Begin()
{
    ++m_open;
    m_db.BeginDeferred();
}

int32_t MediaCatalogWriter::Commit()
{
    if (m_open == 0)
        return 0;
    --m_open;
    return m_db.EndDeferred();
}

bool MediaCatalogWriter::CanEdit() const
{
    return m_db.CanEdit();
}

int32_t MediaCatalogWriter::WritePart(const MemoryBlock& bytes, int32_t encoding, uint32_t& recordId)
{
    RecordFile& records = m_db.m_records;
    recordId = std::max<uint32_t>(records.NextRecordId(kDataRecord), 1);
    return records.WriteRecord(bytes, kDataRecord, recordId, encoding);
}

int32_t MediaCatalogWriter::UpdateStoredSize(MediaEntry& entry)
{
    int64_t total = 0;
    for (const auto& part : entry.parts)
        total += m_db.m_records.RecordLength(kDataRecord, part.recordId);
    entry.storedSize = total > INT32_MAX ? INT32_MAX : static_cast<int32_t>(total);
    return 1;
}

int32_t MediaCatalogWriter::CreateMedium(const NewMedium& medium, uint32_t* id)
{
    if (!CanEdit() || medium.name.empty() || medium.cacheFlag < 0 || medium.cacheFlag > kMaxCacheFlag)
        return 0;
    m_db.CheckFreshness();
    MediaCatalog& catalog = m_db.m_catalog;
    MediaEntry entry;
    entry.id = medium.id != 0 ? medium.id : catalog.NextId();
    if (entry.id == 0 || catalog.PositionOf(entry.id) >= 0)
        return 0;
    if (medium.folder >= 0 && !m_db.m_folders.Find(medium.folder))
        return 0;
    entry.name = medium.name;
    entry.type = medium.type;
    entry.encoding = medium.encoding;
    entry.cacheFlag = medium.cacheFlag;

    Begin();
    for (const auto& part : medium.parts) {
        MediaPart stored { part.tag, 0 };
        if (!WritePart(part.bytes, medium.encoding, stored.recordId)) {
            for (const auto& written : entry.parts)
                m_db.m_records.DeleteRecord(kDataRecord, written.recordId);
            Commit();
            return 0;
        }
        entry.parts.push_back(stored);
    }
    for (const auto& file : medium.files)
        entry.externals.push_back(ExternalRef { kExternalFileTag, file });
    UpdateStoredSize(entry);
    int32_t result = catalog.Add(entry) && m_db.StoreCatalog();
    if (result && medium.folder >= 0 && m_db.m_folders.FileMedia(medium.folder, entry.id))
        result = m_db.StoreFolders();
    if (Commit() == 0)
        result = 0;
    if (result && id)
        *id = entry.id;
    return result;
}

int32_t MediaCatalogWriter::DeleteMedium(uint32_t id)
{
    if (!CanEdit())
        return 0;
    m_db.CheckFreshness();
    MediaCatalog& catalog = m_db.m_catalog;
    MediaEntry entry;
    if (!catalog.Find(id, entry))
        return 0;
    Begin();
    catalog.Remove(id);
    // A part record may be shared by another medium; keep it then.
    std::vector<uint32_t> shared;
    MediaEntry other;
    for (int32_t i = 0; i < catalog.Count(); ++i)
        if (catalog.Nth(i, other))
            for (const auto& part : other.parts)
                shared.push_back(part.recordId);
    for (const auto& part : entry.parts)
        if (std::find(shared.begin(), shared.end(), part.recordId) == shared.end())
            m_db.m_records.DeleteRecord(kDataRecord, part.recordId);
    m_db.m_records.DeleteRecord(kJumpRecord, id);
    if (m_db.m_jumpsMedia == id)
        m_db.m_jumpsLoaded = false;
    int32_t result = m_db.StoreCatalog();
    if (m_db.m_folders.UnfileEverywhere(id) > 0 && !m_db.StoreFolders())
        result = 0;
    if (Commit() == 0)
        result = 0;
    return result;
}

int32_t MediaCatalogWriter::ReplacePart(uint32_t id, int32_t partIndex, const MemoryBlock& bytes)
{
    if (!CanEdit())
        return 0;
    MediaEntry entry;
    if (!m_db.GetEntry(id, entry) || partIndex < 0 || partIndex >= static_cast<int32_t>(entry.parts.size()))
        return 0;
    Begin();
    int32_t result = m_db.m_records.WriteRecord(bytes, kDataRecord, entry.parts[static_cast<size_t>(partIndex)].recordId,
        entry.encoding);
    UpdateStoredSize(entry);
    if (result)
        result = m_db.m_catalog.Replace(entry) && m_db.StoreCatalog();
    if (Commit() == 0)
        result = 0;
    return result;
}

int32_t MediaCatalogWriter::AddPart(uint32_t id, const NewPart& part)
{
    if (!CanEdit())
        return 0;
    MediaEntry entry;
    if (!m_db.GetEntry(id, entry))
        return 0;
    Begin();
    MediaPart stored { part.tag, 0 };
    int32_t result = WritePart(part.bytes, entry.encoding, stored.recordId);
    if (result) {
        entry.parts.push_back(stored);
        UpdateStoredSize(entry);
        result = m_db.m_catalog.Replace(entry) && m_db.StoreCatalog();
    }
    if (Commit() == 0)
        result = 0;
    return result;
}

int32_t MediaCatalogWriter::SetCacheFlag(uint32_t id, int32_t cacheFlag)
{
    MediaEntry entry;
    if (!CanEdit() || cacheFlag < 0 || cacheFlag > kMaxCacheFlag || !m_db.GetEntry(id, entry))
        return 0;
    entry.cacheFlag = cacheFlag;
    return m_db.m_catalog.Replace(entry) && m_db.StoreCatalog();
}

int32_t MediaCatalogWriter::SetJumpTable(uint32_t id, const JumpTable& table)
{
    if (!CanEdit() || m_db.m_catalog.PositionOf(id) < 0)
        return 0;
    m_db.m_jumpsLoaded = false;
    if (table.Count() == 0) {
        m_db.m_records.DeleteRecord(kJumpRecord, id);
        return 1;
    }
    return m_db.m_records.WriteRecord(table.Serialize(), kJumpRecord, id, 0);
}

}  // namespace tamber
