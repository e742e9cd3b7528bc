#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/MemoryBlock.h"
#include "db/CatalogUpgrade.h"
#include "db/FolderTree.h"
#include "db/JumpTable.h"
#include "db/MediaCatalog.h"
#include "db/MediaEntry.h"
#include "db/RecordFile.h"
#include "platform/FileSystem.h"
#include "platform/MessageSink.h"
#include "platform/SystemServices.h"

namespace tamber {

// How a database is opened. ReadWrite falls back to reading only when the file refuses writes.
enum class DatabaseAccess { ReadWrite, ReadOnly };

// Which old layouts the open found and rewrote.
struct UpgradeReport {
    bool entries = false;    // one catalogue entry per "MMEntry" record
    bool internals = false;  // "MMEExt"/"MMEInt" records beside the catalogue
    bool folders = false;    // one folder per "MMFoldr" record
    // The file could not be written, so the upgrade lives in memory only.
    bool inMemoryOnly = false;
    bool Any() const { return entries || internals || folders; }
};

// Optional outputs of the entry lookups; null members are not filled.
struct EntryFields {
    int32_t* partCount = nullptr;
    int32_t* externalCount = nullptr;
    int32_t* encoding = nullptr;
    int32_t* storedSize = nullptr;
    int32_t* cacheFlag = nullptr;
};

// An open media database: the record file, the catalogue of media ("MMEntry" 0), the folder tree
// ("MMFoldr" 0) and the most recently used jump table ("MMEJump"), kept in memory. Opening
// rewrites older layouts (announcing each under the caption "MMDB" through the message sink).
// A database on a CD-ROM keeps copies of media flagged for caching in two companion record files
// in the "zd" folder of the per-user data folder; one on a network drive re-reads its catalogue
// and folders when another process changed them.
//
// Results: 1 success, 0 failure or absence. Used from one thread.
class MediaDatabase {
public:
    // system may be null: the drive then counts as fixed and there are no companions.
    // messages may be null: upgrade messages are then dropped.
    explicit MediaDatabase(FileSystem& fileSystem = FileSystem::Native(), SystemServices* system = nullptr,
        MessageSink* messages = nullptr);
    ~MediaDatabase();
    MediaDatabase(const MediaDatabase&) = delete;
    MediaDatabase& operator=(const MediaDatabase&) = delete;

    int32_t Open(const std::string& path, std::string_view password = {},
        DatabaseAccess access = DatabaseAccess::ReadWrite);
    // Completes the open over a record file the caller opened through Records() itself (tamberlyne
    // does, to report open failures its own way): drive kind, upgrades, catalogue, companions.
    int32_t OpenOverRecords();
    bool IsOpen() const { return m_records.IsOpen(); }
    bool WrongPassword() const { return m_records.WrongPassword(); }
    bool IsReadOnly() const { return m_records.IsReadOnly() || m_records.IsEmbedded(); }
    bool OnCdRom() const { return m_cdRom; }
    bool OnNetwork() const { return m_network; }
    const UpgradeReport& Upgrades() const { return m_upgrades; }
    const std::string& Path() const { return m_records.Path(); }
    // The folder holding the database file; relative catalogue paths start there.
    std::string DatabaseFolder() const;

    // The record file, for the other records of the database.
    RecordFile& Records() { return m_records; }

    // Catalogue lookups.
    int32_t FindEntryById(uint32_t id, EntryInfo* info, const EntryFields& fields = {});
    int32_t FindEntryByName(const std::string& name, const std::string& type, EntryInfo* info,
        const EntryFields& fields = {});
    int32_t NthEntry(int32_t index, uint32_t* id, const EntryFields& fields = {});
    // The whole decoded entry.
    int32_t GetEntry(uint32_t id, MediaEntry& entry);
    int32_t EntryCount();

