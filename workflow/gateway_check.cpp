#include "workflow/gateway_check.h"

#include "workflow/controller_commands.h"

namespace lumaro {

namespace {

constexpr std::uint32_t kPointToPointHostBits = 1;  // a /31: both addresses are hosts

}  // namespace

std::optional<GatewayFault> FindGatewayFault(Ipv4Address gateway, Ipv4Address ip,
                                             Ipv4Address mask) {
    if (gateway == 0) return std::nullopt;
    if (gateway == kHiddenModeGateway) return GatewayFault::HiddenModeCode;
    if ((gateway & mask) != (ip & mask)) return GatewayFault::OutsideSubnet;
    if (gateway == ip) return GatewayFault::OwnAddress;
    const std::uint32_t hostBits = ~InNumberOrder(mask);
    if (hostBits <= kPointToPointHostBits) return std::nullopt;
    const std::uint32_t host = InNumberOrder(gateway) & hostBits;
    if (host == 0) return GatewayFault::NetworkAddress;
    if (host == hostBits) return GatewayFault::SubnetBroadcast;
    return std::nullopt;
}

const char* DescribeGatewayFault(GatewayFault fault) {
    switch (fault) {
        case GatewayFault::HiddenModeCode:
            return "the panel's code for its hidden buttons, never written as a gateway";
        case GatewayFault::OutsideSubnet:
            return "not in the controller's subnet, so the controller could never reach it";
        case GatewayFault::OwnAddress: return "the controller's own address";
        case GatewayFault::NetworkAddress: return "the network address of the controller's subnet";
        case GatewayFault::SubnetBroadcast: return "the broadcast address of the controller's subnet";
    }
    return "a gateway that cannot work";
}

}  // namespace lumaro
