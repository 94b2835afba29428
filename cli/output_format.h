#pragma once
// The --format option of the commands that print a table, and the printing itself.

#include <CLI/CLI.hpp>

#include <string>

#include "workflow/record_table.h"

namespace lumaro {

enum class OutputFormat { Tsv, Csv, Json };

// Adds --format tsv|csv|json (tsv by default) to `command`.
void AddFormatOption(CLI::App& command, OutputFormat& format);

// Writes `table` to standard output in `format`. CSV keeps its CR LF line ends on every
// system; TSV and JSON lines end as the system's text lines do (LF, CR LF on Windows).
void PrintRecords(const RecordTable& table, OutputFormat format);

// Writes `text` to standard error at once: what the person reads (plans, questions,
// progress), apart from the table that scripts take from standard output.
void PrintToStandardError(const std::string& text);

}  // namespace lumaro
