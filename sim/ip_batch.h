#pragma once
// Runs one `ip -batch -` process with the given command lines and waits for it: one
// process for any number of interface changes, so hundreds of controllers come up fast.
// The process lives in the network namespace of the calling thread.

#include <optional>
#include <string>

namespace lumaro::sim {

// `keepGoing` passes -force: every line is tried even after a failing one.
// Returns the reason (ip's own messages) when ip failed.
std::optional<std::string> RunIpBatch(const std::string& commands, bool keepGoing = false);

}  // namespace lumaro::sim
