// lumaro-cli: the operations of lumaro.exe for scripts. Finds the door-access controllers
// on the PC's networks and acts on one of them, chosen by serial.

#include <CLI/CLI.hpp>

#include "cli/console_program.h"

int main(int argc, char** argv) {
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
