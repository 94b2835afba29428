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
#include "platform/arp.h"

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

// Judges `address` against the first `rowCount` records of `table` (the one being judged
// among them) and the PC interface (hostAddress, hostMask) through which it answered.
PresentAddress CheckPresentAddress(const ControllerTable& table, int rowCount,
                                   Ipv4Address address, Ipv4Address hostAddress,
                                   Ipv4Address hostMask);

// After the controller has answered at its present address: the ARP answer for that
// address keeps it unless another device (another MAC) answers for it. No answer keeps it.
bool ArpAnswerKeepsAddress(const std::optional<platform::HardwareAddress>& answer,
                           const std::array<std::uint8_t, 6>& controllerMac);

// The candidates of the free-address search, in the order they are tried: hostAddress with
// its last octet replaced, from 123 (124 when the PC's own octet is 123) upwards, wrapping,
// never 0 or 255: 254 addresses. Only the last octet changes; the PC's mask is not consulted.
std::vector<Ipv4Address> CandidateAddresses(Ipv4Address hostAddress);

// The free-address search: the first candidate for which `taken` says false, or nothing when
// every one is taken.
std::optional<Ipv4Address> FindFreeAddress(Ipv4Address hostAddress,
                                           const std::function<bool(Ipv4Address)>& taken);

}  // namespace lumaro
