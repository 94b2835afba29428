#pragma once
// The command line of lumaro-sim.

#include <string>
#include <vector>

#include "sim/sim_config.h"

namespace lumaro::sim {

constexpr const char* kProgramUsage =
    "usage: lumaro-sim [--netns NS] --segment seg0 [--segment seg1 ...]\n"
    "                  [--config FILE]... [--generate COUNT:FIRSTSERIAL:FIRSTIP/PREFIX[:SEGMENT]]...\n"
    "                  [--log FILE] [--control DIR]\n"
    "Prints \"ready <N> controllers\" once every controller is up; ends on SIGINT/SIGTERM.\n"
    "Control commands (one line in DIR/command, answer in DIR/reply):\n"
    "  load FILE | clear-log | behaviour SERIAL BEHAVIOUR\n"
    "BEHAVIOUR: normal | silent | wrong-sequence | search-only | lengths:3,20 | delay:300 (ms),\n"
    "           joined by '+'.\n"
    "Controller file: one line per controller, e.g.\n"
    "  serial=100 ip=10.0.1.100 mask=255.255.255.0 gateway=10.0.1.254 mac=00-1A-2B-00-00-64\n"
    "  variant=1 web=80 segment=0 dhcp=IP/MASK/GATEWAY behaviour=silent   # only serial needed\n";

struct ProgramOptions {
    std::string networkNamespace;
    std::vector<std::string> segments;
    std::vector<std::string> configFiles;
    std::vector<std::string> generated;  // --generate values
    std::string logPath;
    std::string controlDirectory;
    bool help = false;
};

Parsed<ProgramOptions> ParseProgramOptions(const std::vector<std::string>& arguments);

}  // namespace lumaro::sim
