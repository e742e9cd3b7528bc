#pragma once

#include <cstdint>

namespace tamber {

// The outcome of printing a DIB, as a set of failure bits; the message shown (in a box without
// caption) is the text of the lowest bit set.
class DibPrintResult {
public:
    static constexpr uint32_t kNoDib = 1u << 0;
    static constexpr uint32_t kNoPrinterDc = 1u << 1;
    static constexpr uint32_t kNoNextBand = 1u << 2;
    static constexpr uint32_t kBandInfo = 1u << 3;
    static constexpr uint32_t kSetDIBitsToDevice = 1u << 4;
    static constexpr uint32_t kStretchDIBits = 1u << 5;
    static constexpr uint32_t kStartDoc = 1u << 6;
    static constexpr uint32_t kSetAbortProc = 1u << 7;
    static constexpr uint32_t kStartPage = 1u << 8;
    static constexpr uint32_t kNewFrame = 1u << 9;
    static constexpr uint32_t kEndDoc = 1u << 10;
    static constexpr uint32_t kNextBand = 1u << 11;
    static constexpr uint32_t kNoStartDocFunction = 1u << 12;
    static constexpr uint32_t kNoSetAbortProcFunction = 1u << 13;
    static constexpr uint32_t kNoStartPageFunction = 1u << 14;
    static constexpr const char* kCaption = "";

    static const char* Message(uint32_t result);
};

}  // namespace tamber
