#pragma once

#include <cstdint>
#include <vector>

#include "base/MemoryBlock.h"

namespace tamber {

// A record as the upgrades see it: its id and payload, listed in file order.
struct StoredRecord {
    uint32_t id = 0;
    MemoryBlock payload;
};

// The rewrites that bring catalogues and folder trees of older layouts to the current one.
// They work on blocks only; MediaDatabase reads the old records, calls these and stores the
// result. Damaged input is carried over as far as it is readable and never read out of bounds.
class CatalogUpgrade {
public:
    // Entries kept one per "MMEntry" record: appends the payloads of the records with an id other
    // than 0 to the catalogue, from the last record in file order to the first.
    static void MergeEntryRecords(MemoryBlock& catalog, const std::vector<StoredRecord>& records);

    // Entries without part and external lists: gives each entry an empty part count and external
    // count after its type. Answers the number of entries rewritten; stops at a damaged entry.
    static int32_t AddPartAndExternalCounts(MemoryBlock& catalog);

    // An "MMEExt" payload (NUL-terminated paths ended by an empty one) becomes the "File"
    // references of the medium. Answers 1 when the medium exists.
    static int32_t AttachExternals(MemoryBlock& catalog, uint32_t mediaId, const MemoryBlock& paths);

    // An "MMEInt" payload (32-bit record ids) becomes the parts of the medium: "Text", "Styl",
    // "Rulr" for a "GT" medium; "Data", "Hots" for a medium without parts; else one "Hots".
    static int32_t AttachInternals(MemoryBlock& catalog, uint32_t mediaId, const MemoryBlock& recordIds);

    // Folders kept one per "MMFoldr" record, without their ids: puts the root's id 0 in front of
    // the tree, then appends each record with an id other than 0 as its id and its bytes, from
    // the last record to the first.
    static void MergeFolderRecords(MemoryBlock& tree, const std::vector<StoredRecord>& records);
};

}  // namespace tamber
