// lumaro-cli web-off: the panel's web-off button.

#include "cli/console_texts.h"
#include "cli/listed_controller.h"
#include "cli/subcommands.h"
#include "workflow/controller_commands.h"

namespace lumaro {

void AddWebOffCommand(CLI::App& program, int& exitCode) {
    AddListedControllerCommand(
        program, exitCode, "web-off",
        "Switch the web server of the controller with this serial off and restart it (as "
        "the panel's web-off button does), then search again and print its row.",
        WebChoices::LanguageOnly, [](ListedController& controller) {
            const CommandResult result = DisableWebCommand(controller.Link(), controller.Dialog(),
                                                           CommandEnvironment::System());
            if (result.outcome != CommandOutcome::Sent) return 1;
            // Said only where the controller answered both frames.
            if (result.answered) {
                PrintLine(ConsoleLine(TextId::ConsoleWebSwitchedOff,
                                      {std::to_string(result.serial)}));
            }
            return FinishAfterSearch(controller, result);
        });
}

}  // namespace lumaro
