#pragma once
// The two listening sockets of a simulated controller, each bound to the controller's own
// interface: UDP port 60000 (broadcasts reaching the interface and unicasts to its
// address) and TCP port 80 (its web server, which can be made silent).

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/net/ipv4_address.h"
#include "platform/net/descriptor_posix.h"

namespace lumaro::sim {

struct OpenedSocket {
    platform::Descriptor socket;  // invalid when opening failed
    std::string error;      // why, naming the interface
};

constexpr std::uint16_t kWebServerPort = 80;

// Non-blocking UDP socket on 0.0.0.0:60000 bound to `interface`, reporting each
// datagram's destination address.
OpenedSocket OpenControllerSocket(const std::string& interface);

// Non-blocking TCP listener on 0.0.0.0:80 bound to `interface`; silent from the start
// when asked.
OpenedSocket OpenWebListener(const std::string& interface, bool silent);

// A silent listener drops every incoming segment through a socket filter: a connection
// attempt then gets no answer at all, neither SYN-ACK nor RST.
bool SetWebListenerSilent(int listener, bool silent);

struct IncomingDatagram {
    std::vector<std::uint8_t> bytes;
    Ipv4Address source = 0;
    std::uint16_t sourcePort = 0;
    Ipv4Address destination = 0;  // as addressed in the IP header
};

// One waiting datagram, or nothing when none is waiting.
std::optional<IncomingDatagram> ReceiveDatagram(int socket);

bool SendDatagram(int socket, Ipv4Address destination, std::uint16_t port,
                  std::span<const std::uint8_t> bytes);

}  // namespace lumaro::sim
