#include "db/FullTextRecordStore.h"

namespace tamber {

std::vector<uint32_t> FullTextRecordStore::RecordIds(std::string_view name)
{
    return m_file.RecordIds(name);
}

}  // namespace tamber
