// lumaro-cli: the operations of lumaro.exe for scripts. Finds the door-access controllers
// on the PC's networks and acts on one of them, chosen by serial.

#include <CLI/CLI.hpp>

#include <string>
#include <vector>

#include "cli/console_language.h"
#include "cli/console_program.h"
#include "platform/system/display_language.h"
#include "platform/system/com_apartment.h"
#include "platform/shell/command_line.h"
#include "platform/time/timer_resolution.h"

int main(int argc, char** argv) {
    // As lumaro.exe: 1 ms waits also while the console is hidden (Windows 11), and COM for
    // the shell that --open hands the page address to.
    lumaro::platform::KeepFineTimerWhenHidden();
    const lumaro::platform::ComApartment shellApartment;
    lumaro::SetMessageLanguage(lumaro::ConsoleLanguage(
        lumaro::ProcessEnvironment, std::nullopt,
        lumaro::platform::UserPrefersChinese() ? lumaro::Language::Chinese
                                               : lumaro::Language::English));
    CLI::App program;
    int exitCode = 0;
    lumaro::DescribeConsoleProgram(program, exitCode);
    // UTF-8 arguments on every system: on Windows a plan named in Chinese opens whatever the
    // system's code page.
    std::vector<std::string> arguments = lumaro::platform::CommandLineArguments(argc, argv);
    std::vector<char*> pointers;
    for (std::string& argument : arguments) pointers.push_back(argument.data());
    try {
        program.parse(static_cast<int>(pointers.size()), pointers.data());
    } catch (const CLI::ParseError& error) {
        // --help and --version end here with 0; a wrong or missing argument is a usage
        // error: 2.
        const int printed = program.exit(error);
        return printed == 0 ? 0 : 2;
    }
    return exitCode;
}
