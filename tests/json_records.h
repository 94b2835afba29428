#pragma once
// The console's JSON output as the tests read it: one array of records, by serial.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdint>
#include <map>
#include <string>

namespace lumaro::testing {

// The records of a JSON array by their "serial"; a text that is not an array fails the test
// and gives none.
inline std::map<std::uint32_t, nlohmann::json> RecordsBySerial(const std::string& text) {
    std::map<std::uint32_t, nlohmann::json> records;
    const nlohmann::json array = nlohmann::json::parse(text, nullptr, false);
    EXPECT_TRUE(array.is_array()) << text;
    if (!array.is_array()) return records;
    for (const nlohmann::json& record : array) {
        records[record.at("serial").get<std::uint32_t>()] = record;
    }
    return records;
}

}  // namespace lumaro::testing
