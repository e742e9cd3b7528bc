#pragma once

#include <algorithm>
#include <cstdint>

#include "platform/gfx/Point.h"

namespace tamber::gfx {

// A rectangle with the usual device convention: left and top inside, right and bottom outside.
// A rectangle whose right <= left or bottom <= top is empty.
struct Rect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    static constexpr Rect FromSize(int32_t x, int32_t y, int32_t width, int32_t height)
    {
        return Rect { x, y, x + width, y + height };
    }

    constexpr int32_t Width() const { return right - left; }
    constexpr int32_t Height() const { return bottom - top; }
    constexpr bool IsEmpty() const { return right <= left || bottom <= top; }
    constexpr bool Contains(Point p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
    constexpr bool Contains(const Rect& r) const
    {
        return r.IsEmpty() || (r.left >= left && r.right <= right && r.top >= top && r.bottom <= bottom);
    }

    // Corners swapped where needed so that left <= right and top <= bottom.
    constexpr Rect Normalized() const
    {
        return Rect { std::min(left, right), std::min(top, bottom), std::max(left, right), std::max(top, bottom) };
    }
    constexpr Rect Offset(int32_t dx, int32_t dy) const { return Rect { left + dx, top + dy, right + dx, bottom + dy }; }
    constexpr Rect Inflate(int32_t dx, int32_t dy) const { return Rect { left - dx, top - dy, right + dx, bottom + dy }; }
    // The common part; an empty result is the zero rectangle.
    constexpr Rect Intersect(const Rect& r) const
    {
        Rect out { std::max(left, r.left), std::max(top, r.top), std::min(right, r.right), std::min(bottom, r.bottom) };
        return out.IsEmpty() ? Rect {} : out;
    }
    // The smallest rectangle holding both; empty rectangles are ignored.
    constexpr Rect Union(const Rect& r) const
    {
        if (IsEmpty())
            return r.IsEmpty() ? Rect {} : r;
        if (r.IsEmpty())
            return *this;
        return Rect { std::min(left, r.left), std::min(top, r.top), std::max(right, r.right), std::max(bottom, r.bottom) };
    }

    friend bool operator==(const Rect&, const Rect&) = default;
};

} // namespace tamber::gfx
