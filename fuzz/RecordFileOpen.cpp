// Opens arbitrary bytes as a record file on the in-memory file system, once as a database of
// its own and once as a player file with a "JM" trailer, and reads every record. Then writes
// and deletes a record and checks that the file still answers for it.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "db/RecordFile.h"
#include "platform/MemoryFileSystem.h"

using namespace tamber;

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void ReadEverything(RecordFile& file)
{
    RecordFileInfo info = file.Info();
    Check(info.recordCount >= 0);
    int32_t entries = 0;
    for (const RecordEntry& entry : file.Entries()) {
        ++entries;
        if (entry.used < 0)
            continue;
        // A damaged file may hold a name and id twice; lookups answer for the last of them.
        MemoryBlock block;
        file.ReadRecord(block, entry.name, entry.id);
        if (file.ReadStoredRecord(block, entry.name, entry.id))
            Check(block.Size() == file.RecordLength(entry.name, entry.id));
        file.RecordExists(entry.name, entry.id);
        file.PrefetchRecord(entry.name, entry.id);
        file.NextRecordId(entry.name);
        uint32_t id = 0;
        int32_t length = 0;
        file.NthRecord(entry.name, file.CountRecords(entry.name), id, length);
    }
    Check(entries == info.recordCount);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > (1 << 20))
        return 0;
    std::vector<uint8_t> bytes(data, data + size);
    for (const char* path : {"/fuzz.exe", "/fuzz.mmdb"}) {
        MemoryFileSystem fs;
        fs.SetContents(path, bytes);
        RecordFile file(fs);
        if (!file.Open(path))
            continue;
        ReadEverything(file);
        if (file.IsEmbedded())
            continue;
        MemoryBlock payload(data, static_cast<int32_t>(size < 300 ? size : 300));
        Check(file.WriteRecord(payload, "MMFuzz", 7, static_cast<int32_t>(size % 3)) == 1);
        MemoryBlock back;
        Check(file.ReadRecord(back, "MMFuzz", 7) == 1 && back == payload);
        Check(file.DeleteRecord("MMFuzz", 7) == 1);
        Check(file.RecordExists("MMFuzz", 7) == 0);
        RecordFile again(fs);
        Check(again.Open(path) == 1);
        ReadEverything(again);
    }
    return 0;
}
