#pragma once
// A site's address plan as a spreadsheet saves it: a header row of column names, then one
// row per controller. The columns are read by name, in any order (the names of
// `lumaro-cli search --format csv`): `serial` is required; `ip`, `mask`, `gateway` and `web`
// (on/off, or the true/false that the search writes under `webEnabled`) are the planned
// values, a blank cell or a missing column meaning "leave as it is"; every other column
// (a location, notes, what the search wrote besides) is carried along untouched.
//
// The reader gives rows of typed values, or problems that each name the row and the column
// as the spreadsheet shows them; nothing else ever sees the file's text.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/net/ipv4_address.h"
#include "workflow/plan_file/text_decoding.h"

namespace lumaro {

// What a plan may hold, at most: more is refused (a search lists at most 256 controllers).
constexpr std::size_t kMaxPlanFileBytes = 4 * 1024 * 1024;
constexpr std::size_t kMaxPlanRows = 1000;           // rows under the header
constexpr std::size_t kMaxPlanRowBytes = 64 * 1024;  // one row's text
constexpr std::size_t kMaxPlanColumns = 256;
// Problems reported at most; the rest are counted.
constexpr std::size_t kMaxPlanProblemsShown = 20;

// The columns that the reader knows.
enum class PlanField { Serial, Ip, Mask, Gateway, Web };

// The name of a field's column as the search writes it ("serial", "ip", ..., "web").
const char* PlanFieldName(PlanField field);

// A place in the file, as the spreadsheet shows it.
struct PlanCell {
    std::size_t row = 0;                // 1-based; 0: the file as a whole
    std::optional<std::size_t> column;  // 0-based; nothing: the row as a whole
    std::string columnName;             // the header's name of that column, if any
    // "row 4, column C (ip)", "row 4", "the file"; a field's missing column reads
    // "row 4, column ip (not in the file)".
    std::string Describe() const;
};

struct PlanProblem {
    PlanCell where;
    std::string message;  // what is wrong, quoting the cell
    // "row 4, column C (ip): '10.0.1' is not an IPv4 address such as 10.0.1.50"
    std::string Describe() const;
};

struct SitePlanRow {
    std::size_t fileRow = 0;  // as the spreadsheet shows it (the header is row 1)
    std::uint32_t serial = 0;
    std::optional<Ipv4Address> ip, mask, gateway;  // nothing: leave as it is
    std::optional<bool> web;                       // true: on
    std::vector<std::string> carried;  // one per SitePlan::carriedColumns, untouched
};

struct SitePlan {
    TextEncoding encoding = TextEncoding::Utf8;
    char separator = ',';
    std::vector<std::string> carriedColumns;  // names, in the file's order
    std::vector<SitePlanRow> rows;            // in the file's order
    // Where each known field's column stands (0-based), if the file has it.
    std::optional<std::size_t> columnOf[5];
    std::vector<std::string> header;  // every column's name as written (trimmed)

    // The cell of `field` on the row of plan row `row` (even when the file lacks its column).
    PlanCell CellOf(const SitePlanRow& row, PlanField field) const;
};

struct SitePlanReading {
    SitePlan plan;
    std::vector<PlanProblem> problems;  // empty: the plan was read
    std::size_t problemsNotShown = 0;   // beyond kMaxPlanProblemsShown
    bool Read() const { return problems.empty(); }
};

// Reads a plan from a file's bytes (any of the encodings of text_decoding.h, any of the
// separators of delimited_text.h). Refused with problems: text that cannot be read, a row
// with more or fewer cells than the header, no `serial` column, a known column twice, a
// serial that is not a 32-bit unsigned number, an address that is not dotted IPv4, a web
// value that is neither on nor off, no rows, one serial on two rows, one address planned
// for two controllers, and anything beyond the limits above.
SitePlanReading ReadSitePlan(std::string_view bytes);

}  // namespace lumaro
