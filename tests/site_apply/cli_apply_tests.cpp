// lumaro-cli apply on the test LAN: the round trip (search to CSV, edit, apply, search equals
// the plan) with its record in both formats and a second apply that writes nothing, natively
// and as lumaro-cli.exe under Wine with a plan named in Chinese; every refusal naming its row
// and column with nothing written; the files spreadsheets save; a serial not listed.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "link/controller_text.h"
#include "tests/console_program.h"
#include "tests/frame_names.h"
#include "tests/image_watch.h"
#include "tests/json_records.h"
#include "tests/lan_fixture.h"
#include "tests/neighbour_hosts.h"

namespace lumaro {
namespace {

using nlohmann::json;
using testing::Controller;
using testing::ProgramResult;
using testing::RunProgramSeparately;
using testing::StartSimulator;

const Ipv4Address kFactoryAddress = MakeIpv4(192, 168, 1, 100);
constexpr std::uint32_t kFresh1 = 3000000001u, kFresh2 = 3000000002u;
constexpr std::uint32_t kSetUp = 223000101u;

Ipv4Address Host(int octet) { return MakeIpv4(10, 0, 1, static_cast<std::uint8_t>(octet)); }

// A folder of its own for the files of one test, removed afterwards.
class Folder {
public:
    Folder() {
        char pattern[] = "/tmp/lumaro-apply.XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~Folder() { std::filesystem::remove_all(path_); }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> Split(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (std::size_t at = text.find(separator); at != std::string::npos; at = text.find(separator, start)) {
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

// The search's CSV (no cell of it is quoted; line ends as LF) as rows of cells by serial,
// the header under 0.
std::map<std::uint32_t, std::vector<std::string>> SearchRows(std::string csv) {
    if (csv.starts_with("\xEF\xBB\xBF")) csv.erase(0, 3);
    std::map<std::uint32_t, std::vector<std::string>> rows;
    for (const std::string& line : Split(csv, "\n")) {
        if (line.empty()) continue;
        const std::vector<std::string> cells = Split(line, ",");
        rows[cells[0] == "serial" ? 0 : static_cast<std::uint32_t>(std::stoul(cells[0]))] = cells;
    }
    return rows;
}

class ConsoleApply : public testing::ConsoleTest {
protected:
    ProgramResult Cli(const std::string& arguments) const {
        // A UTF-8 locale, so that Wine hands the Windows program its Chinese file names.
        return RunProgramSeparately("LC_ALL=C.UTF-8 " + GetParam().command + " " + arguments +
                                    " </dev/null");
    }
};

INSTANTIATE_TEST_SUITE_P(NativeAndWindows, ConsoleApply, testing::BothConsoles(), testing::ConsoleName);

// The search's CSV edited as an integrator would: the fresh controllers given addresses, a
// gateway and a location in Chinese, one's web server off; the one set up left as it is.
TEST_P(ConsoleApply, TheRoundTripEndsWithTheSearchEqualToThePlanAndASecondApplyWritesNothing) {
    auto webOff = Controller(kFresh2, kFactoryAddress);
    webOff.webPort = 0;
    auto lan = StartSimulator({Controller(kFresh1, kFactoryAddress), webOff, Controller(kSetUp, Host(50))});
    ASSERT_TRUE(lan);
    const Folder folder;

    const ProgramResult search = Cli("search --format csv --bom");
    ASSERT_EQ(search.exitCode, 0) << search.errors;
    ASSERT_TRUE(search.output.starts_with("\xEF\xBB\xBF" "serial,ip,mask,gateway,mac,pcAddress,webEnabled,webPort\n"))
        << search.output;
    std::map<std::uint32_t, std::vector<std::string>> rows = SearchRows(search.output);
    ASSERT_EQ(rows.size(), 4u) << search.output;
    std::string plan = "\xEF\xBB\xBF" "serial,ip,mask,gateway,mac,pcAddress,webEnabled,webPort,location\r\n";
    const std::map<std::uint32_t, std::vector<std::string>> edits = {
        {kFresh1, {"10.0.1.11", "255.255.255.0", "10.0.1.254", "true", "\"北门, 3F\""}},
        {kFresh2, {"10.0.1.12", "255.255.255.0", "10.0.1.254", "false", "机房"}},
        {kSetUp, {"10.0.1.50", "255.255.255.0", "10.0.1.254", "true", "大厅"}},
    };
    for (const auto& [serial, edit] : edits) {
        std::vector<std::string> cells = rows.at(serial);
        cells[1] = edit[0], cells[2] = edit[1], cells[3] = edit[2], cells[6] = edit[3];
        cells.push_back(edit[4]);
        for (std::size_t i = 0; i < cells.size(); ++i) plan += (i ? "," : "") + cells[i];
        plan += "\r\n";
    }
    const std::string planFile = folder / "现场计划.csv";
    WriteFile(planFile, plan);

    const ProgramResult applied =
        Cli("apply '" + planFile + "' --yes --format json --record '" + (folder / "记录.csv") + "'");
    EXPECT_EQ(applied.exitCode, 0) << applied.errors;
    const auto summary = testing::RecordsBySerial(applied.output);
    ASSERT_EQ(summary.size(), 3u) << applied.output << applied.errors;
    EXPECT_EQ(summary.at(kFresh1).at("verdict"), "changed");
    EXPECT_EQ(summary.at(kFresh2).at("verdict"), "changed");
    EXPECT_EQ(summary.at(kSetUp).at("verdict"), "as planned");

    const auto after = SearchRows(Cli("search --format csv").output);
    for (const auto& [serial, edit] : edits) {
        SCOPED_TRACE(serial);
        ASSERT_TRUE(after.contains(serial));
        const std::vector<std::string>& listed = after.at(serial);
        EXPECT_EQ((std::vector<std::string>{listed[1], listed[2], listed[3], listed[6]}),
                  (std::vector<std::string>{edit[0], edit[1], edit[2], edit[3]}));
    }

    const std::string record = ReadFile(folder / "记录.csv");
    EXPECT_TRUE(record.starts_with("\xEF\xBB\xBF" "Lumaro commissioning record\r\n")) << record;
    EXPECT_NE(record.find("\r\nplan," + planFile + "\r\n"), std::string::npos) << record;
    EXPECT_NE(record.find(",\"北门, 3F\",192.168.1.100,255.255.255.0,192.168.1.254,"), std::string::npos) << record;
    EXPECT_NE(record.find(",10.0.1.12,255.255.255.0,10.0.1.254,02-4C-B2-D0-5E-02,off,changed,"), std::string::npos)
        << record;
    EXPECT_EQ(record.find('\n'), record.find("\r\n") + 1) << "CR LF";

    // The same plan again: nothing written, every row as planned.
    const testing::ImageWatch watch(*lan);
    lan->WaitUntilIdle();
    lan->ClearLog();
    const ProgramResult again = Cli("apply '" + planFile + "' --yes --record '" + (folder / "记录.json") + "'");
    EXPECT_EQ(again.exitCode, 0) << again.errors;
    const json second = json::parse(ReadFile(folder / "记录.json"), nullptr, false);
    ASSERT_TRUE(second.is_object()) << again.errors;
    EXPECT_EQ(second.at("plan"), planFile);
    ASSERT_EQ(second.at("controllers").size(), 3u);
    for (const json& controller : second.at("controllers")) {
        EXPECT_EQ(controller.at("verdict"), "as planned") << controller.dump();
    }
    EXPECT_EQ(second.at("controllers")[1].at("serial"), kFresh1) << "in the plan's order";
    EXPECT_EQ(second.at("controllers")[1].at("columns").at("location"), "北门, 3F");
    EXPECT_TRUE(watch.NothingChanged());
    lan->WaitUntilIdle();
    EXPECT_EQ(testing::FrameNames(lan->Log()), std::vector<std::string>{}) << "only searches";
}

// Whatever is wrong with a plan, nothing reaches a controller: every case is refused with its
// row and column named, and the controllers' images stay as they were.
TEST(ConsoleApplyNative, EveryRefusalNamesItsRowAndColumnAndNothingIsWritten) {
    auto lan = StartSimulator({Controller(100, Host(10)), Controller(200, Host(20))});
    ASSERT_TRUE(lan);
    const testing::NeighbourHosts stranger({Host(77)});
    ASSERT_TRUE(stranger.Ready());
    const testing::ImageWatch watch(*lan);
    const Folder folder;
    std::string tenThousand = "serial,ip\r\n";
    for (int i = 0; i < 10000; ++i) tenThousand += std::to_string(5000 + i) + ",\r\n";
    const struct {
        std::string plan;
        std::string problem;
    } cases[] = {
        {"ip\r\n10.0.1.11\r\n", "row 1: no column 'serial'"},
        {"serial,ip,mask\r\n100,10.0.1.11\r\n", "row 2: the row has 2 cells, its header 3"},
        {"serial,ip\r\n10O,10.0.1.11\r\n", "row 2, column A (serial): '10O' is not a serial number"},
        {"serial;ip\r\n100;10.0.1.256\r\n", "row 2, column B (ip): '10.0.1.256' is not an IPv4 address"},
        {"serial\tweb\r\n100\tja\r\n", "row 2, column B (web): 'ja' is neither on nor off"},
        {"serial,ip\r\n100,10.0.1.11\r\n100,10.0.1.12\r\n", "row 3, column A (serial): 100 is on row 2 already"},
        {"serial,ip\r\n100,10.0.1.11\r\n200,10.0.1.11\r\n",
         "row 3, column B (ip): 10.0.1.11 is planned for controller 100 on row 2 already"},
        {"serial,ip\r\n", "the file: the plan has no rows under its header"},
        {tenThousand, "the file: the plan holds more than 1000 rows"},
        {"serial,location\r\n100," + std::string(1024 * 1024, 'x') + "\r\n", "row 2: the row is longer than 65536 bytes"},
        {"PK\x03\x04 a workbook", "the file: the file is a workbook (.xlsx)"},
        {std::string(5 * 1024 * 1024, ','), "the file: the file is larger than 4194304 bytes"},
        {"serial,ip\r\n100,10.0.1.20\r\n",
         "row 2, column B (ip): 10.0.1.20 is the address of controller 200, listed there, which the plan "
         "does not name"},
        {"serial,ip,mask\r\n100,10.0.1.255,255.255.255.0\r\n",
         "row 2, column B (ip): 10.0.1.255 under the mask 255.255.255.0 is the broadcast address"},
        {"serial,gateway\r\n100,2.9.4.6\r\n", "row 2, column B (gateway): the gateway 2.9.4.6 of 10.0.1.10"},
        {"serial,ip\r\n100,10.0.1.77\r\n", "row 2, column B (ip): 10.0.1.77 is in use: a device with the MAC"},
    };
    const std::string planFile = folder / "plan.csv";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plan.substr(0, 60));
        WriteFile(planFile, c.plan);
        const ProgramResult result =
            RunProgramSeparately(std::string(LUMARO_CLI_PATH) + " apply " + planFile + " --yes");
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.errors.find("lumaro-cli: " + planFile + ": " + c.problem), std::string::npos)
            << result.errors;
        EXPECT_NE(result.errors.find("the plan is refused: nothing was"), std::string::npos);
    }
    const ProgramResult missing =
        RunProgramSeparately(std::string(LUMARO_CLI_PATH) + " apply " + (folder / "missing.csv") + " --yes");
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.errors.find("cannot read the plan"), std::string::npos) << missing.errors;

