// lumaro-cli sync-time: the panel's clock button.

#include "cli/console_texts.h"
#include "cli/listed_controller.h"
#include "cli/subcommands.h"
#include "workflow/controller_commands.h"

namespace lumaro {

void AddSyncTimeCommand(CLI::App& program, int& exitCode) {
    AddListedControllerCommand(
        program, exitCode, "sync-time",
        "Set the clock of the controller with this serial to the PC's local time (as the "
        "panel's clock button does) and print its row.",
        WebChoices::None, [](ListedController& controller) {
            const CommandResult result = SyncTimeCommand(controller.Link(), controller.Dialog());
            if (result.answered) {
                PrintLine(ConsoleLine(TextId::ConsoleClockSet, {std::to_string(result.serial)}));
            }
            controller.PrintRow();  // no search follows: the row as found before
            return result.outcome == CommandOutcome::Sent && result.answered ? 0 : 1;
        });
}

}  // namespace lumaro
