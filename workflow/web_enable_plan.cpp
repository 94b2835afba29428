#include "workflow/web_enable_plan.h"

#include <future>
#include <system_error>
#include <vector>

#include "link/controller_text.h"

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
    const auto answer = arp_(record.ip, record.hostAddress);
    if (!answer) return AddressFinding::ArpUnanswered;
    if (!ArpAnswerKeepsAddress(answer, record.mac)) {
        otherMac = answer;
        return AddressFinding::OtherMacAnswers;
    }
    return AddressFinding::OwnMacAnswers;
}

bool WebEnablePlanner::CandidateAnswered(Ipv4Address candidate, Ipv4Address hostAddress) {
    if (const auto known = answered_.find(candidate); known != answered_.end()) {
        return known->second;
    }
    // This candidate and the next ones of the order that are neither planned nor asked.
    std::vector<Ipv4Address> ask;
    const std::vector<Ipv4Address> order = CandidateAddresses(hostAddress);
    for (auto it = std::find(order.begin(), order.end(), candidate);
         it != order.end() && ask.size() < parallelArp_; ++it) {
        if (*it == candidate || (!planned_.contains(*it) && !answered_.contains(*it))) {
            ask.push_back(*it);
        }
    }
    const auto request = [this, hostAddress](Ipv4Address address) {
        return arp_(address, hostAddress).has_value();
    };
    std::vector<std::future<bool>> answers;
    for (Ipv4Address address : ask) {
        try {
            const auto launch = ask.size() > 1 ? std::launch::async : std::launch::deferred;
            answers.push_back(std::async(launch, request, address));
        } catch (const std::system_error&) {  // no thread to be had: ask it in turn
            answers.push_back(std::async(std::launch::deferred, request, address));
        }
    }
    for (std::size_t i = 0; i < ask.size(); ++i) answered_[ask[i]] = answers[i].get();
    return answered_.at(candidate);
}

WebEnablePlan WebEnablePlanner::Plan(std::size_t row) {
    ControllerRecord& record = table_.records[row];
    WebEnablePlan plan = ListedValues(record);
    plan.finding = JudgePresentAddress(record, plan.otherMac);

    if (plan.finding == AddressFinding::OwnMacAnswers) {
        plan.way = plan.webEnabled ? PlannedWay::Nothing : PlannedWay::KeepAddress;
        return plan;
    }
    const auto free = FindFreeAddress(record.hostAddress, [&](Ipv4Address candidate) {
        return planned_.contains(candidate) || CandidateAnswered(candidate, record.hostAddress);
    });
    if (!free) {
        plan.way = PlannedWay::NoFreeAddress;
        return plan;
    }
    plan.way = PlannedWay::Move;
    plan.address = *free;
    planned_.insert(*free);
    record.ip = *free;  // later controllers no longer share its old address
    return plan;
}

}  // namespace lumaro
