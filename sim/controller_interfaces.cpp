#include "sim/controller_interfaces.h"

#include <cstdio>

#include "link/controller_text.h"

namespace lumaro::sim {
namespace {

// An address that no interface can carry (0.0.0.0, loopback, multicast and above, the
// limited broadcast) leaves the interface without one: the controller still reports it.
bool InterfaceCanCarry(Ipv4Address address) {
    const std::uint8_t first = Octet(address, 0);
    return address != 0 && first != 127 && first < 224;
}

std::string AddAddressCommand(const std::string& name, const Addressing& addressing) {
    if (!InterfaceCanCarry(addressing.ip)) return "";
    return "addr add " + FormatAddress(addressing.ip) + "/" +
           std::to_string(PrefixLength(addressing.mask)) + " brd + dev " + name + "\n";
}

}  // namespace

std::string MacText(const std::array<std::uint8_t, 6>& mac) {
    char text[18];
    std::snprintf(text, sizeof text, "%02x:%02x:%02x:%02x:%02x:%02x", mac[0], mac[1], mac[2],
                  mac[3], mac[4], mac[5]);
    return text;
}

int PrefixLength(Ipv4Address mask) {
    int length = 0;
    for (int octet = 0; octet < 4; ++octet) {
        for (int bit = 7; bit >= 0; --bit) {
            if (!(Octet(mask, octet) & (1u << bit))) return length == 0 ? 32 : length;
            ++length;
        }
    }
    return length;
}

std::string CreateInterfaceCommands(const std::string& name, const std::string& segment,
                                    const std::array<std::uint8_t, 6>& mac, std::uint32_t group,
                                    const Addressing& addressing) {
    return "link add " + name + " link " + segment + " address " + MacText(mac) + " group " +
           std::to_string(group) + " type macvlan mode private\n" +
           AddAddressCommand(name, addressing) + "link set " + name + " up\n";
}

std::string ReaddressCommands(const std::string& name, const Addressing& addressing) {
    return "addr flush dev " + name + "\n" + AddAddressCommand(name, addressing);
}

std::string FixedNeighbourCommand(const std::string& name, Ipv4Address address,
                                  const std::array<std::uint8_t, 6>& mac) {
    return "neigh replace " + FormatAddress(address) + " lladdr " + MacText(mac) + " dev " +
           name + " nud permanent\n";
}

std::string DeleteGroupCommand(std::uint32_t group) {
    return "link del group " + std::to_string(group) + "\n";
}

}  // namespace lumaro::sim
