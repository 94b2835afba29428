#pragma once
// Hosts beside the simulated controllers that answer ARP for a set of addresses: one
// interface in the simulator's namespace, on the lab's first segment, carrying all of them.
// Removed again when the object goes.

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/controller_text.h"

namespace lumaro::testing {

class NeighbourHosts {
public:
    explicit NeighbourHosts(const std::vector<Ipv4Address>& addresses)
        : name_("nb" + std::to_string(getpid())) {
        std::string commands = "link add " + name_ + " link " + FirstSegment() +
                               " type macvlan mode bridge\n";
        for (Ipv4Address address : addresses) {
            commands += "addr add " + FormatAddress(address) + "/24 dev " + name_ + "\n";
        }
        commands += "link set " + name_ + " up\n";
        ready_ = Batch(commands);
    }
    ~NeighbourHosts() { Batch("link del " + name_ + "\n"); }
    NeighbourHosts(const NeighbourHosts&) = delete;
    NeighbourHosts& operator=(const NeighbourHosts&) = delete;

    bool Ready() const { return ready_; }

private:
    static std::string FirstSegment() {
        const char* segments = std::getenv("LUMARO_SIM_SEGMENTS");
        const std::string all = segments ? segments : "seg0";
        return all.substr(0, all.find(','));
    }
    static bool Batch(const std::string& commands) {
        const char* netns = std::getenv("LUMARO_SIM_NETNS");
        if (netns == nullptr) return false;
        const std::string command = std::string("ip -n ") + netns + " -batch - >/dev/null";
        FILE* pipe = popen(command.c_str(), "w");
        if (pipe == nullptr) return false;
        std::fwrite(commands.data(), 1, commands.size(), pipe);
        return pclose(pipe) == 0;
    }

    std::string name_;
    bool ready_ = false;
};

}  // namespace lumaro::testing
