#include "cli/enable_web_batch.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/batch_report.h"
#include "cli/confirmation.h"
#include "cli/console_dialog.h"
#include "link/controller_link.h"
#include "link/search.h"

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

}  // namespace

int RunEnableWebBatch(const WebBatchOptions& options) {
    ControllerLink link;  // the search that the plan and every run's list come from
    SearchControllers(link);
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
        // A run restarts its controller unless the web page answers already.
        if (auto status = RefusedWritesStatus({toRun, toRun}, options.yes)) return *status;
    }

    // Each procedure on a link and a list of its own; its messages go into its progress line.
    const BatchLaneMaker makeLane = [&options] {
        BatchLane lane;
        lane.link = std::make_unique<ControllerLink>();
        lane.dialog = std::make_unique<ConsoleDialog>(*lane.link, options.dateFormat,
                                                      options.language, nullptr);
        return lane;
    };
    const std::vector<BatchOutcome> outcomes = RunWebEnableBatch(
        link.Table(), makeLane, system, entries, BatchPace{.jobs = options.jobs},
        [](const BatchOutcome& outcome, const SideBySideProgress& progress) {
            PrintToStandardError(ProgressLine(outcome, progress) + "\n");
        });
    PrintRecords(SummaryRecords(outcomes), options.format);
    const bool failed = std::ranges::any_of(outcomes, [](const BatchOutcome& outcome) {
        return outcome.result == BatchResult::Failed;
    });
    return failed || unlisted ? 1 : 0;
}

}  // namespace lumaro