    EXPECT_TRUE(watch.NothingChanged());
    lan->WaitUntilIdle();
    EXPECT_EQ(testing::FrameNames(lan->Log()), std::vector<std::string>{}) << "nothing but searches";
}

// The fixtures hold one plan in each form; the LAN is already as they plan it.
TEST(ConsoleApplyNative, PlansSavedInEachEncodingAndSeparatorAreRead) {
    auto webOff = Controller(kFresh2, Host(12));
    webOff.webPort = 0;
    auto atPlan = Controller(kFresh1, Host(11));
    atPlan.gateway = Host(254);
    auto lan = StartSimulator({atPlan, webOff, Controller(kSetUp, Host(50))});
    ASSERT_TRUE(lan);
    for (const char* fixture : {"utf8-bom-comma-crlf.csv", "utf8-semicolon-lf.csv", "gbk-comma-crlf.csv",
                                "utf8-tab-pasted.txt", "utf16le-tab-unicode-text.txt"}) {
        SCOPED_TRACE(fixture);
        const ProgramResult result = RunProgramSeparately(std::string(LUMARO_CLI_PATH) + " apply " +
                                                          LUMARO_SITE_PLANS + "/" + fixture +
                                                          " --dry-run --format json");
        EXPECT_EQ(result.exitCode, 0) << result.errors;
        const auto plan = testing::RecordsBySerial(result.output);
        ASSERT_EQ(plan.size(), 3u) << result.output;
        for (const auto& [serial, row] : plan) EXPECT_EQ(row.at("action"), "as planned") << serial;
        EXPECT_EQ(plan.at(kFresh2).at("web"), "off");
    }
}

