// lumaro-cli: the operations of lumaro.exe for scripts. Finds the door-access controllers
// on the PC's networks and acts on one of them, chosen by serial.

#include <CLI/CLI.hpp>

#include "cli/console_language.h"
#include "cli/console_program.h"
#include "platform/display_language.h"
#include "platform/com_apartment.h"
#include "platform/timer_resolution.h"

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
    try {
        program.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        // --help and --version end here with 0; a wrong or missing argument is a usage
        // error: 2.
        const int printed = program.exit(error);
        return printed == 0 ? 0 : 2;
    }
    return exitCode;
}
