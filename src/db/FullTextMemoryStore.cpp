#include "db/FullTextMemoryStore.h"

namespace tamber {

FullTextMemoryStore::Key FullTextMemoryStore::MakeKey(std::string_view name, uint32_t id)
{
    std::string upper(name.substr(0, 8));
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return {upper, id};
}

int32_t FullTextMemoryStore::ReadRecord(MemoryBlock& block, std::string_view name, uint32_t id)
{
    ++m_reads;
    auto it = m_records.find(MakeKey(name, id));
    if (it == m_records.end())
        return 0;
    block = it->second;
    return 1;
}

int32_t FullTextMemoryStore::WriteRecord(const MemoryBlock& block, std::string_view name, uint32_t id)
{
    m_records[MakeKey(name, id)] = block;
    return 1;
}

int32_t FullTextMemoryStore::DeleteRecord(std::string_view name, uint32_t id)
{
    return m_records.erase(MakeKey(name, id)) ? 1 : 0;
}

int32_t FullTextMemoryStore::RecordExists(std::string_view name, uint32_t id)
{
    return m_records.count(MakeKey(name, id)) ? 1 : 0;
}

std::vector<uint32_t> FullTextMemoryStore::RecordIds(std::string_view name)
{
    std::vector<uint32_t> ids;
    std::string upper = MakeKey(name, 0).first;
    for (auto it = m_records.lower_bound({upper, 0}); it != m_records.end() && it->first.first == upper; ++it)
        ids.push_back(it->first.second);
    return ids;
}

MemoryBlock* FullTextMemoryStore::Find(std::string_view name, uint32_t id)
{
    auto it = m_records.find(MakeKey(name, id));
    return it == m_records.end() ? nullptr : &it->second;
}

int64_t FullTextMemoryStore::TotalBytes() const
{
    int64_t total = 0;
    for (const auto& [key, block] : m_records)
        total += block.Size();
    return total;
}

}  // namespace tamber
