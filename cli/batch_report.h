#pragma once
// What enable-web --all prints: its plan, a progress line per controller as it finishes
// and the summary of the batch.

#include <string>
#include <vector>

#include "workflow/record_table.h"
#include "workflow/web_enable_batch.h"

namespace lumaro {

// One record per listed controller, in serial order: serial, ip (as listed), pcAddress,
// way (none, keep, move, no-free-address, left-out), newIp (where it would be reachable
// afterwards; empty when no free address is left), webEnabled (as listed), reason.
RecordTable PlanRecords(const std::vector<BatchEntry>& entries);

// One record per listed controller, in serial order: serial, result (done, failed,
// not-needed, left-out), previousIp, ip, moved, webEnabled, page, message (what the
// procedure told when it stopped), reason (why it failed).
RecordTable SummaryRecords(const std::vector<BatchOutcome>& outcomes);

// "[3 done, 8 running, 39 left] controller 100: 192.168.1.100 -> 10.0.1.123, web on", or its
// failure and message: one run as it ends, and where the batch stands then.
std::string ProgressLine(const BatchOutcome& outcome, const SideBySideProgress& progress);

}  // namespace lumaro
