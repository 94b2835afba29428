#pragma once
// The addresses that the tests of apply share: the PC at 10.0.1.1/24 and its subnet's hosts.

#include <cstdint>

#include "platform/net/ipv4_address.h"

namespace lumaro::testing {

constexpr Ipv4Address kPc = MakeIpv4(10, 0, 1, 1);
constexpr Ipv4Address kMask24 = MakeIpv4(255, 255, 255, 0);

// 10.0.1.octet
constexpr Ipv4Address Host(int octet) { return MakeIpv4(10, 0, 1, static_cast<std::uint8_t>(octet)); }

}  // namespace lumaro::testing
