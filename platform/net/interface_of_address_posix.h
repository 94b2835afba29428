#pragma once
// The local interface that holds an IPv4 address: its index and hardware address (Linux).

#include <optional>

#include "platform/arp/arp.h"

namespace lumaro::platform {

struct LocalInterface {
    int index = 0;
    HardwareAddress hardwareAddress{};
    bool running = false;  // up, with a carrier: a request can go out on it
};

// The interface that carries `address`; nothing when no interface of this PC has it.
std::optional<LocalInterface> InterfaceOfAddress(Ipv4Address address);

}  // namespace lumaro::platform
