#pragma once

#include <cstdint>
#include <string>

#include "base/MemoryBlock.h"

namespace tamber::shell {

// The record "MMStart" 0 that steers start-up: the frame style (16-bit), the caption, the start
// Interface's name and the names to use instead on screens 800, 1024 and 1280 pixels wide, each
// a length-prefixed string. A missing or short record reads as zeros and empty strings.
struct StartRecord {
    static constexpr const char* kRecordName = "MMStart";
    static constexpr uint32_t kRecordId = 0;
    static constexpr int32_t kFrameStyleOffset = 0;
    static constexpr int32_t kFrameStyleSize = 2;

    int16_t frameStyle = 0;
    std::string caption;
    std::string startName;
    std::string name800;
    std::string name1024;
    std::string name1280;

    static StartRecord Parse(const MemoryBlock& payload);
    void Write(MemoryBlock& out) const;
    // The start Interface's name on a screen of that width.
    const std::string& NameForScreen(int32_t screenWidth) const;
};

}  // namespace tamber::shell
