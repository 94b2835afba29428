#include "cli/site_apply_run.h"

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/commissioning_record.h"
#include "cli/confirmation.h"
#include "cli/console_dialog.h"
#include "cli/output_format.h"
#include "cli/site_apply_report.h"
#include "link/controller_link.h"
#include "link/search.h"
#include "lumaro_version.h"
#include "platform/arp/arp.h"
#include "platform/time/clock.h"
#include "platform/system/computer_name.h"
#include "platform/shell/files.h"
#include "workflow/site_apply.h"

namespace lumaro {

namespace {

// ARP asks this many planned addresses at a time: each free one costs the whole ARP wait
// (3 s, up to 9 s through the neighbour table), and a fresh site has one per controller, so
// a site of up to 64 moves is asked in one wait.
constexpr std::size_t kPlanArpRequestsAtOnce = 64;

void Problem(const std::string& text) { PrintToStandardError("lumaro-cli: " + text + "\n"); }

bool RecordAsJson(const std::string& name) {
    std::string lower = name;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower.ends_with(".json");
}

// The plan file read, or nothing after its problems are printed.
std::optional<SitePlan> ReadPlan(const std::string& name) {
    const platform::FileRead read = platform::ReadFileUpTo(name, kMaxPlanFileBytes);
    if (read.longerThanLimit) {
        Problem(name + ": the file: the file is larger than " + std::to_string(kMaxPlanFileBytes) +
                " bytes: it is not a plan of at most " + std::to_string(kMaxPlanRows) + " rows");
        Problem("the plan is refused: nothing was sent to any controller");
        return std::nullopt;
    }
    if (!read.bytes) {
        Problem("cannot read the plan " + name + ": " + read.error);
        return std::nullopt;
    }
    SitePlanReading reading = ReadSitePlan(*read.bytes);
    if (reading.Read()) return std::move(reading.plan);
    for (const PlanProblem& problem : reading.problems) Problem(name + ": " + problem.Describe());
    if (reading.problemsNotShown > 0) {
        Problem(name + ": and " + std::to_string(reading.problemsNotShown) + " more problems");
    }
    Problem("the plan is refused: nothing was sent to any controller");
    return std::nullopt;
}

std::vector<platform::LocalAddress> PcSubnets(const ControllerLink& link) {
    std::vector<platform::LocalAddress> subnets;
    for (std::size_t i = 0; i < link.InterfaceCount(); ++i) {
        subnets.push_back({link.Interface(i).address, link.Interface(i).mask});
    }
    return subnets;
}

SiteLaneMaker LaneMaker(const SiteApplyOptions& options) {
    return [&options] {
        SiteLane lane;
        lane.link = std::make_unique<ControllerLink>();
        // Its messages are only recorded: the progress lines and the verdicts tell.
        auto dialog = std::make_unique<ConsoleDialog>(*lane.link, options.dateFormat,
                                                      options.language, nullptr);
        ConsoleDialog* console = dialog.get();
        lane.typeAddresses = [console](const TypedAddresses& typed) { console->SetTypedAddresses(typed); };
        lane.dialog = std::move(dialog);
        return lane;
    };
}

bool EveryRowAsPlanned(const SiteApplyPlan& plan, const std::vector<SiteWriteOutcome>& writes,
                       const std::vector<SiteJudgement>& judgements) {
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        const SiteVerdict verdict = judgements[i].verdict;
        const bool good = verdict == SiteVerdict::AsPlanned || verdict == SiteVerdict::Changed ||
                          verdict == SiteVerdict::LeftAlone;
        if (!good || writes[i].clockSet == false) return false;
    }
    return true;
}

}  // namespace

int RunSiteApply(const SiteApplyOptions& options) {
    const std::optional<SitePlan> file = ReadPlan(options.planFile);
    if (!file) return 1;

    ControllerLink link;  // the search that the plan is compared with, and the final one
    SearchControllers(link);
    const SiteApplyPlan plan = PlanSiteApply(*file, link.Table(), PcSubnets(link),
                                             platform::RequestHardwareAddress, kPlanArpRequestsAtOnce);
    const RecordTable planRecords = SitePlanRecords(*file, plan);
    const bool notListed = std::any_of(plan.entries.begin(), plan.entries.end(), [](const SiteEntry& entry) {
        return entry.action == SiteAction::NotListed;
    });
    if (options.dryRun && !plan.Refused()) {
        PrintRecords(planRecords, options.format);
        return notListed ? 1 : 0;
    }
    // The plan for the person who answers; standard output carries only the summary.
    PrintToStandardError(FormatTsv(planRecords));
    if (plan.Refused()) {
        for (const PlanProblem& problem : plan.problems) {
            Problem(options.planFile + ": " + problem.Describe());
        }
        Problem("the plan is refused: nothing was written to any controller");
        return 1;
    }

    const std::size_t toWrite = plan.ToWrite();
    if (toWrite > 0) {
        // Only web-off restarts a controller; the panel's apply writes without a restart.
        const auto restarted = static_cast<std::size_t>(std::ranges::count_if(
            plan.entries, [](const SiteEntry& entry) { return entry.switchesWebOff; }));
        if (auto status = RefusedWritesStatus({toWrite, restarted}, options.yes)) return *status;
    }
    // The record's file is made before the writes: a name that cannot be written is found
    // while nothing has been.
    std::string recordError;
    std::optional<platform::OutputFile> record =
        options.recordFile.empty() ? std::nullopt
                                   : platform::OutputFile::Create(options.recordFile, recordError);
    if (!options.recordFile.empty() && !record) {
        Problem("cannot write the record " + options.recordFile + ": " + recordError +
                "; nothing was written to any controller");
        return 1;
    }

    SiteWriteOptions writeOptions;
    writeOptions.syncTime = options.syncTime;
    writeOptions.pace.jobs = options.jobs;
    const SiteLaneMaker makeLane = LaneMaker(options);
    const std::vector<SiteWriteOutcome> writes = RunSiteWrites(
        plan, link.Table(), makeLane, writeOptions,
        [](const SiteStepEnd& end, const SideBySideProgress& progress) {
            PrintToStandardError(SiteProgressLine(end, progress) + "\n");
        });

    // The verdicts come from what a new search lists.
    SearchControllers(link);
    const std::int64_t searchedAt = platform::SecondsSince1970();
    const std::vector<SiteJudgement> judgements = JudgeSite(plan, writes, link.Table());
    PrintRecords(SiteSummaryRecords(*file, plan, writes, judgements), options.format);

    bool recorded = true;
    if (record) {
        const CommissioningContext context{searchedAt,       platform::ComputerName(),
                                           PcSubnets(link),  LUMARO_VERSION,
                                           options.planFile, options.syncTime};
        const CommissioningRecord contents{context, *file, plan, writes, judgements};
        std::string error;
        recorded = record->WriteAndClose(RecordAsJson(options.recordFile)
                                             ? CommissioningRecordJson(contents)
                                             : CommissioningRecordCsv(contents),
                                         error);
        if (!recorded) Problem("cannot write the record " + options.recordFile + ": " + error);
    }
    return EveryRowAsPlanned(plan, writes, judgements) && recorded ? 0 : 1;
}

}  // namespace lumaro
