#pragma once

#include <map>
#include <string>
#include <utility>

#include "db/FullTextStore.h"

namespace tamber {

// Records kept in memory; names compare without regard to ASCII case, as in a record file.
class FullTextMemoryStore : public FullTextStore {
public:
    explicit FullTextMemoryStore(DriveKind drive = DriveKind::Fixed) : m_drive(drive) {}

    int32_t ReadRecord(MemoryBlock& block, std::string_view name, uint32_t id) override;
    int32_t WriteRecord(const MemoryBlock& block, std::string_view name, uint32_t id) override;
    int32_t DeleteRecord(std::string_view name, uint32_t id) override;
    int32_t RecordExists(std::string_view name, uint32_t id) override;
    std::vector<uint32_t> RecordIds(std::string_view name) override;
    DriveKind Drive() const override { return m_drive; }

    // How many reads the store has answered: lets tests see what is cached.
    int32_t ReadCount() const { return m_reads; }
    // Direct access for tests that damage records.
    MemoryBlock* Find(std::string_view name, uint32_t id);
    int64_t TotalBytes() const;

private:
    using Key = std::pair<std::string, uint32_t>;
    static Key MakeKey(std::string_view name, uint32_t id);

    std::map<Key, MemoryBlock> m_records;
    DriveKind m_drive;
    int32_t m_reads = 0;
};

}  // namespace tamber