    // Parts and external references of the medium with info's id.
    int32_t ReadEntryPart(const EntryInfo& info, int32_t partIndex, std::string* tag, MemoryBlock& block);
    int32_t ReadEntryPartByTag(const EntryInfo& info, const std::string& tag, MemoryBlock& block);
    int32_t ExternalPath(const EntryInfo& info, int32_t refIndex, std::string* tag, std::string& path);
    // Reads every part of the medium ahead into the read-ahead cache of its source.
    int32_t PrefetchEntry(const EntryInfo& info);
    // Empties the read-ahead caches of the database and its companions.
    void FlushPrefetch();
    // Where a player reading the file directly finds a part's bytes: the file, the absolute
    // position and the stored length.
    int32_t PartPosition(const EntryInfo& info, int32_t partIndex, std::string* tag, std::string& path,
        int64_t& offset, int32_t& length);

    // Folder queries.
    const FolderTree& Folders();
    int32_t FolderParent(int32_t folder);  // -1 for none
    int32_t FolderName(int32_t folder, std::string& name);
    int32_t FolderSubfolders(int32_t folder, std::vector<int32_t>& subfolders);
    int32_t FolderMedia(int32_t folder, std::vector<uint32_t>& media);
    // Folder edits (authoring); refused on a CD-ROM or a read-only database. AddFolder answers
    // the new folder's id or -1.
    int32_t AddFolder(int32_t parent, const std::string& name);
    int32_t RenameFolder(int32_t folder, const std::string& name);
    int32_t RemoveFolder(int32_t folder);
    int32_t FileMedia(int32_t folder, uint32_t mediaId);
    int32_t UnfileMedia(int32_t folder, uint32_t mediaId);

    // Jump targets of a medium.
    int32_t JumpCount(uint32_t mediaId);
    int32_t NthJump(uint32_t mediaId, int32_t index, int32_t& jumpId, MemoryBlock& data, std::string* name = nullptr);
    int32_t JumpById(uint32_t mediaId, int32_t jumpId, MemoryBlock& data, std::string* name = nullptr);

    // Companions (CD-ROM only; null otherwise).
    RecordFile* PermanentCompanion() { return m_permanent.get(); }
    RecordFile* TemporaryCompanion() { return m_temporary.get(); }
    // Media already copied to the permanent companion.
    std::vector<uint32_t> Permissions();

private:
    friend class MediaCatalogWriter;

    bool CanEdit() const { return IsOpen() && !IsReadOnly() && !m_cdRom; }
    void CheckFreshness();
    int32_t LoadCatalog();
    int32_t LoadFolders();
    int32_t StoreCatalog();
    int32_t StoreFolders();
    // Between these, catalogue and folder stores are postponed and records written in one batch.
    void BeginDeferred();
    int32_t EndDeferred();
    int32_t LoadJumps(uint32_t mediaId);
    void UpgradeEntries();
    void UpgradeInternals();
    void UpgradeFolders();
    std::vector<StoredRecord> ReadAllRecords(const char* name);
    void DeleteAllRecords(const char* name, uint32_t except, bool exceptValid);
    void Announce(const char* message);
    void PrepareCompanions();
    int32_t CopyPart(uint32_t recordId, RecordFile& target);
    // The first of permanent companion, temporary companion, main database holding the record.
    RecordFile* SourceOf(uint32_t recordId);
    static void Fill(const MediaEntry& e, EntryInfo* info, const EntryFields& fields);

    FileSystem& m_fs;
    SystemServices* m_system;
    MessageSink* m_messages;
    RecordFile m_records;
    bool m_network = false;
    bool m_cdRom = false;
    UpgradeReport m_upgrades;
    std::unique_ptr<RecordFile> m_permanent;
    std::unique_ptr<RecordFile> m_temporary;
    MediaCatalog m_catalog;
    uint32_t m_catalogTime = 0;
    FolderTree m_folders;
    uint32_t m_folderTime = 0;
    JumpTable m_jumps;
    uint32_t m_jumpsMedia = 0;
    bool m_jumpsLoaded = false;
    int32_t m_deferDepth = 0;
    bool m_catalogDirty = false;
    bool m_foldersDirty = false;
    // Records prefetched and not yet read, so FlushPrefetch can consume them.
    std::vector<std::pair<RecordFile*, uint32_t>> m_prefetched;
};

}  // namespace tamber
