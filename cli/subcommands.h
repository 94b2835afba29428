#pragma once
// The console's subcommands. Each adds itself to the program's parser; its callback runs
// the command and leaves the process's exit code in `exitCode` (0 done, 1 the command
// failed or was refused; a wrong or missing argument ends the parse with 2).

#include <CLI/CLI.hpp>

namespace lumaro {

void AddSearchCommand(CLI::App& program, int& exitCode);
void AddEnableWebCommand(CLI::App& program, int& exitCode);
// The commands on one controller, each the same as its button in the window's panel.
void AddSetAddressCommand(CLI::App& program, int& exitCode);
void AddSyncTimeCommand(CLI::App& program, int& exitCode);
void AddWebOffCommand(CLI::App& program, int& exitCode);

void AddDoctorCommand(CLI::App& program, int& exitCode);
// A site's address plan from a spreadsheet, applied by serial.
void AddApplyCommand(CLI::App& program, int& exitCode);

}  // namespace lumaro
