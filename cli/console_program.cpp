#include "cli/console_program.h"

#include "cli/console_language.h"
#include "cli/subcommands.h"
#include "lumaro_version.h"

namespace lumaro {

void DescribeConsoleProgram(CLI::App& program, int& exitCode) {
    program.name("lumaro-cli");
    program.description(
        "lumaro-cli: finds the door-access controllers on this PC's networks (UDP broadcast, "
        "port 60000) and acts on one of them.");
    program.set_version_flag("--version", "lumaro-cli " LUMARO_VERSION,
                             "print the program's name and version and exit");
    program.require_subcommand(1);
    // The console's language: the locale's unless this says otherwise (cli/main.cpp chose
    // the locale's before the parse). Given before or after the subcommand.
    program
        .add_option_function<std::string>(
            "--ui-language",
            [](const std::string& code) {
                if (const auto language = LanguageFromCode(code)) SetMessageLanguage(*language);
            },
            "language of the messages and of the tsv list: en (English) or zh (Chinese); by "
            "default the locale's (LANGUAGE, LC_ALL, LC_MESSAGES, LANG: zh* is Chinese)")
        ->check(CLI::IsMember({"en", "zh"}, CLI::ignore_case).description(""))
        ->type_name("en|zh");
    program.fallthrough();
    AddSearchCommand(program, exitCode);
    AddEnableWebCommand(program, exitCode);
    AddSetAddressCommand(program, exitCode);
    AddSyncTimeCommand(program, exitCode);
    AddWebOffCommand(program, exitCode);
    AddDoctorCommand(program, exitCode);
}

}  // namespace lumaro
