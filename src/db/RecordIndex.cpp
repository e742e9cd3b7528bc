#include "db/RecordIndex.h"

#include <cstring>

#include "db/RecordFileFormat.h"

namespace tamber {

namespace {

constexpr int32_t kItemIdOffset = 0;
constexpr int32_t kItemNameOffset = 4;
constexpr int32_t kItemPositionOffset = 12;
// A slot whose item moved to the end: its id becomes 0xFFFFFFFF as before, and its position
// -1 so it can never answer a lookup (a real record may have the id 0xFFFFFFFF).
constexpr uint32_t kMovedId = 0xFFFFFFFFu;
constexpr int32_t kMovedPosition = -1;

uint8_t Fold(uint8_t c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<uint8_t>(c - 'a' + 'A') : c;
}

}  // namespace

uint64_t RecordIndex::NameKey(const uint8_t* name8)
{
    uint64_t key = 0;
    for (int i = 0; i < recordfile::kNameSize && name8[i] != 0; ++i)
        key |= uint64_t(Fold(name8[i])) << (8 * i);
    return key;
}

uint64_t RecordIndex::NameKey(std::string_view name)
{
    uint8_t bytes[recordfile::kNameSize] = {};
    if (!name.empty())
        std::memcpy(bytes, name.data(), std::min<size_t>(name.size(), sizeof bytes));
    return NameKey(bytes);
}

void RecordIndex::Clear()
{
    m_items.Clear();
    m_slots.clear();
    m_live = 0;
    m_duplicates = false;
}

void RecordIndex::Add(const uint8_t* name8, uint32_t id, int32_t position)
{
    int32_t slot = Slots();
    uint8_t item[kItemSize] = {};
    for (int i = 0; i < 4; ++i)
        item[kItemIdOffset + i] = static_cast<uint8_t>(id >> (8 * i));
    std::memcpy(item + kItemNameOffset, name8, recordfile::kNameSize);
    m_items.Append(item, kItemSize);
    m_items.WriteInt(slot * kItemSize + kItemPositionOffset, position, 4);
    // A later item with the same key hides an earlier one, as it does for a backward search.
    auto [it, inserted] = m_slots.insert_or_assign(Key{NameKey(name8), id}, slot);
    m_duplicates = m_duplicates || !inserted;
    ++m_live;
}

bool RecordIndex::Remove(uint64_t nameKey, uint32_t id)
{
    if (m_duplicates)
        return false;
    auto it = m_slots.find(Key{nameKey, id});
    if (it == m_slots.end())
        return false;
    int32_t base = it->second * kItemSize;
    m_items.WriteInt(base + kItemIdOffset, static_cast<int32_t>(kMovedId), 4);
    m_items.WriteInt(base + kItemPositionOffset, kMovedPosition, 4);
    m_slots.erase(it);
    --m_live;
    return true;
}

int32_t RecordIndex::Find(uint64_t nameKey, uint32_t id)
{
    auto it = m_slots.find(Key{nameKey, id});
    if (it == m_slots.end())
        return -1;
    int32_t slot = it->second;
    int32_t base = slot * kItemSize;
    int32_t position = m_items.ReadInt(base + kItemPositionOffset, 4);
    if (slot < Slots() - kRecentItems) {
        uint8_t item[kItemSize];
        m_items.Read(base, item, kItemSize);
        m_items.WriteInt(base + kItemIdOffset, static_cast<int32_t>(kMovedId), 4);
        m_items.WriteInt(base + kItemPositionOffset, kMovedPosition, 4);
        it->second = Slots();
        m_items.Append(item, kItemSize);
        if (Slots() > 2 * m_live + 64)
            Compact();
    }
    return position;
}

int32_t RecordIndex::FindByScan(uint64_t nameKey, uint32_t id) const
{
    for (int32_t slot = Slots() - 1; slot >= 0; --slot) {
        int32_t base = slot * kItemSize;
        int32_t position = m_items.ReadInt(base + kItemPositionOffset, 4);
        if (position == kMovedPosition || static_cast<uint32_t>(m_items.ReadInt(base + kItemIdOffset, 4)) != id)
            continue;
        if (NameKey(m_items.Data(base + kItemNameOffset)) == nameKey)
            return position;
    }
    return -1;
}

// Drops the moved-away slots once they outnumber the live ones, keeping the order. The hash
// keeps its nodes; only the slots of the items it names change.
void RecordIndex::Compact()
{
    MemoryBlock items(m_live * kItemSize);
    int32_t out = 0;
    for (int32_t slot = 0; slot < Slots(); ++slot) {
        int32_t base = slot * kItemSize;
        if (m_items.ReadInt(base + kItemPositionOffset, 4) == kMovedPosition)
            continue;
        uint32_t id = static_cast<uint32_t>(m_items.ReadInt(base + kItemIdOffset, 4));
        auto it = m_slots.find(Key{NameKey(m_items.Data(base + kItemNameOffset)), id});
        if (it != m_slots.end() && it->second == slot)
            it->second = out;
        items.Write(out * kItemSize, m_items.Data(base), kItemSize);
        ++out;
    }
    m_items = std::move(items);
}

}  // namespace tamber
