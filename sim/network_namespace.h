#pragma once
// Moves the calling thread (only that thread) into a named network namespace, so that
// the sockets it opens and the processes it spawns from then on live there.

#include <optional>
#include <string>

namespace lumaro::sim {

// Empty name: stays where it is. Returns the reason on failure.
std::optional<std::string> EnterNetworkNamespace(const std::string& name);

}  // namespace lumaro::sim
