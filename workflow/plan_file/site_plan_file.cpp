#include "workflow/plan_file/site_plan_file.h"

#include <algorithm>
#include <array>
#include <map>
#include <utility>

#include "link/controller_text.h"
#include "workflow/plan_file/delimited_text.h"

namespace lumaro {

namespace {

std::size_t Index(PlanField field) { return static_cast<std::size_t>(field); }

// The names under which a field's column is known, compared without regard to ASCII case:
// the search's CSV and JSON names, and the headings of its tab-separated list.
struct FieldNames {
    PlanField field;
    std::array<const char*, 3> names;
};
constexpr std::array<FieldNames, 5> kKnownNames{{
    {PlanField::Serial, {"serial", "控制器SN", nullptr}},
    {PlanField::Ip, {"ip", nullptr, nullptr}},
    {PlanField::Mask, {"mask", "掩码", nullptr}},
    {PlanField::Gateway, {"gateway", "网关", nullptr}},
    {PlanField::Web, {"web", "webEnabled", nullptr}},
}};

constexpr std::array<const char*, 3> kWebOn = {"on", "true", "启用"};
constexpr std::array<const char*, 3> kWebOff = {"off", "false", "未启用"};

constexpr std::uint64_t kLargestSerial = 0xFFFFFFFFu;

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [&](char x, char y) { return lower(x) == lower(y); });
}

std::string_view Trimmed(std::string_view text) {
    const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<PlanField> KnownField(std::string_view name) {
    for (const FieldNames& known : kKnownNames) {
        for (const char* candidate : known.names) {
            if (candidate != nullptr && SameIgnoringCase(name, candidate)) return known.field;
        }
    }
    return std::nullopt;
}

// A cell's text for a message: quoted, and cut when long.
std::string Quoted(std::string_view text) {
    constexpr std::size_t kShown = 40;
    std::string quoted = "'";
    if (text.size() <= kShown) return quoted.append(text) + "'";
    std::size_t cut = kShown;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) --cut;  // whole characters
    return quoted.append(text.substr(0, cut)) + "...'";
}

bool LooksLikeScientificNotation(std::string_view text) {
    const std::size_t e = text.find_first_of("eE");
    if (e == std::string_view::npos || e == 0 || e + 1 >= text.size()) return false;
    return std::all_of(text.begin(), text.end(), [](char c) {
        return (c >= '0' && c <= '9') || c == '.' || c == ',' || c == 'e' || c == 'E' || c == '+';
    });
}

// The reading of one file: its header's columns and the problems found so far.
class PlanReader {
public:
    SitePlanReading Read(std::string_view bytes) {
        if (bytes.size() > kMaxPlanFileBytes) {
            return FileProblem("the file is larger than " + std::to_string(kMaxPlanFileBytes) +
                               " bytes: it is not a plan of at most " +
                               std::to_string(kMaxPlanRows) + " rows");
        }
        const DecodedText text = DecodeText(bytes);
        if (!text.Decoded()) {
            AddProblem({text.problemRow, std::nullopt, {}}, text.problem);
            return Finish();
        }
        reading_.plan.encoding = text.encoding;
        if (Trimmed(text.utf8).empty()) return FileProblem("the file is empty: a plan needs a header row and a row per controller");

        const DelimitedLimits limits{.maxRecords = kMaxPlanRows + 1,
                                     .maxRecordBytes = kMaxPlanRowBytes,
                                     .maxCells = kMaxPlanColumns};
        DelimitedText records = ReadDelimitedText(text.utf8, limits);
        reading_.plan.separator = records.separator;
        if (records.tooManyRecords) {
            return FileProblem("the plan holds more than " + std::to_string(kMaxPlanRows) +
                               " rows under its header (a search lists at most 256 "
                               "controllers): split it into plans of a site each");
        }
        if (!records.Read()) {
            AddProblem({records.problemRow, records.problemColumn, {}}, records.problem);
            return Finish();
        }
        if (records.records.empty()) return FileProblem("the file is empty: a plan needs a header row and a row per controller");

        if (!ReadHeader(records.records.front())) return Finish();
        for (std::size_t i = 1; i < records.records.size(); ++i) ReadRow(records.records[i]);
        DropUnnamedBlankColumns();
        if (reading_.plan.rows.empty() && reading_.problems.empty()) {
            AddProblem({}, "the plan has no rows under its header");
        }
        FindRepeats();
        return Finish();
    }

private:
    SitePlanReading FileProblem(std::string message) {
        AddProblem({}, std::move(message));
        return Finish();
    }

