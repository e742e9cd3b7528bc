#pragma once

#include <cstdint>
#include <string_view>
#include <unordered_map>

#include "base/MemoryBlock.h"

namespace tamber {

// The lookup index of a record file's directory: one 16-byte item {id, name (8 bytes),
// position of the directory entry in the directory block} per record in use, in directory
// order. Lookups search it from the end and move an item found far from the end to the end,
// so records used again are found among the last kRecentItems items.
//
// A hash of (name, id) to the item's slot answers lookups in constant time; it always names the
// item a backward search would find first (the last one with that key), so the answers are
// those of the search. FindByScan performs the search itself.
class RecordIndex {
public:
    static constexpr int32_t kItemSize = 16;
    static constexpr int32_t kRecentItems = 20;

    // Record names compare over 8 characters, ASCII case ignored, ending at the first NUL.
    static uint64_t NameKey(const uint8_t* name8);
    static uint64_t NameKey(std::string_view name);

    void Clear();
    bool Empty() const { return m_live == 0; }
    int32_t Count() const { return m_live; }
    void Add(const uint8_t* name8, uint32_t id, int32_t position);
    // Drops the item of (name, id) when there is exactly one; answers false (changing nothing)
    // when there is none or the index holds the key more than once.
    bool Remove(uint64_t nameKey, uint32_t id);
    // Whether some key was added more than once (only a damaged directory does that).
    bool HasDuplicates() const { return m_duplicates; }

    // The directory position of (name, id), or -1; applies the move-to-end rule.
    int32_t Find(uint64_t nameKey, uint32_t id);
    // The same answer by searching the items from the end, without reordering.
    int32_t FindByScan(uint64_t nameKey, uint32_t id) const;
    // Item slots in use, moved-away slots included.
    int32_t Slots() const { return m_items.Size() / kItemSize; }

private:
    struct Key {
        uint64_t name;
        uint32_t id;
        bool operator==(const Key&) const = default;
    };
    struct KeyHash {
        size_t operator()(const Key& k) const
        {
            uint64_t h = k.name * 0x9E3779B97F4A7C15ull ^ (uint64_t(k.id) + 0x7F4A7C15ull) * 0xC2B2AE3D27D4EB4Full;
            return static_cast<size_t>(h ^ (h >> 29));
        }
    };

    void Compact();

    MemoryBlock m_items;  // the working copy that lookups reorder
    std::unordered_map<Key, int32_t, KeyHash> m_slots;
    int32_t m_live = 0;
    bool m_duplicates = false;
};

}  // namespace tamber
