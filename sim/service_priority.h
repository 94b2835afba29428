#pragma once
// The simulator stands in for a LAN, whose controllers answer on hardware of their own
// whatever the PC's processor is doing. Its service thread therefore asks to run ahead of
// the ordinary work of the machine (the tests beside it, builds, compilers): a search ends
// after 11 quiet waits of 8 ms, and a simulator that waits its turn for the processor while
// it owes answers leaves pauses that no real LAN leaves.

#include <optional>
#include <string>

namespace lumaro::sim {

// Gives the calling thread a real-time scheduling priority (the lowest one, first in first
// out; processes it starts run as ordinary ones) where the process may set one (root, or
// CAP_SYS_NICE). The reason when it may not: the thread then keeps the priority it had.
std::optional<std::string> RaiseServicePriority();

}  // namespace lumaro::sim
