#pragma once
// lumaro-cli's command line: its name, description, --version and every subcommand with its
// options. The program parses with it; the build reads the commands and options from it for
// the manual page and the shell completion, so they always match the program.

#include <CLI/CLI.hpp>

namespace lumaro {

// Fills an empty `program`; the subcommands' callbacks leave the exit code in `exitCode`
// (cli/subcommands.h).
void DescribeConsoleProgram(CLI::App& program, int& exitCode);

}  // namespace lumaro
