#include "workflow/plan_file/delimited_text.h"

#include <array>
#include <optional>
#include <utility>

namespace lumaro {

namespace {

constexpr std::string_view kSeparatorLine = "sep=";
constexpr std::array<char, 3> kSeparatorsByPreference = {'\t', ';', ','};

bool IsLineEnd(char c) { return c == '\r' || c == '\n'; }

// Moves `at` past one line end (CR LF, LF or CR) at `at`.
void SkipLineEnd(std::string_view text, std::size_t& at) {
    if (text[at] == '\r' && at + 1 < text.size() && text[at + 1] == '\n') ++at;
    ++at;
}

// A fault of the text: what, and where.
struct Fault {
    std::string message;
    std::size_t row = 0;
    std::optional<std::size_t> column;
};

// Reads records one after another from the text, keeping count of the rows.
class RecordReader {
public:
    RecordReader(std::string_view text, char separator, const DelimitedLimits& limits)
        : text_(text), separator_(separator), limits_(limits) {}

    bool AtEnd() const { return at_ >= text_.size(); }
    std::size_t Row() const { return row_; }

    // Skips a blank line at the reading position; false when none stands there.
    bool SkipBlankLine() {
        if (AtEnd() || !IsLineEnd(text_[at_])) return false;
        SkipLineEnd(text_, at_);
        ++row_;
        return true;
    }

    // Reads the record at the reading position; false with `problem` set when it is
    // mis-shaped or too long.
    bool Next(DelimitedRecord& record, Fault& problem) {
        record.row = row_;
        record.cells.clear();
        const std::size_t start = at_;
        for (;;) {
            if (record.cells.size() >= limits_.maxCells) {
                problem = {"the row has more than " + std::to_string(limits_.maxCells) + " cells", row_, {}};
                return false;
            }
            std::string cell;
            if (!ReadCell(cell, start, record.cells.size(), problem)) return false;
            record.cells.push_back(std::move(cell));
            if (AtEnd()) break;
            if (text_[at_] == separator_) {
                ++at_;
                continue;
            }
            SkipLineEnd(text_, at_);  // a cell ends at a separator or a line end
            break;
        }
        ++row_;  // its line breaks inside quotes included: one row of the spreadsheet
        return true;
    }

private:
    bool TooLong(std::size_t recordStart, Fault& problem) const {
        if (at_ - recordStart <= limits_.maxRecordBytes) return false;
        problem = {"the row is longer than " + std::to_string(limits_.maxRecordBytes) + " bytes", row_, {}};
        return true;
    }

    bool ReadCell(std::string& cell, std::size_t recordStart, std::size_t column,
                  Fault& problem) {
        if (!AtEnd() && text_[at_] == '"') return ReadQuotedCell(cell, recordStart, column, problem);
        const std::size_t start = at_;
        while (!AtEnd() && text_[at_] != separator_ && !IsLineEnd(text_[at_])) {
            if (TooLong(recordStart, problem)) return false;
            ++at_;
        }
        cell.assign(text_.substr(start, at_ - start));
        return !TooLong(recordStart, problem);
    }

    bool ReadQuotedCell(std::string& cell, std::size_t recordStart, std::size_t column,
                        Fault& problem) {
        ++at_;  // the opening quote
        for (;;) {
            const std::size_t quote = text_.find('"', at_);
            if (quote == std::string_view::npos) {
                at_ = text_.size();
                if (TooLong(recordStart, problem)) return false;
                problem = {"the quoted cell that starts there is never closed (a double quote is "
                           "missing)",
                           row_, column};
                return false;
            }
            cell.append(text_.substr(at_, quote - at_));
            at_ = quote + 1;
            if (TooLong(recordStart, problem)) return false;
            if (!AtEnd() && text_[at_] == '"') {  // a doubled quote: one in the cell
                cell += '"';
                ++at_;
                continue;
            }
            break;
        }
        if (!AtEnd() && text_[at_] != separator_ && !IsLineEnd(text_[at_])) {
            problem = {"text follows the closing double quote of the cell (a double quote inside a "
                       "quoted cell must be doubled)",
                       row_, column};
            return false;
        }
        return true;
    }

    std::string_view text_;
    char separator_;
    DelimitedLimits limits_;
    std::size_t at_ = 0;
    std::size_t row_ = 1;
};

}  // namespace

std::string ColumnLetters(std::size_t column) {
    std::string letters;
    for (std::size_t n = column + 1; n > 0; n = (n - 1) / 26) {
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    }
    return letters;
}

const char* SeparatorName(char separator) {
    switch (separator) {
        case '\t': return "tab";
        case ';': return "semicolon";
        default: return "comma";
    }
}

char DetectSeparator(std::string_view headerLine) {
    std::array<std::size_t, kSeparatorsByPreference.size()> counts{};
    bool quoted = false;
    for (char c : headerLine) {
        if (c == '"') quoted = !quoted;
        if (quoted) continue;
        if (IsLineEnd(c)) break;
        for (std::size_t k = 0; k < kSeparatorsByPreference.size(); ++k) {
            if (c == kSeparatorsByPreference[k]) ++counts[k];
        }
    }
    std::size_t best = kSeparatorsByPreference.size() - 1;  // the comma
    for (std::size_t k = 0; k < counts.size(); ++k) {
        if (counts[k] > counts[best] || (counts[k] == counts[best] && counts[k] > 0 && k < best)) {
            best = k;
        }
    }
    return kSeparatorsByPreference[best];
}

DelimitedText ReadDelimitedText(std::string_view text, const DelimitedLimits& limits) {
    DelimitedText result;
    std::size_t start = 0;
    std::optional<char> named;
    if (text.starts_with(kSeparatorLine) && text.size() > kSeparatorLine.size()) {
        const char c = text[kSeparatorLine.size()];
        std::size_t end = kSeparatorLine.size() + 1;
        if ((c == ',' || c == ';' || c == '\t') && (end == text.size() || IsLineEnd(text[end]))) {
            named = c;
            start = end;
            if (start < text.size()) SkipLineEnd(text, start);
        }
    }
    const std::string_view body = text.substr(start);
    result.separator = named ? *named : DetectSeparator(body);

    RecordReader reader(body, result.separator, limits);
    while (!reader.AtEnd()) {
        if (reader.SkipBlankLine()) continue;
        if (result.records.size() >= limits.maxRecords) {
            result.problem = "the file holds more than " + std::to_string(limits.maxRecords) +
                             " rows";
            result.tooManyRecords = true;
            return result;
        }
        DelimitedRecord record;
        Fault fault;
        if (!reader.Next(record, fault)) {
            result.problem = std::move(fault.message);
            result.problemRow = fault.row;
            result.problemColumn = fault.column;
            return result;
        }
        result.records.push_back(std::move(record));
    }
    return result;
}

}  // namespace lumaro
