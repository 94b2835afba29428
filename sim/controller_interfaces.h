#pragma once
// The `ip` command lines that give each simulated controller its own interface: a macvlan
// on its segment interface, with the controller's MAC and present address, so that the
// kernel answers ARP for that address with that MAC. All interfaces of one simulator carry
// one interface group, which removes them in a single step. The macvlans are private:
// controllers talk to the PC, never to one another, and a broadcast that one of a thousand
// sends (its address announcement) is not copied to the other 999 on the machine.

#include <array>
#include <cstdint>
#include <string>

#include "platform/net/ipv4_address.h"
#include "sim/controller_image.h"

namespace lumaro::sim {

std::string MacText(const std::array<std::uint8_t, 6>& mac);  // "02:4c:00:00:00:64"

// Prefix length for `ip addr`: the mask's leading one bits; a mask without any gives /32,
// so that a nonsense mask adds no route to everything.
int PrefixLength(Ipv4Address mask);

std::string CreateInterfaceCommands(const std::string& name, const std::string& segment,
                                    const std::array<std::uint8_t, 6>& mac, std::uint32_t group,
                                    const Addressing& addressing);
std::string ReaddressCommands(const std::string& name, const Addressing& addressing);
// A neighbour entry that the kernel neither checks nor counts: the controller knows the
// PC's MAC for that address from the start.
std::string FixedNeighbourCommand(const std::string& name, Ipv4Address address,
                                  const std::array<std::uint8_t, 6>& mac);
std::string DeleteGroupCommand(std::uint32_t group);

}  // namespace lumaro::sim
