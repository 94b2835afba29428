#pragma once
// The kernel's IPv4 neighbour table (Linux), read through rtnetlink: no privilege needed.

#include <cstdint>
#include <optional>

#include "platform/arp/arp.h"

namespace lumaro::platform {

enum class NeighbourState {
    Resolving,    // the kernel asks and has no answer yet
    Confirmed,    // answered, confirmed recently (reachable, or a fixed entry)
    Rechecking,   // answered once, no longer trusted: the kernel is checking it again
    Stale,        // answered once, no longer trusted, and nothing checks it now
    Unanswered,   // the kernel asked and nobody answered
};

struct NeighbourEntry {
    NeighbourState state = NeighbourState::Resolving;
    std::optional<HardwareAddress> hardwareAddress;
};

struct NeighbourReading {
    bool tableRead = false;               // false: the table could not be read
    std::optional<NeighbourEntry> entry;  // the entry, when the table holds one
};

// The entry for `address` on interface `interfaceIndex`.
NeighbourReading ReadNeighbourEntry(Ipv4Address address, int interfaceIndex);

}  // namespace lumaro::platform
