#include "cli/output_format.h"

#include <cstdio>
#include <string>

#include "platform/shell/standard_streams.h"

namespace lumaro {

void AddFormatOption(CLI::App& command, OutputFormat& format) {
    command
        .add_option_function<std::string>(
            "--format",
            [&format](const std::string& name) {
                format = name == "csv" ? OutputFormat::Csv
                         : name == "json" ? OutputFormat::Json
                                          : OutputFormat::Tsv;
            },
            "tsv: tab-separated lines (the default), csv: RFC 4180 with a header row, json: one "
            "array of objects")
        ->transform(CLI::IsMember({"tsv", "csv", "json"}, CLI::ignore_case).description(""))
        ->type_name("tsv|csv|json");
}

void PrintRecords(const RecordTable& table, OutputFormat format) {
    if (format == OutputFormat::Csv) {
        platform::WriteStandardOutputExactly(FormatCsv(table));
        return;
    }
    const std::string text = format == OutputFormat::Json ? FormatJson(table) : FormatTsv(table);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
}

void PrintToStandardError(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace lumaro
