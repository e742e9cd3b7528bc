#include "db/MediaDatabase.h"

#include <algorithm>

#include "db/CatalogUpgrade.h"
#include "db/MediaCatalogFormat.h"

namespace tamber {

using namespace catalog;

MediaDatabase::MediaDatabase(FileSystem& fileSystem, SystemServices* system, MessageSink* messages)
    : m_fs(fileSystem)
    , m_system(system)
    , m_messages(messages)
    , m_records(fileSystem)
{
}

MediaDatabase::~MediaDatabase() = default;

int32_t MediaDatabase::Open(const std::string& path, std::string_view password, DatabaseAccess access)
{
    m_records.Close();
    // The record file copies the password's bytes; hand it a real (possibly empty) string.
    if (password.data() == nullptr)
        password = "";
    OpenPolicy policy = access == DatabaseAccess::ReadOnly ? OpenPolicy::ReadOnly : OpenPolicy::CreateIfMissing;
    if (!m_records.Open(path, password, policy))
        return 0;
    return OpenOverRecords();
}

int32_t MediaDatabase::OpenOverRecords()
{
    m_permanent.reset();
    m_temporary.reset();
    m_upgrades = {};
    m_catalog.Load(MemoryBlock(0));
    m_folders = FolderTree();
    m_jumps = JumpTable();
    m_jumpsLoaded = false;
    m_deferDepth = 0;
    m_prefetched.clear();
    m_catalogDirty = m_foldersDirty = false;
    if (!m_records.IsOpen())
        return 0;
    const std::string& path = m_records.Path();
    DriveKind kind = m_system ? m_system->DriveKindOf(path) : DriveKind::Fixed;
    m_cdRom = kind == DriveKind::CdRom;
    m_network = kind == DriveKind::Network;

    UpgradeEntries();
    UpgradeInternals();
    UpgradeFolders();
    m_catalogTime = m_records.RecordTime(kEntryRecord, kCatalogRecordId);
    m_folderTime = m_records.RecordTime(kFolderRecord, kFolderRecordId);
    if (m_cdRom)
        PrepareCompanions();
    return 1;
}

std::string MediaDatabase::DatabaseFolder() const
{
    const std::string& path = m_records.Path();
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// ---- Upgrades ------------------------------------------------------------------------------

void MediaDatabase::Announce(const char* message)
{
    if (m_messages)
        m_messages->ShowMessage(MessageKind::Information, kUpgradeCaption, message);
}

std::vector<StoredRecord> MediaDatabase::ReadAllRecords(const char* name)
{
    // One directory walk for all ids: asking for the n-th record per record walks it n times.
    std::vector<StoredRecord> records;
    for (uint32_t id : m_records.RecordIds(name)) {
        StoredRecord record;
        record.id = id;
        if (m_records.ReadRecord(record.payload, name, id))
            records.push_back(std::move(record));
    }
    return records;
}

void MediaDatabase::DeleteAllRecords(const char* name, uint32_t except, bool exceptValid)
{
    // From the last to the first in file order, as the records were taken.
    std::vector<uint32_t> ids = m_records.RecordIds(name);
    for (auto it = ids.rbegin(); it != ids.rend(); ++it)
        if (!(exceptValid && *it == except))
            m_records.DeleteRecord(name, *it);
}

void MediaDatabase::UpgradeEntries()
{
    MemoryBlock block(0);
    m_records.ReadRecord(block, kEntryRecord, kCatalogRecordId);
    if (m_records.CountRecords(kEntryRecord) > 1) {
        Announce(kUpgradeEntriesMessage);
        m_upgrades.entries = true;
        CatalogUpgrade::MergeEntryRecords(block, ReadAllRecords(kEntryRecord));
        m_catalog.Load(std::move(block));
        if (IsReadOnly()) {
            m_upgrades.inMemoryOnly = true;
        } else {
            m_records.BeginBatch();
            DeleteAllRecords(kEntryRecord, kCatalogRecordId, true);
            StoreCatalog();
            m_records.EndBatch();
        }
        return;
    }
    m_catalog.Load(std::move(block));
}

void MediaDatabase::UpgradeInternals()
{
    if (m_records.CountRecords(kOldExternRecord) == 0 && m_records.CountRecords(kOldInternRecord) == 0)
        return;
    Announce(kUpgradeInternalsMessage);
    m_upgrades.internals = true;
    MemoryBlock block = m_catalog.Block();
    CatalogUpgrade::AddPartAndExternalCounts(block);
    auto externs = ReadAllRecords(kOldExternRecord);
    for (auto it = externs.rbegin(); it != externs.rend(); ++it)
        CatalogUpgrade::AttachExternals(block, it->id, it->payload);
    auto interns = ReadAllRecords(kOldInternRecord);
    for (auto it = interns.rbegin(); it != interns.rend(); ++it)
        CatalogUpgrade::AttachInternals(block, it->id, it->payload);
    m_catalog.Load(std::move(block));
    if (IsReadOnly()) {
        m_upgrades.inMemoryOnly = true;
        return;
    }
    m_records.BeginBatch();
    DeleteAllRecords(kOldExternRecord, 0, false);
    DeleteAllRecords(kOldInternRecord, 0, false);
    StoreCatalog();
    m_records.EndBatch();
}

void MediaDatabase::UpgradeFolders()
{
    MemoryBlock tree(0);
    bool present = m_records.ReadRecord(tree, kFolderRecord, kFolderRecordId) != 0;
    if (m_records.CountRecords(kFolderRecord) > 1) {
        Announce(kUpgradeFoldersMessage);
        m_upgrades.folders = true;
        if (!present) {
            // The root's record is missing: start from an empty root, without its id like the rest.
            tree.AppendString(kRootFolderName, Nul::Include);
            tree.AppendInt(0, kCountSize);
            tree.AppendInt(0, kCountSize);
        }
        CatalogUpgrade::MergeFolderRecords(tree, ReadAllRecords(kFolderRecord));
        m_folders.Parse(tree);
        if (IsReadOnly()) {
            m_upgrades.inMemoryOnly = true;
        } else {
            m_records.BeginBatch();
            DeleteAllRecords(kFolderRecord, kFolderRecordId, true);
            StoreFolders();
            m_records.EndBatch();
        }
        return;
    }
    if (!present) {
        m_folders = FolderTree::Fresh();
        if (!IsReadOnly())
            StoreFolders();
        return;
    }
    m_folders.Parse(tree);
}

// ---- Catalogue -----------------------------------------------------------------------------

int32_t MediaDatabase::StoreCatalog()
{
    if (m_deferDepth > 0) {
        m_catalogDirty = true;
        return 1;
    }
    int32_t slack = m_records.Slack();
    m_records.SetSlack(kCatalogSlack);
    int32_t result = m_records.WriteRecord(m_catalog.Block(), kEntryRecord, kCatalogRecordId, 0);
    m_records.SetSlack(slack);
    m_catalogTime = m_records.RecordTime(kEntryRecord, kCatalogRecordId);
    m_catalogDirty = false;
    return result;
}

int32_t MediaDatabase::StoreFolders()
{
    if (m_deferDepth > 0) {
        m_foldersDirty = true;
        return 1;
    }
    int32_t slack = m_records.Slack();
    m_records.SetSlack(kFolderSlack);
    int32_t result = m_records.WriteRecord(m_folders.Serialize(), kFolderRecord, kFolderRecordId, 0);
    m_records.SetSlack(slack);
    m_folderTime = m_records.RecordTime(kFolderRecord, kFolderRecordId);
    m_foldersDirty = false;
    return result;
}

void MediaDatabase::BeginDeferred()
{
    if (m_deferDepth++ == 0 && !IsReadOnly())
        m_records.BeginBatch();
}

int32_t MediaDatabase::EndDeferred()
{
    if (m_deferDepth == 0)
        return 0;
    if (--m_deferDepth > 0)
        return 1;
    int32_t result = 1;
    if (m_catalogDirty && !StoreCatalog())
        result = 0;
    if (m_foldersDirty && !StoreFolders())
        result = 0;
    if (!IsReadOnly())
        m_records.EndBatch();
    return result;
}

void MediaDatabase::CheckFreshness()
{
    // Only a network drive can change under us without our knowing; a catalogue upgraded in
    // memory must not be replaced by the old one on disk.
    if (!m_network || m_cdRom || m_upgrades.inMemoryOnly || m_deferDepth > 0 || !IsOpen())
        return;
    uint32_t time = m_records.RecordTime(kEntryRecord, kCatalogRecordId);
    if (time != m_catalogTime) {
        MemoryBlock block(0);
        m_records.ReadRecord(block, kEntryRecord, kCatalogRecordId);
        m_catalog.Load(std::move(block));
        m_catalogTime = time;
    }
    time = m_records.RecordTime(kFolderRecord, kFolderRecordId);
    if (time != m_folderTime) {
        MemoryBlock tree(0);
        if (m_records.ReadRecord(tree, kFolderRecord, kFolderRecordId))
            m_folders.Parse(tree);
        m_folderTime = time;
    }
}

void MediaDatabase::Fill(const MediaEntry& e, EntryInfo* info, const EntryFields& fields)
{
    if (info)
        *info = e.Info();
    if (fields.partCount)
        *fields.partCount = static_cast<int32_t>(e.parts.size());
    if (fields.externalCount)
        *fields.externalCount = static_cast<int32_t>(e.externals.size());
    if (fields.encoding)
        *fields.encoding = e.encoding;
    if (fields.storedSize)
        *fields.storedSize = e.storedSize;
    if (fields.cacheFlag)
        *fields.cacheFlag = e.cacheFlag;
}

int32_t MediaDatabase::FindEntryById(uint32_t id, EntryInfo* info, const EntryFields& fields)
{
    CheckFreshness();
    MediaEntry e;
    if (!m_catalog.Find(id, e))
        return 0;
    Fill(e, info, fields);
    return 1;
}

int32_t MediaDatabase::FindEntryByName(const std::string& name, const std::string& type, EntryInfo* info,
    const EntryFields& fields)
{
    CheckFreshness();
    MediaEntry e;
    if (!m_catalog.FindByName(name, type, e))
        return 0;
    Fill(e, info, fields);
    return 1;
}

int32_t MediaDatabase::NthEntry(int32_t index, uint32_t* id, const EntryFields& fields)
{
    CheckFreshness();
    MediaEntry e;
    if (!m_catalog.Nth(index, e))
        return 0;
    if (id)
        *id = e.id;
    Fill(e, nullptr, fields);
    return 1;
}

int32_t MediaDatabase::GetEntry(uint32_t id, MediaEntry& entry)
{
    CheckFreshness();
    return m_catalog.Find(id, entry);
}

int32_t MediaDatabase::EntryCount()
{
    CheckFreshness();
    return m_catalog.Count();
}

// ---- Parts ---------------------------------------------------------------------------------

RecordFile* MediaDatabase::SourceOf(uint32_t recordId)
{
    for (RecordFile* source : { m_permanent.get(), m_temporary.get() })
        if (source && source->RecordExists(kDataRecord, recordId))
            return source;
    return m_records.RecordExists(kDataRecord, recordId) ? &m_records : nullptr;
}

int32_t MediaDatabase::CopyPart(uint32_t recordId, RecordFile& target)
{
    MemoryBlock payload(0);
    if (!m_records.ReadRecord(payload, kDataRecord, recordId))
        return 0;
    return target.WriteRecord(payload, kDataRecord, recordId, 0);
}

int32_t MediaDatabase::ReadEntryPart(const EntryInfo& info, int32_t partIndex, std::string* tag, MemoryBlock& block)
{
    MediaEntry e;
    if (!GetEntry(info.id, e) || partIndex < 0 || partIndex >= static_cast<int32_t>(e.parts.size()))
        return 0;
    const MediaPart& part = e.parts[static_cast<size_t>(partIndex)];
    if (tag)
        *tag = part.tag;
    if (m_permanent && m_permanent->ReadRecord(block, kDataRecord, part.recordId))
        return 1;
    if (m_temporary && m_temporary->ReadRecord(block, kDataRecord, part.recordId))
        return 1;
    if (!m_records.ReadRecord(block, kDataRecord, part.recordId))
        return 0;
    if (m_permanent && m_temporary) {
        if (e.cacheFlag == static_cast<int32_t>(CacheFlag::PermanentOnRead))
            m_permanent->WriteRecord(block, kDataRecord, part.recordId, 0);
        else if (e.cacheFlag == static_cast<int32_t>(CacheFlag::TemporaryOnRead))
            m_temporary->WriteRecord(block, kDataRecord, part.recordId, 0);
    }
    return 1;
}

int32_t MediaDatabase::ReadEntryPartByTag(const EntryInfo& info, const std::string& tag, MemoryBlock& block)
{
    MediaEntry e;
    if (!GetEntry(info.id, e))
        return 0;
    int32_t index = e.FindPart(tag);
    return index < 0 ? 0 : ReadEntryPart(info, index, nullptr, block);
}

int32_t MediaDatabase::ExternalPath(const EntryInfo& info, int32_t refIndex, std::string* tag, std::string& path)
{
    MediaEntry e;
    if (!GetEntry(info.id, e) || refIndex < 0 || refIndex >= static_cast<int32_t>(e.externals.size()))
        return 0;
    const ExternalRef& ref = e.externals[static_cast<size_t>(refIndex)];
    if (tag)
        *tag = ref.tag;
    path = ref.path;
    return 1;
}

int32_t MediaDatabase::PrefetchEntry(const EntryInfo& info)
{
    MediaEntry e;
    if (!GetEntry(info.id, e))
        return 0;
    int32_t result = 1;
    for (const auto& part : e.parts) {
        RecordFile* source = SourceOf(part.recordId);
        if (!source || !source->PrefetchRecord(kDataRecord, part.recordId))
            result = 0;
        else
            m_prefetched.emplace_back(source, part.recordId);
    }
    return result;
}

void MediaDatabase::FlushPrefetch()
{
    // Reading a prefetched record takes it out of its source's cache; records read since were
    // taken already, and reading those again only costs a file read.
    MemoryBlock scratch(0);
    for (const auto& [source, recordId] : m_prefetched)
        source->ReadRecord(scratch, kDataRecord, recordId);
    m_prefetched.clear();
}

int32_t MediaDatabase::PartPosition(const EntryInfo& info, int32_t partIndex, std::string* tag, std::string& path,
    int64_t& offset, int32_t& length)
{
    MediaEntry e;
    if (!GetEntry(info.id, e) || partIndex < 0 || partIndex >= static_cast<int32_t>(e.parts.size()))
        return 0;
    const MediaPart& part = e.parts[static_cast<size_t>(partIndex)];
    if (tag)
        *tag = part.tag;
    bool onRead = e.cacheFlag == static_cast<int32_t>(CacheFlag::PermanentOnRead)
        || e.cacheFlag == static_cast<int32_t>(CacheFlag::TemporaryOnRead);
    if (m_permanent && m_temporary && onRead && !m_permanent->RecordExists(kDataRecord, part.recordId)
        && !m_temporary->RecordExists(kDataRecord, part.recordId)) {
        bool permanent = e.cacheFlag == static_cast<int32_t>(CacheFlag::PermanentOnRead);
        CopyPart(part.recordId, permanent ? *m_permanent : *m_temporary);
    }
    RecordFile* source = SourceOf(part.recordId);
    if (!source)
        return 0;
    path = source->Path();
    offset = source->RecordDataOffset(kDataRecord, part.recordId);
    length = source->RecordLength(kDataRecord, part.recordId);
    return 1;
}

// ---- Companions ----------------------------------------------------------------------------

void MediaDatabase::PrepareCompanions()
{
    if (!m_system)
        return;
    std::string folder = m_system->CompanionFolder();
    if (!m_system->MakeDirectories(folder))
        return;
    std::string name = m_records.Path();
    if (auto slash = name.find_last_of('/'); slash != std::string::npos)
        name = name.substr(slash + 1);
    if (auto dot = name.find_last_of('.'); dot != std::string::npos && dot > 0)
        name = name.substr(0, dot);
    std::string permanentPath = folder + "/" + name + kPermanentCompanionExt;
    std::string temporaryPath = folder + "/" + name + kTemporaryCompanionExt;

    auto permanent = std::make_unique<RecordFile>(m_fs);
    if (!permanent->Open(permanentPath, "") || permanent->IsReadOnly())
        return;
    // The temporary companion starts empty at every open.
    if (auto file = m_fs.Open(temporaryPath, FileMode::Create))
        file->Truncate(0);
    else
        return;
    auto temporary = std::make_unique<RecordFile>(m_fs);
    if (!temporary->Open(temporaryPath, "") || temporary->IsReadOnly())
        return;

    MemoryBlock perms(0);
    permanent->ReadRecord(perms, kPermsRecord, kPermsRecordId);
    std::vector<uint32_t> granted;
    for (int32_t at = 0; at + 4 <= perms.Size(); at += 4)
        granted.push_back(static_cast<uint32_t>(perms.ReadInt(at, 4)));

    permanent->BeginBatch();
    temporary->BeginBatch();
    MediaEntry e;
    for (int32_t i = 0; i < m_catalog.Count(); ++i) {
        if (!m_catalog.Nth(i, e))
            continue;
        RecordFile* target = nullptr;
        if (e.cacheFlag == static_cast<int32_t>(CacheFlag::PermanentAtOpen)
            && std::find(granted.begin(), granted.end(), e.id) == granted.end()) {
            granted.push_back(e.id);
            perms.AppendInt(static_cast<int32_t>(e.id), 4);
            target = permanent.get();
        } else if (e.cacheFlag == static_cast<int32_t>(CacheFlag::TemporaryAtOpen)) {
            target = temporary.get();
        }
        if (target)
            for (const auto& part : e.parts)
                CopyPart(part.recordId, *target);
    }
    permanent->WriteRecord(perms, kPermsRecord, kPermsRecordId, 0);
    permanent->EndBatch();
    temporary->EndBatch();
    m_permanent = std::move(permanent);
    m_temporary = std::move(temporary);
}

std::vector<uint32_t> MediaDatabase::Permissions()
{
    std::vector<uint32_t> ids;
    MemoryBlock perms(0);
    if (m_permanent && m_permanent->ReadRecord(perms, kPermsRecord, kPermsRecordId))
        for (int32_t at = 0; at + 4 <= perms.Size(); at += 4)
            ids.push_back(static_cast<uint32_t>(perms.ReadInt(at, 4)));
    return ids;
}

// ---- Folders -------------------------------------------------------------------------------

const FolderTree& MediaDatabase::Folders()
{
    CheckFreshness();
    return m_folders;
}

int32_t MediaDatabase::FolderParent(int32_t folder)
{
    return Folders().Parent(folder);
}

int32_t MediaDatabase::FolderName(int32_t folder, std::string& name)
{
    const Folder* f = Folders().Find(folder);
    if (!f)
        return 0;
    name = f->name;
    return 1;
}

int32_t MediaDatabase::FolderSubfolders(int32_t folder, std::vector<int32_t>& subfolders)
{
    const Folder* f = Folders().Find(folder);
    if (!f)
        return 0;
    subfolders = f->subfolders;
    return 1;
}

int32_t MediaDatabase::FolderMedia(int32_t folder, std::vector<uint32_t>& media)
{
    const Folder* f = Folders().Find(folder);
    if (!f)
        return 0;
    media = f->media;
    return 1;
}

int32_t MediaDatabase::AddFolder(int32_t parent, const std::string& name)
{
    if (!CanEdit())
        return -1;
    CheckFreshness();
    int32_t id = m_folders.AddFolder(parent, name);
    if (id < 0 || !StoreFolders())
        return -1;
    return id;
}

int32_t MediaDatabase::RenameFolder(int32_t folder, const std::string& name)
{
    if (!CanEdit())
        return 0;
    CheckFreshness();
    return m_folders.RenameFolder(folder, name) ? StoreFolders() : 0;
}

int32_t MediaDatabase::RemoveFolder(int32_t folder)
{
    if (!CanEdit())
        return 0;
    CheckFreshness();
    return m_folders.RemoveFolder(folder) ? StoreFolders() : 0;
}

int32_t MediaDatabase::FileMedia(int32_t folder, uint32_t mediaId)
{
    if (!CanEdit())
        return 0;
    CheckFreshness();
    return m_folders.FileMedia(folder, mediaId) ? StoreFolders() : 0;
}

int32_t MediaDatabase::UnfileMedia(int32_t folder, uint32_t mediaId)
{
    if (!CanEdit())
        return 0;
    CheckFreshness();
    return m_folders.UnfileMedia(folder, mediaId) ? StoreFolders() : 0;
}

// ---- Jumps ---------------------------------------------------------------------------------

int32_t MediaDatabase::LoadJumps(uint32_t mediaId)
{
    // Off a CD-ROM the record may have changed since, so it is read for every request.
    if (m_cdRom && m_jumpsLoaded && m_jumpsMedia == mediaId)
        return m_jumps.Count() > 0 ? 1 : 0;
    m_jumpsLoaded = true;
    m_jumpsMedia = mediaId;
    MemoryBlock block(0);
    if (!m_records.ReadRecord(block, kJumpRecord, mediaId)) {
        m_jumps = JumpTable();
        return 0;
    }
    m_jumps.Parse(block);
    return 1;
}

int32_t MediaDatabase::JumpCount(uint32_t mediaId)
{
    LoadJumps(mediaId);
    return m_jumps.Count();
}

int32_t MediaDatabase::NthJump(uint32_t mediaId, int32_t index, int32_t& jumpId, MemoryBlock& data, std::string* name)
{
    LoadJumps(mediaId);
    const JumpTarget* target = m_jumps.Nth(index);
    if (!target)
        return 0;
    jumpId = target->id;
    data = target->data;
    if (name)
        *name = target->name;
    return 1;
}

int32_t MediaDatabase::JumpById(uint32_t mediaId, int32_t jumpId, MemoryBlock& data, std::string* name)
{
    LoadJumps(mediaId);
    const JumpTarget* target = m_jumps.FindId(jumpId);
    if (!target)
        return 0;
    data = target->data;
    if (name)
        *name = target->name;
    return 1;
}

}  // namespace tamber
