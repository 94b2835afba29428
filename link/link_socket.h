#pragma once
// What the link does with one interface socket: wait until it is readable, receive one
// datagram, send one. The program uses the system's UDP socket behind it; tests and fuzz
// targets put a scripted one in its place (LinkEnvironment::openSocket) to decide what
// the network brings and when.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "platform/net/ipv4_address.h"
#include "platform/net/udp_socket.h"

namespace lumaro {

class LinkSocket {
public:
    virtual ~LinkSocket() = default;

    virtual platform::Readiness WaitReadable(std::chrono::microseconds timeout) = 0;
    // One datagram into `into`; empty when the receive failed or the datagram did not fit.
    // Called only after WaitReadable said Readable, so it never blocks.
    virtual std::optional<std::size_t> Receive(std::span<std::uint8_t> into) = 0;
    virtual bool SendTo(Ipv4Address destination, std::uint16_t port,
                        std::span<const std::uint8_t> datagram) = 0;
    virtual std::uint16_t LocalPort() const = 0;
};

// The system's UDP socket bound to (local, port 0), broadcast enabled, blocking; nullptr
// when any step of opening it fails.
std::unique_ptr<LinkSocket> OpenSystemSocket(Ipv4Address local);

}  // namespace lumaro
