#include "base/Resources.h"

namespace tamber {

Resources& Resources::Program()
{
    static Resources resources;
    return resources;
}

void Resources::Add(std::span<const ResourceData> table)
{
    for (const auto& known : m_tables) {
        if (known.data() == table.data())
            return;
    }
    m_tables.push_back(table);
}

std::span<const uint8_t> Resources::Find(uint16_t type, uint16_t id) const
{
    for (const auto& table : m_tables) {
        for (const ResourceData& entry : table) {
            if (entry.type == type && entry.id == id)
                return {entry.bytes, static_cast<size_t>(entry.size)};
        }
    }
    return {};
}

int32_t Resources::Load(uint16_t type, uint16_t id, MemoryBlock& out) const
{
    for (const auto& table : m_tables) {
        for (const ResourceData& entry : table) {
            if (entry.type == type && entry.id == id) {
                out.Clear();
                out.Append(entry.bytes, entry.size);
                return 1;
            }
        }
    }
    return -1;
}

}  // namespace tamber
