#include "workflow/record_table.h"

#include <nlohmann/json.hpp>

namespace lumaro {

namespace {

std::string PlainText(const FieldValue& value) {
    if (const auto* flag = std::get_if<bool>(&value)) return *flag ? "true" : "false";
    if (const auto* number = std::get_if<std::uint64_t>(&value)) return std::to_string(*number);
    if (const auto* text = std::get_if<std::string>(&value)) return *text;
    return {};
}

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

template <class Cell>
std::string Line(const std::vector<Cell>& cells, auto cellText, char separator,
                 const char* lineEnd) {
    std::string line;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) line += separator;
        line += cellText(cells[i]);
    }
    return line + lineEnd;
}

std::string TsvField(const std::string& text) {
    std::string field = text;
    for (char& c : field) {
        if (c == '\t' || c == '\r' || c == '\n') c = ' ';
    }
    return field;
}

// A heading line of the field names, then one line per record.
std::string Delimited(const RecordTable& table, std::string (*fieldText)(const std::string&),
                      char separator, const char* lineEnd) {
    std::string out = Line(table.fields, fieldText, separator, lineEnd);
    for (const auto& row : table.rows) {
        out += Line(row, [&](const FieldValue& value) { return fieldText(PlainText(value)); },
                    separator, lineEnd);
    }
    return out;
}

}  // namespace

std::string FormatTsv(const RecordTable& table) {
    return Delimited(table, TsvField, '\t', "\n");
}

std::string FormatCsv(const RecordTable& table) {
    return Delimited(table, CsvField, ',', "\r\n");
}

std::string FormatJson(const RecordTable& table) {
    nlohmann::ordered_json array = nlohmann::ordered_json::array();
    for (const auto& row : table.rows) {
        nlohmann::ordered_json object = nlohmann::ordered_json::object();
        for (std::size_t i = 0; i < table.fields.size() && i < row.size(); ++i) {
            std::visit(
                [&](const auto& value) {
                    if constexpr (std::is_same_v<std::decay_t<decltype(value)>, std::monostate>) {
                        object[table.fields[i]] = nullptr;
                    } else {
                        object[table.fields[i]] = value;
                    }
                },
                row[i]);
        }
        array.push_back(std::move(object));
    }
    // Text that is not UTF-8 is replaced rather than refused: the output is always written.
    return array.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace) + "\n";
}

}  // namespace lumaro
