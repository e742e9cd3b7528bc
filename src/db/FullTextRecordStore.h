#pragma once

#include "db/FullTextStore.h"
#include "db/RecordFile.h"

namespace tamber {

// The full-text index's records in a database's record file, stored unencoded.
class FullTextRecordStore : public FullTextStore {
public:
    explicit FullTextRecordStore(RecordFile& file, DriveKind drive = DriveKind::Fixed) : m_file(file), m_drive(drive) {}

    int32_t ReadRecord(MemoryBlock& block, std::string_view name, uint32_t id) override
    {
        return m_file.ReadRecord(block, name, id);
    }
    int32_t WriteRecord(const MemoryBlock& block, std::string_view name, uint32_t id) override
    {
        return m_file.WriteRecord(block, name, id, 0);
    }
    int32_t DeleteRecord(std::string_view name, uint32_t id) override { return m_file.DeleteRecord(name, id); }
    int32_t RecordExists(std::string_view name, uint32_t id) override { return m_file.RecordExists(name, id); }
    std::vector<uint32_t> RecordIds(std::string_view name) override;
    void BeginBatch() override { m_file.BeginBatch(); }
    void EndBatch() override { m_file.EndBatch(); }
    DriveKind Drive() const override { return m_drive; }

private:
    RecordFile& m_file;
    DriveKind m_drive;
};

}  // namespace tamber
