#include "platform/clock/Clock.h"

#include <charconv>

namespace tamber {

namespace {

constexpr int64_t kSecondsPerDay = 86400;

// Days from 1970-01-01 to the given proleptic Gregorian date. Years are counted from March so
// that the leap day falls at the end of each 400-year era's year.
int64_t DaysFromCivil(int64_t year, int32_t month, int32_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = (year >= 0 ? year : year - 399) / 400;
    const int64_t yearOfEra = year - era * 400;
    const int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(int64_t days, int32_t& year, int32_t& month, int32_t& day) {
    days += 719468;
    const int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const int64_t dayOfEra = days - era * 146097;
    const int64_t yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int32_t>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int32_t>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = static_cast<int32_t>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

int DaysInMonth(int32_t year, int32_t month) {
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : kDays[month - 1];
}

// Reads exactly `width` digits at text[pos].
bool ReadField(std::string_view text, size_t pos, size_t width, int32_t& value) {
    if (pos + width > text.size()) {
        return false;
    }
    for (size_t i = pos; i < pos + width; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return false;
        }
    }
    return std::from_chars(text.data() + pos, text.data() + pos + width, value).ec == std::errc{};
}

}  // namespace

int64_t Clock::SecondsFromTime(const LocalTime& time) {
    return DaysFromCivil(time.year, time.month, time.day) * kSecondsPerDay + time.hour * 3600 +
           time.minute * 60 + time.second;
}

LocalTime Clock::TimeFromSeconds(int64_t seconds, int32_t millisecond) {
    int64_t days = seconds / kSecondsPerDay;
    int64_t rest = seconds % kSecondsPerDay;
    if (rest < 0) {
        rest += kSecondsPerDay;
        --days;
    }
    LocalTime time;
    CivilFromDays(days, time.year, time.month, time.day);
    // 1970-01-01 was a Thursday.
    time.dayOfWeek = static_cast<int32_t>(((days % 7) + 11) % 7);
    time.hour = static_cast<int32_t>(rest / 3600);
    time.minute = static_cast<int32_t>(rest / 60 % 60);
    time.second = static_cast<int32_t>(rest % 60);
    time.millisecond = millisecond;
    return time;
}

int Clock::ParseTime(std::string_view text, LocalTime& time) {
    // YYYY-MM-DD HH:MM:SS
    LocalTime parsed;
    if (text.size() != 19 || text[4] != '-' || text[7] != '-' || text[10] != ' ' || text[13] != ':' ||
        text[16] != ':') {
        return 0;
    }
    if (!ReadField(text, 0, 4, parsed.year) || !ReadField(text, 5, 2, parsed.month) ||
        !ReadField(text, 8, 2, parsed.day) || !ReadField(text, 11, 2, parsed.hour) ||
        !ReadField(text, 14, 2, parsed.minute) || !ReadField(text, 17, 2, parsed.second)) {
        return 0;
    }
    if (parsed.month < 1 || parsed.month > 12 || parsed.day < 1 ||
        parsed.day > DaysInMonth(parsed.year, parsed.month) || parsed.hour > 23 || parsed.minute > 59 ||
        parsed.second > 59) {
        return 0;
    }
    time = TimeFromSeconds(SecondsFromTime(parsed));
    return 1;
}

}  // namespace tamber
