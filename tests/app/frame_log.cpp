#include "tests/app/frame_log.h"

#include <chrono>
#include <stdexcept>
#include <string>

#include "tests/app/simulator_control.h"
#include "tests/frame_names.h"

namespace lumaro::apptest {

namespace {

// Every line of lumaro-sim's log, as the frames it stands for (their times unused).
std::vector<sim::ReceivedFrame> ReadLog() {
    const auto path = SimulatorControl::LogPath();
    if (!path) throw std::runtime_error("no LUMARO_SIM_LOG: run through scripts/app-test.sh");
    return SimulatorControl::ReadFrameLog(*path, std::chrono::steady_clock::now());
}

}  // namespace

std::vector<FrameBytes> CommandFramesTo(std::uint32_t serial) {
    return testing::FramesAddressedTo(ReadLog(), serial);
}

std::vector<FrameBytes> AllCommandFrames() {
    std::vector<FrameBytes> frames;
    for (sim::ReceivedFrame& frame : ReadLog()) {
        if (!testing::IsDiscovery(frame)) frames.push_back(std::move(frame.bytes));
    }
    return frames;
}

}  // namespace lumaro::apptest
