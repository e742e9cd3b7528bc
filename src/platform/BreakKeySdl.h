#pragma once

#include <cstdint>

#include "platform/BreakKey.h"

namespace tamber {

// Ctrl+Break (Ctrl+Pause on today's keyboards) as the keyboard holds it now, while a script
// keeps the main loop from taking events. Platform events are pumped into SDL's own queue, not
// taken from it, so the main loop still receives them afterwards; pumping happens at most every
// kPumpIntervalMs, and between pumps the last answer stands.
class SdlBreakKey final : public BreakKey {
public:
    static constexpr uint64_t kPumpIntervalMs = 50;

    bool IsDown() override;

private:
    uint64_t m_lastPump = 0;
    bool m_down = false;
};

}  // namespace tamber
