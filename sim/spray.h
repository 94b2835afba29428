#pragma once
// A hostile LAN: random datagrams sprayed at the PC's sockets while it searches and sends
// commands. Lengths 0-2048 and random contents; a third of them start 24 11 (the kind of
// a network reply), half of those with the serial of a listed controller at bytes 8-11.
// They are aimed at the ports that the PC's frames came from (learned from every frame a
// controller receives), three in four as unicasts to the PC's address, the rest as
// broadcasts. The same seed gives the same datagrams in the same order.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <random>
#include <vector>

#include "platform/net/ipv4_address.h"

namespace lumaro::sim {

struct SprayOptions {
    std::uint32_t seed = 1;
    unsigned perSecond = 200;
};

struct SprayShot {
    std::size_t sender = 0;  // the controller whose socket sends it
    Ipv4Address destination = 0;
    std::uint16_t port = 0;
    std::vector<std::uint8_t> bytes;
};

class Sprayer {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::size_t kLargestDatagram = 2048;

    Sprayer(SprayOptions options, std::vector<std::uint32_t> listedSerials, std::size_t senders,
            Clock::time_point start);

    // A frame from the PC reached a controller from this address and port.
    void Learn(Ipv4Address source, std::uint16_t port);
    // When the next datagram is due; nothing while no PC port is known.
    std::optional<Clock::time_point> NextDue() const;
    // The datagrams due by `now`. A spray that has fallen far behind skips what it missed.
    std::vector<SprayShot> TakeDue(Clock::time_point now);

private:
    struct Endpoint {
        Ipv4Address address;
        std::uint16_t port;
        bool operator==(const Endpoint&) const = default;
    };
    SprayShot Next();
    std::size_t Below(std::size_t bound) { return std::uniform_int_distribution<std::size_t>(0, bound - 1)(random_); }

    Clock::duration period_;
    std::vector<std::uint32_t> listedSerials_;
    std::size_t senders_;
    std::mt19937 random_;
    std::deque<Endpoint> endpoints_;  // the most recent first
    Clock::time_point nextDue_;
};

}  // namespace lumaro::sim
