#pragma once
// The command line of lumaro-sim.

#include <optional>
#include <string>
#include <vector>

#include "sim/sim_config.h"

namespace lumaro::sim {

// Laid out as GNU programs do, so that the manual page is made from it (help2man).
constexpr const char* kProgramUsage =
    "Usage: lumaro-sim [OPTION]... --segment IFACE [--segment IFACE]...\n"
    "  or:  lumaro-sim --help | --version\n"
    "A LAN of simulated door-access controllers for demos and tests. Each controller gets an\n"
    "interface of its own (its own MAC and IPv4 address) on the interface of its segment,\n"
    "answers the controller protocol on UDP port 60000 and ARP for its address, and serves a\n"
    "small web page on TCP port 80 while its web server is on. It creates interfaces and\n"
    "answers on the segments given: run it in a network namespace of a test LAN of its own.\n"
    "Prints \"ready N controllers\" once every controller is up; ends on SIGINT or SIGTERM.\n"
    "\n"
    "Options:\n"
    "  --segment IFACE     a segment of the LAN: the controllers of segment 0 get their\n"
    "                      interfaces on the first IFACE given, of segment 1 on the second...\n"
    "  --netns NS          create the interfaces and sockets in the network namespace NS\n"
    "  --config FILE       the controllers listed in FILE (see Controller file below)\n"
    "  --generate COUNT:FIRSTSERIAL:FIRSTIP/PREFIX[:SEGMENT]\n"
    "                      COUNT more controllers with consecutive serials and addresses\n"
    "  --log FILE          write every frame the controllers receive to FILE\n"
    "  --control DIR       take commands from DIR while running (see Control commands)\n"
    "  --spray SEED[:PER_SECOND]\n"
    "                      a hostile LAN: random datagrams (0-2048 bytes, some starting\n"
    "                      24 11, some with a listed serial) at the ports the PC sends from,\n"
    "                      PER_SECOND of them (default 200); the same SEED gives the\n"
    "                      same datagrams\n"
    "  -h, --help          print this help and exit\n"
    "  --version           print the program's name and version and exit\n"
    "\n"
    "Control commands (one line written to DIR/command, the answer then in DIR/reply):\n"
    "  load FILE           the controllers of FILE instead, the log emptied -> ok\n"
    "  clear-log           empty the frame log -> ok\n"
    "  behaviour SERIAL BEHAVIOUR\n"
    "                      that controller's behaviour from now on -> ok\n"
    "  images FILE         every controller's parameter image into FILE, one line each: the\n"
    "                      serial, a space and the image (frame bytes 20-1043) as 2048 hex\n"
    "                      digits -> ok\n"
    "  now                 -> ok MS (milliseconds since the start, as in the log)\n"
    "  send-from SERIAL IP PORT HEX\n"
    "                      the controller sends these bytes from its port 60000 -> ok MS\n"
    "  state SERIAL        -> ok restarts=N clock=HEX|none image=HEX (1024 bytes)\n"
    "  sent                -> ok N (answers to frames sent since the start)\n"
    "  idle                -> ok, once every frame that reached the controllers is handled\n"
    "\n"
    "Behaviours, joined by '+' (e.g. silent+delay:300):\n"
    "  normal, silent, closed, wrong-sequence, search-only, web-refuses, web-after-restart,\n"
    "  keeps-address, loses-writes, lengths:3,20, delay:300 (ms)\n"
    "\n"
    "Controller file: one line per controller, only serial is needed; with every field:\n"
    "  serial=100 ip=10.0.1.100 mask=255.255.255.0 gateway=10.0.1.254 mac=00-1A-2B-00-00-64\n"
    "  variant=1 web=80 segment=0 dhcp=IP/MASK/GATEWAY behaviour=silent\n"
    "\n"
    "Environment:\n"
    "  LUMARO_PC_HOSTS     the PC's addresses as SEG:ADDRESS=MAC,... (scripts/lab.sh sets it):\n"
    "                      the controllers of each segment know them without asking ARP\n";

struct ProgramOptions {
    std::string networkNamespace;
    std::vector<std::string> segments;
    std::vector<std::string> configFiles;
    std::vector<std::string> generated;  // --generate values
    std::string logPath;
    std::string controlDirectory;
    std::optional<SprayOptions> spray;
    bool help = false;
    bool version = false;
};

Parsed<ProgramOptions> ParseProgramOptions(const std::vector<std::string>& arguments);

}  // namespace lumaro::sim
