#pragma once
// Changes the simulated LAN between test cases through lumaro-sim's control directory
// (reached through Wine's Z: drive): one command line in, one reply line out.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "sim/simulator.h"

namespace lumaro::apptest {

class SimulatorControl {
public:
    // The directory that scripts/app-test.sh gives in LUMARO_SIM_CONTROL; nothing when the
    // tests do not run beside a simulator.
    static std::optional<SimulatorControl> FromEnvironment();

    // Replaces every simulated controller with those of the controller file (a Unix path);
    // gives the simulator's reply, "ok" on success.
    std::string Load(const std::string& controllerFile) const;
    std::string ClearLog() const;
    // Returns once lumaro-sim has handled every frame that reached it; "ok" then.
    std::string WaitUntilIdle() const;
    // Sets how a controller misbehaves from now on, in the words of a controller file
    // (e.g. "silent", "normal"); gives the simulator's reply.
    std::string SetBehaviour(std::uint32_t serial, const std::string& behaviour) const;
    // lumaro-sim's log of the frames it received (a Unix path), from LUMARO_SIM_LOG.
    static std::optional<std::string> LogPath();
    // The frames of that log (binary, through Wine's Z: drive), in order; a line that does
    // not parse (the last one may still be half written) is left out. The times count from
    // `simStart`, lumaro-sim's start on this program's clock; with `serial`, only the frames
    // that controller received.
    static std::vector<sim::ReceivedFrame> ReadFrameLog(
        const std::string& logPath, std::chrono::steady_clock::time_point simStart,
        std::optional<std::uint32_t> serial = std::nullopt);
    // Any command line of lumaro-sim (see its usage); gives its reply.
    std::string Send(const std::string& command) const;
    const std::string& Directory() const { return directory_; }  // Unix path

private:
    explicit SimulatorControl(std::string directory) : directory_(std::move(directory)) {}

    std::string directory_;  // Unix path
};

}  // namespace lumaro::apptest
