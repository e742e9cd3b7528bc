#pragma once

#include <cstdint>

namespace tamber {

class MediaDatabase;

// A medium: its id in a database (-1 = none) and the database it belongs to.
struct MediaRef {
    static constexpr int32_t kNone = -1;

    int32_t mediaId = kNone;
    const MediaDatabase* database = nullptr;

    bool IsNone() const { return mediaId == kNone; }
    bool operator==(const MediaRef&) const = default;
};

}  // namespace tamber