    SitePlanReading Finish() { return std::move(reading_); }

    void AddProblem(PlanCell where, std::string message) {
        if (reading_.problems.size() >= kMaxPlanProblemsShown) {
            ++reading_.problemsNotShown;
            return;
        }
        reading_.problems.push_back({std::move(where), std::move(message)});
    }

    PlanCell Cell(std::size_t row, std::size_t column) const {
        return {row, column, reading_.plan.header[column]};
    }

    bool ReadHeader(const DelimitedRecord& header) {
        SitePlan& plan = reading_.plan;
        for (std::size_t column = 0; column < header.cells.size(); ++column) {
            plan.header.emplace_back(Trimmed(header.cells[column]));
        }
        for (std::size_t column = 0; column < plan.header.size(); ++column) {
            const std::optional<PlanField> field = KnownField(plan.header[column]);
            if (!field) {
                carriedPositions_.push_back(column);
                continue;
            }
            std::optional<std::size_t>& at = plan.columnOf[Index(*field)];
            if (at) {
                AddProblem(Cell(header.row, column),
                           "the column of '" + std::string(PlanFieldName(*field)) +
                               "' is there already, as column " + ColumnLetters(*at) + " (" +
                               plan.header[*at] + ")");
                continue;
            }
            at = column;
        }
        if (!plan.columnOf[Index(PlanField::Serial)]) {
            AddProblem({header.row, std::nullopt, {}},
                       "no column 'serial': the header row must name the column of the "
                       "controllers' serial numbers 'serial', as the search writes it");
        }
        return reading_.problems.empty();
    }

    void ReadRow(const DelimitedRecord& record) {
        const bool blank = std::all_of(record.cells.begin(), record.cells.end(),
                                       [](const std::string& cell) { return Trimmed(cell).empty(); });
        if (blank) return;  // a spreadsheet's empty row
        const std::size_t columns = reading_.plan.header.size();
        if (record.cells.size() != columns) {
            AddProblem({record.row, std::nullopt, {}},
                       "the row has " + std::to_string(record.cells.size()) + " cells, its header " +
                           std::to_string(columns) +
                           (record.cells.size() > columns
                                ? " (a separator inside a cell that is not in double quotes?)"
                                : ""));
            return;
        }
        SitePlanRow row;
        row.fileRow = record.row;
        bool good = true;
        const auto cellOf = [&](PlanField field) -> std::optional<std::size_t> {
            return reading_.plan.columnOf[Index(field)];
        };
        const std::size_t serialColumn = *cellOf(PlanField::Serial);
        good &= ReadSerial(record, serialColumn, row.serial);
        good &= ReadAddress(record, cellOf(PlanField::Ip), row.ip);
        good &= ReadAddress(record, cellOf(PlanField::Mask), row.mask);
        good &= ReadAddress(record, cellOf(PlanField::Gateway), row.gateway);
        good &= ReadWeb(record, cellOf(PlanField::Web), row.web);
        for (std::size_t column : carriedPositions_) row.carried.push_back(record.cells[column]);
        if (good) reading_.plan.rows.push_back(std::move(row));
    }

    bool ReadSerial(const DelimitedRecord& record, std::size_t column, std::uint32_t& serial) {
        const std::string_view text = Trimmed(record.cells[column]);
        if (text.empty()) {
            AddProblem(Cell(record.row, column), "no serial number (every row needs one)");
            return false;
        }
        bool number = true;
        std::uint64_t value = 0;
        for (char c : text) {
            number = number && c >= '0' && c <= '9';
            if (number) value = std::min(value * 10 + static_cast<std::uint64_t>(c - '0'), kLargestSerial + 1);
        }
        if (number && value <= kLargestSerial) {
            serial = static_cast<std::uint32_t>(value);
            return true;
        }
        std::string message = Quoted(text) + " is not a serial number (a whole number from 0 to " +
                              std::to_string(kLargestSerial) + ")";
        if (LooksLikeScientificNotation(text)) {
            message += ": the spreadsheet wrote it in scientific notation; format the column as "
                       "text, or as a number without decimals, and save again";
        }
        AddProblem(Cell(record.row, column), message);
        return false;
    }

