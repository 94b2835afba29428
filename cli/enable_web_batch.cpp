#include "cli/enable_web_batch.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "cli/batch_report.h"
#include "cli/confirmation.h"
#include "cli/console_dialog.h"
#include "link/controller_link.h"

namespace lumaro {

namespace {

// The plan asks ARP for this many candidate addresses at a time: a fresh site has one free
// candidate per controller, each costing the whole ARP wait when asked alone.
constexpr std::size_t kPlanArpRequestsAtOnce = 16;

// Chosen serials that the search did not list; each is reported on standard error.
bool ReportUnlisted(const BatchChoice& choice, const ControllerTable& table) {
    bool any = false;
    for (std::uint32_t serial : choice.serials) {
        const bool listed = std::ranges::any_of(
            table.Found(), [&](const ControllerRecord& record) { return record.serial == serial; });
        if (!listed) {
            std::fprintf(stderr, "controller %u is not listed\n", serial);
            any = true;
        }
    }
    return any;
}

void PrintToStandardError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

int RunEnableWebBatch(const WebBatchOptions& options) {
    ControllerLink link;
    // Each run's message goes into its progress line rather than a line of its own.
    ConsoleDialog dialog(link, options.dateFormat, options.language, nullptr);
    dialog.Search();
    const bool unlisted = ReportUnlisted(options.choice, link.Table());

    WebEnableSystem system = WebEnableSystem::System();
    system.openPage = [](const std::string&) {};  // a batch opens no browser
    const std::vector<BatchEntry> entries =
        PlanWebEnableBatch(link.Table(), options.choice, system.arp, link.InterfaceAddresses(),
                           kPlanArpRequestsAtOnce);
    if (options.dryRun) {
        PrintRecords(PlanRecords(entries), options.format);
        return unlisted ? 1 : 0;
    }

    const auto toRun = static_cast<std::size_t>(std::ranges::count_if(
        entries, [](const BatchEntry& entry) { return entry.ToRun(); }));
    if (toRun > 0) {
        // The plan for the person who answers; standard output carries only the summary.
        PrintToStandardError(FormatTsv(PlanRecords(entries)));
        switch (ConfirmBatch(toRun, options.yes)) {
            case Confirmation::Confirmed: break;
            case Confirmation::Declined:
                PrintToStandardError("Not confirmed: nothing was written.\n");
                return 1;
            case Confirmation::NoTerminal:
                PrintToStandardError(
                    "Not confirmed: no terminal to answer at. Add --yes to go on without a "
                    "question; nothing was written.\n");
                return 2;
        }
    }

    const std::vector<BatchOutcome> outcomes = RunWebEnableBatch(
        link, dialog, system, entries,
        [](const BatchOutcome& outcome) { PrintToStandardError(ProgressLine(outcome) + "\n"); });
    PrintRecords(SummaryRecords(outcomes), options.format);
    const bool failed = std::ranges::any_of(outcomes, [](const BatchOutcome& outcome) {
        return outcome.result == BatchResult::Failed;
    });
    return failed || unlisted ? 1 : 0;
}

}  // namespace lumaro
