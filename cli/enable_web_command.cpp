// lumaro-cli enable-web SERIAL: the one-click web enable of the window, for scripts; with
// --all, for every listed controller that needs it (cli/enable_web_batch.cpp).

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/console_dialog.h"
#include "cli/console_language.h"
#include "cli/console_texts.h"
#include "cli/enable_web_batch.h"
#include "cli/listed_controller.h"
#include "cli/subcommands.h"
#include "link/controller_link.h"
#include "link/controller_text.h"
#include "platform/shell/browser.h"
#include "workflow/web_enable.h"
#include "workflow/web_enable_verdict.h"

namespace lumaro {

namespace {

struct EnableWebOptions {
    std::vector<std::uint32_t> serials;  // one, or with --all those the batch may touch
    int dateFormat = 0;
    int language = 0;
    bool open = false;
    bool all = false;
    bool onlyUnreachable = false;
    bool dryRun = false;
    bool yes = false;
    std::size_t jobs = kDefaultBatchJobs;
    OutputFormat format = OutputFormat::Tsv;
};

std::string WebPortText(const WebEnableReport& report) {
    if (!report.webSettings) return ConsoleLine(TextId::ConsoleWebAnswering);
    const std::string port = ConsoleLine(report.webPort == ProbeWait::NotConnected
                                             ? TextId::ConsoleWebNotConnected
                                             : TextId::ConsoleWebSilent);
    if (!report.webSettings->settingsAnswered) {
        return ConsoleLine(TextId::ConsoleWebSwitchOnUnanswered, {port});
    }
    if (!report.webSettings->restartAnswered) {
        return ConsoleLine(TextId::ConsoleWebRestartUnanswered, {port});
    }
    return ConsoleLine(TextId::ConsoleWebSwitchedOn, {port});
}

void PrintReport(const WebEnableReport& report, bool opened) {
    const std::string serial = std::to_string(report.serial);
    PrintLine(report.moved ? ConsoleLine(TextId::ConsoleMoved,
                                         {serial, FormatAddress(report.presentAddress),
                                          FormatAddress(report.address)})
                           : ConsoleLine(TextId::ConsoleKeptAddress,
                                         {serial, FormatAddress(report.address)}));
    PrintLine(ConsoleLine(TextId::ConsoleWebServer, {WebPortText(report)}));
    PrintLine(ConsoleLine(opened ? TextId::ConsolePageOpened : TextId::ConsolePage,
                          {report.pageAddress}));
}

int RunEnableWeb(const EnableWebOptions& options) {
    ListedController controller({options.serials.front(), options.dateFormat, options.language});
    if (!controller.Find()) return 1;  // message 107 is on stderr
    WebEnableSystem system = WebEnableSystem::System();
    if (!options.open) system.openPage = [](const std::string&) {};
    const WebEnableReport report =
        EnableWebProcedure(controller.Link(), controller.Dialog(), system);
    std::fflush(stdout);
    if (report.end != WebEnableEnd::PageOpened) return 1;  // the message is on stderr
    PrintReport(report, options.open);
    // Done only where the search at the run's end shows it.
    const WebEnableVerdict verdict = JudgeWebEnableRun(report, controller.Link().Table());
    if (verdict == WebEnableVerdict::Done) return 0;
    PrintProblem(ConsoleLine(TextId::ConsoleNotDone, {std::to_string(report.serial),
                                                      VerdictReason(verdict, MessageLanguage())}));
    return 1;
}

int RunEnableWebCommand(const EnableWebOptions& options) {
    if (!options.all) {
        if (options.serials.size() != 1) {
            throw CLI::ValidationError("SERIAL", "give one serial, or --all [SERIAL...]");
        }
        return RunEnableWeb(options);
    }
    WebBatchOptions batch;
    batch.choice = BatchChoice{options.serials, options.onlyUnreachable};
    batch.dryRun = options.dryRun;
    batch.yes = options.yes;
    batch.jobs = options.jobs;
    batch.dateFormat = options.dateFormat;
    batch.language = options.language;
    batch.format = options.format;
    return RunEnableWebBatch(batch);
}

}  // namespace

void AddEnableWebCommand(CLI::App& program, int& exitCode) {
    auto options = std::make_shared<EnableWebOptions>();
    CLI::App* command = program.add_subcommand(
        "enable-web",
        "Make one controller reachable from this PC and switch its web server on: searches, "
        "checks the controller's address, moves it to a free address of the PC's subnet when "
        "that address cannot be used, switches its web server on at port 80 unless it already "
        "answers there, then searches again. Prints the controller's page address. On Linux "
        "the ARP requests need root or CAP_NET_RAW; without them the kernel's neighbour table "
        "is read instead (an address it already knows then takes up to 9 s to check).\n"
        "With --all: the same for every listed controller that needs it (an address that "
        "would not be kept, or the web server off). It prints its plan first and goes on "
        "only after a yes typed at the terminal, or with --yes; then works on up to --jobs "
        "controllers at once, started in serial order, with a progress line per controller "
        "on standard error as each one ends, and a summary on standard output in serial "
        "order.");
    command->add_option("SERIAL", options->serials,
                        "the controller's serial number; with --all, the controllers the batch "
                        "may touch (all listed ones when none is given)");
    AddWebChoiceOptions(*command, WebChoices::DateFormatAndLanguage, options->dateFormat,
                        options->language);
    CLI::Option* all = command->add_flag(
        "--all", options->all, "every listed controller that needs it (or those of SERIAL...)");
    command->add_flag("--open", options->open, "open the page in the default browser")
        ->excludes(all);
    command
        ->add_flag("--only-unreachable", options->onlyUnreachable,
                   "with --all: only controllers whose address would not be kept")
        ->needs(all);
    command
        ->add_flag("--dry-run", options->dryRun,
                   "with --all: print what would be done to each controller (its way and the "
                   "address it would get) and stop; sends nothing but the search and ARP")
        ->needs(all);
    command->add_flag("--yes", options->yes, "with --all: go on without asking")->needs(all);
    command
        ->add_option("--jobs", options->jobs,
                     "with --all: how many controllers are worked on at once, at most (1: one "
                     "after another in serial order). Whatever the number, one starts at "
                     "most every 0.5 s, so that the controllers, which receive every "
                     "broadcast frame of every run, never meet a burst of them; that "
                     "alone keeps about 16 at work at once where a run takes 8 s")
        ->check(CLI::Range(std::size_t{1}, kMaxBatchJobs))
        ->capture_default_str()
        ->needs(all);
    AddFormatOption(*command, options->format);
    command->get_option("--format")->needs(all);
    command->callback([options, &exitCode] { exitCode = RunEnableWebCommand(*options); });
}

}  // namespace lumaro
