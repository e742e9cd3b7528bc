#pragma once

#include <cstdint>

namespace tamber {

// A rectangle in Card coordinates: left, top, width, height.
struct CardRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const CardRect&) const = default;
};

// A point in Card coordinates.
struct CardPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const CardPoint&) const = default;
};

}  // namespace tamber
