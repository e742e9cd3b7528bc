#include "db/RecordFile.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "db/PayloadCodec.h"

namespace tamber {

using namespace recordfile;

namespace {

constexpr int32_t kFirstEntry = kDirectoryCountSize;  // entries follow the count in the block
constexpr int32_t kCacheNameSize = kNameSize + 1;
constexpr int32_t kCacheIdOffset = kCacheNameSize;
constexpr int32_t kCacheLengthOffset = kCacheIdOffset + 4;
constexpr int32_t kCachePayloadOffset = kCacheLengthOffset + 4;
// How far ahead of the real record count the header's count runs during a batch.
constexpr int32_t kBatchCountHeadroom = 4096;
// How long a quiet change counter spares looking at the file's stamp.
constexpr std::chrono::microseconds kStampInterval{1000};

uint32_t ReadU32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

int32_t ReadI32(const uint8_t* p)
{
    return static_cast<int32_t>(ReadU32(p));
}

void WriteI32(uint8_t* p, int32_t value)
{
    uint32_t v = static_cast<uint32_t>(value);
    p[0] = uint8_t(v);
    p[1] = uint8_t(v >> 8);
    p[2] = uint8_t(v >> 16);
    p[3] = uint8_t(v >> 24);
}

bool EndsWithIgnoringCase(const std::string& text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return false;
    for (size_t i = 0; i < suffix.size(); ++i) {
        char c = text[text.size() - suffix.size() + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != suffix[i])
            return false;
    }
    return true;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

bool IsAsciiLetter(uint8_t c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// 1 January 1993, 00:00 local time: records stamped earlier are implausible.
int64_t EarliestRecordTime()
{
    std::tm tm{};
    tm.tm_year = kEarliestRecordYear - 1900;
    tm.tm_mon = 0;
    tm.tm_mday = 1;
    tm.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&tm));
}

// Whether a record header found while scanning looks like one this format writes.
bool PlausibleHeader(const uint8_t* h, int64_t roomInFile, int64_t now)
{
    int32_t used = ReadI32(h + kUsedOffset);
    int32_t capacity = ReadI32(h + kCapacityOffset);
    if (capacity < used || capacity < 0 || roomInFile < capacity)
        return false;
    for (int i = 0; i < kNameSize; ++i)
        if (h[kNameOffset + i] != 0 && !IsAsciiLetter(h[kNameOffset + i]))
            return false;
    int32_t encoding = h[kEncodingOffset] | h[kEncodingOffset + 1] << 8;
    if (encoding > kMaxEncoding)
        return false;
    int64_t time = ReadU32(h + kTimeOffset);
    if (time != 0 && (time < EarliestRecordTime() || time > now))
        return false;
    for (int i = 0; i < kReservedSize; ++i)
        if (h[kReservedOffset + i] != 0)
            return false;
    return h[kLongNameFlagOffset] <= 1;
}

// Names this container writes: 1 to 8 ASCII letters (a scan stops at anything else); longer
// names are cut to 8.
bool ValidName(std::string_view name)
{
    name = name.substr(0, kNameSize);
    if (name.empty())
        return false;
    return std::all_of(name.begin(), name.end(), [](char c) { return IsAsciiLetter(static_cast<uint8_t>(c)); });
}

void PutName(uint8_t* dest8, std::string_view name)
{
    std::memset(dest8, 0, kNameSize);
    if (!name.empty())
        std::memcpy(dest8, name.data(), std::min<size_t>(name.size(), kNameSize));
}

}  // namespace

RecordFile::RecordFile(FileSystem& fileSystem) : m_fs(fileSystem) {}

RecordFile::~RecordFile()
{
    Close();
}

void RecordFile::Close()
{
    m_file.reset();
    m_counter.reset();
    m_holdCount = 0;
    m_isOpen = false;
    m_readOnly = false;
    m_baseOffset = 0;
    m_directory.Clear();
    InvalidateIndex();
    m_cache.Clear();
    m_autoCommit = true;
    m_encodedMarker = 0;
}

int32_t RecordFile::HeaderInt(int32_t offset) const
{
    return ReadI32(m_header.data() + offset);
}

void RecordFile::SetHeaderInt(int32_t offset, int32_t value)
{
    WriteI32(m_header.data() + offset, value);
}

int32_t RecordFile::Open(const std::string& path, std::string_view password, OpenPolicy policy,
                         TrailerSearch trailerSearch)
{
    Close();
    m_wrongPassword = false;
    m_path = path;

    // A fresh header, written when the file turns out to be empty.
    m_header.fill(0);
    std::memcpy(m_header.data() + kMagicOffset, kMagic, kMagicSize);
    SetHeaderInt(kVersionOffset, kFormatVersion);
    int32_t now = static_cast<int32_t>(m_fs.CurrentTime());
    SetHeaderInt(kCreatedOffset, now);
    SetHeaderInt(kModifiedOffset, now);
    if (!password.empty())
        std::memcpy(m_header.data() + kPasswordOffset, password.data(),
                    std::min<size_t>(password.size(), kPasswordSize - 1));

    FileError error = FileError::None;
    if (policy == OpenPolicy::ReadOnly) {
        m_file = m_fs.Open(path, FileMode::ReadOnly, &error);
    } else {
        m_file = m_fs.Open(path, FileMode::ReadWrite, &error);
        if (!m_file && error == FileError::AccessDenied)
            m_file = m_fs.Open(path, FileMode::ReadOnly, &error);
        else if (!m_file && error == FileError::NotFound && policy == OpenPolicy::CreateIfMissing)
            m_file = m_fs.Open(path, FileMode::Create, &error);
    }
    if (!m_file)
        return 0;
    m_readOnly = m_file->IsReadOnly();
    m_holdCount = 1;
    m_isOpen = true;

    m_fileLength = std::max<int64_t>(m_file->Length(), 0);
    if (m_fileLength == 0) {
        if (FileWrite(0, m_header.data(), kFileHeaderSize) == kFileHeaderSize)
            m_fileLength = kFileHeaderSize;
    } else if (m_fileLength >= kTrailerSize &&
               (trailerSearch == TrailerSearch::Always || EndsWithIgnoringCase(path, ".exe") ||
                EndsWithIgnoringCase(path, ".dll") || EndsWithIgnoringCase(path, ".ocx") ||
                m_fs.IsOwnProgram(path))) {
        uint8_t trailer[kTrailerSize];
        if (m_file->Read(m_fileLength - kTrailerSize, trailer, kTrailerSize) == kTrailerSize &&
            std::memcmp(trailer, kTrailerMagic, 2) == 0)
            m_baseOffset = ReadU32(trailer + kTrailerBaseOffset);
        uint8_t magic[kMagicSize] = {};
        if (trailerSearch == TrailerSearch::Always && m_baseOffset != 0 &&
            (m_file->Read(m_baseOffset, magic, kMagicSize) != kMagicSize || std::memcmp(magic, kMagic, kMagicSize) != 0))
            m_baseOffset = 0;
    }

    uint8_t start[kVersionOffset + 4];
    if (m_file->Read(m_baseOffset, start, sizeof start) != int64_t(sizeof start) ||
        std::memcmp(start + kMagicOffset, kMagic, kMagicSize) != 0 ||
        ReadI32(start + kVersionOffset) > kFormatVersion) {
        Close();
        return 0;
    }

    LoadHeaderAndDirectory();

    const char* stored = reinterpret_cast<const char*>(m_header.data() + kPasswordOffset);
    std::string_view storedPassword(stored, strnlen(stored, kPasswordSize));
    std::string_view givenPassword = password.substr(0, std::min<size_t>(password.size(), kPasswordSize - 1));
    if (!EqualIgnoringCase(storedPassword, givenPassword)) {
        Close();
        m_wrongPassword = true;
        return 0;
    }
    OpenCounter();
    Release();
    return 1;
}

void RecordFile::OpenCounter()
{
    m_counter = m_fs.OpenChangeCounter(m_stamp);
    m_counterFile = m_stamp;
    m_counterSeen = m_counter ? m_counter->Value() : 0;
    m_lastStat = std::chrono::steady_clock::now();
}

int32_t RecordFile::Hold()
{
    if (!m_isOpen)
        return 0;
    if (m_holdCount == 0) {
        m_file = m_fs.Open(m_path, m_readOnly ? FileMode::ReadOnly : FileMode::ReadWrite);
        if (!m_file)
            return 0;
    }
    ++m_holdCount;
    return 1;
}

void RecordFile::Release()
{
    if (m_holdCount == 0)
        return;
    if (--m_holdCount == 0) {
        m_fileLength = std::max<int64_t>(m_file->Length(), 0);
        m_file.reset();
    }
}

int64_t RecordFile::FileWrite(int64_t offset, const void* bytes, int64_t n)
{
    if (!m_file || m_readOnly)
        return -1;
    int64_t written = m_file->Write(offset, bytes, n);
    if (written > 0)
        m_fileLength = std::max(m_fileLength, offset + written);
    return written;
}

int64_t RecordFile::ReadRaw(int64_t offset, void* dest, int64_t n)
{
    if (!Hold())
        return 0;
    int64_t got = (offset < 0 || n < 0) ? 0 : m_file->Read(m_baseOffset + offset, dest, n);
    Release();
    return std::max<int64_t>(got, 0);
}

// ---------------------------------------------------------------------------------------------
// Loading

int32_t RecordFile::LoadHeaderAndDirectory()
{
    m_fileLength = std::max<int64_t>(m_file->Length(), 0);
    m_header.fill(0);
    m_file->Read(m_baseOffset, m_header.data(), kFileHeaderSize);
    m_loadedRecordCount = HeaderInt(kRecordCountOffset);
    m_directory.Clear();
    InvalidateIndex();
    m_cache.Clear();

    int32_t directoryOffset = HeaderInt(kDirectoryOffsetOffset);
    if (HeaderInt(kVersionOffset) < kFormatVersion || directoryOffset == 0) {
        m_directoryState = DirectoryState::Missing;
    } else {
        m_directoryState = ReadDirectoryAt(directoryOffset) ? DirectoryState::Valid : DirectoryState::Damaged;
        if (m_directoryState == DirectoryState::Damaged)
            m_directory.Clear();
    }

    // Without a sound directory the records are scanned (an empty one is sound: it needs no
    // rebuilding).
    if (m_directoryState != DirectoryState::Valid) {
        ScanRecords();
    } else {
        SetHeaderInt(kRecordCountOffset, m_directory.ReadInt(0, 4));
        RememberStamp(false);
    }
    return 1;
}

// Reads and checks the directory; leaves it in m_directory and answers true when sound.
bool RecordFile::ReadDirectoryAt(int64_t directoryOffset)
{
    if (directoryOffset < 0)
        return false;
    int64_t at = m_baseOffset + directoryOffset;
    uint8_t word[kDirectoryLengthSize];
    if (at + kDirectoryLengthSize > m_fileLength || m_file->Read(at, word, sizeof word) != int64_t(sizeof word))
        return false;
    int64_t length = ReadI32(word);
    // The length word cannot claim more than the file holds.
    if (length < kDirectoryCountSize || at + kDirectoryLengthSize + length > m_fileLength)
        return false;
    if (!m_directory.Resize(static_cast<int32_t>(length)))
        return false;
    if (m_file->Read(at + kDirectoryLengthSize, m_directory.Data(), length) != length)
        return false;

    int32_t count = m_directory.ReadInt(0, 4);
    if (count < 0)
        return false;
    // Entries must be in increasing order of offset. Beyond that, records lie back to back
    // between the file header and the directory with sane lengths, so that no later read or
    // append trusts a length that the file cannot hold.
    int32_t position = kFirstEntry;
    int64_t previous = 0;
    int64_t previousEnd = kFirstRecordOffset;
    const int32_t size = m_directory.Size();
    for (int32_t i = 0; i < count; ++i) {
        if (position > size - kPlainEntrySize)
            return false;
        const uint8_t* h = m_directory.Data(position);
        int64_t offset = m_directory.ReadInt(position + kEntryOffsetOffset, 4);
        if (offset <= previous)
            return false;
        previous = offset;
        int32_t used = ReadI32(h + kUsedOffset);
        int32_t capacity = ReadI32(h + kCapacityOffset);
        if (offset < previousEnd || used < kFreeRecord || capacity < used || h[kLongNameFlagOffset] > 1)
            return false;
        previousEnd = offset + kRecordHeaderSize + (h[kLongNameFlagOffset] == 1 ? kLongNameSize : 0) + capacity;
        if (previousEnd > directoryOffset)
            return false;
        // The long name ends within the 64 bytes of its area.
        const uint8_t* name = m_directory.Data(position + kEntryLongNameOffset);
        int32_t room = std::min(kLongNameSize, size - (position + kEntryLongNameOffset));
        const void* nul = std::memchr(name, 0, static_cast<size_t>(room));
        if (!nul)
            return false;
        position = static_cast<int32_t>(static_cast<const uint8_t*>(nul) - m_directory.Data()) + 1;
    }
    return position == size;
}

void RecordFile::ScanRecords()
{
    const int64_t now = m_fs.CurrentTime();
    int32_t limit = std::max(HeaderInt(kRecordCountOffset), 0);
    MemoryBlock directory;
    directory.AppendInt(0, 4);
    int64_t offset = kFirstRecordOffset;
    int32_t accepted = 0;
    uint8_t header[kRecordHeaderSize];
    while (accepted < limit) {
        int64_t at = m_baseOffset + offset;
        if (offset > INT32_MAX || m_file->Read(at, header, kRecordHeaderSize) != kRecordHeaderSize)
            break;
        if (!PlausibleHeader(header, m_fileLength - (at + kRecordHeaderSize), now))
            break;
        uint8_t longName[kLongNameSize + 1] = {};
        bool hasLongName = header[kLongNameFlagOffset] == 1;
        if (hasLongName && m_file->Read(at + kRecordHeaderSize, longName, kLongNameSize) != kLongNameSize)
            break;
        directory.Append(header, kRecordHeaderSize);
        directory.AppendInt(static_cast<int32_t>(offset), 4);
        directory.AppendString(reinterpret_cast<const char*>(longName), Nul::Include);
        ++accepted;
        offset += kRecordHeaderSize + (hasLongName ? kLongNameSize : 0) + ReadI32(header + kCapacityOffset);
    }
    directory.WriteInt(0, accepted, 4);
    m_directory = std::move(directory);
    SetHeaderInt(kRecordCountOffset, accepted);
    RecountNames();
    if (CanModify())
        WriteDirectory(SetModified::No);
    else
        RememberStamp(false);
}

int32_t RecordFile::RebuildDirectory()
{
    if (!CanModify() || !m_autoCommit || !Hold())
        return 0;
    Refresh();
    m_fileLength = std::max<int64_t>(m_file->Length(), 0);
    SetHeaderInt(kDirectoryOffsetOffset, 0);
    // Scan as far as the file reaches, whatever count the header holds.
    SetHeaderInt(kRecordCountOffset, INT32_MAX);
    m_directoryState = DirectoryState::Missing;
    InvalidateIndex();
    m_cache.Clear();
    ScanRecords();
    Release();
    return 1;
}

void RecordFile::RecountNames()
{
    std::vector<uint64_t> names;
    int32_t count = m_directory.ReadInt(0, 4);
    for (int32_t i = 0, p = kFirstEntry; i < count; ++i, p += EntrySize(p))
        if (m_directory.ReadInt(p + kUsedOffset, 4) != kFreeRecord)
            names.push_back(RecordIndex::NameKey(m_directory.Data(p + kNameOffset)));
    std::sort(names.begin(), names.end());
    SetHeaderInt(kNameCountOffset, static_cast<int32_t>(std::unique(names.begin(), names.end()) - names.begin()));
}

int32_t RecordFile::EntrySize(int32_t position) const
{
    int32_t size = m_directory.Size();
    int32_t start = position + kEntryLongNameOffset;
    if (start >= size)
        return size - position;
    const void* nul = std::memchr(m_directory.Data(start), 0, static_cast<size_t>(size - start));
    if (!nul)
        return size - position;
    return static_cast<int32_t>(static_cast<const uint8_t*>(nul) - m_directory.Data(position)) + 1;
}

void RecordFile::RememberStamp(bool wrote)
{
    FileStamp before = m_stamp;
    FileStamp now;
    int32_t ok = m_file ? m_file->Stamp(now) : m_fs.Stat(m_path, now);
    if (!ok)
        return;
    // A file system with coarse timestamps may not move the modification time for a write
    // made within the same tick as the previous one. Other processes would then miss it, so
    // the time is moved forward by hand: every completed change leaves a later stamp.
    if (wrote && m_file && !m_readOnly && now.modifiedNs <= before.modifiedNs &&
        m_file->SetModifiedTime(before.modifiedNs + 1))
        m_file->Stamp(now);
    m_stamp = now;
    if (wrote && m_counter) {
        // Our own change needs no second look; one by someone else in between does.
        if (m_counter->Bump() == m_counterSeen)
            ++m_counterSeen;
    }
}

int32_t RecordFile::Refresh()
{
    if (!m_isOpen)
        return 0;
    if (!m_autoCommit) {
        // A running batch owns the file: what it holds in memory is the truth.
        if (!m_indexValid)
            RebuildIndex();
        return 0;
    }
    if (m_counter) {
        uint64_t value = m_counter->Value();
        auto clock = std::chrono::steady_clock::now();
        if (value == m_counterSeen && clock - m_lastStat < kStampInterval) {
            if (!m_indexValid)
                RebuildIndex();
            return 0;
        }
        m_counterSeen = value;
        m_lastStat = clock;
    }
    FileStamp now;
    if (m_fs.Stat(m_path, now) && !(now == m_stamp)) {
        if (Hold()) {
            LoadHeaderAndDirectory();
            Release();
            RebuildIndex();
            // A file replaced by another has a counter of its own.
            if (m_stamp.inode != m_counterFile.inode || m_stamp.device != m_counterFile.device)
                OpenCounter();
            return 1;
        }
    }
    if (!m_indexValid)
        RebuildIndex();
    return 0;
}

void RecordFile::InvalidateIndex()
{
    m_index.Clear();
    m_nameCounts.clear();
    m_freeSlots.clear();
    m_endOfRecords = -1;
    m_indexValid = false;
}

void RecordFile::RebuildIndex()
{
    InvalidateIndex();
    int32_t count = m_directory.ReadInt(0, 4);
    for (int32_t i = 0, p = kFirstEntry; i < count; ++i, p += EntrySize(p)) {
        if (m_directory.ReadInt(p + kUsedOffset, 4) == kFreeRecord) {
            AddFreeSlot(p);
            continue;
        }
        const uint8_t* name = m_directory.Data(p + kNameOffset);
        m_index.Add(name, static_cast<uint32_t>(m_directory.ReadInt(p + kIdOffset, 4)), p);
        ++m_nameCounts[RecordIndex::NameKey(name)];
    }
    m_indexValid = true;
}

// ---------------------------------------------------------------------------------------------
// Writing the directory

int64_t RecordFile::EndOfRecords()
{
    if (m_indexValid && m_endOfRecords >= 0)
        return m_endOfRecords;
    int64_t end = kFirstRecordOffset;
    int32_t count = m_directory.ReadInt(0, 4);
    for (int32_t i = 0, p = kFirstEntry; i < count; ++i, p += EntrySize(p)) {
        int64_t recordEnd = int64_t(m_directory.ReadInt(p + kEntryOffsetOffset, 4)) + kRecordHeaderSize +
                            (m_directory.Data(p)[kLongNameFlagOffset] == 1 ? kLongNameSize : 0) +
                            m_directory.ReadInt(p + kCapacityOffset, 4);
        end = std::max(end, recordEnd);
    }
    if (m_indexValid)
        m_endOfRecords = end;
    return end;
}

void RecordFile::AddFreeSlot(int32_t position)
{
    m_freeSlots.emplace(m_directory.ReadInt(position + kCapacityOffset, 4), position);
}

// The smallest free record that holds size bytes (the first in file order among equals), taken
// out of the free list; -1 when none fits.
int32_t RecordFile::TakeFreeSlot(int32_t size)
{
    if (m_indexValid) {
        auto it = m_freeSlots.lower_bound({size, 0});
        if (it == m_freeSlots.end())
            return -1;
        int32_t position = it->second;
        m_freeSlots.erase(it);
        return position;
    }
    int32_t best = -1;
    int32_t bestCapacity = 0;
    int32_t count = m_directory.ReadInt(0, 4);
    for (int32_t i = 0, p = kFirstEntry; i < count; ++i, p += EntrySize(p)) {
        int32_t capacity = m_directory.ReadInt(p + kCapacityOffset, 4);
        if (m_directory.ReadInt(p + kUsedOffset, 4) == kFreeRecord && capacity >= size &&
            (best < 0 || capacity < bestCapacity)) {
            best = p;
            bestCapacity = capacity;
        }
    }
    return best;
}

void RecordFile::WriteHeader()
{
    FileWrite(m_baseOffset, m_header.data(), kFileHeaderSize);
}

// Before records change, the header goes out with directory offset 0, so that a crash from
// here on leaves a file that the next open rebuilds by scanning. The record count is raised by
// the records the change may add, so the scan reaches a record a split inserts before the
// directory is written.
void RecordFile::WriteHeaderForChange(int32_t extraRecords)
{
    SetHeaderInt(kDirectoryOffsetOffset, 0);
    int32_t exact = HeaderInt(kRecordCountOffset);
    if (!m_autoCommit) {
        // In a batch the header on disk already reads as changing; it is written again only
        // when the count it holds would no longer reach every record, and then with room for
        // many more, since a scan stops at the end of the records anyway.
        if (exact + extraRecords <= m_batchHeaderCount)
            return;
        m_batchHeaderCount = exact + extraRecords + kBatchCountHeadroom;
        SetHeaderInt(kRecordCountOffset, m_batchHeaderCount);
    } else {
        SetHeaderInt(kRecordCountOffset, exact + extraRecords);
    }
    WriteHeader();
    SetHeaderInt(kRecordCountOffset, exact);
}

// Joins each run of free records into its first one; a run at the end of the file is cut off.
void RecordFile::MergeFreeSpace()
{
    if (m_indexValid && m_freeSlots.empty())
        return;
    bool changed = false;
    int32_t count = m_directory.ReadInt(0, 4);
    MemoryBlock merged;
    merged.AppendInt(0, 4);
    int32_t kept = 0;
    int32_t p = kFirstEntry;
    for (int32_t i = 0; i < count;) {
        int32_t size = EntrySize(p);
        if (m_directory.ReadInt(p + kUsedOffset, 4) != kFreeRecord) {
            merged.Append(m_directory.Data(p), size);
            ++kept;
            p += size;
            ++i;
            continue;
        }
        // A run of free records starts here.
        MemoryBlock first(m_directory.Data(p), size);
        int64_t capacity = first.ReadInt(kCapacityOffset, 4);
        int32_t absorbed = 0;
        p += size;
        ++i;
        while (i < count && m_directory.ReadInt(p + kUsedOffset, 4) == kFreeRecord) {
            int64_t grown = capacity + kRecordHeaderSize +
                            (m_directory.Data(p)[kLongNameFlagOffset] == 1 ? kLongNameSize : 0) +
                            m_directory.ReadInt(p + kCapacityOffset, 4);
            if (grown > INT32_MAX)
                break;
            capacity = grown;
            ++absorbed;
            p += EntrySize(p);
            ++i;
        }
        int64_t runOffset = first.ReadInt(kEntryOffsetOffset, 4);
        if (i == count) {
            // Free space at the end of the file is given back.
            if (m_file)
                m_file->Truncate(m_baseOffset + runOffset);
            m_fileLength = m_baseOffset + runOffset;
            changed = true;
            continue;
        }
        first.WriteInt(kCapacityOffset, static_cast<int32_t>(capacity), 4);
        if (absorbed > 0) {
            FileWrite(m_baseOffset + runOffset, first.Data(), kRecordHeaderSize);
            changed = true;
        }
        merged.Append(first);
        ++kept;
    }
    merged.WriteInt(0, kept, 4);
    m_directory = std::move(merged);
    SetHeaderInt(kRecordCountOffset, kept);
    // Entries moved: what was derived from their positions goes.
    if (changed)
        InvalidateIndex();
}

void RecordFile::WriteDirectory(SetModified setModified)
{
    if (IsEmbedded() || m_readOnly || !Hold())
        return;
    if (!m_autoCommit) {
        // EndBatch writes the directory and the header.
        if (setModified == SetModified::Yes)
            SetHeaderInt(kModifiedOffset, static_cast<int32_t>(m_fs.CurrentTime()));
        Release();
        return;
    }
    MergeFreeSpace();
    int64_t directoryOffset = EndOfRecords();
    MemoryBlock out(kDirectoryLengthSize);
    out.WriteInt(0, m_directory.Size(), 4);
    out.Append(m_directory);
    FileWrite(m_baseOffset + directoryOffset, out.Data(), out.Size());
    // Nothing stays behind the directory, so the end of data is where it ends.
    int64_t end = m_baseOffset + directoryOffset + out.Size();
    if (m_file->Length() > end)
        m_file->Truncate(end);
    SetHeaderInt(kDirectoryOffsetOffset, static_cast<int32_t>(directoryOffset));
    SetHeaderInt(kVersionOffset, kFormatVersion);
    if (setModified == SetModified::Yes)
        SetHeaderInt(kModifiedOffset, static_cast<int32_t>(m_fs.CurrentTime()));
    m_fileLength = std::max<int64_t>(m_file->Length(), 0);
    SetHeaderInt(kEndOfDataOffset, static_cast<int32_t>(m_fileLength - m_baseOffset));
    WriteHeader();
    RememberStamp(true);
    Release();
}

int32_t RecordFile::BeginBatch()
{
    if (!CanModify() || !m_autoCommit || !Hold())
        return 0;
    Refresh();
    SetHeaderInt(kDirectoryOffsetOffset, 0);
    WriteHeader();
    RememberStamp(true);
    m_fileLength = std::max<int64_t>(m_file->Length(), 0);
    m_batchHeaderCount = HeaderInt(kRecordCountOffset);
    m_autoCommit = false;
    return 1;
}

int32_t RecordFile::EndBatch()
{
    if (!m_isOpen || m_autoCommit)
        return 0;
    m_autoCommit = true;
    Release();
    WriteDirectory(SetModified::No);
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Records

int32_t RecordFile::Lookup(std::string_view name, uint32_t id)
{
    return m_index.Find(RecordIndex::NameKey(name), id);
}

int32_t RecordFile::ReadFromCache(MemoryBlock& block, uint64_t nameKey, uint32_t id)
{
    int32_t p = 0;
    while (p + kCachePayloadOffset <= m_cache.Size()) {
        int32_t length = m_cache.ReadInt(p + kCacheLengthOffset, 4);
        if (RecordIndex::NameKey(m_cache.Data(p)) == nameKey &&
            static_cast<uint32_t>(m_cache.ReadInt(p + kCacheIdOffset, 4)) == id) {
            MemoryBlock payload(m_cache.Data(p + kCachePayloadOffset), length);
            block = std::move(payload);
            m_cache.Delete(p, kCachePayloadOffset + length);
            return 1;
        }
        p += kCachePayloadOffset + length;
    }
    return 0;
}

int32_t RecordFile::ReadPayload(MemoryBlock& block, std::string_view name, uint32_t id, Decode decode)
{
    if (!m_isOpen)
        return 0;
    Refresh();
    int32_t p = Lookup(name, id);
    if (p < 0)
        return 0;
    if (decode == Decode::Yes && ReadFromCache(block, RecordIndex::NameKey(name), id))
        return 1;
    int32_t used = m_directory.ReadInt(p + kUsedOffset, 4);
    int64_t dataOffset = m_baseOffset + int64_t(m_directory.ReadInt(p + kEntryOffsetOffset, 4)) +
                         kRecordHeaderSize + (m_directory.Data(p)[kLongNameFlagOffset] == 1 ? kLongNameSize : 0);
    // A payload the file cannot hold is damage; never allocate for it. (A batch does not look
    // at the stamp until it ends, but keeps the length.)
    const int64_t fileLength = m_autoCommit ? m_stamp.length : m_fileLength;
    if (used < 0 || dataOffset < 0 || dataOffset + used > fileLength)
        return 0;
    if (used == 0) {
        block.Clear();
    } else if (!block.Resize(used)) {
        m_cache.Clear();
        if (!block.Resize(used))
            return 0;
    }
    if (!Hold())
        return 0;
    int64_t got = used == 0 ? 0 : m_file->Read(dataOffset, block.Data(), used);
    Release();
    if (got != used)
        return 0;
    if (decode == Decode::Yes && (m_directory.ReadInt(p + kEncodingOffset, 2) & 0xFFFF) != 0)
        DecodePayload(block);  // a payload the decoder does not recognise is handed over as stored
    return 1;
}

int32_t RecordFile::ReadRecord(MemoryBlock& block, std::string_view name, uint32_t id)
{
    return ReadPayload(block, name, id, Decode::Yes);
}

int32_t RecordFile::ReadStoredRecord(MemoryBlock& block, std::string_view name, uint32_t id)
{
    return ReadPayload(block, name, id, Decode::No);
}

int32_t RecordFile::PrefetchRecord(std::string_view name, uint32_t id)
{
    if (!m_isOpen)
        return 0;
    Refresh();
    uint64_t key = RecordIndex::NameKey(name);
    for (int32_t p = 0; p + kCachePayloadOffset <= m_cache.Size();) {
        int32_t length = m_cache.ReadInt(p + kCacheLengthOffset, 4);
        if (RecordIndex::NameKey(m_cache.Data(p)) == key &&
            static_cast<uint32_t>(m_cache.ReadInt(p + kCacheIdOffset, 4)) == id)
            return 1;
        p += kCachePayloadOffset + length;
    }
    MemoryBlock payload;
    if (!ReadRecord(payload, name, id))
        return 0;
    uint8_t head[kCachePayloadOffset] = {};
    PutName(head, name);
    WriteI32(head + kCacheIdOffset, static_cast<int32_t>(id));
    WriteI32(head + kCacheLengthOffset, payload.Size());
    int32_t before = m_cache.Size();
    if (m_cache.Append(head, kCachePayloadOffset) != kCachePayloadOffset ||
        (payload.Size() > 0 && m_cache.Append(payload) != payload.Size())) {
        m_cache.Resize(before);
        return 0;
    }
    return 1;
}

int32_t RecordFile::WriteRecord(const MemoryBlock& block, std::string_view name, uint32_t id, int32_t encoding)
{
    if (!CanModify() || !ValidName(name) || !Hold()) {
        m_encodedMarker = 0;
        return 0;
    }
    Refresh();
    // A write adds at most one record: the appended one, or the free rest of a split slot.
    WriteHeaderForChange(1);
    m_cache.Clear();

    MemoryBlock payload(block);
    if (m_encodedMarker != 0) {
        encoding = m_encodedMarker;
        m_encodedMarker = 0;
    } else if (encoding != 0 && !EncodePayload(payload, encoding)) {
        payload = block;
        encoding = 0;
    }
    const int32_t size = payload.Size();
    const uint64_t key = RecordIndex::NameKey(name);
    auto nameCount = m_nameCounts.find(key);
    const bool newName = nameCount == m_nameCounts.end() || nameCount->second == 0;

    // Choose the slot: the record's own when it is big enough, else the best-fitting free
    // record, else a new one at the end.
    int32_t slot = Lookup(name, id);
    const bool inPlace = slot >= 0 && m_directory.ReadInt(slot + kCapacityOffset, 4) >= size;
    if (slot >= 0 && !inPlace) {
        m_directory.WriteInt(slot + kUsedOffset, kFreeRecord, 4);
        FileWrite(m_baseOffset + m_directory.ReadInt(slot + kEntryOffsetOffset, 4), m_directory.Data(slot),
                  kRecordHeaderSize);
        if (m_index.Remove(key, id)) {
            --m_nameCounts[key];
            AddFreeSlot(slot);
        } else {
            InvalidateIndex();
        }
        slot = -1;
    }
    if (slot < 0)
        slot = TakeFreeSlot(size);

    bool appended = false;
    if (slot < 0) {
        int64_t offset = EndOfRecords();
        if (offset + kRecordHeaderSize + int64_t(size) + m_slack > INT32_MAX) {
            WriteDirectory(SetModified::No);
            Release();
            return 0;
        }
        uint8_t entry[kPlainEntrySize] = {};
        WriteI32(entry + kCapacityOffset, size + m_slack);
        WriteI32(entry + kEntryOffsetOffset, static_cast<int32_t>(offset));
        slot = m_directory.Size();
        m_directory.Append(entry, kPlainEntrySize);
        m_directory.WriteInt(0, m_directory.ReadInt(0, 4) + 1, 4);
        SetHeaderInt(kRecordCountOffset, HeaderInt(kRecordCountOffset) + 1);
        appended = true;
        if (m_indexValid)
            m_endOfRecords = offset + kRecordHeaderSize + size + m_slack;
    }

    const int64_t offset = m_directory.ReadInt(slot + kEntryOffsetOffset, 4);
    const int32_t longName = m_directory.Data(slot)[kLongNameFlagOffset] == 1 ? kLongNameSize : 0;
    const int64_t capacity = m_directory.ReadInt(slot + kCapacityOffset, 4);
    if (!appended && int64_t(size) + kRecordHeaderSize + 2 * int64_t(m_slack) < capacity) {
        // Split: the slot keeps what the payload and the slack need; the rest becomes a free
        // record directly behind it.
        int32_t kept = size + m_slack;
        uint8_t rest[kPlainEntrySize] = {};
        WriteI32(rest + kUsedOffset, kFreeRecord);
        WriteI32(rest + kCapacityOffset, static_cast<int32_t>(capacity - kept - kRecordHeaderSize));
        int64_t restOffset = offset + kRecordHeaderSize + longName + kept;
        WriteI32(rest + kEntryOffsetOffset, static_cast<int32_t>(restOffset));
        FileWrite(m_baseOffset + restOffset, rest, kRecordHeaderSize);
        m_directory.WriteInt(slot + kCapacityOffset, kept, 4);
        m_directory.Insert(slot + EntrySize(slot), rest, kPlainEntrySize);
        m_directory.WriteInt(0, m_directory.ReadInt(0, 4) + 1, 4);
        SetHeaderInt(kRecordCountOffset, HeaderInt(kRecordCountOffset) + 1);
        InvalidateIndex();  // the entries behind the new one moved
    }

    uint8_t* header = m_directory.Data(slot);
    WriteI32(header + kUsedOffset, size);
    PutName(header + kNameOffset, name);
    WriteI32(header + kIdOffset, static_cast<int32_t>(id));
    header[kEncodingOffset] = static_cast<uint8_t>(encoding);
    header[kEncodingOffset + 1] = static_cast<uint8_t>(encoding >> 8);
    WriteI32(header + kTimeOffset, static_cast<int32_t>(m_fs.CurrentTime()));
    std::memset(header + kReservedOffset, 0, kReservedSize);

    // A reused slot gets its payload before its header, so a crash in between leaves the old
    // header. An appended record goes out in one write, header first: until it lands, the end
    // of the records holds the old directory or the end of the file, where a scan stops.
    int64_t dataOffset = m_baseOffset + offset + kRecordHeaderSize;
    if (appended) {
        MemoryBlock record(header, kRecordHeaderSize);
        record.Append(payload);
        record.Resize(kRecordHeaderSize + size + m_slack);
        FileWrite(m_baseOffset + offset, record.Data(), record.Size());
    } else {
        if (longName) {
            uint8_t zeros[kLongNameSize] = {};
            FileWrite(dataOffset, zeros, kLongNameSize);
            dataOffset += kLongNameSize;
        }
        if (size > 0)
            FileWrite(dataOffset, payload.Data(), size);
        FileWrite(m_baseOffset + offset, header, kRecordHeaderSize);
    }
    if (appended && !m_autoCommit) {
        // In a batch the old directory stays behind the records; cut it so that a scan after a
        // crash finds the end of the file right behind the last record.
        int64_t end = m_baseOffset + offset + kRecordHeaderSize + longName + size + m_slack;
        if (m_fileLength > end && m_file->Truncate(end))
            m_fileLength = end;
    }

    if (newName)
        SetHeaderInt(kNameCountOffset, HeaderInt(kNameCountOffset) + 1);
    if (m_indexValid && !inPlace) {
        m_index.Add(header + kNameOffset, id, slot);
        ++m_nameCounts[key];
    }
    WriteDirectory(SetModified::Yes);
    Release();
    return 1;
}

int32_t RecordFile::RewriteRecord(const MemoryBlock& block, std::string_view name, uint32_t id)
{
    int32_t encoding = RecordEncoding(name, id);
    return WriteRecord(block, name, id, encoding < 0 ? 0 : encoding);
}

int32_t RecordFile::DeleteRecord(std::string_view name, uint32_t id)
{
    if (!CanModify() || !Hold())
        return 0;
    Refresh();
    int32_t slot = Lookup(name, id);
    if (slot < 0) {
        Release();
        return 0;
    }
    WriteHeaderForChange(0);
    m_cache.Clear();
    m_directory.WriteInt(slot + kUsedOffset, kFreeRecord, 4);
    FileWrite(m_baseOffset + m_directory.ReadInt(slot + kEntryOffsetOffset, 4), m_directory.Data(slot),
              kRecordHeaderSize);
    const uint64_t key = RecordIndex::NameKey(name);
    if (m_index.Remove(key, id)) {
        AddFreeSlot(slot);
        if (--m_nameCounts[key] == 0)
            SetHeaderInt(kNameCountOffset, HeaderInt(kNameCountOffset) - 1);
    } else {
        // Only a damaged directory holds a record twice; count the long way.
        InvalidateIndex();
        RebuildIndex();
        if (m_nameCounts[key] == 0)
            SetHeaderInt(kNameCountOffset, HeaderInt(kNameCountOffset) - 1);
    }
    WriteDirectory(SetModified::Yes);
    Release();
    return 1;
}

// ---------------------------------------------------------------------------------------------
// Queries

int32_t RecordFile::RecordExists(std::string_view name, uint32_t id)
{
    if (!m_isOpen)
        return 0;
    Refresh();
    return Lookup(name, id) >= 0 ? 1 : 0;
}

uint32_t RecordFile::RecordTime(std::string_view name, uint32_t id)
{
    if (!m_isOpen)
        return 0;
    Refresh();
    int32_t p = Lookup(name, id);
    return p < 0 ? 0 : static_cast<uint32_t>(m_directory.ReadInt(p + kTimeOffset, 4));
}

int32_t RecordFile::RecordLength(std::string_view name, uint32_t id)
{
    if (!m_isOpen)
        return 0;
    Refresh();
    int32_t p = Lookup(name, id);
    return p < 0 ? 0 : m_directory.ReadInt(p + kUsedOffset, 4);
}

int32_t RecordFile::RecordEncoding(std::string_view name, uint32_t id)
{
    if (!m_isOpen)
        return -1;
    Refresh();
    int32_t p = Lookup(name, id);
    return p < 0 ? -1 : (m_directory.ReadInt(p + kEncodingOffset, 2) & 0xFFFF);
}

int64_t RecordFile::RecordDataOffset(std::string_view name, uint32_t id)
{
    if (!m_isOpen)
        return 0;
    Refresh();
    int32_t p = Lookup(name, id);
    return p < 0 ? 0 : m_baseOffset + m_directory.ReadInt(p + kEntryOffsetOffset, 4) + kRecordHeaderSize;
}

int32_t RecordFile::CountRecords(std::string_view name)
{
    if (!m_isOpen)
        return 0;
    Refresh();
    auto it = m_nameCounts.find(RecordIndex::NameKey(name));
    return it == m_nameCounts.end() ? 0 : it->second;
}

uint32_t RecordFile::NextRecordId(std::string_view name)
{
    if (!m_isOpen)
        return 0;
    Refresh();
    uint64_t key = RecordIndex::NameKey(name);
    bool any = false;
    uint32_t highest = 0;
    int32_t count = m_directory.ReadInt(0, 4);
    for (int32_t i = 0, p = kFirstEntry; i < count; ++i, p += EntrySize(p)) {
        if (m_directory.ReadInt(p + kUsedOffset, 4) == kFreeRecord ||
            RecordIndex::NameKey(m_directory.Data(p + kNameOffset)) != key)
            continue;
        highest = std::max(highest, static_cast<uint32_t>(m_directory.ReadInt(p + kIdOffset, 4)));
        any = true;
    }
    return any ? highest + 1 : 0;
}

int32_t RecordFile::NthRecord(std::string_view name, int32_t n, uint32_t& id, int32_t& length)
{
    if (!m_isOpen || n < 1)
        return 0;
    Refresh();
    uint64_t key = RecordIndex::NameKey(name);
    int32_t count = m_directory.ReadInt(0, 4);
    for (int32_t i = 0, p = kFirstEntry; i < count; ++i, p += EntrySize(p)) {
        if (m_directory.ReadInt(p + kUsedOffset, 4) == kFreeRecord ||
            RecordIndex::NameKey(m_directory.Data(p + kNameOffset)) != key)
            continue;
        if (--n == 0) {
            id = static_cast<uint32_t>(m_directory.ReadInt(p + kIdOffset, 4));
            length = m_directory.ReadInt(p + kUsedOffset, 4);
            return 1;
        }
    }
    return 0;
}

std::vector<uint32_t> RecordFile::RecordIds(std::string_view name)
{
    std::vector<uint32_t> ids;
    if (!m_isOpen)
        return ids;
    Refresh();
    uint64_t key = RecordIndex::NameKey(name);
    int32_t count = m_directory.ReadInt(0, 4);
    for (int32_t i = 0, p = kFirstEntry; i < count; ++i, p += EntrySize(p))
        if (m_directory.ReadInt(p + kUsedOffset, 4) != kFreeRecord &&
            RecordIndex::NameKey(m_directory.Data(p + kNameOffset)) == key)
            ids.push_back(static_cast<uint32_t>(m_directory.ReadInt(p + kIdOffset, 4)));
    return ids;
}

RecordFileInfo RecordFile::Info()
{
    RecordFileInfo info;
    if (!m_isOpen)
        return info;
    Refresh();
    info.version = HeaderInt(kVersionOffset);
    info.recordCount = HeaderInt(kRecordCountOffset);
    info.nameCount = HeaderInt(kNameCountOffset);
    info.created = static_cast<uint32_t>(HeaderInt(kCreatedOffset));
    info.modified = static_cast<uint32_t>(HeaderInt(kModifiedOffset));
    info.endOfData = static_cast<uint32_t>(HeaderInt(kEndOfDataOffset));
    info.directoryOffset = HeaderInt(kDirectoryOffsetOffset);
    info.hasPassword = m_header[kPasswordOffset] != 0;
    info.baseOffset = m_baseOffset;
    info.fileLength = m_stamp.length;
    return info;
}

std::vector<RecordEntry> RecordFile::Entries()
{
    std::vector<RecordEntry> entries;
    if (!m_isOpen)
        return entries;
    Refresh();
    int32_t count = m_directory.ReadInt(0, 4);
    for (int32_t i = 0, p = kFirstEntry; i < count; ++i, p += EntrySize(p)) {
        const uint8_t* h = m_directory.Data(p);
        RecordEntry e;
        e.used = ReadI32(h + kUsedOffset);
        if (e.used != kFreeRecord)
            e.name.assign(reinterpret_cast<const char*>(h + kNameOffset), strnlen(reinterpret_cast<const char*>(h + kNameOffset), kNameSize));
        e.id = ReadU32(h + kIdOffset);
        e.capacity = ReadI32(h + kCapacityOffset);
        e.encoding = h[kEncodingOffset] | h[kEncodingOffset + 1] << 8;
        e.time = ReadU32(h + kTimeOffset);
        e.offset = m_directory.ReadInt(p + kEntryOffsetOffset, 4);
        e.longName = h[kLongNameFlagOffset] == 1;
        entries.push_back(std::move(e));
    }
    return entries;
}

}  // namespace tamber
