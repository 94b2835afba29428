// How long a search takes against the floor the protocol allows: every collect lasts at
// least 11 waits of 8 ms, four frames through every socket, so a search takes at least
// 4 x sockets x 11 x 8 ms. Run inside a test LAN (scripts/bench.sh does).

#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "link/controller_link.h"
#include "link/search.h"
#include "sim/simulator.h"

namespace {

// CPU time of the searching thread alone.
double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_THREAD, &usage);  // the simulator runs on threads of its own
    const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace lumaro;
    const std::size_t controllers = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 10;
    const int runs = argc > 2 ? std::atoi(argv[2]) : 5;

    const auto options = sim::Simulator::OptionsFromLab();
    if (!options) {
        std::fprintf(stderr, "search_bench: run me inside a test LAN (scripts/bench.sh)\n");
        return 2;
    }
    std::string error;
    auto lan = sim::Simulator::Start(
        *options, sim::Simulator::Sequential(controllers, 1, MakeIpv4(10, 0, 1, 2), MakeIpv4(255, 255, 0, 0)),
        &error);
    if (!lan) {
        std::fprintf(stderr, "search_bench: simulator: %s\n", error.c_str());
        return 1;
    }

    ControllerLink link;
    std::vector<double> wall;
    double cpu = 0;
    std::size_t found = 0;
    for (int run = 0; run < runs; ++run) {
        const double cpuBefore = CpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        SearchControllers(link);
        wall.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        cpu += CpuSeconds() - cpuBefore;
        found = link.Table().count;
    }
    std::sort(wall.begin(), wall.end());
    const double median = wall[wall.size() / 2];
    const double floor = 4.0 * static_cast<double>(link.InterfaceCount()) * 11 * 0.008;
    std::printf("sockets %zu  controllers %zu (found %zu)  runs %d\n", link.InterfaceCount(),
                controllers, found, runs);
    std::printf("  wall median %.3f s  min %.3f s  floor %.3f s  ratio %.2f\n", median,
                wall.front(), floor, floor > 0 ? median / floor : 0.0);
    std::printf("  cpu per search %.1f ms (%.1f%% of wall)\n", 1000 * cpu / runs,
                100 * cpu / runs / median);
    return 0;
}
