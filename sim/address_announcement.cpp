#include "sim/address_announcement.h"

#include <linux/if_packet.h>
#include <net/ethernet.h>
#include <net/if.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "platform/net/descriptor_posix.h"

namespace lumaro::sim {

namespace {

// ARP over Ethernet for IPv4 (RFC 826), 28 bytes.
constexpr std::size_t kArpBytes = 28;
constexpr std::uint16_t kHardwareEthernet = 1;
constexpr std::uint16_t kProtocolIpv4 = 0x0800;
constexpr std::uint16_t kOperationRequest = 1;

}  // namespace

std::optional<std::string> AnnounceAddress(const std::string& interface,
                                           const std::array<std::uint8_t, 6>& mac,
                                           Ipv4Address address) {
    const unsigned index = ::if_nametoindex(interface.c_str());
    if (index == 0) return "no interface " + interface;
    platform::Descriptor socket(::socket(AF_PACKET, SOCK_DGRAM | SOCK_CLOEXEC, htons(ETH_P_ARP)));
    if (!socket.Valid()) return std::string("packet socket: ") + std::strerror(errno);

    std::uint8_t arp[kArpBytes] = {};
    auto put16 = [&](std::size_t at, std::uint16_t value) {
        arp[at] = static_cast<std::uint8_t>(value >> 8);
        arp[at + 1] = static_cast<std::uint8_t>(value);
    };
    put16(0, kHardwareEthernet);
    put16(2, kProtocolIpv4);
    arp[4] = 6;  // hardware address length
    arp[5] = 4;  // protocol address length
    put16(6, kOperationRequest);
    std::memcpy(arp + 8, mac.data(), 6);         // sender MAC
    std::memcpy(arp + 14, &address, 4);          // sender address, first octet first
    std::memcpy(arp + 24, &address, 4);          // target address: the same (gratuitous)

    sockaddr_ll to{};
    to.sll_family = AF_PACKET;
    to.sll_protocol = htons(ETH_P_ARP);
    to.sll_ifindex = static_cast<int>(index);
    to.sll_halen = 6;
    std::memset(to.sll_addr, 0xFF, 6);
    if (::sendto(socket.Get(), arp, sizeof arp, 0, reinterpret_cast<const sockaddr*>(&to), sizeof to) < 0) {
        return "gratuitous ARP on " + interface + ": " + std::strerror(errno);
    }
    return std::nullopt;
}

}  // namespace lumaro::sim
