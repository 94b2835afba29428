#pragma once
// The PC's own IPv4 address table, in the order in which the system lists it.

#include <optional>
#include <vector>

#include "platform/net/ipv4_address.h"

namespace lumaro::platform {

struct LocalAddress {
    Ipv4Address address = 0;
    Ipv4Address mask = 0;
};

// Every IPv4 address of every interface, loopback included, in the system's order.
// Empty optional when the table cannot be read.
std::optional<std::vector<LocalAddress>> ReadLocalAddressTable();

}  // namespace lumaro::platform
