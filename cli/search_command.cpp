// lumaro-cli search: the dialog's search, printed as the controller list.

#include <cstdio>
#include <memory>
#include <string>

#include "cli/console_language.h"
#include "cli/output_format.h"
#include "cli/search_report.h"
#include "cli/subcommands.h"
#include "link/controller_link.h"
#include "link/search.h"

namespace lumaro {

void AddSearchCommand(CLI::App& program, int& exitCode) {
    CLI::App* command = program.add_subcommand(
        "search", "Find every controller on the PC's networks and print the list in serial "
                  "order: tsv (the default) as the window's columns, tab-separated, UTF-8; csv "
                  "and json as records of the fields serial, ip, mask, gateway, mac, pcAddress, "
                  "webEnabled, webPort.");
    auto format = std::make_shared<OutputFormat>(OutputFormat::Tsv);
    AddFormatOption(*command, *format);
    command->callback([format, &exitCode] {
        ControllerLink link;
        SearchControllers(link);
        if (*format == OutputFormat::Tsv) {
            const std::string report = SearchReport(link.Table(), MessageLanguage());
            std::fwrite(report.data(), 1, report.size(), stdout);
        } else {
            PrintRecords(SearchRecords(link.Table()), *format);
        }
        exitCode = 0;
    });
}

}  // namespace lumaro
