#pragma once

#include "platform/clock/Clock.h"

namespace tamber {

// A clock for headless runs and tests: time stands still until Advance is called or the
// program sleeps, so everything paced by the clock is deterministic. The local time starts at
// 2000-01-01 00:00:00 unless set, and the tick count at 0 unless set.
class VirtualClock : public Clock {
public:
    VirtualClock() = default;
    explicit VirtualClock(const LocalTime& start, uint32_t startTick = 0);

    uint32_t TickCount() const override;
    LocalTime Now() const override;
    int64_t LocalSeconds() const override;
    // Sleeping moves the clock forward by the time asked for, at once.
    void Sleep(uint32_t milliseconds) override;

    void Advance(uint32_t milliseconds);
    // Sets the local time from now on; the tick count is not affected.
    void SetTime(const LocalTime& time);
    // Milliseconds that have passed since construction.
    uint64_t Elapsed() const { return m_elapsed; }

private:
    static constexpr int64_t kDefaultStart = 946684800;  // 2000-01-01 00:00:00

    uint32_t m_startTick = 0;
    uint64_t m_elapsed = 0;
    // Local time in milliseconds since 1970, taken as UTC.
    int64_t m_localMs = kDefaultStart * 1000;
};

}  // namespace tamber
