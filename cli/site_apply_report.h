#pragma once
// What lumaro-cli apply prints: the plan (per serial, what changes from what to what, "as
// planned" where nothing does), a progress line per write as it ends, and the summary of
// the verdicts from the final search.

#include <string>
#include <vector>

#include "workflow/record_table.h"
#include "workflow/site_apply.h"
#include "workflow/site_apply_plan.h"

namespace lumaro {

// One record per entry, in serial order: serial, row (of the plan file), action (as
// planned, write, not listed, left alone), ip, mask, gateway, web ("a -> b" where the plan
// changes it, else the value), order (the numbers of its writes), note.
RecordTable SitePlanRecords(const SitePlan& file, const SiteApplyPlan& plan);

// "[3 done, 2 running, 50 left] controller 3000000001: 192.168.1.100 -> 10.0.1.11, web on".
std::string SiteProgressLine(const SiteStepEnd& end, const SideBySideProgress& progress);

// The verdict's words: "as planned", "changed", "failed", "not listed", "left alone".
const char* VerdictName(SiteVerdict verdict);
// Why it is so, for people: what failed, or what changed; empty for as planned.
std::string VerdictReason(const SiteEntry& entry, const SiteWriteOutcome& written,
                          const SiteJudgement& judgement);

// One record per entry, in serial order: serial, row, verdict, ip, mask, gateway, web (as
// the final search lists it), reason.
RecordTable SiteSummaryRecords(const SitePlan& file, const SiteApplyPlan& plan,
                               const std::vector<SiteWriteOutcome>& writes,
                               const std::vector<SiteJudgement>& judgements);

// "on" or "off".
const char* WebWord(bool on);

}  // namespace lumaro
