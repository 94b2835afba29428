#include <ctime>
#include <thread>

#include "platform/time/clock.h"

namespace lumaro::platform {

std::int64_t SecondsSince1970() { return static_cast<std::int64_t>(std::time(nullptr)); }

std::optional<CalendarTime> ToLocalCalendar(std::int64_t secondsSince1970) {
    const std::time_t instant = static_cast<std::time_t>(secondsSince1970);
    std::tm local{};
    if (localtime_r(&instant, &local) == nullptr) return std::nullopt;
    return CalendarTime{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_wday,
                        local.tm_hour,        local.tm_min,     local.tm_sec};
}

void SleepMilliseconds(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

}  // namespace lumaro::platform
