#pragma once
// A table of records with named fields, written as tab-separated text, CSV (RFC 4180) or
// JSON, for people and for scripts alike.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace lumaro {

// A field's value: nothing (an empty cell, null in JSON), a boolean, an unsigned number or
// text (UTF-8).
using FieldValue = std::variant<std::monostate, bool, std::uint64_t, std::string>;

// The text, or nothing where it is empty.
inline FieldValue TextOrNothing(const std::string& text) {
    return text.empty() ? FieldValue{} : FieldValue{text};
}

struct RecordTable {
    std::vector<std::string> fields;              // names, in order
    std::vector<std::vector<FieldValue>> rows;    // one value per field
};

// A heading line of the field names, then one line per record, values separated by tabs
// (a tab or line end inside a value becomes a space); booleans as true/false.
std::string FormatTsv(const RecordTable& table);
// RFC 4180: a header row of the field names, then one row per record, every line ended by
// CR LF; a value holding a comma, a double quote, CR or LF is quoted, its quotes doubled.
std::string FormatCsv(const RecordTable& table);
// One array of objects, the fields in order: numbers and booleans as such, nothing as null.
std::string FormatJson(const RecordTable& table);

}  // namespace lumaro
