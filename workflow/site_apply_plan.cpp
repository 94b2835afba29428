#include "workflow/site_apply_plan.h"

#include <algorithm>
#include <map>
#include <set>
#include <utility>

#include "link/controller_text.h"
#include "workflow/address_check.h"
#include "workflow/address_rules.h"
#include "workflow/gateway_check.h"
#include "workflow/arp_side_by_side.h"

namespace lumaro {

namespace {


// ARP answers asked side by side and kept.
class ArpAnswers {
public:
    ArpAnswers(const ArpRequest& arp, std::size_t parallel)
        : arp_(arp), parallel_(std::max<std::size_t>(parallel, 1)) {}

    // Asks every question not answered yet, `parallel` at a time.
    void Ask(const std::vector<ArpQuestion>& questions) {
        std::vector<ArpQuestion> ask;
        for (const ArpQuestion& question : questions) {
            if (!answers_.contains(question) &&
                std::find(ask.begin(), ask.end(), question) == ask.end()) {
                ask.push_back(question);
            }
        }
        const std::vector<platform::ArpResult> results = AskSideBySide(ask, arp_, parallel_);
        for (std::size_t i = 0; i < ask.size(); ++i) answers_.insert_or_assign(ask[i], results[i]);
    }

    const platform::ArpResult& Answer(const ArpQuestion& question) {
        if (!answers_.contains(question)) Ask({question});
        return answers_.at(question);
    }

    std::size_t Parallel() const { return parallel_; }

private:
    const ArpRequest& arp_;
    std::size_t parallel_;
    std::map<ArpQuestion, platform::ArpResult> answers_;
};

bool InSubnet(Ipv4Address address, const platform::LocalAddress& subnet) {
    return (address & subnet.mask) == (subnet.address & subnet.mask);
}

bool MaskFault(AddressFault fault) {
    return fault == AddressFault::NoMask || fault == AddressFault::MaskNotContiguous;
}

class SitePlanner {
public:
    SitePlanner(const SitePlan& plan, const ControllerTable& listed,
                const std::vector<platform::LocalAddress>& pcSubnets, const ArpRequest& arp,
                std::size_t parallelArp)
        : plan_(plan), listed_(listed), pcSubnets_(pcSubnets), arp_(arp, parallelArp) {}

    SiteApplyPlan Plan() {
        MakeEntries();
        for (SiteEntry& entry : result_.entries) CheckValues(entry);
        CheckAddressesInUse();
        FindRings();
        AskArp();
        HoldAddresses();
        MakeSteps();
        return std::move(result_);
    }

private:
    const SitePlanRow& RowOf(const SiteEntry& entry) const { return plan_.rows[*entry.planRow]; }

    void Refuse(const SiteEntry& entry, PlanField field, std::string message) {
        result_.problems.push_back({plan_.CellOf(RowOf(entry), field), std::move(message)});
        if (field == PlanField::Ip) refusedAddress_.insert(entry.serial);
    }

    // " (left as it is)" when the row leaves `field` blank: the value is the listed one.
    std::string LeftAsItIs(const SiteEntry& entry, PlanField field) const {
        const SitePlanRow& row = RowOf(entry);
        const bool blank = field == PlanField::Ip        ? !row.ip
                           : field == PlanField::Mask    ? !row.mask
                           : field == PlanField::Gateway ? !row.gateway
                                                         : !row.web;
        return blank ? " (listed so now, and left as it is)" : "";
    }

    void MakeEntries() {
        std::map<std::uint32_t, const ControllerRecord*> listedBySerial;
        for (const ControllerRecord& record : listed_.Found()) listedBySerial.emplace(record.serial, &record);
        std::set<std::uint32_t> planned;
        for (std::size_t i = 0; i < plan_.rows.size(); ++i) {
            const SitePlanRow& row = plan_.rows[i];
            planned.insert(row.serial);
            SiteEntry entry;
            entry.serial = row.serial;
            entry.planRow = i;
            const auto found = listedBySerial.find(row.serial);
            if (found == listedBySerial.end()) {
                entry.action = SiteAction::NotListed;
                entry.target = {row.ip.value_or(0), row.mask.value_or(0), row.gateway.value_or(0),
                                row.web.value_or(false)};
            } else {
                Compare(entry, row, *found->second);
            }
            result_.entries.push_back(std::move(entry));
        }
        for (const ControllerRecord& record : listed_.Found()) {
            if (planned.contains(record.serial)) continue;
            SiteEntry entry;
            entry.serial = record.serial;
            entry.listed = record;
            entry.action = SiteAction::LeftAlone;
            entry.target = {record.ip, record.mask, record.gateway, WebServerEnabled(record.webPort)};
            result_.entries.push_back(std::move(entry));
        }
        std::stable_sort(result_.entries.begin(), result_.entries.end(),
                         [](const SiteEntry& a, const SiteEntry& b) { return a.serial < b.serial; });
    }

