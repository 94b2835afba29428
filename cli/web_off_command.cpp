// lumaro-cli web-off: the panel's web-off button.

#include "cli/listed_controller.h"
#include "cli/subcommands.h"
#include "workflow/controller_commands.h"

namespace lumaro {

void AddWebOffCommand(CLI::App& program, int& exitCode) {
    auto options = std::make_shared<ListedControllerOptions>();
    CLI::App* command = program.add_subcommand(
        "web-off",
        "Switch the web server of the controller with this serial off and restart it (as "
        "the panel's web-off button does), then search again and print its row.");
    AddSerialArgument(*command, *options);
    AddWebChoiceOptions(*command, *options);
    command->callback([options, &exitCode] {
        ListedController controller(*options);
        if (!controller.Find()) {
            exitCode = 1;
            return;
        }
        const CommandResult result = DisableWebCommand(controller.Link(), controller.Dialog(),
                                                       CommandEnvironment::System());
        if (result.outcome != CommandOutcome::Sent) {
            exitCode = 1;
            return;
        }
        PrintDone(result.serial, "web server switched off, controller restarted");
        const bool listed = controller.PrintRow();
        if (!result.answered) PrintProblem("the controller did not answer every frame");
        exitCode = result.answered && listed ? 0 : 1;
    });
}

}  // namespace lumaro
