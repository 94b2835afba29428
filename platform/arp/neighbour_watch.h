#pragma once
// Reading an answer out of a neighbour table that shows no age (Windows' GetIpNetTable):
// the entry for the target, read again and again after the datagram that made the system
// resolve it, settles into an ARP result. Portable, so that its rules run as a unit table.

#include <chrono>
#include <optional>

#include "platform/arp/arp.h"

namespace lumaro::platform {

class NeighbourWatch {
public:
    // `before`: the address the entry held before the datagram, if any.
    explicit NeighbourWatch(std::optional<HardwareAddress> before) : before_(before) {}

    // One reading of the entry (`now`: its address, nothing for no entry or an empty one),
    // `elapsed` after the datagram: the result once it is settled, nothing while the
    // system may still be checking.
    //
    // An entry that had no address counts as soon as the system fills one in, and as
    // unanswered after the ARP wait. An entry that had one may be an old answer: the
    // system checks it again once it is used and drops the address when nobody answers;
    // so it counts only when it keeps its address for the whole re-check, or changes to
    // another (somebody else answers now).
    std::optional<ArpResult> Reading(const std::optional<HardwareAddress>& now,
                                     std::chrono::steady_clock::duration elapsed) const;

private:
    std::optional<HardwareAddress> before_;
};

}  // namespace lumaro::platform
