#pragma once
// The one-click procedure's rules for a controller's address, shared by the procedure and by
// its plan (which decides the same things without sending anything but ARP): when the
// present address may stay, and which free address of the PC's subnet comes next.

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "link/controller_record.h"
#include "platform/arp/arp.h"

namespace lumaro {

// Addresses that are never kept, compared as whole addresses.
constexpr std::array<Ipv4Address, 4> kAddressesNeverKept{
    MakeIpv4(0, 0, 0, 0), MakeIpv4(192, 168, 0, 0), MakeIpv4(192, 168, 168, 0),
    MakeIpv4(255, 255, 255, 255)};
constexpr std::uint8_t kFirstCandidateOctet = 123;  // 124 when the PC's own octet is 123

// What the list alone says of a controller's present address.
enum class PresentAddress {
    MayStay,          // unique in the list, not a reserved value, in the PC's subnet: ask it
    SharedInTheList,  // another listed controller reports the same address
    NeverKept,        // one of kAddressesNeverKept
    OutsidePcSubnet,  // the PC would reach it only through a router
};

// What the address itself says, whatever the list holds: a reserved value, outside the
// subnet of the PC interface (hostAddress, hostMask) through which it answered, or MayStay.
PresentAddress CheckAddressItself(Ipv4Address address, Ipv4Address hostAddress,
                                  Ipv4Address hostMask);

// Judges `address` against the first `rowCount` records of `table` (the one being judged
// among them), then as CheckAddressItself.
PresentAddress CheckPresentAddress(const ControllerTable& table, int rowCount,
                                   Ipv4Address address, Ipv4Address hostAddress,
                                   Ipv4Address hostMask);

// After the controller has answered at its present address: the ARP answer for that
// address keeps it unless another device (another MAC) answers for it. No answer keeps it.
// (A request that could not be made is the caller's to handle: it decides nothing here.)
bool ArpAnswerKeepsAddress(const platform::ArpResult& answer,
                           const std::array<std::uint8_t, 6>& controllerMac);

// The candidates of the free-address search, in the order they are tried: hostAddress with
// its last octet replaced, from 123 (124 when the PC's own octet is 123) upwards, wrapping,
// never 0 or 255 — those of them that are hosts of the PC's subnet (hostAddress, hostMask,
// as IsSubnetHost judges them) and none of the PC's own addresses (`pcAddresses`). On a /24
// or wider that is all 254 octets but the PC's own; a narrower subnet has fewer, a /31 the
// other end of the link (unless its last octet is 0 or 255), a /32 none.
std::vector<Ipv4Address> CandidateAddresses(Ipv4Address hostAddress, Ipv4Address hostMask,
                                            const std::vector<Ipv4Address>& pcAddresses);

// What the free-address search found out of one candidate.
enum class CandidateState {
    Free,         // nobody answers ARP for it
    Taken,        // somebody does
    CouldNotAsk,  // the request could not be made: nothing can be judged free
};

// The free-address search over `candidates`: the first one that `ask` finds free; nothing
// when every one is taken or a request could not be made (`couldNotAsk` then says which).
struct FreeAddressFound {
    std::optional<Ipv4Address> address;
    bool couldNotAsk = false;
};
FreeAddressFound FindFreeAddress(const std::vector<Ipv4Address>& candidates,
                                 const std::function<CandidateState(Ipv4Address)>& ask);

// What an ARP result says of a candidate address.
CandidateState CandidateStateOf(const platform::ArpResult& answer);

}  // namespace lumaro
