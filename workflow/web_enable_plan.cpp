#include "workflow/web_enable_plan.h"

#include "link/controller_text.h"

namespace lumaro {

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

WebEnablePlan WebEnablePlanner::Plan(std::size_t row) {
    ControllerRecord& record = table_.records[row];
    WebEnablePlan plan;
    plan.serial = record.serial;
    plan.presentAddress = record.ip;
    plan.hostAddress = record.hostAddress;
    plan.webEnabled = WebServerEnabled(record.webPort);
    plan.address = record.ip;
    plan.finding = JudgePresentAddress(record, plan.otherMac);

    if (plan.finding == AddressFinding::OwnMacAnswers) {
        plan.way = plan.webEnabled ? PlannedWay::Nothing : PlannedWay::KeepAddress;
        return plan;
    }
    const auto free = FindFreeAddress(record.hostAddress, [&](Ipv4Address candidate) {
        return planned_.contains(candidate) || arp_(candidate, record.hostAddress).has_value();
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
