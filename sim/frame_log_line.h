#pragma once
// One line of lumaro-sim's frame log, per frame a controller received:
//   <ms since start> <controller serial> <src ip>:<port> <B|U> <ok|bad> <hex bytes>
// e.g. "1532 100 10.0.1.1:51012 B ok 2410b031010200000000000000ffffffff00000100".
// Portable: the Windows-side tests read the log that lumaro-sim writes.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "sim/simulator.h"

namespace lumaro::sim {

std::string FrameLogLine(const ReceivedFrame& frame, std::chrono::steady_clock::time_point start);

// The frame of one log line (its time is `start` plus the line's milliseconds; the
// destination is not logged and stays 0); nothing when the line is malformed.
std::optional<ReceivedFrame> ParseFrameLogLine(std::string_view line,
                                               std::chrono::steady_clock::time_point start);

}  // namespace lumaro::sim
