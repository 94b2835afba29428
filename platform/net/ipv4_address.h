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

// The address as a number whose most significant byte is the first octet, so that prefixes
// and ranges read, compare and count as numbers; and back.
constexpr std::uint32_t InNumberOrder(Ipv4Address address) {
    return (std::uint32_t{Octet(address, 0)} << 24) | (std::uint32_t{Octet(address, 1)} << 16) |
           (std::uint32_t{Octet(address, 2)} << 8) | std::uint32_t{Octet(address, 3)};
}
constexpr Ipv4Address FromNumberOrder(std::uint32_t number) {
    return MakeIpv4(static_cast<std::uint8_t>(number >> 24),
                    static_cast<std::uint8_t>(number >> 16),
                    static_cast<std::uint8_t>(number >> 8), static_cast<std::uint8_t>(number));
}

constexpr Ipv4Address kLimitedBroadcast = 0xFFFFFFFFu;
constexpr Ipv4Address kLoopbackHost = MakeIpv4(127, 0, 0, 1);

}  // namespace lumaro
