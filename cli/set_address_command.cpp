// lumaro-cli set-address: the panel's apply button, with the addresses from the command line.

#include <string>

#include "cli/dotted_address.h"
#include "cli/listed_controller.h"
#include "cli/subcommands.h"
#include "link/controller_text.h"
#include "workflow/address_check.h"
#include "workflow/controller_commands.h"

namespace lumaro {

namespace {

struct SetAddressArguments {
    ListedControllerOptions controller;
    std::string ip, mask, gateway;
};

std::string Written(const TypedAddresses& typed) {
    return "wrote address " + FormatAddress(typed.ip) + ", mask " + FormatAddress(typed.mask) +
           ", gateway " + FormatAddress(typed.gateway) + " and the web server on at port " +
           std::to_string(kAppliedWebPort);
}

int SetAddress(const SetAddressArguments& arguments) {
    // The three were checked by the parser.
    const TypedAddresses typed{*ParseDottedAddress(arguments.ip),
                               *ParseDottedAddress(arguments.mask),
                               *ParseDottedAddress(arguments.gateway)};
    ListedController controller(arguments.controller);
    if (!controller.Find()) return 1;
    controller.Dialog().SetTypedAddresses(typed);

    const CommandResult result = ApplyCommand(controller.Link(), controller.Dialog(),
                                              CommandEnvironment::System());
    switch (result.outcome) {
        case CommandOutcome::NoController:
            return 1;
        case CommandOutcome::AddressRefused:
            PrintProblem(FormatAddress(typed.ip) + " under the mask " + FormatAddress(typed.mask) +
                         " is " + DescribeAddressFault(*FindAddressFault(typed.ip, typed.mask)) +
                         ": nothing was sent");
            return 1;
        case CommandOutcome::HiddenMode:
            PrintProblem("the gateway 2.9.4.6 only opens the panel's hidden buttons (use "
                         "sync-time and web-off here): nothing was sent");
            return 1;
        case CommandOutcome::Sent:
            break;
    }
    PrintDone(result.serial, Written(typed));
    const bool listed = controller.PrintRow();
    if (!result.answered) PrintProblem("the controller did not answer every frame");
    return result.answered && listed ? 0 : 1;
}

}  // namespace

void AddSetAddressCommand(CLI::App& program, int& exitCode) {
    auto arguments = std::make_shared<SetAddressArguments>();
    CLI::App* command = program.add_subcommand(
        "set-address",
        "Write a new address, mask and gateway to the controller with this serial, with the "
        "web server on at port 80 (as the panel's apply button does), then search again and "
        "print its row. Addresses that can never work are refused. A blank \"\" address "
        "stands for 0.0.0.0; a gateway of 0.0.0.0 means none.");
    AddSerialArgument(*command, arguments->controller);
    command->add_option("IP", arguments->ip, "the controller's new address")
        ->required()
        ->check(DottedAddressCheck());
    command->add_option("MASK", arguments->mask, "its subnet mask")
        ->required()
        ->check(DottedAddressCheck());
    command->add_option("GATEWAY", arguments->gateway, "its default gateway")
        ->required()
        ->check(DottedAddressCheck());
    AddWebChoiceOptions(*command, arguments->controller);
    command->callback([arguments, &exitCode] { exitCode = SetAddress(*arguments); });
}

}  // namespace lumaro
