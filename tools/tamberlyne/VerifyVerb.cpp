// verify: checks a database's header, directory and payloads; --repair rebuilds the directory.
#include <algorithm>
#include <cstring>
#include <set>
#include <vector>

#include "db/PayloadCodec.h"
#include "db/RecordFileFormat.h"
#include "tamberlyne/DatabaseAccess.h"

namespace tamberlyne {

namespace {

using namespace tamber::recordfile;
using tamber::MemoryBlock;
using tamber::RecordEntry;
using tamber::RecordFile;

int32_t Le32(const uint8_t* p)
{
    return static_cast<int32_t>(uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24);
}

std::string Describe(const RecordEntry& e)
{
    if (e.used == kFreeRecord)
        return "free record at " + std::to_string(e.offset);
    return "record " + e.name + " " + std::to_string(e.id) + " at " + std::to_string(e.offset);
}

// Whether the header stored in front of a record says what its directory entry says.
bool HeaderMatches(const uint8_t* h, const RecordEntry& e)
{
    char name[kNameSize + 1] = {};
    std::memcpy(name, h + kNameOffset, kNameSize);
    return Le32(h + kUsedOffset) == e.used && Le32(h + kCapacityOffset) == e.capacity &&
           (e.used == kFreeRecord || (e.name == name && static_cast<uint32_t>(Le32(h + kIdOffset)) == e.id &&
                                      (h[kEncodingOffset] | h[kEncodingOffset + 1] << 8) == e.encoding &&
                                      static_cast<uint32_t>(Le32(h + kTimeOffset)) == e.time)) &&
           (h[kLongNameFlagOffset] == 1) == e.longName;
}

std::vector<std::string> Check(RecordFile& file)
{
    std::vector<std::string> problems;
    const tamber::RecordFileInfo info = file.Info();
    const std::vector<RecordEntry> entries = file.Entries();

    switch (file.LoadedDirectoryState()) {
    case tamber::DirectoryState::Valid:
        break;
    case tamber::DirectoryState::Missing:
        problems.push_back("no directory (directory offset 0); the records were found by scanning");
        break;
    case tamber::DirectoryState::Damaged:
        problems.push_back("the directory is damaged; the records were found by scanning");
        break;
    }
    if (file.LoadedRecordCount() != static_cast<int32_t>(entries.size()))
        problems.push_back("the header counts " + std::to_string(file.LoadedRecordCount()) + " records, the directory holds " +
                           std::to_string(entries.size()));

    std::set<std::string> names;
    std::set<std::pair<std::string, uint32_t>> keys;
    for (const auto& e : entries) {
        if (e.used == kFreeRecord)
            continue;
        std::string upper = e.name;
        for (char& c : upper)
            c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
        names.insert(upper);
        if (!keys.insert({upper, e.id}).second)
            problems.push_back(Describe(e) + ": a second record with this name and id");
    }
    if (info.nameCount != static_cast<int32_t>(names.size()))
        problems.push_back("the header counts " + std::to_string(info.nameCount) + " record names, the records carry " +
                           std::to_string(names.size()));

    int64_t containerLength = info.fileLength - info.baseOffset - (file.IsEmbedded() ? kTrailerSize : 0);
    if (file.LoadedDirectoryState() == tamber::DirectoryState::Valid && info.endOfData != containerLength)
        problems.push_back("end of data is " + std::to_string(info.endOfData) + " but the database holds " +
                           std::to_string(containerLength) + " bytes");

    int64_t expected = kFirstRecordOffset;
    for (const auto& e : entries) {
        if (e.offset != expected)
            problems.push_back(Describe(e) + ": the previous record ends at " + std::to_string(expected));
        int64_t dataLength = kRecordHeaderSize + (e.longName ? kLongNameSize : 0);
        if (e.capacity < 0 || e.used > e.capacity || e.used < kFreeRecord)
            problems.push_back(Describe(e) + ": " + std::to_string(e.used) + " bytes used of a capacity of " +
                               std::to_string(e.capacity));
        expected = e.offset + dataLength + std::max(e.capacity, 0);
        if (e.offset + dataLength + std::max(e.capacity, 0) > containerLength) {
            problems.push_back(Describe(e) + ": runs past the end of the file");
            continue;
        }
        uint8_t header[kRecordHeaderSize];
        if (file.ReadRaw(e.offset, header, kRecordHeaderSize) != kRecordHeaderSize || !HeaderMatches(header, e))
            problems.push_back(Describe(e) + ": the record's header differs from its directory entry");
        if (e.used == kFreeRecord)
            continue;
        MemoryBlock stored;
        if (!file.ReadStoredRecord(stored, e.name, e.id)) {
            problems.push_back(Describe(e) + ": the payload cannot be read");
            continue;
        }
        if (e.encoding == 0)
            continue;
        MemoryBlock decoded(stored);
        if (stored.Size() < 12 || stored.View().substr(0, 2) != "CP" || !tamber::DecodePayload(decoded))
            problems.push_back(Describe(e) + ": encoding " + std::to_string(e.encoding) +
                               " but the payload does not decode");
        else if (decoded.Size() != stored.ReadInt(4, 4))
            problems.push_back(Describe(e) + ": decodes to " + std::to_string(decoded.Size()) + " bytes, not the " +
                               std::to_string(stored.ReadInt(4, 4)) + " its header declares");
    }
    return problems;
}

int RunVerify(VerbContext& ctx)
{
    if (ctx.positional.size() != 1)
        return ctx.UsageError("expected one database");
    const std::string& path = ctx.positional[0];
    std::vector<std::string> problems;
    {
        RecordFile file;
        if (!OpenDatabase(ctx, path, DatabaseAccess::ReadOnly, file))
            return kExitFailure;
        problems = Check(file);
    }
    for (const auto& problem : problems)
        ctx.out << path << ": " << problem << "\n";
    if (ctx.Has("--repair")) {
        RecordFile file;
        if (!OpenDatabase(ctx, path, DatabaseAccess::ReadWrite, file))
            return kExitFailure;
        if (!file.RebuildDirectory())
            return ctx.Fail(path, "the directory could not be rebuilt");
        ctx.out << path << ": directory rebuilt by scanning: " << file.Info().recordCount << " records\n";
        RecordFile again;
        if (!OpenDatabase(ctx, path, DatabaseAccess::ReadOnly, again))
            return kExitFailure;
        problems = Check(again);
        for (const auto& problem : problems)
            ctx.out << path << ": after repair: " << problem << "\n";
    }
    if (!problems.empty()) {
        ctx.out << path << ": " << problems.size() << (problems.size() == 1 ? " problem\n" : " problems\n");
        return kExitFailure;
    }
    ctx.out << path << ": no problems\n";
    return kExitOk;
}

VerbRegistration g_verify{Verb{
    "verify", "verify DB [--repair]", "check a database's header, directory and payloads",
    "Checks the header (record and name counts, end of data), the directory (present and\n"
    "sound, records back to back, each record's header equal to its entry, no record twice)\n"
    "and every payload (readable; an encoded one decodes to the length it declares). Lists\n"
    "each problem on its own line and exits 1 when there is any. Opens DB read-only.\n"
    "  --repair   then rebuilds the directory by scanning the records from the start of the\n"
    "             file (the scan stops at the first implausible record header) and checks\n"
    "             again; exits 0 when the repaired database has no problems.\n",
    {"--repair"}, {}, RunVerify, 15}};

}  // namespace

}  // namespace tamberlyne
