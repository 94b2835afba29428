// lumaro-cli sync-time: the panel's clock button.

#include "cli/listed_controller.h"
#include "cli/subcommands.h"
#include "workflow/controller_commands.h"

namespace lumaro {

void AddSyncTimeCommand(CLI::App& program, int& exitCode) {
    auto options = std::make_shared<ListedControllerOptions>();
    CLI::App* command = program.add_subcommand(
        "sync-time",
        "Set the clock of the controller with this serial to the PC's local time (as the "
        "panel's clock button does) and print its row.");
    AddSerialArgument(*command, *options);
    command->callback([options, &exitCode] {
        ListedController controller(*options);
        if (!controller.Find()) {
            exitCode = 1;
            return;
        }
        const CommandResult result = SyncTimeCommand(controller.Link(), controller.Dialog());
        if (result.answered) PrintDone(result.serial, "clock set to the PC's local time");
        controller.PrintRow();  // no search follows: the row as found before
        exitCode = result.outcome == CommandOutcome::Sent && result.answered ? 0 : 1;
    });
}

}  // namespace lumaro
