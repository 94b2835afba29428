// lumaro-cli apply PLAN: a site's address plan, applied controller by controller.

#include <algorithm>
#include <memory>
#include <string>

#include "cli/listed_controller.h"
#include "cli/site_apply_run.h"
#include "cli/subcommands.h"

namespace lumaro {

namespace {

CLI::Validator RecordNameCheck() {
    return CLI::Validator(
        [](const std::string& name) -> std::string {
            std::string lower = name;
            std::transform(lower.begin(), lower.end(), lower.begin(),
                           [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
            if (lower.ends_with(".csv") || lower.ends_with(".json")) return {};
            return "'" + name + "': a record's name ends in .csv or .json";
        },
        "");
}

}  // namespace

void AddApplyCommand(CLI::App& program, int& exitCode) {
    auto options = std::make_shared<SiteApplyOptions>();
    CLI::App* command = program.add_subcommand(
        "apply",
        "Put every controller of a site at the address of its plan, and prove it. The plan is "
        "a CSV file with a row per controller, as `search --format csv` writes it and a "
        "spreadsheet edits it: UTF-8 (with or without a byte-order mark), UTF-16 with its "
        "mark, or GB18030; separated by commas, semicolons or tabs. Its columns are read by "
        "name: serial (required); ip, mask, gateway and web (on or off, true or false) are "
        "planned, a blank cell or a missing column leaving the value as it is; every other "
        "column is carried into the record.\n"
        "It searches, compares each row with what the search lists and prints the plan: per "
        "serial what changes from what to what, \"as planned\" where nothing does. A plan "
        "that cannot be read, or that contradicts itself or the LAN (a serial twice, one "
        "address for two controllers, an address of a listed controller that stays there or "
        "one that another device answers in ARP, values that can never work), is refused "
        "with the row and column named, and nothing is written.\n"
        "It goes on only after a yes typed at the terminal, or with --yes: each controller "
        "that differs gets the panel's apply (its addresses, and the web server on at port "
        "80) and, where planned, its web-off, up to --jobs at once; one planned onto "
        "another's address only once that one has left it, a ring of them through a free "
        "address held meanwhile. Then it searches again and judges every row from what that "
        "search lists: as planned, changed, failed (with its reason), not listed, left "
        "alone; the summary goes to standard output.");
    command->add_option("PLAN", options->planFile, "the plan: a CSV file")->required()->type_name("FILE");
    AddWebChoiceOptions(*command, WebChoices::DateFormatAndLanguage, options->dateFormat,
                        options->language);
    CLI::Option* dryRun = command->add_flag(
        "--dry-run", options->dryRun,
        "print the plan and stop; sends nothing but the search and ARP");
    command->add_flag("--yes", options->yes, "go on without asking")->excludes(dryRun);
    command
        ->add_option("--jobs", options->jobs,
                     "how many controllers are written at once, at most (1: one after another "
                     "in serial order); one starts at most every 0.5 s, as in enable-web --all")
        ->check(CLI::Range(std::size_t{1}, kMaxBatchJobs))
        ->capture_default_str();
    command->add_flag("--sync-time", options->syncTime,
                      "also set each written controller's clock to the PC's local time")
        ->excludes(dryRun);
    command
        ->add_option("--record", options->recordFile,
                     "write the commissioning record to FILE: .csv (UTF-8 with a byte-order "
                     "mark, CR LF) or .json; the time, this PC's name and interfaces, Lumaro's "
                     "version and the plan's name, then per controller its plan's other "
                     "columns, its values before, planned and after, the verdict and the time "
                     "of its change")
        ->type_name("FILE")
        ->check(RecordNameCheck())
        ->excludes(dryRun);
    AddFormatOption(*command, options->format);
    command->callback([options, &exitCode] { exitCode = RunSiteApply(*options); });
}

}  // namespace lumaro
