#pragma once
// ARP: who has this IPv4 address on the segment of one of the PC's interfaces?

#include <array>
#include <chrono>
#include <cstdint>
#include <optional>

#include "platform/ipv4_address.h"

namespace lumaro::platform {

using HardwareAddress = std::array<std::uint8_t, 6>;

// How long a request waits for an answer before it counts as unanswered. The request is
// repeated once a second meanwhile, as the systems' own address resolution does, so a host
// that misses one request still answers.
constexpr std::chrono::seconds kArpWait{3};
// A neighbour entry that the system is still checking (it had an older answer and now asks
// again) can take its first re-check delay (5 s on Linux) plus the re-check: wait longer.
constexpr std::chrono::seconds kNeighbourRecheckWait{9};

// Sends an ARP request for `target` from the local interface whose address is `source` and
// gives the hardware address of the host that answered, or nothing when nobody answered in
// time or the request was impossible (no interface with that address). An address of this
// PC counts as answered, with its own interface's hardware address: it is in use.
//
// On Linux the request goes on the wire from a packet socket; without the right to open one
// (root or CAP_NET_RAW) the system's neighbour table is used instead, as below. On Windows
// the system's SendARP does it; where that is not supported (Wine), the neighbour table.
std::optional<HardwareAddress> RequestHardwareAddress(Ipv4Address target, Ipv4Address source);

// The neighbour-table way: makes the system resolve `target` (one datagram to it from
// `source`) and reads the system's neighbour table until the entry is settled. An entry
// counts only when the system confirmed it during this request (or holds it as freshly
// confirmed): an older entry that the system no longer trusts is not an answer.
std::optional<HardwareAddress> ResolveThroughNeighbourTable(Ipv4Address target,
                                                            Ipv4Address source);

}  // namespace lumaro::platform
