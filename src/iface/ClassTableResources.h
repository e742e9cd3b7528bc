#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "base/Resources.h"

namespace tamber {

// The sixteen class tables (raw data, ids 9250 to 9265), compiled at build time from
// src/iface/classes/ClassTables.txt.
std::span<const ResourceData> ClassTableResources();

// The type name of class table classId ("Button"); empty for an unknown id.
std::string_view ClassTypeName(uint16_t classId);

}  // namespace tamber
