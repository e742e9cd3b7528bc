#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "base/MemoryBlock.h"
#include "db/MediaEntry.h"

namespace tamber {

// The catalogue ("MMEntry" id 0) held in memory: a block of entries back to back and an
// id-to-position table built by one walk on first use. A walk steps by each entry's length
// and stops at the first length that is shorter than an entry or runs past the block, so a
// damaged catalogue yields the entries before the damage.
class MediaCatalog {
public:
    MediaCatalog() = default;
    explicit MediaCatalog(MemoryBlock block) : m_block(std::move(block)) { }

    void Load(MemoryBlock block);
    const MemoryBlock& Block() const { return m_block; }

    int32_t Count();
    // Byte position of the entry with the id, or -1.
    int32_t PositionOf(uint32_t id);
    // Answers 1 and fills out when the entry exists and decodes, else 0.
    int32_t Find(uint32_t id, MediaEntry& out);
    // The first entry in catalogue order whose name (and type, when not empty) equal the given
    // ones without regard to ASCII case.
    int32_t FindByName(const std::string& name, const std::string& type, MediaEntry& out);
    // The index-th entry (from 0); 0 past the end or when that entry is damaged.
    int32_t Nth(int32_t index, MediaEntry& out);
    std::vector<uint32_t> Ids();

    // Edits (authoring and upgrades). Each answers 1 on success, 0 on failure.
    int32_t Add(const MediaEntry& entry);      // refused when the id is taken
    int32_t Replace(const MediaEntry& entry);  // the entry with the same id, in place
    int32_t Remove(uint32_t id);
    // 1 + the highest id in use, at least 1.
    uint32_t NextId();

private:
    void BuildTable();

    MemoryBlock m_block;
    std::vector<std::pair<uint32_t, int32_t>> m_table;  // {media id, byte position}
    bool m_tableBuilt = false;
};

// ASCII-only case-insensitive equality, as the system compares user-given names.
bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace tamber
