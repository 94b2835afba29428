#include "sim/service_priority.h"

#include <sched.h>

#include <cerrno>
#include <cstring>

namespace lumaro::sim {

std::optional<std::string> RaiseServicePriority() {
    // The lowest real-time priority is enough to run before every ordinary thread; the
    // kernel's own real-time threads still come first, and its limit on real-time time
    // (95 % of each second by default) leaves the rest of the machine alive whatever
    // happens. Reset on fork: the `ip` that the simulator runs is ordinary work.
    sched_param parameter{};
    parameter.sched_priority = sched_get_priority_min(SCHED_FIFO);
    if (sched_setscheduler(0, SCHED_FIFO | SCHED_RESET_ON_FORK, &parameter) == 0) return std::nullopt;
    return std::string("no real-time priority for the simulator's thread (") +
           std::strerror(errno) + "): on a busy machine its answers may lag behind a real LAN's";
}

}  // namespace lumaro::sim
