#include "db/MediaCatalog.h"

#include <algorithm>

#include "db/MediaCatalogFormat.h"

namespace tamber {

using namespace catalog;

bool EqualsNoCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        unsigned char x = static_cast<unsigned char>(a[i]);
        unsigned char y = static_cast<unsigned char>(b[i]);
        if (x >= 'a' && x <= 'z')
            x = static_cast<unsigned char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<unsigned char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

void MediaCatalog::Load(MemoryBlock block)
{
    m_block = std::move(block);
    m_table.clear();
    m_tableBuilt = false;
}

void MediaCatalog::BuildTable()
{
    if (m_tableBuilt)
        return;
    m_table.clear();
    int32_t position = 0;
    while (int32_t length = MediaEntry::StoredLength(m_block, position)) {
        m_table.emplace_back(static_cast<uint32_t>(m_block.ReadInt(position + kEntryIdOffset, 4)), position);
        position += length;
    }
    m_tableBuilt = true;
}

int32_t MediaCatalog::Count()
{
    BuildTable();
    return static_cast<int32_t>(m_table.size());
}

int32_t MediaCatalog::PositionOf(uint32_t id)
{
    BuildTable();
    for (const auto& [entryId, position] : m_table)
        if (entryId == id)
            return position;
    return -1;
}

int32_t MediaCatalog::Find(uint32_t id, MediaEntry& out)
{
    int32_t position = PositionOf(id);
    return position < 0 ? 0 : MediaEntry::Parse(m_block, position, out);
}

int32_t MediaCatalog::FindByName(const std::string& name, const std::string& type, MediaEntry& out)
{
    BuildTable();
    // Compare the stored name and type in place; only a match is decoded.
    auto shortString = [&](int32_t at, int32_t end, std::string_view& text) {
        if (at >= end)
            return false;
        int32_t n = m_block.ReadInt(at, 1) & 0xFF;
        if (n > end - at - 1)
            return false;
        text = std::string_view(reinterpret_cast<const char*>(m_block.Data(at + 1)), static_cast<size_t>(n));
        return true;
    };
    for (const auto& item : m_table) {
        int32_t position = item.second;
        int32_t end = position + MediaEntry::StoredLength(m_block, position);
        std::string_view storedName, storedType;
        if (!shortString(position + kEntryNameOffset, end, storedName) || !EqualsNoCase(storedName, name))
            continue;
        if (!shortString(position + kEntryNameOffset + 1 + static_cast<int32_t>(storedName.size()), end, storedType))
            continue;
        if ((type.empty() || EqualsNoCase(storedType, type)) && MediaEntry::Parse(m_block, position, out))
            return 1;
    }
    return 0;
}

int32_t MediaCatalog::Nth(int32_t index, MediaEntry& out)
{
    BuildTable();
    if (index < 0 || index >= static_cast<int32_t>(m_table.size()))
        return 0;
    return MediaEntry::Parse(m_block, m_table[static_cast<size_t>(index)].second, out);
}

std::vector<uint32_t> MediaCatalog::Ids()
{
    BuildTable();
    std::vector<uint32_t> ids;
    ids.reserve(m_table.size());
    for (const auto& item : m_table)
        ids.push_back(item.first);
    return ids;
}

int32_t MediaCatalog::Add(const MediaEntry& entry)
{
    if (PositionOf(entry.id) >= 0)
        return 0;
    // Entries behind a damaged one are unreachable; append right after the last good entry so
    // the new one is found.
    int32_t end = m_table.empty() ? 0 : m_table.back().second + MediaEntry::StoredLength(m_block, m_table.back().second);
    if (end != m_block.Size())
        m_block.Resize(end);
    if (!entry.AppendTo(m_block))
        return 0;
    m_table.emplace_back(entry.id, end);
    return 1;
}

int32_t MediaCatalog::Replace(const MediaEntry& entry)
{
    int32_t position = PositionOf(entry.id);
    if (position < 0)
        return 0;
    MemoryBlock encoded(0);
    if (!entry.AppendTo(encoded))
        return 0;
    int32_t oldLength = MediaEntry::StoredLength(m_block, position);
    m_block.Delete(position, oldLength);
    if (m_block.Insert(position, encoded.Data(), encoded.Size()) != encoded.Size())
        return 0;
    m_tableBuilt = false;
    return 1;
}

int32_t MediaCatalog::Remove(uint32_t id)
{
    int32_t position = PositionOf(id);
    if (position < 0)
        return 0;
    m_block.Delete(position, MediaEntry::StoredLength(m_block, position));
    m_tableBuilt = false;
    return 1;
}

uint32_t MediaCatalog::NextId()
{
    BuildTable();
    uint32_t highest = 0;
    for (const auto& item : m_table)
        highest = std::max(highest, item.first);
    return highest == UINT32_MAX ? 0 : highest + 1;
}

}  // namespace tamber
