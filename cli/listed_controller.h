#pragma once
// What the console's commands on one controller (set-address, sync-time, web-off) share:
// they search first and select the controller by its serial, as the window's list would
// after a click on its row, then run the same command as the window's button, and print
// the controller's row as the list shows it afterwards.

#include <cstdint>
#include <functional>
#include <string>

#include <CLI/CLI.hpp>

#include "cli/console_dialog.h"
#include "link/controller_link.h"
#include "workflow/controller_commands.h"

namespace lumaro {

struct ListedControllerOptions {
    std::uint32_t serial = 0;
    int dateFormatIndex = 0;   // as the panel's date-format choice, 0-5
    int webLanguageIndex = 0;  // as the panel's web-language choice: 0 Chinese, 1 English
};

class ListedController;

// What a command does once its controller is found; gives the process's exit code.
using ListedControllerRun = std::function<int(ListedController& controller)>;

// Which of the panel's two web choices a command takes (as --date-format, --language).
enum class WebChoices { None, LanguageOnly, DateFormatAndLanguage };

// Adds the options of `choices` to `command`: --date-format (0-5) and --language (0-1),
// both 0 by default.
void AddWebChoiceOptions(CLI::App& command, WebChoices choices, int& dateFormatIndex,
                         int& webLanguageIndex);

// Adds a subcommand NAME SERIAL [...] that searches, selects the controller (exit code 1
// when it is not listed) and then runs `run`. Gives the subcommand, for further positional
// arguments after SERIAL.
CLI::App* AddListedControllerCommand(CLI::App& program, int& exitCode, const std::string& name,
                                     const std::string& description, WebChoices webChoices,
                                     ListedControllerRun run);

class ListedController {
public:
    explicit ListedController(const ListedControllerOptions& options);

    // Searches and selects the controller; false, after message 107 on standard error,
    // when it is not listed.
    bool Find();
    // Prints the controller's row as the list shows it now (header line first); false,
    // with a line on standard error, when it is not listed.
    bool PrintRow() const;

    ControllerLink& Link() { return link_; }
    ConsoleDialog& Dialog() { return dialog_; }
    std::uint32_t Serial() const { return serial_; }

private:
    std::uint32_t serial_;
    ControllerLink link_;
    ConsoleDialog dialog_;
};

// The end of a command that searched again: prints the controller's row; 0 when every frame
// got its answer and the controller is still listed, 1 otherwise.
int FinishAfterSearch(const ListedController& controller, const CommandResult& result);

// A line for people on standard output (what a controller did, the page's address), flushed.
void PrintLine(const std::string& line);
// A line on standard error, "lumaro-cli: WHAT".
void PrintProblem(const std::string& what);

}  // namespace lumaro
