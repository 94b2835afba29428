#include "workflow/address_rules.h"

#include <algorithm>

#include "workflow/address_check.h"

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

PresentAddress CheckAddressItself(Ipv4Address address, Ipv4Address hostAddress,
                                  Ipv4Address hostMask) {
    if (NeverKept(address)) return PresentAddress::NeverKept;
    if (!InSubnetOf(address, hostAddress, hostMask)) return PresentAddress::OutsidePcSubnet;
    return PresentAddress::MayStay;
}

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
    return CheckAddressItself(address, hostAddress, hostMask);
}

bool ArpAnswerKeepsAddress(const platform::ArpResult& answer,
                           const std::array<std::uint8_t, 6>& controllerMac) {
    // No answer counts in the address's favour: the controller has just answered there.
    return !answer.Answered() || answer.Answer() == controllerMac;
}

std::vector<Ipv4Address> CandidateAddresses(Ipv4Address hostAddress, Ipv4Address hostMask,
                                            const std::vector<Ipv4Address>& pcAddresses) {
    const Ipv4Address network = hostAddress & hostMask;
    // The same rule as for an address typed into the panel: on a /31 the other address is a
    // host too.
    const auto usable = [&](Ipv4Address candidate) {
        return (candidate & hostMask) == network && IsSubnetHost(candidate, hostMask) &&
               candidate != hostAddress &&
               std::find(pcAddresses.begin(), pcAddresses.end(), candidate) == pcAddresses.end();
    };
    const std::uint8_t start = Octet(hostAddress, kLastOctetIndex) == kFirstCandidateOctet
                                   ? kFirstCandidateOctet + 1
                                   : kFirstCandidateOctet;
    // start .. 254, 1 .. start - 1
    std::vector<Ipv4Address> candidates;
    std::uint8_t octet = start;
    do {
        const Ipv4Address candidate = WithLastOctet(hostAddress, octet);
        if (usable(candidate)) candidates.push_back(candidate);
        ++octet;  // wraps from 255 to 0
        while (octet == 0 || octet == 255) ++octet;
    } while (octet != start);
    return candidates;
}

FreeAddressFound FindFreeAddress(const std::vector<Ipv4Address>& candidates,
                                 const std::function<CandidateState(Ipv4Address)>& ask) {
    for (Ipv4Address candidate : candidates) {
        switch (ask(candidate)) {
            case CandidateState::Free: return {candidate, false};
            case CandidateState::Taken: break;
            case CandidateState::CouldNotAsk: return {std::nullopt, true};
        }
    }
    return {};
}

CandidateState CandidateStateOf(const platform::ArpResult& answer) {
    switch (answer.outcome()) {
        case platform::ArpResult::Outcome::Answered: return CandidateState::Taken;
        case platform::ArpResult::Outcome::NoAnswer: return CandidateState::Free;
        case platform::ArpResult::Outcome::CouldNotAsk: return CandidateState::CouldNotAsk;
    }
    return CandidateState::CouldNotAsk;
}

}  // namespace lumaro
