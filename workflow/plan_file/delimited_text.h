#pragma once
// Delimited text as spreadsheets write it: records of cells separated by commas, semicolons
// or tabs (the separator decided from the header line), ended by CR LF, LF or CR alone; a
// cell in double quotes may hold the separator, line ends and doubled quotes. Rows are
// numbered as the spreadsheet numbers them: a record whose cells span several lines is one
// row, a blank line is a row too.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lumaro {

struct DelimitedRecord {
    std::size_t row = 0;             // 1-based, as the spreadsheet shows it
    std::vector<std::string> cells;  // as written, quotes removed
};

struct DelimitedLimits {
    std::size_t maxRecords = 0;      // records kept (blank lines are not kept)
    std::size_t maxRecordBytes = 0;  // the text of one record, line ends included
    std::size_t maxCells = 0;        // cells in one record
};

struct DelimitedText {
    char separator = ',';
    std::vector<DelimitedRecord> records;  // blank lines left out
    // Empty when the text was read; else the first fault, for people, with its row and column
    // (nothing: the row as a whole; a row of 0: the file as a whole).
    std::string problem;
    std::size_t problemRow = 0;
    std::optional<std::size_t> problemColumn;
    bool tooManyRecords = false;  // the fault is that there are more than maxRecords
    bool Read() const { return problem.empty(); }
};

// Reads `text` (UTF-8). A first line "sep=X", as some spreadsheets write, names the separator
// and is not a row.
DelimitedText ReadDelimitedText(std::string_view text, const DelimitedLimits& limits);

// The separator of a header line: whichever of tab, semicolon and comma occurs most often
// outside quotes (a tie goes to them in that order); a comma when none does.
char DetectSeparator(std::string_view headerLine);

// A column's letters as a spreadsheet shows them: 0 is A, 25 Z, 26 AA.
std::string ColumnLetters(std::size_t column);

// "comma", "semicolon", "tab".
const char* SeparatorName(char separator);

}  // namespace lumaro
