// ARP on Linux: a request on the wire from a packet socket on the interface that holds the
// source address; without the right to open one, the kernel's neighbour table.

#include <arpa/inet.h>
#include <net/ethernet.h>
#include <net/if_arp.h>
#include <netinet/in.h>
#include <netpacket/packet.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <thread>

#include "platform/arp/arp.h"
#include "platform/net/descriptor_posix.h"
#include "platform/net/interface_of_address_posix.h"
#include "platform/arp/neighbour_table_posix.h"

namespace lumaro::platform {

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

constexpr auto kRequestInterval = 1s;          // a repeated request, as the kernel does
constexpr auto kNeighbourPollInterval = 20ms;  // how often the neighbour table is read

// An ARP packet for IPv4 over Ethernet, as it stands after the Ethernet header.
struct ArpPacket {
    std::uint16_t hardwareType;
    std::uint16_t protocolType;
    std::uint8_t hardwareLength;
    std::uint8_t protocolLength;
    std::uint16_t operation;
    std::uint8_t senderHardware[6];
    std::uint8_t senderProtocol[4];
    std::uint8_t targetHardware[6];
    std::uint8_t targetProtocol[4];
} __attribute__((packed));
static_assert(sizeof(ArpPacket) == 28);

ArpPacket Request(const LocalInterface& from, Ipv4Address source, Ipv4Address target) {
    ArpPacket packet{};
    packet.hardwareType = htons(ARPHRD_ETHER);
    packet.protocolType = htons(ETHERTYPE_IP);
    packet.hardwareLength = 6;
    packet.protocolLength = 4;
    packet.operation = htons(ARPOP_REQUEST);
    std::copy(from.hardwareAddress.begin(), from.hardwareAddress.end(), packet.senderHardware);
    std::memcpy(packet.senderProtocol, &source, 4);  // first octet first, as on the wire
    std::memcpy(packet.targetProtocol, &target, 4);
    return packet;
}

std::optional<HardwareAddress> AnswerFrom(const ArpPacket& packet, std::size_t bytes,
                                          Ipv4Address target) {
    if (bytes < sizeof packet || ntohs(packet.operation) != ARPOP_REPLY ||
        ntohs(packet.protocolType) != ETHERTYPE_IP || packet.hardwareLength != 6 ||
        packet.protocolLength != 4 || std::memcmp(packet.senderProtocol, &target, 4) != 0) {
        return std::nullopt;
    }
    HardwareAddress answer;
    std::copy_n(packet.senderHardware, answer.size(), answer.begin());
    return answer;
}

// nothing: the packet socket could not be opened (no right to it), so the caller falls
// back; a value: what the request on the wire found out.
std::optional<ArpResult> RequestOnTheWire(const LocalInterface& from, Ipv4Address source,
                                          Ipv4Address target) {
    const Descriptor packetSocket(socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC, htons(ETH_P_ARP)));
    if (!packetSocket.Valid()) return std::nullopt;
    sockaddr_ll link{};
    link.sll_family = AF_PACKET;
    link.sll_protocol = htons(ETH_P_ARP);
    link.sll_ifindex = from.index;
    if (bind(packetSocket.Get(), reinterpret_cast<const sockaddr*>(&link), sizeof link) != 0) {
        return ArpResult::CouldNotAsk();
    }
    sockaddr_ll everyone = link;
    everyone.sll_halen = 6;
    std::fill_n(everyone.sll_addr, 6, 0xFF);
    const ArpPacket request = Request(from, source, target);

    const auto deadline = Clock::now() + kArpWait;
    auto nextRequest = Clock::now();
    for (;;) {
        const auto now = Clock::now();
        if (now >= deadline) return ArpResult::NoAnswer();
        if (now >= nextRequest) {
            // An interface that is down (its cable pulled) refuses the packet.
            if (sendto(packetSocket.Get(), &request, sizeof request, 0,
                       reinterpret_cast<const sockaddr*>(&everyone), sizeof everyone) < 0) {
                return ArpResult::CouldNotAsk();
            }
            nextRequest = now + kRequestInterval;
        }
        const auto wait = std::min(deadline, nextRequest) - now;
        pollfd entry{packetSocket.Get(), POLLIN, 0};
        const int ready = poll(&entry, 1,
                               static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count()));
        if (ready <= 0) continue;
        ArpPacket reply{};
        const ssize_t bytes = recv(packetSocket.Get(), &reply, sizeof reply, MSG_DONTWAIT);
        if (bytes <= 0) continue;
        if (auto answer = AnswerFrom(reply, static_cast<std::size_t>(bytes), target)) {
            return ArpResult::AnsweredBy(*answer);
        }
    }
}

// The neighbour-table way for a target that is not this PC's, from the interface `from`
// that holds `source`.
ArpResult FromNeighbourTable(const LocalInterface& from, Ipv4Address target,
                             Ipv4Address source) {
    const auto start = Clock::now();
    if (!PromptResolution(target, source)) return ArpResult::CouldNotAsk();
    for (;;) {
        const NeighbourReading reading = ReadNeighbourEntry(target, from.index);
        if (!reading.tableRead) return ArpResult::CouldNotAsk();
        const auto elapsed = Clock::now() - start;
        if (const auto& entry = reading.entry) {
            switch (entry->state) {
                case NeighbourState::Confirmed:
                    if (entry->hardwareAddress) return ArpResult::AnsweredBy(*entry->hardwareAddress);
                    break;
                case NeighbourState::Unanswered:
                    if (elapsed >= kNeighbourPollInterval) return ArpResult::NoAnswer();
                    break;  // perhaps left from before the datagram: let the kernel start
                case NeighbourState::Rechecking:
                    // An older answer is being checked again; that takes longer.
                    if (elapsed >= kNeighbourRecheckWait) return ArpResult::NoAnswer();
                    std::this_thread::sleep_for(kNeighbourPollInterval);
                    continue;
                case NeighbourState::Resolving:
                case NeighbourState::Stale:
                    break;
            }
        }
        if (elapsed >= kArpWait) return ArpResult::NoAnswer();
        std::this_thread::sleep_for(kNeighbourPollInterval);
    }
}

// The interface to ask from: nothing when no interface holds `source` any more, or it has no
// carrier (its cable pulled: Linux keeps the address, and every request would go unanswered).
std::optional<LocalInterface> InterfaceToAskFrom(Ipv4Address source) {
    auto from = InterfaceOfAddress(source);
    if (!from || !from->running) return std::nullopt;
    return from;
}

}  // namespace

ArpResult ResolveThroughNeighbourTable(Ipv4Address target, Ipv4Address source) {
    const auto from = InterfaceToAskFrom(source);
    if (!from) return ArpResult::CouldNotAsk();
    if (const auto own = InterfaceOfAddress(target)) return ArpResult::AnsweredBy(own->hardwareAddress);
    return FromNeighbourTable(*from, target, source);
}

ArpResult RequestHardwareAddress(Ipv4Address target, Ipv4Address source) {
    const auto from = InterfaceToAskFrom(source);
    if (!from) return ArpResult::CouldNotAsk();
    if (const auto own = InterfaceOfAddress(target)) return ArpResult::AnsweredBy(own->hardwareAddress);
    if (auto made = RequestOnTheWire(*from, source, target)) return *made;
    return FromNeighbourTable(*from, target, source);
}

}  // namespace lumaro::platform
