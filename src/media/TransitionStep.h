#pragma once

#include <cstdint>
#include <functional>

#include "platform/gfx/Point.h"
#include "platform/gfx/Rect.h"

namespace tamber {

// One drawing operation of a transition, reported to a watcher as it is made (tests and tools
// follow the reveal with it).
struct TransitionStep {
    enum class Kind : uint8_t {
        Copy,     // a part of the picture copied or stretched into a part of the destination
        Scroll,   // the destination rectangle's content moved by offset
        Outline,  // an inverting outline drawn or removed
        Final,    // the closing copy of the whole picture
    };
    Kind kind = Kind::Copy;
    gfx::Rect dest;     // logical coordinates of the destination
    gfx::Rect source;   // picture pixels, top row 0 (copies only)
    gfx::Point offset;  // scrolls only
    uint32_t rop = 0;   // copies only

    friend bool operator==(const TransitionStep&, const TransitionStep&) = default;
};

using TransitionWatcher = std::function<void(const TransitionStep&)>;

}  // namespace tamber
