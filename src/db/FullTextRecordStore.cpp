#include "db/FullTextRecordStore.h"

namespace tamber {

std::vector<uint32_t> FullTextRecordStore::RecordIds(std::string_view name)
{
    std::vector<uint32_t> ids;
    uint32_t id = 0;
    int32_t length = 0;
    for (int32_t n = 1; m_file.NthRecord(name, n, id, length); ++n)
        ids.push_back(id);
    return ids;
}

}  // namespace tamber
