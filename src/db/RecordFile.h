#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "base/MemoryBlock.h"
#include "db/RecordFileFormat.h"
#include "db/RecordIndex.h"
#include "platform/FileSystem.h"

namespace tamber {

// How Open treats the file.
enum class OpenPolicy {
    CreateIfMissing,  // read/write, else read-only when writing is refused; created when missing
    ExistingOnly,     // as CreateIfMissing, but a missing file is an error
    ReadOnly,         // read-only; never writes, never creates
};

// Where Open looks for a container behind a "JM" trailer at the end of the file.
enum class TrailerSearch {
    ByName,  // in ".exe", ".dll" and ".ocx" files and the running program's own file
    Always,  // in any file; one whose trailer leads nowhere is read as a database of its own
};

// What the directory looked like when the header and directory were last loaded.
enum class DirectoryState {
    Valid,    // read from the directory offset
    Missing,  // directory offset 0 (or an old version): rebuilt by scanning
    Damaged,  // unreadable or offsets not increasing: rebuilt by scanning
};

// One directory entry, for inspection.
struct RecordEntry {
    std::string name;       // up to 8 characters; empty for a free record
    uint32_t id = 0;
    int32_t used = 0;       // -1 for a free record
    int32_t capacity = 0;
    int32_t encoding = 0;
    uint32_t time = 0;
    int64_t offset = 0;     // within the container
    bool longName = false;
};

// The header fields, for inspection.
struct RecordFileInfo {
    int32_t version = 0;
    int32_t recordCount = 0;
    int32_t nameCount = 0;
    uint32_t created = 0;
    uint32_t modified = 0;
    uint32_t endOfData = 0;
    int32_t directoryOffset = 0;
    bool hasPassword = false;
    int64_t baseOffset = 0;
    int64_t fileLength = 0;
};

// A database file of named, numbered records (docs/record-file-format.md).
//
// Several processes may share one file: the file is opened only for the duration of each
// operation (or while held, as in a batch), and every operation first compares the file's stamp
// with the one seen after the last directory read or write and reloads the directory when
// another process changed the file. There is no locking; a writer that dies mid-operation
// leaves a file whose directory the next open rebuilds by scanning the records.
//
// Operations answer 1 for success, 0 for failure or absence; no exception escapes.
class RecordFile {
public:
    explicit RecordFile(FileSystem& fileSystem = FileSystem::Native());
    ~RecordFile();
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // Opens (or creates) the database at path. Answers 1 when open; on failure the file is
    // closed and WrongPassword() tells whether a password mismatch was the reason.
    int32_t Open(const std::string& path, std::string_view password = {},
                 OpenPolicy policy = OpenPolicy::CreateIfMissing, TrailerSearch trailer = TrailerSearch::ByName);
    void Close();
    bool IsOpen() const { return m_isOpen; }
    bool WrongPassword() const { return m_wrongPassword; }
    bool IsReadOnly() const { return m_readOnly; }
    // Whether the container sits inside a player file behind the "JM" trailer.
    bool IsEmbedded() const { return m_baseOffset != 0; }
    int64_t BaseOffset() const { return m_baseOffset; }
    const std::string& Path() const { return m_path; }

    // Records.
    int32_t ReadRecord(MemoryBlock& block, std::string_view name, uint32_t id);
    // The payload as stored, not decoded.
    int32_t ReadStoredRecord(MemoryBlock& block, std::string_view name, uint32_t id);
    int32_t WriteRecord(const MemoryBlock& block, std::string_view name, uint32_t id, int32_t encoding);
    int32_t RewriteRecord(const MemoryBlock& block, std::string_view name, uint32_t id);
    int32_t DeleteRecord(std::string_view name, uint32_t id);
    int32_t PrefetchRecord(std::string_view name, uint32_t id);
    // The next WriteRecord stores its bytes unchanged with this encoding (already encoded).
    void MarkNextWriteEncoded(int32_t encoding) { m_encodedMarker = encoding; }

    // Queries.
    int32_t RecordExists(std::string_view name, uint32_t id);
    uint32_t RecordTime(std::string_view name, uint32_t id);
    int32_t RecordLength(std::string_view name, uint32_t id);
    // The encoding the record was stored with; -1 when absent.
    int32_t RecordEncoding(std::string_view name, uint32_t id);
    int64_t RecordDataOffset(std::string_view name, uint32_t id);
    int32_t CountRecords(std::string_view name);
    uint32_t NextRecordId(std::string_view name);
    int32_t NthRecord(std::string_view name, int32_t n, uint32_t& id, int32_t& length);
    // The ids of every record with the name, in file order (one walk of the directory).
    std::vector<uint32_t> RecordIds(std::string_view name);

