#include "link/clock_payload.h"

namespace lumaro {

std::uint8_t Bcd(int value) {
    return static_cast<std::uint8_t>(((value / 10) % 10) * 16 + value % 10);
}

std::array<std::uint8_t, 8> EncodeClockPayload(const std::optional<platform::CalendarTime>& now) {
    constexpr std::uint8_t kPayloadEnd = 0xFF;
    // A clock that cannot be read still goes out, as the values the controller
    // receives for an unknown time.
    const platform::CalendarTime unknown{0, 0, 0, -1, -1, -1, -1};
    const platform::CalendarTime& t = now ? *now : unknown;
    return {Bcd(t.year), Bcd(t.month), Bcd(t.day), Bcd(t.weekday),
            Bcd(t.hour), Bcd(t.minute), Bcd(t.second), kPayloadEnd};
}

}  // namespace lumaro