    static void Compare(SiteEntry& entry, const SitePlanRow& row, const ControllerRecord& listed) {
        entry.listed = listed;
        const bool webNow = WebServerEnabled(listed.webPort);
        SiteTarget& target = entry.target;
        target = {row.ip.value_or(listed.ip), row.mask.value_or(listed.mask),
                  row.gateway.value_or(listed.gateway), webNow};
        const bool addressesDiffer =
            target.ip != listed.ip || target.mask != listed.mask || target.gateway != listed.gateway;
        if (addressesDiffer) {
            // The panel's apply writes the web server on with the addresses.
            entry.writesAddresses = true;
            target.web = row.web.value_or(true);
            entry.switchesWebOff = !target.web;
            if (!row.web && !webNow) entry.notes.push_back(SiteNote::WebOnByAddressWrite);
        } else {
            target.web = row.web.value_or(webNow);
            entry.writesAddresses = target.web && !webNow;  // the apply switches it on
            entry.switchesWebOff = !target.web && webNow;
        }
        if (entry.writesAddresses && listed.dhcpMarker != 0) entry.notes.push_back(SiteNote::LeavesDhcp);
        entry.action = entry.writesAddresses || entry.switchesWebOff ? SiteAction::Write : SiteAction::AsPlanned;
    }

    // Addresses, masks and gateways that can never work, and the PC's own addresses.
    void CheckValues(SiteEntry& entry) {
        if (!entry.planRow) return;
        const SitePlanRow& row = RowOf(entry);
        const bool writes = entry.action == SiteAction::Write && entry.writesAddresses;
        const bool knownAll = writes || (entry.action == SiteAction::NotListed && row.ip && row.mask);
        if (!knownAll) return;
        const SiteTarget& target = entry.target;
        if (const auto fault = FindAddressFault(target.ip, target.mask)) {
            const PlanField field = MaskFault(*fault) ? PlanField::Mask : PlanField::Ip;
            Refuse(entry, field,
                   FormatAddress(target.ip) + " under the mask " + FormatAddress(target.mask) +
                       " is " + DescribeAddressFault(*fault) + LeftAsItIs(entry, field) +
                       ": the controller could never be reached there");
            return;
        }
        if (writes && entry.MovesAddress()) {
            for (const platform::LocalAddress& pc : pcSubnets_) {
                if (pc.address == target.ip) {
                    Refuse(entry, PlanField::Ip, FormatAddress(target.ip) + " is this PC's own address");
                    return;
                }
            }
        }
        if (entry.action == SiteAction::NotListed && !row.gateway) return;
        if (const auto fault = FindGatewayFault(target.gateway, target.ip, target.mask)) {
            if (!row.gateway && *fault == GatewayFault::OutsideSubnet) {
                entry.notes.push_back(SiteNote::GatewayOutsideSubnet);
                return;
            }
            Refuse(entry, PlanField::Gateway,
                   "the gateway " + FormatAddress(target.gateway) + LeftAsItIs(entry, PlanField::Gateway) +
                       " of " + FormatAddress(target.ip) + "/" + FormatAddress(target.mask) +
                       " is " + DescribeGatewayFault(*fault) + " (0.0.0.0: no gateway)");
        }
    }

    // Where the controller of `entry` stands once the plan is done.
    static Ipv4Address FinalAddress(const SiteEntry& entry) {
        return entry.writesAddresses ? entry.target.ip : entry.listed->ip;
    }

    // A planned address that a listed controller holds now: that one must leave it first,
    // or the plan is refused when it stays.
    void CheckAddressesInUse() {
        for (SiteEntry& mover : result_.entries) {
            if (!mover.MovesAddress()) continue;
            for (const SiteEntry& holder : result_.entries) {
                if (&holder == &mover || !holder.listed || holder.listed->ip != mover.target.ip) continue;
                if (FinalAddress(holder) != mover.target.ip) {
                    mover.waitsFor.push_back(holder.serial);
                    continue;
                }
                Refuse(mover, PlanField::Ip,
                       FormatAddress(mover.target.ip) + " is the address of controller " +
                           FormatSerial(holder.serial) + ", listed there, which " +
                           (holder.planRow ? "the plan keeps there (row " +
                                                 std::to_string(plan_.rows[*holder.planRow].fileRow) + ")"
                                           : "the plan does not name, so it stays there"));
            }
        }
    }

