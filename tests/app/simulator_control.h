#pragma once
// Changes the simulated LAN between test cases through lumaro-sim's control directory
// (reached through Wine's Z: drive): one command line in, one reply line out.

#include <optional>
#include <string>

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
    // Any command line of lumaro-sim (see its usage); gives its reply.
    std::string Send(const std::string& command) const;
    const std::string& Directory() const { return directory_; }  // Unix path

private:
    explicit SimulatorControl(std::string directory) : directory_(std::move(directory)) {}

    std::string directory_;  // Unix path
};

}  // namespace lumaro::apptest
