#pragma once
// lumaro-cli apply PLAN: a site's address plan applied by serial, proved by a new search,
// and a record of it for the owner.

#include <cstddef>
#include <string>

#include "cli/output_format.h"
#include "workflow/web_enable_batch.h"

namespace lumaro {

struct SiteApplyOptions {
    std::string planFile;    // UTF-8 name
    bool dryRun = false;     // print the plan only
    bool yes = false;        // no question asked
    bool syncTime = false;   // also set each written controller's clock
    std::size_t jobs = kDefaultBatchJobs;
    int dateFormat = 0;      // the web settings that the panel's apply writes
    int language = 0;
    std::string recordFile;  // empty: no record; .csv or .json
    OutputFormat format = OutputFormat::Tsv;
};

// Runs it and gives the exit code: 0 every row of the plan is as planned (or changed so),
// 1 the plan was refused, a row is not (a serial not listed, a write that failed, a clock
// not set) or the question was declined, 2 nobody could be asked.
int RunSiteApply(const SiteApplyOptions& options);

}  // namespace lumaro
