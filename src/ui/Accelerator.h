#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tamber::ui {

// A custom accelerator as stored: 14 bytes, little-endian.
//   0  key code        (16 bits)
//   2  Shift required  (32 bits, non-zero = yes)
//   6  Ctrl required   (16 bits, non-zero = yes)
//   8  command id      (16 bits)
//  10  reserved        (4 bytes)
struct CustomAccelerator {
    static constexpr size_t kSize = 14;
    static constexpr size_t kKeyOffset = 0;
    static constexpr size_t kShiftOffset = 2;
    static constexpr size_t kCtrlOffset = 6;
    static constexpr size_t kCommandOffset = 8;

    uint16_t key = 0;
    uint32_t shift = 0;
    uint16_t ctrl = 0;
    uint16_t command = 0;

    // The entry fires when the key matches and the Shift and Ctrl states are exactly as required.
    bool Matches(uint32_t pressedKey, bool shiftDown, bool ctrlDown) const
    {
        return pressedKey == key && (shift != 0) == shiftDown && (ctrl != 0) == ctrlDown;
    }

    // Reads every whole entry of a stored list; a trailing partial entry is ignored.
    static std::vector<CustomAccelerator> Parse(const uint8_t* data, size_t size);
    static std::vector<uint8_t> Serialize(const std::vector<CustomAccelerator>& entries);
};

// An entry of a window's accelerator table: the classic form, modifiers as flags.
struct AcceleratorEntry {
    static constexpr uint8_t kShift = 0x04;
    static constexpr uint8_t kCtrl = 0x08;
    static constexpr uint8_t kAlt = 0x10;

    uint8_t modifiers = 0;
    uint16_t key = 0;
    uint16_t command = 0;

    bool Matches(uint32_t pressedKey, bool shiftDown, bool ctrlDown, bool altDown) const
    {
        return pressedKey == key && ((modifiers & kShift) != 0) == shiftDown && ((modifiers & kCtrl) != 0) == ctrlDown
            && ((modifiers & kAlt) != 0) == altDown;
    }
};

} // namespace tamber::ui
