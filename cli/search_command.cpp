// lumaro-cli search: the dialog's search, printed as the controller list.

#include <cstdio>
#include <string>

#include "cli/search_report.h"
#include "cli/subcommands.h"
#include "link/controller_link.h"
#include "link/search.h"

namespace lumaro {

void AddSearchCommand(CLI::App& program, int& exitCode) {
    CLI::App* command = program.add_subcommand(
        "search", "Find every controller on the PC's networks and print the list "
                  "(tab-separated, UTF-8, one controller a line, in serial order).");
    command->callback([&exitCode] {
        ControllerLink link;
        SearchControllers(link);
        const std::string report = SearchReport(link.Table());
        std::fwrite(report.data(), 1, report.size(), stdout);
        exitCode = 0;
    });
}

}  // namespace lumaro