    bool ReadAddress(const DelimitedRecord& record, std::optional<std::size_t> column,
                     std::optional<Ipv4Address>& address) {
        if (!column) return true;
        const std::string_view text = Trimmed(record.cells[*column]);
        if (text.empty()) return true;
        address = ParseAddress(text);
        if (address) return true;
        AddProblem(Cell(record.row, *column),
                   Quoted(text) + " is not an IPv4 address such as 10.0.1.50");
        return false;
    }

    bool ReadWeb(const DelimitedRecord& record, std::optional<std::size_t> column,
                 std::optional<bool>& web) {
        if (!column) return true;
        const std::string_view text = Trimmed(record.cells[*column]);
        if (text.empty()) return true;
        const auto among = [&](const auto& words) {
            return std::any_of(words.begin(), words.end(),
                               [&](const char* word) { return SameIgnoringCase(text, word); });
        };
        if (among(kWebOn)) web = true;
        if (among(kWebOff)) web = false;
        if (web) return true;
        AddProblem(Cell(record.row, *column),
                   Quoted(text) + " is neither on nor off (on, off, true or false; blank: leave "
                                  "as it is)");
        return false;
    }

    // A column without a name and without a value in any row (a spreadsheet's trailing
    // separator) is not carried; one with values is carried under its letters.
    void DropUnnamedBlankColumns() {
        SitePlan& plan = reading_.plan;
        for (std::size_t i = 0; i < carriedPositions_.size(); ++i) {
            const std::size_t column = carriedPositions_[i];
            std::string name = plan.header[column];
            const bool anyValue = std::any_of(plan.rows.begin(), plan.rows.end(), [&](const SitePlanRow& row) {
                return !Trimmed(row.carried[i]).empty();
            });
            if (name.empty() && !anyValue) continue;
            if (name.empty()) name = "column " + ColumnLetters(column);
            plan.carriedColumns.push_back(name);
            keptCarried_.push_back(i);
        }
        for (SitePlanRow& row : plan.rows) {
            std::vector<std::string> kept;
            for (std::size_t i : keptCarried_) kept.push_back(std::move(row.carried[i]));
            row.carried = std::move(kept);
        }
    }

    void FindRepeats() {
        const SitePlan& plan = reading_.plan;
        std::map<std::uint32_t, const SitePlanRow*> serials;
        std::map<Ipv4Address, const SitePlanRow*> addresses;
        for (const SitePlanRow& row : plan.rows) {
            const auto [serialAt, newSerial] = serials.try_emplace(row.serial, &row);
            if (!newSerial) {
                AddProblem(plan.CellOf(row, PlanField::Serial),
                           FormatSerial(row.serial) + " is on row " +
                               std::to_string(serialAt->second->fileRow) +
                               " already: one row per controller");
            }
            if (!row.ip) continue;
            const auto [addressAt, newAddress] = addresses.try_emplace(*row.ip, &row);
            if (!newAddress) {
                AddProblem(plan.CellOf(row, PlanField::Ip),
                           FormatAddress(*row.ip) + " is planned for controller " +
                               FormatSerial(addressAt->second->serial) + " on row " +
                               std::to_string(addressAt->second->fileRow) +
                               " already: two controllers cannot share one address");
            }
        }
    }

    SitePlanReading reading_;
    std::vector<std::size_t> carriedPositions_;  // header columns that are not known fields
    std::vector<std::size_t> keptCarried_;       // of those, the ones carried
};

}  // namespace

const char* PlanFieldName(PlanField field) {
    switch (field) {
        case PlanField::Serial: return "serial";
        case PlanField::Ip: return "ip";
        case PlanField::Mask: return "mask";
        case PlanField::Gateway: return "gateway";
        case PlanField::Web: return "web";
    }
    return "";
}

std::string PlanCell::Describe() const {
    if (row == 0) return "the file";
    std::string text = "row " + std::to_string(row);
    if (column) {
        text += ", column " + ColumnLetters(*column);
        if (!columnName.empty()) text += " (" + columnName + ")";
    } else if (!columnName.empty()) {
        text += ", column " + columnName + " (not in the file)";
    }
    return text;
}

std::string PlanProblem::Describe() const { return where.Describe() + ": " + message; }

PlanCell SitePlan::CellOf(const SitePlanRow& row, PlanField field) const {
    const std::optional<std::size_t> column = columnOf[Index(field)];
    if (!column) return {row.fileRow, std::nullopt, PlanFieldName(field)};
    return {row.fileRow, column, header[*column]};
}

SitePlanReading ReadSitePlan(std::string_view bytes) { return PlanReader().Read(bytes); }

}  // namespace lumaro
