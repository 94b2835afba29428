#pragma once
// The commissioning record that apply --record writes for the site's owner: when, from
// which PC (its name and interfaces), with which Lumaro and which plan file; then per
// controller its plan row's carried columns, its values before, planned and after (as the
// final search lists them), the verdict with its reason and the time of its change.
// CSV as UTF-8 with a byte-order mark and CR LF, so that a location in Chinese shows
// correctly when the file is opened by double-click; or JSON.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/net/local_addresses.h"
#include "workflow/site_apply.h"
#include "workflow/site_apply_plan.h"

namespace lumaro {

struct CommissioningContext {
    std::int64_t time = 0;  // of the final search, seconds since 1970
    std::string pcName;
    std::vector<platform::LocalAddress> interfaces;  // the PC's, as the search used them
    std::string version;                             // Lumaro's
    std::string planFileName;                        // as given
    bool syncTime = false;                           // the clocks were set too
};

// What a record holds, as the two formats write it.
struct CommissioningRecord {
    const CommissioningContext& context;
    const SitePlan& file;
    const SiteApplyPlan& plan;
    const std::vector<SiteWriteOutcome>& writes;
    const std::vector<SiteJudgement>& judgements;
};

// The record as CSV: a block of the header's fields (one name and value a row), a blank row,
// then a table with a row per controller: the plan's rows in the file's order, then the
// listed controllers that the plan does not name, in serial order.
std::string CommissioningRecordCsv(const CommissioningRecord& record);
// The same as one JSON object: the header's fields, and "controllers", an array of objects
// whose carried columns are in "columns" and whose values are in "before", "planned" and
// "after".
std::string CommissioningRecordJson(const CommissioningRecord& record);

// The local time of an instant with its offset from UTC, "2024-03-10T09:05:07+08:00".
std::string FormatLocalTime(std::int64_t secondsSince1970);

}  // namespace lumaro
