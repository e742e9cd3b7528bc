#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "base/MemoryBlock.h"
#include "platform/SystemServices.h"

namespace tamber {

// The records the full-text index lives in: a narrow view of the database's record file, so
// that the index reader, the query engine and the builder can run over a record file or over
// memory (tests, benchmarks). Answers follow the record file's: 1 success, 0 failure.
class FullTextStore {
public:
    virtual ~FullTextStore() = default;
    virtual int32_t ReadRecord(MemoryBlock& block, std::string_view name, uint32_t id) = 0;
    virtual int32_t WriteRecord(const MemoryBlock& block, std::string_view name, uint32_t id) = 0;
    virtual int32_t DeleteRecord(std::string_view name, uint32_t id) = 0;
    virtual int32_t RecordExists(std::string_view name, uint32_t id) = 0;
    // The ids of every record with the name, in no particular order.
    virtual std::vector<uint32_t> RecordIds(std::string_view name) = 0;
    // Many writes follow; the store may defer its bookkeeping until EndBatch.
    virtual void BeginBatch() {}
    virtual void EndBatch() {}
    virtual DriveKind Drive() const { return DriveKind::Fixed; }
};

}  // namespace tamber
