#pragma once
// Whether an address and mask typed for a controller can ever work. Written without a
// check, a blank or reserved address leaves the controller unreachable until someone
// resets it on site, so the apply command refuses such values and sends nothing.

#include <optional>
#include <string>

#include "platform/net/ipv4_address.h"
#include "texts/language.h"

namespace lumaro {

enum class AddressFault {
    NoAddress,          // blank, or 0.0.0.0
    LimitedBroadcast,   // 255.255.255.255
    Loopback,           // 127.0.0.0/8
    MulticastOrReserved,// 224.0.0.0 and above
    NoMask,             // blank, or 0.0.0.0
    MaskNotContiguous,  // not a run of ones followed by zeros
    NetworkAddress,     // the address of the subnet itself (a /32 is nothing else)
    SubnetBroadcast,    // the broadcast address of the subnet (a /31 has neither)
};

// The first fault of `ip` under `mask`, or nothing when the controller can take them. The
// gateway is not judged: 0.0.0.0 means "no gateway", and it may lie anywhere.
std::optional<AddressFault> FindAddressFault(Ipv4Address ip, Ipv4Address mask);

// Whether `ip` is a host of its subnet under the contiguous `mask`: neither the subnet's
// network nor its broadcast address. Both addresses of a /31 are hosts (a point-to-point
// link has neither); a /32 has no other.
bool IsSubnetHost(Ipv4Address ip, Ipv4Address mask);

// The fault's description for people in `language`, e.g. "a loopback address" (from the
// texts' catalogue; English by default, as the plan's problems are written).
std::string DescribeAddressFault(AddressFault fault, Language language = Language::English);

}  // namespace lumaro
