#pragma once
// Calendar clock, local-time conversion and sleeping.

#include <chrono>
#include <cstdint>
#include <optional>

namespace lumaro::platform {

struct CalendarTime {
    int year = 0;     // full year, e.g. 2024
    int month = 0;    // 1-12
    int day = 0;      // 1-31
    int weekday = 0;  // 0 = Sunday .. 6 = Saturday
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Seconds since 1970-01-01 00:00 UTC.
std::int64_t SecondsSince1970();

// The PC's local calendar time for the given instant (its time zone and daylight-saving
// rule applied). Empty optional when the conversion fails.
std::optional<CalendarTime> ToLocalCalendar(std::int64_t secondsSince1970);

void SleepMilliseconds(unsigned milliseconds);
inline void SleepFor(std::chrono::milliseconds duration) {
    SleepMilliseconds(static_cast<unsigned>(duration.count()));
}

}  // namespace lumaro::platform
