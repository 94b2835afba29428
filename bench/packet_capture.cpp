#include "bench/packet_capture.h"

#include <arpa/inet.h>
#include <linux/if_arp.h>
#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cstring>
#include <span>
#include <ctime>
#include <utility>

#include "link/byte_io.h"
#include "link/frame.h"

namespace lumaro::bench {

namespace {

constexpr int kCaptureBufferBytes = 32 * 1024 * 1024;  // thousands of replies per search
constexpr std::size_t kIpv4HeaderMinimum = 20;
constexpr std::size_t kUdpHeaderBytes = 8;
constexpr std::uint8_t kProtocolUdp = 17;

std::optional<CapturedDatagram> Decode(std::span<const std::uint8_t> packet, bool outgoing) {
    if (packet.size() < kIpv4HeaderMinimum || (packet[0] >> 4) != 4) return std::nullopt;
    const std::size_t ipHeader = (packet[0] & 0x0F) * 4u;
    if (packet[9] != kProtocolUdp || packet.size() < ipHeader + kUdpHeaderBytes) return std::nullopt;
    if ((ByteReader(packet).U8(6) & 0x1F) != 0 || ByteReader(packet).U8(7) != 0) {
        return std::nullopt;  // a later fragment: its first one carries the ports
    }
    CapturedDatagram datagram;
    datagram.outgoing = outgoing;
    datagram.source = ByteReader(packet).Le32(12);       // first octet in the lowest byte
    datagram.destination = ByteReader(packet).Le32(16);
    const auto udp = packet.subspan(ipHeader);
    datagram.sourcePort = static_cast<std::uint16_t>(udp[0] << 8 | udp[1]);
    datagram.destinationPort = static_cast<std::uint16_t>(udp[2] << 8 | udp[3]);
    if (datagram.sourcePort != kControllerPort && datagram.destinationPort != kControllerPort) {
        return std::nullopt;
    }
    const auto payload = udp.subspan(kUdpHeaderBytes);
    datagram.payload.assign(payload.begin(), payload.end());
    return datagram;
}

}  // namespace

std::optional<PacketCapture> PacketCapture::Open() {
    // Every protocol: only such a socket also sees what the PC sends.
    const int fd = ::socket(AF_PACKET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, htons(ETH_P_ALL));
    if (fd < 0) return std::nullopt;
    PacketCapture capture(fd);
    const int on = 1;
    const int size = kCaptureBufferBytes;
    if (::setsockopt(fd, SOL_SOCKET, SO_TIMESTAMPNS, &on, sizeof on) != 0 ||
        ::setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &size, sizeof size) != 0) {
        return std::nullopt;
    }
    return capture;
}

PacketCapture::PacketCapture(PacketCapture&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

PacketCapture::~PacketCapture() {
    if (fd_ >= 0) ::close(fd_);
}

std::vector<CapturedDatagram> PacketCapture::Take() {
    std::vector<CapturedDatagram> datagrams;
    std::array<std::uint8_t, 65536> packet;
    std::array<char, 256> control;
    for (;;) {
        sockaddr_ll from{};
        iovec buffer{packet.data(), packet.size()};
        msghdr message{};
        message.msg_name = &from;
        message.msg_namelen = sizeof from;
        message.msg_iov = &buffer;
        message.msg_iovlen = 1;
        message.msg_control = control.data();
        message.msg_controllen = control.size();
        const ssize_t length = ::recvmsg(fd_, &message, 0);
        if (length < 0) return datagrams;  // nothing more waiting
        // Loopback carries every datagram twice (out and in); the real interfaces matter.
        if (from.sll_hatype != ARPHRD_ETHER || from.sll_protocol != htons(ETH_P_IP)) continue;
        auto datagram = Decode(std::span(packet).first(static_cast<std::size_t>(length)),
                               from.sll_pkttype == PACKET_OUTGOING);
        if (!datagram) continue;
        for (cmsghdr* c = CMSG_FIRSTHDR(&message); c != nullptr; c = CMSG_NXTHDR(&message, c)) {
            if (c->cmsg_level == SOL_SOCKET && c->cmsg_type == SCM_TIMESTAMPNS) {
                timespec stamp{};
                std::memcpy(&stamp, CMSG_DATA(c), sizeof stamp);
                datagram->nanoseconds = stamp.tv_sec * 1'000'000'000LL + stamp.tv_nsec;
            }
        }
        datagrams.push_back(std::move(*datagram));
    }
}

}  // namespace lumaro::bench
