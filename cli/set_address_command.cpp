// lumaro-cli set-address: the panel's apply button, with the addresses from the command line.

#include <cstdint>
#include <memory>
#include <string>

#include "cli/console_language.h"
#include "cli/console_texts.h"
#include "cli/dotted_address.h"
#include "cli/listed_controller.h"
#include "cli/subcommands.h"
#include "link/controller_text.h"
#include "workflow/address_check.h"
#include "workflow/controller_commands.h"

namespace lumaro {

namespace {

struct TypedArguments {
    std::string ip, mask, gateway;
};

std::string Written(std::uint32_t serial, const TypedAddresses& typed) {
    return ConsoleLine(TextId::ConsoleWroteAddresses,
                       {std::to_string(serial), FormatAddress(typed.ip), FormatAddress(typed.mask),
                        FormatAddress(typed.gateway), std::to_string(kAppliedWebPort)});
}

int SetAddress(ListedController& controller, const TypedArguments& arguments) {
    // The three were checked by the parser.
    const TypedAddresses typed{*ParseDottedAddress(arguments.ip),
                               *ParseDottedAddress(arguments.mask),
                               *ParseDottedAddress(arguments.gateway)};
    controller.Dialog().SetTypedAddresses(typed);

    const CommandResult result = ApplyCommand(controller.Link(), controller.Dialog(),
                                              CommandEnvironment::System());
    switch (result.outcome) {
        case CommandOutcome::NoController:
            return 1;
        case CommandOutcome::AddressRefused:
            PrintProblem(ConsoleLine(
                TextId::ConsoleAddressRefused,
                {FormatAddress(typed.ip), FormatAddress(typed.mask),
                 DescribeAddressFault(*FindAddressFault(typed.ip, typed.mask), MessageLanguage())}));
            return 1;
        case CommandOutcome::HiddenMode:
            PrintProblem(ConsoleLine(TextId::ConsoleHiddenModeGateway));
            return 1;
        case CommandOutcome::Sent:
            break;
    }
    // Said only where the controller answered both writes.
    if (result.answered) PrintLine(Written(result.serial, typed));
    return FinishAfterSearch(controller, result);
}

}  // namespace

void AddSetAddressCommand(CLI::App& program, int& exitCode) {
    auto arguments = std::make_shared<TypedArguments>();
    CLI::App* command = AddListedControllerCommand(
        program, exitCode, "set-address",
        "Write a new address, mask and gateway to the controller with this serial, with the "
        "web server on at port 80 (as the panel's apply button does), then search again and "
        "print its row. Addresses that can never work are refused. A blank \"\" address "
        "stands for 0.0.0.0; a gateway of 0.0.0.0 means none.",
        WebChoices::DateFormatAndLanguage,
        [arguments](ListedController& controller) { return SetAddress(controller, *arguments); });
    command->add_option("IP", arguments->ip, "the controller's new address")
        ->required()
        ->check(DottedAddressCheck());
    command->add_option("MASK", arguments->mask, "its subnet mask")
        ->required()
        ->check(DottedAddressCheck());
    command->add_option("GATEWAY", arguments->gateway, "its default gateway")
        ->required()
        ->check(DottedAddressCheck());
}

}  // namespace lumaro
