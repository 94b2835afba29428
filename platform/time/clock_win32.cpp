#include <windows.h>

#include <ctime>

#include "platform/time/clock.h"

namespace lumaro::platform {

namespace {

// FILETIME counts 100 ns ticks since 1601-01-01; 1970-01-01 is this many ticks later.
constexpr std::int64_t kTicksFrom1601To1970 = 116'444'736'000'000'000;
constexpr std::int64_t kTicksPerSecond = 10'000'000;

}  // namespace

std::int64_t SecondsSince1970() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::int64_t ticks =
        (static_cast<std::int64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - kTicksFrom1601To1970) / kTicksPerSecond;
}

std::optional<CalendarTime> ToLocalCalendar(std::int64_t secondsSince1970) {
    const __time64_t instant = secondsSince1970;
    std::tm local{};
    // The C runtime applies the PC's time zone and daylight-saving rule (or TZ when set).
    if (_localtime64_s(&local, &instant) != 0) return std::nullopt;
    return CalendarTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday,
                        local.tm_hour,        local.tm_min,     local.tm_sec};
}

void SleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace lumaro::platform
