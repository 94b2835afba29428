#pragma once
// A gratuitous ARP: the controller tells the segment which MAC now holds its address, as a
// device does when it comes up or changes its address. Neighbours that still hold another
// MAC for that address (a controller that had it before) take the new one at once.

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "platform/net/ipv4_address.h"

namespace lumaro::sim {

// Broadcasts one ARP request for `address` from `address` with `mac`, on `interface`; the
// reason when it could not be sent.
std::optional<std::string> AnnounceAddress(const std::string& interface,
                                           const std::array<std::uint8_t, 6>& mac,
                                           Ipv4Address address);

}  // namespace lumaro::sim