    std::size_t IndexOf(std::uint32_t serial) const {
        for (std::size_t i = 0; i < result_.entries.size(); ++i) {
            if (result_.entries[i].serial == serial) return i;
        }
        return result_.entries.size();
    }

    // Takes the written entries in serial order, each once its holders have left: the lowest
    // serial not taken yet goes next when nobody holds its address; else the first holder
    // along its waits that nobody holds up goes before it; where the waits come round to an
    // entry already on the way, they close a ring, and the ring's lowest serial is held apart
    // first.
    void FindRings() {
        std::vector<std::size_t> writes;
        for (std::size_t i = 0; i < result_.entries.size(); ++i) {
            if (result_.entries[i].action == SiteAction::Write) writes.push_back(i);
        }
        std::set<std::size_t> done;
        // A holder that has not left yet, if any.
        const auto pendingHolder = [&](std::size_t i) -> std::optional<std::size_t> {
            for (std::uint32_t serial : result_.entries[i].waitsFor) {
                const std::size_t holder = IndexOf(serial);
                if (!parked_.contains(holder) && !done.contains(holder)) return holder;
            }
            return std::nullopt;
        };
        while (order_.size() < writes.size()) {
            std::vector<std::size_t> path;
            std::size_t at = *std::find_if(writes.begin(), writes.end(),
                                           [&](std::size_t i) { return !done.contains(i); });
            while (pendingHolder(at) && std::find(path.begin(), path.end(), at) == path.end()) {
                path.push_back(at);
                at = *pendingHolder(at);
            }
            if (!pendingHolder(at)) {
                done.insert(at);
                order_.push_back(at);
                continue;
            }
            const auto ring = std::find(path.begin(), path.end(), at);
            parked_.insert(*std::min_element(ring, path.end()));  // entries are in serial order
        }
    }

    const platform::LocalAddress* SubnetOf(Ipv4Address address) const {
        for (const platform::LocalAddress& pc : pcSubnets_) {
            if (InSubnet(address, pc)) return &pc;
        }
        return nullptr;
    }

    std::vector<Ipv4Address> PcAddresses() const {
        std::vector<Ipv4Address> addresses;
        for (const platform::LocalAddress& pc : pcSubnets_) addresses.push_back(pc.address);
        return addresses;
    }

    // The candidates of a holding address for `entry`: the free-address search's, less every
    // address listed or planned, and the holding addresses already given.
    std::vector<Ipv4Address> HoldingCandidates(const SiteEntry& entry) const {
        std::vector<Ipv4Address> candidates;
        for (Ipv4Address candidate :
             CandidateAddresses(entry.listed->hostAddress, entry.listed->hostMask, PcAddresses())) {
            const bool used = std::any_of(result_.entries.begin(), result_.entries.end(), [&](const SiteEntry& other) {
                return other.target.ip == candidate || (other.listed && other.listed->ip == candidate) ||
                       other.holdingAddress == candidate;
            });
            if (!used) candidates.push_back(candidate);
        }
        return candidates;
    }

    // ARP at every planned address that a controller moves to (within the PC's subnets), and
    // at the first candidates of the holding addresses, all side by side.
    void AskArp() {
        std::vector<ArpQuestion> questions;
        for (SiteEntry& entry : result_.entries) {
            if (!entry.MovesAddress() || refusedAddress_.contains(entry.serial)) continue;
            if (const platform::LocalAddress* pc = SubnetOf(entry.target.ip)) {
                questions.emplace_back(entry.target.ip, pc->address);
            } else {
                entry.notes.push_back(SiteNote::OutsidePcSubnets);
            }
        }
        std::size_t holdingIndex = 0;
        for (std::size_t i : parked_) {
            const SiteEntry& entry = result_.entries[i];
            const std::vector<Ipv4Address> candidates = HoldingCandidates(entry);
            // One for each ring before it too, and one more for an answer.
            for (std::size_t k = holdingIndex; k < candidates.size() && k <= holdingIndex + 1; ++k) {
                questions.emplace_back(candidates[k], entry.listed->hostAddress);
            }
            ++holdingIndex;
        }
        arp_.Ask(questions);

        for (SiteEntry& entry : result_.entries) {
            if (!entry.MovesAddress() || refusedAddress_.contains(entry.serial)) continue;
            const platform::LocalAddress* pc = SubnetOf(entry.target.ip);
            if (pc == nullptr) continue;
            JudgeArp(entry, arp_.Answer({entry.target.ip, pc->address}), pc->address);
        }
    }

