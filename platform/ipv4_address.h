#pragma once
// IPv4 addresses and masks as the controllers carry them: a 32-bit value whose
// lowest byte is the first octet, which is also the order of the bytes on the wire.

#include <cstdint>

namespace lumaro {

using Ipv4Address = std::uint32_t;

constexpr Ipv4Address MakeIpv4(std::uint8_t first, std::uint8_t second, std::uint8_t third,
                               std::uint8_t fourth) {
    return static_cast<Ipv4Address>(first) | (static_cast<Ipv4Address>(second) << 8) |
           (static_cast<Ipv4Address>(third) << 16) | (static_cast<Ipv4Address>(fourth) << 24);
}

constexpr std::uint8_t Octet(Ipv4Address address, int index) {
    return static_cast<std::uint8_t>(address >> (8 * index));
}

constexpr Ipv4Address kLimitedBroadcast = 0xFFFFFFFFu;
constexpr Ipv4Address kLoopbackHost = MakeIpv4(127, 0, 0, 1);

}  // namespace lumaro
