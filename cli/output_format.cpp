#include "cli/output_format.h"

#include <cstdio>
#include <map>
#include <string>

#include "platform/standard_streams.h"

namespace lumaro {

void AddFormatOption(CLI::App& command, OutputFormat& format) {
    const std::map<std::string, OutputFormat> names{
        {"tsv", OutputFormat::Tsv}, {"csv", OutputFormat::Csv}, {"json", OutputFormat::Json}};
    command
        .add_option("--format", format,
                    "tsv: tab-separated lines (the default), csv: RFC 4180 with a header row, "
                    "json: one array of objects")
        ->transform(CLI::CheckedTransformer(names, CLI::ignore_case))
        ->default_str("tsv");
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

}  // namespace lumaro
