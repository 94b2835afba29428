#pragma once
// What the one-click procedure would do to each listed controller, decided from the search's
// records and ARP alone: nothing is sent to the controllers. The procedure asks the
// controller where the plan can only ask ARP: it reads the controller's network parameters
// afresh and probes its present address; the plan takes the search's record for the first
// and ARP for the second (the controller's own MAC answering: the address stays; nobody or
// another device answering: a move).

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <map>
#include <set>
#include <vector>

#include "link/controller_record.h"
#include "platform/arp/arp.h"
#include "workflow/address_rules.h"

namespace lumaro {

enum class PlannedWay {
    Nothing,        // reachable at an address that stays, web server on: not needed
    KeepAddress,    // the address stays; the web server is switched on there
    Move,           // moved to a free address of the PC's subnet, web server on there
    NoFreeAddress,  // every candidate answers ARP: the run would end with WebAccessFailed
    ArpFailed,      // an ARP request could not be made: the run would end with WebAccessFailed
};

// Why the present address stays or goes.
enum class AddressFinding {
    OwnMacAnswers,    // ARP at the present address is answered by the controller's MAC
    SharedInTheList,  // another listed controller reports the same address
    NeverKept,        // a reserved value
    OutsidePcSubnet,  // not in the subnet of the PC interface that heard it
    ArpUnanswered,    // nobody answers ARP at the present address
    OtherMacAnswers,  // another device answers ARP at the present address
    ArpCouldNotAsk,   // ARP at the present address could not be asked
};

struct WebEnablePlan {
    std::uint32_t serial = 0;
    Ipv4Address presentAddress = 0;  // as the search listed it
    Ipv4Address hostAddress = 0;     // the PC interface that heard it
    bool webEnabled = false;         // as the search listed it
    PlannedWay way = PlannedWay::Nothing;
    AddressFinding finding = AddressFinding::OwnMacAnswers;
    std::optional<platform::HardwareAddress> otherMac;  // who answers, for OtherMacAnswers
    Ipv4Address address = 0;        // where it would be reachable afterwards (Move: the new one)

    // The procedure has something to do: a move, or the web server to switch on.
    bool Needed() const { return way != PlannedWay::Nothing; }
    // The present address would not be kept.
    bool Unreachable() const {
        return way != PlannedWay::Nothing && way != PlannedWay::KeepAddress;
    }
    // No address to end at: the run would fail.
    bool Fails() const { return way == PlannedWay::NoFreeAddress || way == PlannedWay::ArpFailed; }
};

// The plan's listed values for `record` (serial, addresses, web server as the search listed
// them), before anything is decided: the start of every plan, and all that is known of a
// controller that is not planned.
WebEnablePlan ListedValues(const ControllerRecord& record);

using ArpRequest = std::function<platform::ArpResult(Ipv4Address target, Ipv4Address source)>;

// Plans controllers one after another as the procedure would meet them when run in that
// order: the moves planned before count as done (the controller is listed at its new
// address, and that address is not offered again).
//
// A free candidate costs the whole ARP wait (3 s), and a site fresh from the box has one per
// controller: with `parallelArp` above 1 the candidates are asked that many at a time, in
// their order, and each answer is kept for the rest of the plan. `arp` must then be safe to
// call from several threads at once. `pcAddresses`: the PC's own addresses, never offered.
class WebEnablePlanner {
public:
    WebEnablePlanner(const ControllerTable& table, ArpRequest arp,
                     std::vector<Ipv4Address> pcAddresses, std::size_t parallelArp = 1)
        : table_(table),
          arp_(std::move(arp)),
          pcAddresses_(std::move(pcAddresses)),
          parallelArp_(std::max<std::size_t>(parallelArp, 1)) {}

    // Plans the controller of record `row` of the table given at construction.
    WebEnablePlan Plan(std::size_t row);

private:
    AddressFinding JudgePresentAddress(const ControllerRecord& record,
                                       std::optional<platform::HardwareAddress>& otherMac);
    // What ARP says of `candidate` (one of `order`), asked from `hostAddress` together with
    // the candidates that follow it, unless known already.
    CandidateState AskCandidate(Ipv4Address candidate, const std::vector<Ipv4Address>& order,
                                Ipv4Address hostAddress);

    ControllerTable table_;  // the search's records, with the planned moves applied
    ArpRequest arp_;
    std::vector<Ipv4Address> pcAddresses_;
    std::size_t parallelArp_;
    std::set<Ipv4Address> planned_;                  // new addresses given to earlier controllers
    std::map<Ipv4Address, CandidateState> asked_;    // candidates asked so far
};

}  // namespace lumaro
