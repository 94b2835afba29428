#include "tests/app/frame_log.h"

#include <chrono>
#include <stdexcept>
#include <string>

#include "tests/app/simulator_control.h"
#include "tests/frame_names.h"

namespace lumaro::apptest {

namespace {

// Every line of lumaro-sim's log, as the frames it stands for (their times unused), once
// the simulator has handled every frame that reached it.
std::vector<sim::ReceivedFrame> ReadLog() {
    const auto path = SimulatorControl::LogPath();
    const auto simulator = SimulatorControl::FromEnvironment();
    if (!path || !simulator) {
        throw std::runtime_error(
            "no LUMARO_SIM_LOG or LUMARO_SIM_CONTROL: run through scripts/app-test.sh");
    }
    if (const std::string reply = simulator->WaitUntilIdle(); reply != "ok") {
        throw std::runtime_error("lumaro-sim answered \"" + reply + "\" to idle");
    }
    return SimulatorControl::ReadFrameLog(*path, std::chrono::steady_clock::now());
}

}  // namespace

std::vector<FrameBytes> CommandFramesTo(std::uint32_t serial) {
    return testing::FramesAddressedTo(ReadLog(), serial);
}

std::vector<std::string> CommandFrameNamesTo(std::uint32_t serial) {
    std::vector<std::string> names;
    for (const FrameBytes& frame : CommandFramesTo(serial)) {
        names.push_back(testing::FrameName(frame));
    }
    return names;
}

std::vector<FrameBytes> AllCommandFrames() {
    std::vector<FrameBytes> frames;
    for (sim::ReceivedFrame& frame : ReadLog()) {
        if (!testing::IsDiscovery(frame)) frames.push_back(std::move(frame.bytes));
    }
    return frames;
}

}  // namespace lumaro::apptest
