#include "cli/listed_controller.h"

#include <cstdio>
#include <memory>

#include "cli/console_language.h"
#include "cli/console_texts.h"
#include "cli/search_report.h"

namespace lumaro {

void AddWebChoiceOptions(CLI::App& command, WebChoices choices, int& dateFormatIndex,
                         int& webLanguageIndex) {
    if (choices == WebChoices::None) return;
    if (choices == WebChoices::DateFormatAndLanguage) {
        command
            .add_option("--date-format", dateFormatIndex,
                        "date format of the web interface, as in the window's list: 0 年-月-日, "
                        "1 月-日-年, 2 日-月-年, 3 年/月/日, 4 月/日/年, 5 日/月/年")
            ->check(CLI::Range(0, 5))
            ->capture_default_str();
    }
    command
        .add_option("--language", webLanguageIndex,
                    "language of the web interface: 0 中文 (Chinese), 1 英文 (English)")
        ->check(CLI::Range(0, 1))
        ->capture_default_str();
}

CLI::App* AddListedControllerCommand(CLI::App& program, int& exitCode, const std::string& name,
                                     const std::string& description, WebChoices webChoices,
                                     ListedControllerRun run) {
    auto options = std::make_shared<ListedControllerOptions>();
    CLI::App* command = program.add_subcommand(name, description);
    command->add_option("SERIAL", options->serial, "the controller's serial number, as listed")
        ->required();
    AddWebChoiceOptions(*command, webChoices, options->dateFormatIndex, options->webLanguageIndex);
    command->callback([options, run = std::move(run), &exitCode] {
        ListedController controller(*options);
        exitCode = controller.Find() ? run(controller) : 1;
    });
    return command;
}

ListedController::ListedController(const ListedControllerOptions& options)
    : serial_(options.serial),
      dialog_(link_, options.dateFormatIndex, options.webLanguageIndex) {}

bool ListedController::Find() {
    // As the window seeds it at start-up: a counter of 0 would take any reply as the one.
    link_.SeedSequenceCounter();
    dialog_.Search();
    if (dialog_.SelectSerial(serial_)) return true;
    dialog_.ShowOutcome(Outcome::NoControllerSelected);
    PrintProblem(ConsoleLine(TextId::ConsoleNoSuchSerial, {std::to_string(serial_)}));
    return false;
}

bool ListedController::PrintRow() const {
    for (const ControllerRecord& record : link_.Table().Found()) {
        if (record.serial != serial_) continue;
        const std::string report = ControllerReport(record, MessageLanguage());
        std::fwrite(report.data(), 1, report.size(), stdout);
        std::fflush(stdout);
        return true;
    }
    PrintProblem(ConsoleLine(TextId::ConsoleNotListedAnyMore, {std::to_string(serial_)}));
    return false;
}

int FinishAfterSearch(const ListedController& controller, const CommandResult& result) {
    const bool listed = controller.PrintRow();
    if (!result.answered) PrintProblem(ConsoleLine(TextId::ConsoleNotEveryFrameAnswered));
    return result.answered && listed ? 0 : 1;
}

void PrintLine(const std::string& line) {
    std::printf("%s\n", line.c_str());
    std::fflush(stdout);
}

void PrintProblem(const std::string& what) {
    std::fprintf(stderr, "lumaro-cli: %s\n", what.c_str());
    std::fflush(stderr);
}

}  // namespace lumaro
