#include "cli/batch_report.h"

#include <string>

#include "cli/console_texts.h"
#include "link/controller_text.h"

namespace lumaro {

namespace {

const char* WayName(const BatchEntry& entry) {
    if (entry.leftOut) return "left-out";
    switch (entry.plan.way) {
        case PlannedWay::Nothing: return "none";
        case PlannedWay::KeepAddress: return "keep";
        case PlannedWay::Move: return "move";
        case PlannedWay::NoFreeAddress: return "no-free-address";
        case PlannedWay::ArpFailed: return "arp-failed";
    }
    return "";
}

std::string AddressReason(const WebEnablePlan& plan) {
    switch (plan.finding) {
        case AddressFinding::OwnMacAnswers: return "answers ARP at its address with its own MAC";
        case AddressFinding::SharedInTheList:
            return "another listed controller has the same address";
        case AddressFinding::NeverKept: return "a reserved address, never kept";
        case AddressFinding::OutsidePcSubnet:
            return "outside the subnet of the PC address " + FormatAddress(plan.hostAddress);
        case AddressFinding::ArpUnanswered: return "nobody answers ARP at its address";
        case AddressFinding::OtherMacAnswers:
            return "another device (" + FormatMac(*plan.otherMac) +
                   ") answers ARP at its address";
        case AddressFinding::ArpCouldNotAsk:
            return "ARP could not be asked from the PC address " + FormatAddress(plan.hostAddress);
    }
    return {};
}

std::string Reason(const BatchEntry& entry) {
    const WebEnablePlan& plan = entry.plan;
    if (entry.leftOut) {
        return plan.Needed() ? "not chosen: its address would be kept" : "not chosen";
    }
    const std::string address = AddressReason(plan);
    switch (plan.way) {
        case PlannedWay::Nothing: return address + "; web server on: nothing to do";
        case PlannedWay::NoFreeAddress:
            return address + "; every address of the PC's subnet answers ARP";
        case PlannedWay::ArpFailed:
            if (plan.finding == AddressFinding::ArpCouldNotAsk) return address;
            return address + "; ARP could not be asked from the PC address " +
                   FormatAddress(plan.hostAddress);
        case PlannedWay::KeepAddress:
        case PlannedWay::Move: break;
    }
    const char* web =
        plan.webEnabled ? "; web server on: port 80 tried, switched on only if it does not connect"
                        : "; web server off: switched on at port 80, controller restarted";
    return address + web;
}

const char* ResultName(BatchResult result) {
    switch (result) {
        case BatchResult::Done: return "done";
        case BatchResult::Failed: return "failed";
        case BatchResult::NotNeeded: return "not-needed";
        case BatchResult::LeftOut: return "left-out";
    }
    return "";
}

// Why a run failed, for people: what the procedure told when it stopped, or what the search
// at its end showed. Empty for a run that did not fail.
std::string FailureReason(const BatchOutcome& outcome) {
    if (outcome.result != BatchResult::Failed) return {};
    if (outcome.unlistedAtStart) return "no longer listed when its run began";
    if (outcome.verdict == WebEnableVerdict::Stopped) {
        return outcome.told ? ConsoleText(*outcome.told) : std::string("stopped");
    }
    return VerdictReason(outcome.verdict);
}

}  // namespace

RecordTable PlanRecords(const std::vector<BatchEntry>& entries) {
    RecordTable records{{"serial", "ip", "pcAddress", "way", "newIp", "webEnabled", "reason"}, {}};
    for (const BatchEntry& entry : entries) {
        const WebEnablePlan& plan = entry.plan;
        const bool noAddress = !entry.leftOut && plan.Fails();
        records.rows.push_back({std::uint64_t{plan.serial}, FormatAddress(plan.presentAddress),
                                FormatAddress(plan.hostAddress), std::string(WayName(entry)),
                                noAddress ? FieldValue{} : FieldValue{FormatAddress(plan.address)},
                                plan.webEnabled, Reason(entry)});
    }
    return records;
}

RecordTable SummaryRecords(const std::vector<BatchOutcome>& outcomes) {
    RecordTable records{
        {"serial", "result", "previousIp", "ip", "moved", "webEnabled", "page", "message",
         "reason"},
        {}};
    for (const BatchOutcome& outcome : outcomes) {
        records.rows.push_back(
            {std::uint64_t{outcome.serial}, std::string(ResultName(outcome.result)),
             FormatAddress(outcome.previousAddress), FormatAddress(outcome.address),
             outcome.Moved(), outcome.webEnabled, TextOrNothing(outcome.pageAddress),
             // For scripts the message is the same whatever the console's language: the
             // window's own (Chinese) text.
             outcome.told ? FieldValue{ConsoleText(*outcome.told, Language::Chinese)}
                          : FieldValue{},
             TextOrNothing(FailureReason(outcome))});
    }
    return records;
}

std::string ProgressLine(const BatchOutcome& outcome, const SideBySideProgress& progress) {
    std::string controller = "[";
    controller += std::to_string(progress.done) + " done, ";
    controller += std::to_string(progress.running) + " running, ";
    controller += std::to_string(progress.left) + " left] controller ";
    controller += FormatSerial(outcome.serial) + ": ";
    if (outcome.result == BatchResult::Failed) {
        return controller + "failed: " + FailureReason(outcome);
    }
    const std::string where =
        outcome.Moved() ? FormatAddress(outcome.previousAddress) + " -> " +
                              FormatAddress(outcome.address)
                        : "kept " + FormatAddress(outcome.address);
    return controller + where + (outcome.webEnabled ? ", web on" : ", web still listed off") +
           (outcome.pageAddress.empty() ? "" : " (" + outcome.pageAddress + ")");
}

}  // namespace lumaro
