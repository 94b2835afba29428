#pragma once
// The command line of lumaro-sim.

#include <optional>
#include <string>
#include <vector>

#include "sim/sim_config.h"

namespace lumaro::sim {

constexpr const char* kProgramUsage =
    "usage: lumaro-sim [--netns NS] --segment seg0 [--segment seg1 ...]\n"
    "                  [--config FILE]... [--generate COUNT:FIRSTSERIAL:FIRSTIP/PREFIX[:SEGMENT]]...\n"
    "                  [--log FILE] [--control DIR] [--spray SEED[:PER_SECOND]]\n"
    "Prints \"ready <N> controllers\" once every controller is up; ends on SIGINT/SIGTERM.\n"
    "--spray: a hostile LAN; random datagrams (0-2048 bytes, some starting 24 11, some with\n"
    "  a listed serial) at the ports the PC sends from, PER_SECOND of them (default 200);\n"
    "  the same SEED gives the same datagrams.\n"
    "Control commands (one line in DIR/command, answer in DIR/reply):\n"
    "  load FILE | clear-log | behaviour SERIAL BEHAVIOUR\n"
    "  images FILE: every controller's parameter image, one line each: the serial, a space\n"
    "    and the image (frame bytes 20-1043) as 2048 hex digits\n"
    "  now                             -> ok MS (milliseconds since the start, as in the log)\n"
    "  send-from SERIAL IP PORT HEX    the controller sends these bytes from its port 60000 -> ok MS\n"
    "  state SERIAL                    -> ok restarts=N clock=HEX|none image=HEX (1024 bytes)\n"
    "BEHAVIOUR: normal | silent | closed | wrong-sequence | search-only | web-refuses |\n"
    "           web-after-restart | keeps-address | lengths:3,20 | delay:300 (ms), joined by '+'.\n"
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
    std::optional<SprayOptions> spray;
    bool help = false;
};

Parsed<ProgramOptions> ParseProgramOptions(const std::vector<std::string>& arguments);

}  // namespace lumaro::sim
