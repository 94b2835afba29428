// lumaro-cli search --format csv and --format json on the demo LAN, native and as
// lumaro-cli.exe under Wine: both parse with a standard parser (Python's csv module,
// nlohmann/json) and carry the values of the tab-separated list.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "sim/sim_config.h"
#include "tests/console_program.h"
#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using json = nlohmann::ordered_json;  // keeps the order of the fields as written
using testing::ProgramResult;
using Rows = std::vector<std::vector<std::string>>;

const std::vector<std::string> kFields{"serial",    "ip",         "mask",   "gateway",
                                       "mac",       "pcAddress",  "webEnabled", "webPort"};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    std::string part;
    while (std::getline(stream, part, separator)) parts.push_back(part);
    return parts;
}

// The tab-separated list without its heading line.
Rows TsvRows(const std::string& text) {
    Rows rows;
    for (const std::string& line : Split(text, '\n')) rows.push_back(Split(line, '\t'));
    if (!rows.empty()) rows.erase(rows.begin());
    return rows;
}

// The rows of a CSV text as Python's csv module reads them (strict RFC 4180 quoting).
Rows PythonCsvRows(const std::string& csv) {
    char path[] = "/tmp/lumaro-csv.XXXXXX";
    const int file = mkstemp(path);
    if (file < 0) return {};
    const bool written = write(file, csv.data(), csv.size()) == static_cast<ssize_t>(csv.size());
    close(file);
    EXPECT_TRUE(written);
    const ProgramResult parsed = testing::RunProgram(
        std::string("python3 -c 'import csv, io, json, sys; "
                    "rows = csv.reader(io.open(sys.argv[1], encoding=\"utf-8\", newline=\"\"), "
                    "strict=True); print(json.dumps(list(rows)))' ") +
        path);
    std::remove(path);
    EXPECT_EQ(parsed.exitCode, 0) << parsed.output;
    const json rows = json::parse(parsed.output, nullptr, false);
    if (!rows.is_array()) return {};
    return rows.get<Rows>();
}

class ConsoleFormats : public testing::ConsoleTest {
protected:
    void SetUp() override {
        ConsoleTest::SetUp();
        if (IsSkipped()) return;
        const auto demo = sim::ReadControllerFile(LUMARO_DEMO_LAN);
        ASSERT_TRUE(demo.value) << demo.error;
        lan_ = testing::StartSimulator(*demo.value);
        ASSERT_TRUE(lan_);
        const ProgramResult tsv =
            testing::RunProgram(GetParam().command + " --ui-language zh search");
        ASSERT_EQ(tsv.exitCode, 0);
        tsv_ = TsvRows(tsv.output);
        ASSERT_EQ(tsv_.size(), demo.value->size()) << tsv.output;
    }
    ProgramResult Search(const std::string& arguments) const {
        return testing::RunProgramExactly(GetParam().command + " search " + arguments);
    }

    std::unique_ptr<sim::Simulator> lan_;
    Rows tsv_;
};

INSTANTIATE_TEST_SUITE_P(NativeAndWindows, ConsoleFormats, testing::BothConsoles(),
                         testing::ConsoleName);

TEST_P(ConsoleFormats, CsvHasAHeaderRowAndTheValuesOfTheList) {
    const ProgramResult csv = Search("--format csv");
    EXPECT_EQ(csv.exitCode, 0);
    // Every line ends in CR LF, on Windows too (no second CR from a text-mode stream).
    EXPECT_EQ(csv.output.find("\r\r"), std::string::npos);
    for (std::size_t at = csv.output.find('\n'); at != std::string::npos;
         at = csv.output.find('\n', at + 1)) {
        ASSERT_TRUE(at > 0 && csv.output[at - 1] == '\r') << "a bare LF at byte " << at;
    }

    const Rows rows = PythonCsvRows(csv.output);
    ASSERT_EQ(rows.size(), tsv_.size() + 1);
    EXPECT_EQ(rows[0], kFields);
    for (std::size_t i = 0; i < tsv_.size(); ++i) {
        const auto& list = tsv_[i];
        const auto& row = rows[i + 1];
        ASSERT_EQ(row.size(), kFields.size());
        for (std::size_t column = 0; column < 6; ++column) {
            EXPECT_EQ(row[column], list[column]) << kFields[column] << " of " << list[0];
        }
        EXPECT_EQ(row[6], list[6] == "启用" ? "true" : "false") << list[0];
    }
}

TEST_P(ConsoleFormats, JsonIsOneArrayOfNamedFieldsWithTheValuesOfTheList) {
    const ProgramResult result = Search("--format json");
    EXPECT_EQ(result.exitCode, 0);
    const json array = json::parse(result.output, nullptr, false);
    ASSERT_TRUE(array.is_array()) << result.output;
    ASSERT_EQ(array.size(), tsv_.size());
    for (std::size_t i = 0; i < tsv_.size(); ++i) {
        const auto& list = tsv_[i];
        const json& record = array[i];
        std::vector<std::string> names;
        for (const auto& [name, value] : record.items()) names.push_back(name);
        EXPECT_EQ(names, kFields) << "names and order";
        ASSERT_TRUE(record.at("serial").is_number_unsigned());
        EXPECT_EQ(std::to_string(record.at("serial").get<std::uint64_t>()), list[0]);
        for (std::size_t column = 1; column < 6; ++column) {
            EXPECT_EQ(record.at(kFields[column]), list[column])
                << kFields[column] << " of " << list[0];
        }
        EXPECT_EQ(record.at("webEnabled"), list[6] == "启用") << list[0];
        EXPECT_TRUE(record.at("webPort").is_number_unsigned());
    }
    // The serial above 2^31 and the web ports of the demo LAN, as numbers.
    const auto bySerial = [&](std::uint64_t serial) {
        for (const json& record : array) {
            if (record.at("serial") == serial) return record;
        }
        return json{};
    };
    EXPECT_EQ(bySerial(2147483650u).at("webPort"), 8080);
    EXPECT_EQ(bySerial(223000102u).at("webPort"), 0);
    EXPECT_EQ(bySerial(223000102u).at("webEnabled"), false);
}

TEST_P(ConsoleFormats, AnUnknownFormatIsAUsageError) {
    EXPECT_EQ(Search("--format xml 2>/dev/null").exitCode, 2);
}

}  // namespace
}  // namespace lumaro
