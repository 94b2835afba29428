#include "workflow/address_check.h"

#include <cstdint>

#include "texts/catalogue.h"

namespace lumaro {

namespace {

constexpr std::uint8_t kLoopbackFirstOctet = 127;
constexpr std::uint8_t kFirstMulticastOctet = 224;  // multicast, then reserved up to the top
constexpr std::uint32_t kPointToPointHostBits = 1;  // a /31

}  // namespace

std::optional<AddressFault> FindAddressFault(Ipv4Address ip, Ipv4Address mask) {
    const std::uint32_t address = InNumberOrder(ip);
    const std::uint32_t prefix = InNumberOrder(mask);
    const std::uint8_t firstOctet = Octet(ip, 0);
    if (address == 0) return AddressFault::NoAddress;
    if (ip == kLimitedBroadcast) return AddressFault::LimitedBroadcast;
    if (firstOctet == kLoopbackFirstOctet) return AddressFault::Loopback;
    if (firstOctet >= kFirstMulticastOctet) return AddressFault::MulticastOrReserved;
    if (prefix == 0) return AddressFault::NoMask;
    const std::uint32_t hostBits = ~prefix;
    if ((hostBits & (hostBits + 1)) != 0) return AddressFault::MaskNotContiguous;
    if (IsSubnetHost(ip, mask)) return std::nullopt;
    return (address & hostBits) == 0 ? AddressFault::NetworkAddress
                                     : AddressFault::SubnetBroadcast;
}

bool IsSubnetHost(Ipv4Address ip, Ipv4Address mask) {
    const std::uint32_t hostBits = ~InNumberOrder(mask);
    // A /31 has no network or broadcast address: its two addresses are the two ends of a
    // point-to-point link (a PC cabled straight to the controller).
    if (hostBits == kPointToPointHostBits) return true;
    const std::uint32_t host = InNumberOrder(ip) & hostBits;
    return host != 0 && host != hostBits;  // a /32's one address is its network address
}

std::string DescribeAddressFault(AddressFault fault, Language language) {
    const TextId id = [fault] {
        switch (fault) {
            case AddressFault::NoAddress: return TextId::FaultNoAddress;
            case AddressFault::LimitedBroadcast: return TextId::FaultLimitedBroadcast;
            case AddressFault::Loopback: return TextId::FaultLoopback;
            case AddressFault::MulticastOrReserved: return TextId::FaultMulticastOrReserved;
            case AddressFault::NoMask: return TextId::FaultNoMask;
            case AddressFault::MaskNotContiguous: return TextId::FaultMaskNotContiguous;
            case AddressFault::NetworkAddress: return TextId::FaultNetworkAddress;
            case AddressFault::SubnetBroadcast: return TextId::FaultSubnetBroadcast;
        }
        return TextId::FaultMulticastOrReserved;
    }();
    return std::string(Text(id, language));
}

}  // namespace lumaro
