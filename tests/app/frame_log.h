#pragma once
// The frames that the simulated controllers received, read from lumaro-sim's log file
// (LUMARO_SIM_LOG, reached through Wine's Z: drive); one line per frame and receiving
// controller (sim/frame_log_file.h).

#include <cstdint>
#include <string>
#include <vector>

namespace lumaro::apptest {

using FrameBytes = std::vector<std::uint8_t>;

// The frames addressed to the controller with this serial (target serial, bytes 12-15),
// as it received them, in order, leaving out the searches' discovery frames.
std::vector<FrameBytes> CommandFramesTo(std::uint32_t serial);
// The names of those frames (tests/frame_names.h: "read", "probe", "settings", ...).
std::vector<std::string> CommandFrameNamesTo(std::uint32_t serial);
// The same for every controller: frames other than discovery.
std::vector<FrameBytes> AllCommandFrames();

}  // namespace lumaro::apptest
