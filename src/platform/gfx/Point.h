#pragma once

#include <cstdint>

namespace tamber::gfx {

// A point in device or logical coordinates.
struct Point {
    int32_t x = 0;
    int32_t y = 0;

    friend bool operator==(const Point&, const Point&) = default;
};

} // namespace tamber::gfx
