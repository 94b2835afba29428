#pragma once
// The eight payload bytes of the clock frame (frame bytes 20-27): year, month, day,
// weekday, hour, minute, second in BCD, then 0xFF.

#include <array>
#include <cstdint>
#include <optional>

#include "platform/time/clock.h"

namespace lumaro {

// BCD of the last two decimal digits; truncating division, remainder of the sign of v
// (so -1 gives 0xFF).
std::uint8_t Bcd(int value);

// A failed local-time conversion (empty optional) sends year, month and day as 0 and
// weekday, hour, minute and second as -1.
std::array<std::uint8_t, 8> EncodeClockPayload(const std::optional<platform::CalendarTime>& now);

}  // namespace lumaro