// A serial that the search does not list is told in the plan and the summary; the other rows
// go on, and the exit status says not everything is as planned. The dry run and a run without
// a terminal or --yes write nothing first; --sync-time sets the written one's clock.
TEST(ConsoleApplyNative, ASerialNotListedIsReportedAndTheOtherRowsGoOn) {
    auto lan = StartSimulator({Controller(kFresh1, kFactoryAddress), Controller(kSetUp, Host(50))});
    ASSERT_TRUE(lan);
    const Folder folder;
    const std::string planFile = folder / "plan.csv";
    WriteFile(planFile, "serial,ip,mask,gateway\r\n3000000001,10.0.1.11,255.255.255.0,10.0.1.254\r\n"
                        "3999999999,10.0.1.19,255.255.255.0,10.0.1.254\r\n");
    const std::string cli = std::string(LUMARO_CLI_PATH) + " apply " + planFile;

    const ProgramResult dryRun = RunProgramSeparately(cli + " --dry-run --format json");
    EXPECT_EQ(dryRun.exitCode, 1) << "a serial is not listed";
    const auto plan = testing::RecordsBySerial(dryRun.output);
    ASSERT_EQ(plan.size(), 3u) << dryRun.output;
    EXPECT_EQ(plan.at(3999999999u).at("action"), "not listed");
    EXPECT_EQ(plan.at(kFresh1).at("action"), "write");
    EXPECT_EQ(plan.at(kFresh1).at("ip"), "192.168.1.100 -> 10.0.1.11");
    EXPECT_EQ(plan.at(kSetUp).at("action"), "left alone");
    const ProgramResult unasked = RunProgramSeparately(cli + " </dev/null");
    EXPECT_EQ(unasked.exitCode, 2);
    EXPECT_NE(unasked.errors.find("--yes"), std::string::npos) << unasked.errors;
    lan->WaitUntilIdle();
    EXPECT_EQ(testing::FrameNames(lan->Log()), std::vector<std::string>{});

    const ProgramResult applied = RunProgramSeparately(cli + " --yes --sync-time --format json");
    EXPECT_EQ(applied.exitCode, 1) << applied.errors;
    const auto summary = testing::RecordsBySerial(applied.output);
    ASSERT_EQ(summary.size(), 3u) << applied.output;
    EXPECT_EQ(summary.at(3999999999u).at("verdict"), "not listed");
    EXPECT_EQ(summary.at(kFresh1).at("verdict"), "changed");
    EXPECT_EQ(summary.at(kSetUp).at("verdict"), "left alone");
    EXPECT_EQ(lan->Current(kFresh1).ip, Host(11));
    EXPECT_TRUE(lan->LastClockPayload(kFresh1).has_value()) << "--sync-time";
    EXPECT_FALSE(lan->LastClockPayload(kSetUp).has_value()) << "not touched";
    EXPECT_NE(applied.errors.find("controller 3000000001: 192.168.1.100 -> 10.0.1.11, web on, clock set"),
              std::string::npos)
        << applied.errors;
}

}  // namespace
}  // namespace lumaro
