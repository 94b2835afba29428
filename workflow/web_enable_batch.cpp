#include "workflow/web_enable_batch.h"

#include <algorithm>

#include "link/controller_text.h"
#include "resources/resource.h"
#include "workflow/reselection.h"

namespace lumaro {

namespace {

bool Chosen(const BatchChoice& choice, std::uint32_t serial) {
    return choice.serials.empty() ||
           std::find(choice.serials.begin(), choice.serials.end(), serial) != choice.serials.end();
}

// What is known of a controller without running anything on it: its plan's listed values.
BatchOutcome Untouched(const BatchEntry& entry) {
    BatchOutcome outcome;
    outcome.serial = entry.plan.serial;
    outcome.result = entry.leftOut ? BatchResult::LeftOut : BatchResult::NotNeeded;
    outcome.previousAddress = entry.plan.presentAddress;
    outcome.address = entry.plan.presentAddress;
    outcome.webEnabled = entry.plan.webEnabled;
    return outcome;
}

BatchOutcome RunOne(ControllerLink& link, ControllerDialog& dialog, const WebEnableSystem& system,
                    const BatchEntry& entry) {
    BatchOutcome outcome = Untouched(entry);
    outcome.result = BatchResult::Failed;
    const std::optional<int> row = RowOfSerial(link, dialog, entry.plan.serial);
    if (!row) {
        // Gone from the list since the plan: nothing to select.
        outcome.message = IDS_SELECT_CONTROLLER_FIRST;
        return outcome;
    }
    dialog.SelectRow(*row);
    const WebEnableReport report = EnableWebProcedure(link, dialog, system);
    outcome.message = report.message;
    if (report.end == WebEnableEnd::PageOpened) {
        outcome.result = BatchResult::Done;
        outcome.pageAddress = report.pageAddress;
        outcome.address = report.address;
    }
    // A run that reached its end searched again: the list shows the controller as it is now.
    if (const auto now = RowOfSerial(link, dialog, entry.plan.serial)) {
        const ControllerRecord& record = link.Table().records[static_cast<std::size_t>(*now)];
        outcome.webEnabled = WebServerEnabled(record.webPort);
        if (report.end == WebEnableEnd::PageOpened) outcome.address = record.ip;
    }
    return outcome;
}

}  // namespace

std::vector<BatchEntry> PlanWebEnableBatch(const ControllerTable& table,
                                           const BatchChoice& choice, const ArpRequest& arp,
                                           const std::vector<Ipv4Address>& pcAddresses,
                                           std::size_t parallelArp) {
    WebEnablePlanner planner(table, arp, pcAddresses, parallelArp);
    std::vector<BatchEntry> entries;
    for (std::size_t row = 0; row < table.count; ++row) {
        const ControllerRecord& record = table.records[row];
        BatchEntry entry;
        if (Chosen(choice, record.serial)) {
            entry.plan = planner.Plan(row);
            entry.leftOut = choice.onlyUnreachable && !entry.plan.Unreachable();
        } else {
            entry.leftOut = true;
            entry.plan = ListedValues(record);
        }
        entries.push_back(entry);
    }
    return entries;
}

std::vector<BatchOutcome> RunWebEnableBatch(
    ControllerLink& link, ControllerDialog& dialog, const WebEnableSystem& system,
    const std::vector<BatchEntry>& entries,
    const std::function<void(const BatchOutcome&)>& finished) {
    std::vector<BatchOutcome> outcomes;
    for (const BatchEntry& entry : entries) {
        if (!entry.ToRun()) {
            outcomes.push_back(Untouched(entry));
            continue;
        }
        outcomes.push_back(RunOne(link, dialog, system, entry));
        finished(outcomes.back());
    }
    return outcomes;
}

}  // namespace lumaro