    // Writing.
    void SetSlack(int32_t slack) { m_slack = slack < 0 ? 0 : slack; }
    int32_t Slack() const { return m_slack; }
    // A batch holds the file from BeginBatch to EndBatch: the header goes out with directory
    // offset 0 once at the start (again only when the record count outgrows what it says) and
    // the directory once at the end. Every write in between is on disk when it returns, so a
    // crash loses nothing that completed. Changes by other processes are not looked for while a
    // batch runs.
    int32_t BeginBatch();
    int32_t EndBatch();
    bool InBatch() const { return !m_autoCommit; }

    // Reloads the header and directory when the file changed on disk; answers 1 when it did.
    int32_t Refresh();

    // Inspection and repair.
    RecordFileInfo Info();
    std::vector<RecordEntry> Entries();
    DirectoryState LoadedDirectoryState() const { return m_directoryState; }
    // The record count the header held before a scan corrected it.
    int32_t LoadedRecordCount() const { return m_loadedRecordCount; }
    // Reads n bytes at an offset within the container; answers the count read.
    int64_t ReadRaw(int64_t offset, void* dest, int64_t n);
    // Drops the directory and rebuilds it by scanning the records, then writes it.
    int32_t RebuildDirectory();

private:
    enum class SetModified { No, Yes };
    enum class Decode { No, Yes };

    int32_t Hold();
    void Release();
    bool CanModify() const { return m_isOpen && !m_readOnly && !IsEmbedded(); }

    int32_t LoadHeaderAndDirectory();
    bool ReadDirectoryAt(int64_t directoryOffset);
    void ScanRecords();
    void WriteDirectory(SetModified setModified);
    void MergeFreeSpace();
    void WriteHeader();
    void WriteHeaderForChange(int32_t extraRecords);
    void RememberStamp(bool wrote);
    void OpenCounter();
    void RebuildIndex();
    void InvalidateIndex();
    void RecountNames();

    int32_t Lookup(std::string_view name, uint32_t id);
    int32_t ReadPayload(MemoryBlock& block, std::string_view name, uint32_t id, Decode decode);
    int32_t ReadFromCache(MemoryBlock& block, uint64_t nameKey, uint32_t id);
    int64_t EndOfRecords();
    int32_t TakeFreeSlot(int32_t size);
    void AddFreeSlot(int32_t position);
    int64_t FileWrite(int64_t offset, const void* bytes, int64_t n);
    int32_t EntrySize(int32_t position) const;

    // Header fields.
    int32_t HeaderInt(int32_t offset) const;
    void SetHeaderInt(int32_t offset, int32_t value);

    FileSystem& m_fs;
    std::unique_ptr<File> m_file;
    std::string m_path;
    bool m_isOpen = false;
    bool m_readOnly = false;
    bool m_wrongPassword = false;
    int32_t m_holdCount = 0;
    int64_t m_fileLength = 0;
    int64_t m_baseOffset = 0;
    std::array<uint8_t, recordfile::kFileHeaderSize> m_header{};
    MemoryBlock m_directory;  // entry count, then the entries, as on disk without the length word
    // Derived from the directory and rebuilt with it at the next lookup once invalidated:
    // the index, live records per name and the end of the last record. Changes that leave
    // every entry where it was keep them up to date instead.
    RecordIndex m_index;
    bool m_indexValid = false;
    std::unordered_map<uint64_t, int32_t> m_nameCounts;
    // Free records by {capacity, directory position}: the best fit is the first not smaller
    // than the payload, the first in file order among equals.
    std::set<std::pair<int32_t, int32_t>> m_freeSlots;
    int64_t m_endOfRecords = -1;  // -1: not known
    MemoryBlock m_cache;      // read-ahead items {name + NUL (9), id (4), length (4), payload}
    bool m_autoCommit = true;
    // In a batch: the record count the header on disk holds (it runs ahead of the real count,
    // so that a scan after a crash reaches every record written).
    int32_t m_batchHeaderCount = 0;
    int32_t m_slack = 0;
    int32_t m_encodedMarker = 0;
    FileStamp m_stamp;        // the file as seen after the last directory read or write
    // Processes of this system raise the file's change counter after every change, so while it
    // stands still the stamp needs looking at only now and then (for changes made by other
    // programs).
    std::unique_ptr<ChangeCounter> m_counter;
    FileStamp m_counterFile;
    uint64_t m_counterSeen = 0;
    std::chrono::steady_clock::time_point m_lastStat;
    DirectoryState m_directoryState = DirectoryState::Valid;
    int32_t m_loadedRecordCount = 0;
};

}  // namespace tamber
