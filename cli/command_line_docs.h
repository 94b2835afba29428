#pragma once
// What the build makes from lumaro-cli's command line (cli/console_program.h), so that the
// manual page and the shell completion cannot drift from the program.

#include <CLI/CLI.hpp>

#include <string>

namespace lumaro {

// A bash completion script for the program: its subcommands and options, their options, the
// values of an option whose type name lists them ("tsv|csv|json"), and file names where an
// option or argument's type name is FILE.
std::string BashCompletion(const CLI::App& program);

// The COMMANDS section of the manual page in help2man's include format: each subcommand's
// synopsis, description, arguments and options, as its own --help gives them.
std::string ManPageCommands(const CLI::App& program);

}  // namespace lumaro
