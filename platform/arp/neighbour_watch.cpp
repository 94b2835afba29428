#include "platform/arp/neighbour_watch.h"

namespace lumaro::platform {

std::optional<ArpResult> NeighbourWatch::Reading(
    const std::optional<HardwareAddress>& now, std::chrono::steady_clock::duration elapsed) const {
    if (!before_) {
        if (now) return ArpResult::AnsweredBy(*now);
        if (elapsed >= kArpWait) return ArpResult::NoAnswer();
        return std::nullopt;
    }
    if (!now) return ArpResult::NoAnswer();  // the re-check found nobody
    if (*now != *before_) return ArpResult::AnsweredBy(*now);  // somebody else answers now
    if (elapsed >= kNeighbourRecheckWait) return ArpResult::AnsweredBy(*now);
    return std::nullopt;
}

}  // namespace lumaro::platform
