#pragma once
// The UDP datagrams of port 60000 as the PC's interfaces send and receive them, with the
// kernel's time stamps: when a request really left and when each reply really arrived,
// apart from when our code got to them. Needs the PC's namespace and root (a packet socket).

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/net/ipv4_address.h"

namespace lumaro::bench {

struct CapturedDatagram {
    std::int64_t nanoseconds = 0;  // the kernel's time stamp (calendar clock)
    bool outgoing = false;         // sent by the PC, else received
    Ipv4Address source = 0, destination = 0;
    std::uint16_t sourcePort = 0, destinationPort = 0;
    std::vector<std::uint8_t> payload;
};

class PacketCapture {
public:
    // Captures on every interface of the namespace; nothing when it cannot.
    static std::optional<PacketCapture> Open();
    PacketCapture(PacketCapture&& other) noexcept;
    PacketCapture& operator=(PacketCapture&&) = delete;
    PacketCapture(const PacketCapture&) = delete;
    ~PacketCapture();

    // Every datagram to or from port 60000 captured since the last call.
    std::vector<CapturedDatagram> Take();

private:
    explicit PacketCapture(int fd) : fd_(fd) {}
    int fd_ = -1;
};

}  // namespace lumaro::bench
