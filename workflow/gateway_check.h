#pragma once
// Whether a gateway planned for a controller can ever work. A controller sends to its
// default gateway directly on its own segment, so a gateway outside its subnet, or one of
// the subnet's own reserved addresses, is never reached. 0.0.0.0 means "no gateway".

#include <optional>

#include "platform/net/ipv4_address.h"

namespace lumaro {

enum class GatewayFault {
    HiddenModeCode,   // 2.9.4.6: the panel's apply shows its hidden buttons instead of writing
    OutsideSubnet,    // not in the subnet of the controller's address and mask
    OwnAddress,       // the controller's own address
    NetworkAddress,   // the subnet's network address
    SubnetBroadcast,  // the subnet's broadcast address
};

// The first fault of `gateway` for a controller at `ip` under `mask` (both usable), or
// nothing when it can work.
std::optional<GatewayFault> FindGatewayFault(Ipv4Address gateway, Ipv4Address ip,
                                             Ipv4Address mask);

// For people, e.g. "not in the controller's subnet".
const char* DescribeGatewayFault(GatewayFault fault);

}  // namespace lumaro
