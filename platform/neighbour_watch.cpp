#include "platform/neighbour_watch.h"

namespace lumaro::platform {

std::optional<ArpResult> NeighbourWatch::Reading(
    const std::optional<HardwareAddress>& now, std::chrono::steady_clock::duration elapsed) const {
    if (!before_) {
        if (now) return ArpResult(*now);
        if (elapsed >= kArpWait) return ArpResult(std::nullopt);
        return std::nullopt;
    }
    if (!now) return ArpResult(std::nullopt);  // the re-check found nobody
    if (*now != *before_) return ArpResult(*now);  // somebody else answers now
    if (elapsed >= kNeighbourRecheckWait) return ArpResult(*now);
    return std::nullopt;
}

}  // namespace lumaro::platform
