#include "platform/clock/RealClock.h"
#include "platform/clock/VirtualClock.h"

#include <gtest/gtest.h>

namespace tamber {
namespace {

TEST(Clock, ConvertsBetweenCalendarAndSeconds) {
    struct Case {
        int64_t seconds;
        LocalTime time;
    };
    const Case cases[] = {
        {0, {1970, 1, 1, 4, 0, 0, 0, 0}},
        {951782400, {2000, 2, 29, 2, 0, 0, 0, 0}},         // leap day of a 400-year leap year
        {4107542399, {2100, 2, 28, 0, 23, 59, 59, 0}},     // 2100 is not a leap year
        {4107542400, {2100, 3, 1, 1, 0, 0, 0, 0}},
        {-1, {1969, 12, 31, 3, 23, 59, 59, 0}},
        {2147483647, {2038, 1, 19, 2, 3, 14, 7, 0}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Clock::TimeFromSeconds(c.seconds), c.time) << c.seconds;
        EXPECT_EQ(Clock::SecondsFromTime(c.time), c.seconds) << c.seconds;
    }
}

TEST(Clock, ParsesTheTimeOptionAndRejectsBadDates) {
    LocalTime time;
    ASSERT_EQ(Clock::ParseTime("1996-02-29 13:05:09", time), 1);
    EXPECT_EQ(time, (LocalTime{1996, 2, 29, 4, 13, 5, 9, 0}));

    const LocalTime before = time;
    for (const char* bad : {"1997-02-29 00:00:00", "1996-13-01 00:00:00", "1996-00-10 00:00:00",
                            "1996-04-31 00:00:00", "1996-01-01 24:00:00", "1996-01-01 00:60:00",
                            "1996-01-01T00:00:00", "1996-1-01 00:00:00", "1996-01-01 00:00:0x",
                            "1996-01-01 00:00:00 ", ""}) {
        EXPECT_EQ(Clock::ParseTime(bad, time), 0) << bad;
    }
    EXPECT_EQ(time, before);
}

TEST(VirtualClock, MovesOnlyWhenAdvancedOrSleeping) {
    LocalTime start;
    ASSERT_EQ(Clock::ParseTime("1995-12-31 23:59:59", start), 1);
    VirtualClock clock(start, 4294967000u);
    EXPECT_EQ(clock.TickCount(), 4294967000u);
    EXPECT_EQ(clock.Now(), start);
    EXPECT_EQ(clock.TickCount(), 4294967000u);

    clock.Advance(250);
    EXPECT_EQ(clock.Now().millisecond, 250);
    EXPECT_EQ(clock.Now().second, 59);
    clock.Sleep(750);  // crosses the year and wraps the tick count
    EXPECT_EQ(clock.TickCount(), 4294968000u - 4294967296u);
    EXPECT_EQ(clock.Now(), (LocalTime{1996, 1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(clock.LocalSeconds(), Clock::SecondsFromTime(clock.Now()));
    EXPECT_EQ(clock.Elapsed(), 1000u);

    // Setting the date does not disturb the tick count.
    clock.SetTime({2001, 9, 9, 0, 1, 46, 40, 0});
    EXPECT_EQ(clock.LocalSeconds(), 1000000000);
    EXPECT_EQ(clock.TickCount(), 704u);
}

TEST(RealClock, TicksAndSleepsForward) {
    RealClock clock;
    const uint32_t before = clock.TickCount();
    clock.Sleep(20);
    EXPECT_GE(static_cast<uint32_t>(clock.TickCount() - before), 20u);
    const LocalTime now = clock.Now();
    EXPECT_GE(now.year, 2020);
    EXPECT_EQ(Clock::TimeFromSeconds(clock.LocalSeconds()).year, now.year);
}

}  // namespace
}  // namespace tamber
