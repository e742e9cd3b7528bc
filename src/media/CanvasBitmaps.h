#pragma once

#include <cstdint>

#include "base/MemoryBlock.h"

namespace tamber {

// The "Bmps" part of a Graphic medium: the pictures of its canvas's BITMAP objects, as records
// of a 32-bit object id, a 32-bit length n (at least 1) and n bytes of packed DIB. Records are
// normally stored in the order the objects are read, so each search tries the record after the
// last one found before searching from the start.
class CanvasBitmaps {
public:
    static constexpr int32_t kRecordHeaderSize = 8;

    explicit CanvasBitmaps(const MemoryBlock& stored)
        : m_stored(stored)
    {
    }

    // Answers 1 with the object's picture, or 0 when no record has its id. A record whose length
    // is below 1 or runs past the end ends the search.
    int Find(int32_t objectId, MemoryBlock& picture);

    static void AppendRecord(MemoryBlock& stored, int32_t objectId, const MemoryBlock& picture);

private:
    // Answers the length of the record at `at` when it is whole, else 0.
    int32_t RecordLength(int32_t at) const;

    const MemoryBlock& m_stored;
    int32_t m_position = 0;
};

} // namespace tamber
