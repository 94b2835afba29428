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
#include "platform/shell/standard_streams.h"

namespace lumaro {

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

}  // namespace

void AddSearchCommand(CLI::App& program, int& exitCode) {
    CLI::App* command = program.add_subcommand(
        "search", "Find every controller on the PC's networks and print the list in serial "
                  "order: tsv (the default) as the window's columns, tab-separated, UTF-8; csv "
                  "and json as records of the fields serial, ip, mask, gateway, mac, pcAddress, "
                  "webEnabled, webPort.");
    auto format = std::make_shared<OutputFormat>(OutputFormat::Tsv);
    AddFormatOption(*command, *format);
    auto bom = std::make_shared<bool>(false);
    command->add_flag("--bom", *bom,
                      "with --format csv: start with the UTF-8 byte-order mark, so that a "
                      "spreadsheet opened by double-click reads the file as UTF-8");
    command->callback([format, bom, &exitCode] {
        if (*bom && *format != OutputFormat::Csv) {
            throw CLI::ValidationError("--bom", "--bom goes with --format csv");
        }
        ControllerLink link;
        SearchControllers(link);
        if (*format == OutputFormat::Tsv) {
            const std::string report = SearchReport(link.Table(), MessageLanguage());
            std::fwrite(report.data(), 1, report.size(), stdout);
        } else if (*bom) {
            platform::WriteStandardOutputExactly(std::string(kUtf8ByteOrderMark) +
                                                 FormatCsv(SearchRecords(link.Table())));
        } else {
            PrintRecords(SearchRecords(link.Table()), *format);
        }
        exitCode = 0;
    });
}

}  // namespace lumaro
