#include "workflow/web_enable_plan.h"

#include <vector>

#include "link/controller_text.h"
#include "workflow/side_by_side.h"

namespace lumaro {

WebEnablePlan ListedValues(const ControllerRecord& record) {
    WebEnablePlan plan;
    plan.serial = record.serial;
    plan.presentAddress = record.ip;
    plan.hostAddress = record.hostAddress;
    plan.webEnabled = WebServerEnabled(record.webPort);
    plan.address = record.ip;
    return plan;
}

AddressFinding WebEnablePlanner::JudgePresentAddress(
    const ControllerRecord& record, std::optional<platform::HardwareAddress>& otherMac) {
    switch (CheckPresentAddress(table_, static_cast<int>(table_.count), record.ip,
                                record.hostAddress, record.hostMask)) {
        case PresentAddress::SharedInTheList: return AddressFinding::SharedInTheList;
        case PresentAddress::NeverKept: return AddressFinding::NeverKept;
        case PresentAddress::OutsidePcSubnet: return AddressFinding::OutsidePcSubnet;
        case PresentAddress::MayStay: break;
    }
    // The procedure probes the address first and keeps it when ARP goes unanswered; a
    // controller that answers there answers ARP too, so without the probe an unanswered
    // request means that it is not there.
    const platform::ArpResult answer = arp_(record.ip, record.hostAddress);
    if (!answer.Asked()) return AddressFinding::ArpCouldNotAsk;
    if (!answer.Answered()) return AddressFinding::ArpUnanswered;
    if (!ArpAnswerKeepsAddress(answer, record.mac)) {
        otherMac = answer.Answer();
        return AddressFinding::OtherMacAnswers;
    }
    return AddressFinding::OwnMacAnswers;
}

CandidateState WebEnablePlanner::AskCandidate(Ipv4Address candidate,
                                             const std::vector<Ipv4Address>& order,
                                             Ipv4Address hostAddress) {
    if (const auto known = asked_.find(candidate); known != asked_.end()) return known->second;
    // This candidate and the next ones of the order that are neither planned nor asked.
    std::vector<Ipv4Address> ask;
    for (auto it = std::find(order.begin(), order.end(), candidate);
         it != order.end() && ask.size() < parallelArp_; ++it) {
        if (*it == candidate || (!planned_.contains(*it) && !asked_.contains(*it))) {
            ask.push_back(*it);
        }
    }
    // All at once; where the system gives no thread, in turn.
    std::vector<CandidateState> answers(ask.size());
    SideBySideTasks asking;
    asking.count = ask.size();
    asking.run = [&](std::size_t i) { answers[i] = CandidateStateOf(arp_(ask[i], hostAddress)); };
    RunSideBySide(asking, ask.size());
    for (std::size_t i = 0; i < ask.size(); ++i) {
        const CandidateState state = answers[i];
        // Not kept when the request could not be made: a later controller asks again.
        if (state != CandidateState::CouldNotAsk) asked_[ask[i]] = state;
        if (ask[i] == candidate && state == CandidateState::CouldNotAsk) return state;
    }
    return asked_.at(candidate);
}

WebEnablePlan WebEnablePlanner::Plan(std::size_t row) {
    ControllerRecord& record = table_.records[row];
    WebEnablePlan plan = ListedValues(record);
    plan.finding = JudgePresentAddress(record, plan.otherMac);

    if (plan.finding == AddressFinding::OwnMacAnswers) {
        plan.way = plan.webEnabled ? PlannedWay::Nothing : PlannedWay::KeepAddress;
        return plan;
    }
    if (plan.finding == AddressFinding::ArpCouldNotAsk) {
        plan.way = PlannedWay::ArpFailed;
        return plan;
    }
    const std::vector<Ipv4Address> order =
        CandidateAddresses(record.hostAddress, record.hostMask, pcAddresses_);
    const FreeAddressFound found = FindFreeAddress(order, [&](Ipv4Address candidate) {
        if (planned_.contains(candidate)) return CandidateState::Taken;
        return AskCandidate(candidate, order, record.hostAddress);
    });
    if (!found.address) {
        plan.way = found.couldNotAsk ? PlannedWay::ArpFailed : PlannedWay::NoFreeAddress;
        return plan;
    }
    plan.way = PlannedWay::Move;
    plan.address = *found.address;
    planned_.insert(*found.address);
    record.ip = *found.address;  // later controllers no longer share its old address
    return plan;
}

}  // namespace lumaro
