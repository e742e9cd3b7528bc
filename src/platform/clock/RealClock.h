#pragma once

#include "platform/clock/Clock.h"

namespace tamber {

// The machine's clocks: a monotonic millisecond counter and the local wall-clock time.
class RealClock : public Clock {
public:
    uint32_t TickCount() const override;
    LocalTime Now() const override;
    int64_t LocalSeconds() const override;
    void Sleep(uint32_t milliseconds) override;
};

}  // namespace tamber
