#pragma once

#include <cstddef>

namespace tamber {

// Advises the system that a large buffer about to be filled may be backed by huge pages, which
// makes the first touch of a multi-megabyte block much cheaper than page by page. Only the
// whole huge pages inside [data, data + size) are affected, so buffers of a few megabytes or
// less are left alone. Advice only: nothing changes when the system declines it.
void AdviseLargeBuffer(void* data, size_t size);

}  // namespace tamber
