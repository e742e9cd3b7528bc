#pragma once

#include <cstdint>
#include <string_view>

namespace tamber {

// A broken-down local date and time, as the platform's local-time call reports it.
struct LocalTime {
    int32_t year = 1970;
    int32_t month = 1;        // 1..12
    int32_t day = 1;          // 1..31
    int32_t dayOfWeek = 4;    // 0 = Sunday
    int32_t hour = 0;
    int32_t minute = 0;
    int32_t second = 0;
    int32_t millisecond = 0;

    bool operator==(const LocalTime&) const = default;
};

// Where the program reads time. The tick count is milliseconds since an arbitrary start and
// wraps at 2^32 like the platform's; local time is the wall clock of the user's zone.
// A loop that waits for time to pass must call Sleep, never spin on TickCount: the virtual
// clock moves only when told to.
class Clock {
public:
    virtual ~Clock() = default;

    virtual uint32_t TickCount() const = 0;
    virtual LocalTime Now() const = 0;
    // Seconds since 1 January 1970 of the current local time taken as if it were UTC; the form
    // in which stored data and scripts keep dates.
    virtual int64_t LocalSeconds() const = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;

    // Calendar helpers shared by the implementations.
    static int64_t SecondsFromTime(const LocalTime& time);
    static LocalTime TimeFromSeconds(int64_t seconds, int32_t millisecond = 0);
    // Parses "YYYY-MM-DD HH:MM:SS" (the --time option). Answers 1 and fills time, or 0 when the
    // text is not a valid date and time.
    static int ParseTime(std::string_view text, LocalTime& time);
};

}  // namespace tamber
