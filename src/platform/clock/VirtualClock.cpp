#include "platform/clock/VirtualClock.h"

namespace tamber {

namespace {

int64_t FloorDiv(int64_t value, int64_t divisor) {
    int64_t q = value / divisor;
    return (value % divisor != 0 && value < 0) ? q - 1 : q;
}

}  // namespace

VirtualClock::VirtualClock(const LocalTime& start, uint32_t startTick) : m_startTick(startTick) {
    SetTime(start);
}

uint32_t VirtualClock::TickCount() const {
    return static_cast<uint32_t>(m_startTick + m_elapsed);
}

LocalTime VirtualClock::Now() const {
    const int64_t seconds = FloorDiv(m_localMs, 1000);
    return TimeFromSeconds(seconds, static_cast<int32_t>(m_localMs - seconds * 1000));
}

int64_t VirtualClock::LocalSeconds() const {
    return FloorDiv(m_localMs, 1000);
}

void VirtualClock::Sleep(uint32_t milliseconds) {
    Advance(milliseconds);
}

void VirtualClock::Advance(uint32_t milliseconds) {
    m_elapsed += milliseconds;
    m_localMs += milliseconds;
}

void VirtualClock::SetTime(const LocalTime& time) {
    m_localMs = SecondsFromTime(time) * 1000 + time.millisecond;
}

}  // namespace tamber
