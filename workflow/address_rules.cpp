#include "workflow/address_rules.h"

#include <algorithm>

namespace lumaro {

namespace {

constexpr int kLastOctetIndex = 3;

Ipv4Address WithLastOctet(Ipv4Address address, std::uint8_t octet) {
    return (address & 0x00FFFFFFu) | (static_cast<Ipv4Address>(octet) << 24);
}

bool NeverKept(Ipv4Address address) {
    return std::find(kAddressesNeverKept.begin(), kAddressesNeverKept.end(), address) !=
           kAddressesNeverKept.end();
}

// The PC reaches an address of another subnet only through a router, and a controller that
// the PC's broadcast found is on the PC's own segment: its page would not load from here.
// (Under Wine the UDP probe even gets through on the link, so it cannot tell.)
bool InSubnetOf(Ipv4Address address, Ipv4Address hostAddress, Ipv4Address hostMask) {
    return (address & hostMask) == (hostAddress & hostMask);
}

}  // namespace

PresentAddress CheckPresentAddress(const ControllerTable& table, int rowCount,
                                   Ipv4Address address, Ipv4Address hostAddress,
                                   Ipv4Address hostMask) {
    int sameAddress = 0;
    for (int k = 0; k < rowCount; ++k) {
        const ControllerRecord* record = table.RecordOfRow(k);
        if (record == nullptr) break;
        if (record->ip == address) ++sameAddress;
    }
    if (sameAddress != 1) return PresentAddress::SharedInTheList;
    if (NeverKept(address)) return PresentAddress::NeverKept;
    if (!InSubnetOf(address, hostAddress, hostMask)) return PresentAddress::OutsidePcSubnet;
    return PresentAddress::MayStay;
}

bool ArpAnswerKeepsAddress(const std::optional<platform::HardwareAddress>& answer,
                           const std::array<std::uint8_t, 6>& controllerMac) {
    // No answer counts in the address's favour: the controller has just answered there.
    return !answer || *answer == controllerMac;
}

std::vector<Ipv4Address> CandidateAddresses(Ipv4Address hostAddress) {
    const std::uint8_t start = Octet(hostAddress, kLastOctetIndex) == kFirstCandidateOctet
                                   ? kFirstCandidateOctet + 1
                                   : kFirstCandidateOctet;
    // start .. 254, 1 .. start - 1
    std::vector<Ipv4Address> candidates;
    std::uint8_t octet = start;
    do {
        candidates.push_back(WithLastOctet(hostAddress, octet));
        ++octet;  // wraps from 255 to 0
        while (octet == 0 || octet == 255) ++octet;
    } while (octet != start);
    return candidates;
}

std::optional<Ipv4Address> FindFreeAddress(Ipv4Address hostAddress,
                                           const std::function<bool(Ipv4Address)>& taken) {
    for (Ipv4Address candidate : CandidateAddresses(hostAddress)) {
        if (!taken(candidate)) return candidate;
    }
    return std::nullopt;
}

}  // namespace lumaro
