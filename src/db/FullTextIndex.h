#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/MemoryBlock.h"
#include "db/FullTextFieldValue.h"
#include "db/FullTextStore.h"

namespace tamber {

// Reads the full-text index of a database: the postings of a word through the word tree over
// "MMBuild" 0 and one "MMLeaf" record, the value of a field for a medium through "MMFldID" and
// "MMHash", and the granule table. The leaf keys are read once, at the first lookup; every
// record read is bounds-checked, and damaged records give empty results.
class FullTextIndex {
public:
    explicit FullTextIndex(FullTextStore& store)
        : m_store(store)
    {
    }

    // 1 when "MMBuild" 0 exists and, except on a CD-ROM drive, "MMFldID" 0 exists; else 0.
    int32_t IsBuilt();

    // Appends the index's word list ("MMBuild" 1) in stored order; a word cut short by the
    // record's end is dropped. Answers 1, or 0 when the record is absent.
    int32_t IndexWords(std::vector<std::string>& words);

    // Fills postings with the word's postings block: a 32-bit count, then per posting the word
    // (length-prefixed) and the posting's bytes. Answers the number of postings.
    int32_t WordPostings(std::string_view word, MemoryBlock& postings);

    // The postings bytes of one word entry inside a leaf; the leaf stays alive with the entry.
    struct WordEntry {
        std::shared_ptr<const MemoryBlock> leaf;
        int32_t offset = 0; // of the first posting
        int32_t length = 0; // bytes of postings
        const uint8_t* Data() const { return leaf->Data(offset); }
    };
    // Looks up a word already in lower case; answers 1 and fills entry, or 0 (entry empty).
    int32_t FindWord(std::string_view lowerWord, WordEntry& entry);
    // The leaf (from 1) whose key range holds the word, 0 when none does.
    int32_t LeafFor(std::string_view word);

    // The value of a field for a medium, formatted; answers 1, or 0 when the field or the
    // medium has none.
    int32_t MediaField(int32_t mediaId, std::string_view fieldName, std::string& value);
    // Field and granule ids by name (ASCII case ignored); -1 when not in the table.
    int32_t FieldId(std::string_view name);
    int32_t GranuleId(std::string_view name);
    // The value table "MMHash" of a field; on a CD-ROM drive the last one read is reused.
    std::shared_ptr<const MemoryBlock> FieldValues(int32_t fieldId);

    // Forgets every record read, so that a rebuilt index is read afresh.
    void Reset();
    FullTextStore& Store() { return m_store; }

    // Walks the entries of a "MMHash" payload: calls visit(mediaId, kindOffset, valueSize) for each,
    // kindOffset being where the entry's kind byte is, with the value's bytes right after it,
    // until visit answers false or the entries run out or stop making sense.
    template<typename Visit> static void ForEachFieldEntry(const MemoryBlock& table, Visit visit);
    // The same walk with each value decoded: visit(mediaId, value).
    template<typename Visit> static void ForEachFieldValue(const MemoryBlock& table, Visit visit);

private:
    void LoadKeys();
    int32_t LookupName(std::string_view record, std::string_view name);

    FullTextStore& m_store;
    bool m_keysLoaded = false;
    std::vector<std::string> m_keys; // lower case; key i opens leaf i + 1
    int32_t m_leafId = 0; // the last leaf read
    std::shared_ptr<const MemoryBlock> m_leaf;
    int32_t m_hashId = -1; // the last field table read (CD-ROM only)
    std::shared_ptr<const MemoryBlock> m_hash;
};

template<typename Visit> void FullTextIndex::ForEachFieldEntry(const MemoryBlock& table, Visit visit)
{
    using namespace fulltext;
    static_assert(kHashKindOffset + 1 == kHashEntryHeaderSize, "the value follows the kind byte");
    int32_t count = table.ReadInt(0, kHashCountSize);
    int32_t offset = kHashCountSize;
    const uint8_t* bytes = table.Data();
    for (int32_t i = 0; i < count && offset + kHashEntryHeaderSize <= table.Size(); ++i) {
        const uint8_t* entry = bytes + offset;
        auto mediaId = static_cast<int32_t>(static_cast<uint32_t>(entry[kHashMediaOffset])
            | (static_cast<uint32_t>(entry[kHashMediaOffset + 1]) << 8)
            | (static_cast<uint32_t>(entry[kHashMediaOffset + 2]) << 16)
            | (static_cast<uint32_t>(entry[kHashMediaOffset + 3]) << 24));
        int32_t valueOffset = offset + kHashEntryHeaderSize;
        int32_t size = FullTextFieldValue::StoredSize(
            entry[kHashKindOffset], bytes + valueOffset, table.Size() - valueOffset);
        if (size == 0)
            return;
        offset = valueOffset + size;
        if (!visit(mediaId, valueOffset - 1, size))
            return;
    }
}

template<typename Visit> void FullTextIndex::ForEachFieldValue(const MemoryBlock& table, Visit visit)
{
    FullTextFieldValue value;
    ForEachFieldEntry(table, [&](int32_t mediaId, int32_t kindOffset, int32_t) {
        value.Read(table, kindOffset + 1, table.Data()[kindOffset]);
        return visit(mediaId, static_cast<const FullTextFieldValue&>(value));
    });
}

} // namespace tamber
