#pragma once
// lumaro-cli enable-web --all: the one-click web enable for every listed controller that
// needs it, after a plan and a yes.

#include "cli/output_format.h"
#include "workflow/web_enable_batch.h"

namespace lumaro {

struct WebBatchOptions {
    BatchChoice choice;
    bool dryRun = false;  // print the plan only
    bool yes = false;     // no question asked
    std::size_t jobs = kDefaultBatchJobs;  // procedures at once
    int dateFormat = 0;
    int language = 0;
    OutputFormat format = OutputFormat::Tsv;
};

// Runs the batch and gives the exit code: 0 every controller run is done, 1 one failed, a
// chosen serial is not listed or the question was declined, 2 nobody could be asked.
int RunEnableWebBatch(const WebBatchOptions& options);

}  // namespace lumaro