    // Who answers ARP at a planned address: nobody, the controller itself, or a listed
    // controller that leaves it first. Anyone else refuses the plan.
    void JudgeArp(const SiteEntry& entry, const platform::ArpResult& answer, Ipv4Address source) {
        const std::string address = FormatAddress(entry.target.ip);
        if (!answer.Asked()) {
            Refuse(entry, PlanField::Ip,
                   "ARP could not be asked from the PC address " + FormatAddress(source) +
                       ", so it cannot be told whether " + address + " is free");
            return;
        }
        if (!answer.Answered()) return;
        const platform::HardwareAddress mac = *answer.Answer();
        for (const SiteEntry& other : result_.entries) {
            if (!other.listed || other.listed->mac != mac) continue;
            if (other.serial == entry.serial || other.listed->ip == entry.target.ip) return;
            Refuse(entry, PlanField::Ip,
                   address + " is answered in ARP by controller " + FormatSerial(other.serial) +
                       " (" + FormatMac(mac) + "), which the search lists at " +
                       FormatAddress(other.listed->ip));
            return;
        }
        Refuse(entry, PlanField::Ip,
               address + " is in use: a device with the MAC " + FormatMac(mac) +
                   " answers ARP there, and no listed controller has that MAC");
    }

    void HoldAddresses() {
        if (result_.Refused()) return;
        for (std::size_t i : parked_) {
            SiteEntry& entry = result_.entries[i];
            const std::vector<Ipv4Address> candidates = HoldingCandidates(entry);
            bool couldNotAsk = false;
            const FreeAddressFound found = FindFreeAddress(candidates, [&](Ipv4Address candidate) {
                const CandidateState state =
                    CandidateStateOf(arp_.Answer({candidate, entry.listed->hostAddress}));
                couldNotAsk = couldNotAsk || state == CandidateState::CouldNotAsk;
                return state;
            });
            if (found.address) {
                entry.holdingAddress = found.address;
                continue;
            }
            Refuse(entry, PlanField::Ip,
                   "controller " + FormatSerial(entry.serial) + " and the controllers listed at " +
                       "the addresses planned in turn for one another form a ring, and " +
                       (couldNotAsk ? "ARP could not be asked from the PC address " +
                                          FormatAddress(entry.listed->hostAddress) +
                                          " for an address to hold it meanwhile"
                                    : "no free address of the PC's subnet is left to hold it "
                                      "meanwhile"));
        }
    }

    void MakeSteps() {
        if (result_.Refused()) return;
        std::map<std::size_t, std::size_t> leavingStep;  // entry -> the step that moves it away
        for (std::size_t i : parked_) {
            leavingStep[i] = result_.steps.size();
            result_.steps.push_back({i, true, {}});
        }
        for (std::size_t i : order_) {
            SiteStep step{i, false, {}};
            if (parked_.contains(i)) step.after.push_back(leavingStep.at(i));  // its own first write
            for (std::uint32_t serial : result_.entries[i].waitsFor) {
                step.after.push_back(leavingStep.at(IndexOf(serial)));
            }
            std::sort(step.after.begin(), step.after.end());
            if (!parked_.contains(i)) leavingStep[i] = result_.steps.size();
            result_.steps.push_back(std::move(step));
        }
    }

    const SitePlan& plan_;
    const ControllerTable& listed_;
    const std::vector<platform::LocalAddress>& pcSubnets_;
    ArpAnswers arp_;
    SiteApplyPlan result_;
    std::set<std::uint32_t> refusedAddress_;  // serials whose planned address is refused
    std::set<std::size_t> parked_;    // entries held apart first, each in a ring
    std::vector<std::size_t> order_;  // written entries in the order of their last write
};

}  // namespace

bool SiteEntry::Has(SiteNote note) const {
    return std::find(notes.begin(), notes.end(), note) != notes.end();
}

std::size_t SiteApplyPlan::ToWrite() const {
    return static_cast<std::size_t>(std::count_if(entries.begin(), entries.end(), [](const SiteEntry& entry) {
        return entry.action == SiteAction::Write;
    }));
}

SiteApplyPlan PlanSiteApply(const SitePlan& plan, const ControllerTable& listed,
                            const std::vector<platform::LocalAddress>& pcSubnets,
                            const ArpRequest& arp, std::size_t parallelArp) {
    return SitePlanner(plan, listed, pcSubnets, arp, parallelArp).Plan();
}

}  // namespace lumaro
