// The reader of site plans: the same plan in every encoding, separator and line end that a
// spreadsheet saves, and every mis-shaped file refused with its row and column.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "link/controller_text.h"
#include "workflow/plan_file/site_plan_file.h"

namespace lumaro {
namespace {

std::string Fixture(const std::string& name) {
    std::ifstream in(std::string(LUMARO_SITE_PLANS) + "/" + name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string Problems(const SitePlanReading& reading) {
    std::string text;
    for (const PlanProblem& problem : reading.problems) text += problem.Describe() + "\n";
    return text;
}

TEST(SitePlanFile, EveryFormOfTheFixturePlanReadsAsTheSameRows) {
    const struct {
        const char* file;
        TextEncoding encoding;
        char separator;
    } cases[] = {
        {"utf8-bom-comma-crlf.csv", TextEncoding::Utf8WithBom, ','},
        {"utf8-semicolon-lf.csv", TextEncoding::Utf8, ';'},
        {"gbk-comma-crlf.csv", TextEncoding::Gb18030, ','},
        {"utf8-tab-pasted.txt", TextEncoding::Utf8, '\t'},
        {"utf16le-tab-unicode-text.txt", TextEncoding::Utf16LittleEndian, '\t'},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string bytes = Fixture(c.file);
        ASSERT_FALSE(bytes.empty()) << "fixture missing";
        const SitePlanReading reading = ReadSitePlan(bytes);
        ASSERT_TRUE(reading.Read()) << Problems(reading);
        const SitePlan& plan = reading.plan;
        EXPECT_EQ(plan.encoding, c.encoding);
        EXPECT_EQ(plan.separator, c.separator);
        EXPECT_EQ(plan.carriedColumns, std::vector<std::string>{"location"});
        ASSERT_EQ(plan.rows.size(), 3u);

        const SitePlanRow& first = plan.rows[0];
        EXPECT_EQ(first.fileRow, 2u);
        EXPECT_EQ(first.serial, 3000000001u);
        EXPECT_EQ(first.ip, MakeIpv4(10, 0, 1, 11));
        EXPECT_EQ(first.mask, MakeIpv4(255, 255, 255, 0));
        EXPECT_EQ(first.gateway, MakeIpv4(10, 0, 1, 254));
        EXPECT_EQ(first.web, true);
        EXPECT_EQ(first.carried, std::vector<std::string>{"3F east door, 北门"});

        const SitePlanRow& second = plan.rows[1];
        EXPECT_EQ(second.serial, 3000000002u);
        EXPECT_EQ(second.ip, MakeIpv4(10, 0, 1, 12));
        EXPECT_EQ(second.mask, std::nullopt) << "blank: left as it is";
        EXPECT_EQ(second.gateway, std::nullopt);
        EXPECT_EQ(second.web, false);
        EXPECT_EQ(second.carried, std::vector<std::string>{"二楼 \"机房\""});

        const SitePlanRow& third = plan.rows[2];
        EXPECT_EQ(third.fileRow, 4u);
        EXPECT_EQ(third.serial, 223000101u);
        EXPECT_FALSE(third.ip || third.mask || third.gateway || third.web);
        // A line break inside a cell is LF, as spreadsheets write it even in CR LF files.
        EXPECT_EQ(third.carried, std::vector<std::string>{"大厅\n前台"});
    }
}

// What the search writes comes back as a plan: its names, true/false for the web server, the
// other columns carried; and the forms of a header a person may type.
TEST(SitePlanFile, ReadsColumnsByNameInAnyOrderAndCarriesTheRest) {
    const struct {
        const char* text;
        std::vector<std::string> carried;
        std::optional<Ipv4Address> ip;
        std::optional<bool> web;
    } cases[] = {
        {"serial,ip,mask,gateway,mac,pcAddress,webEnabled,webPort\r\n"
         "200,10.0.1.120,255.255.255.0,10.0.1.254,02-4C-00-00-00-C8,10.0.1.1,false,0\r\n",
         {"mac", "pcAddress", "webPort"}, MakeIpv4(10, 0, 1, 120), false},
        {"Location, Notes;IP;Serial;Web\n\"3F\";10.0.1.9;200;TRUE\n", {"Location, Notes"},
         MakeIpv4(10, 0, 1, 9), true},
        {"控制器SN\tIP\t掩码\t网关\tWEB\n200\t10.0.1.7\t\t\t启用\n", {}, MakeIpv4(10, 0, 1, 7), true},
        {"sep=;\nserial;ip\n200;10.0.1.5\n", {}, MakeIpv4(10, 0, 1, 5), std::nullopt},
        {"serial,ip,,\r\n200, 10.0.1.4 ,,\r\n", {}, MakeIpv4(10, 0, 1, 4), std::nullopt},
        {"serial,,\r200,,x\r", {"column C"}, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const SitePlanReading reading = ReadSitePlan(c.text);
        ASSERT_TRUE(reading.Read()) << Problems(reading);
        ASSERT_EQ(reading.plan.rows.size(), 1u);
        EXPECT_EQ(reading.plan.rows[0].serial, 200u);
        EXPECT_EQ(reading.plan.carriedColumns, c.carried);
        EXPECT_EQ(reading.plan.rows[0].ip, c.ip);
        EXPECT_EQ(reading.plan.rows[0].web, c.web);
    }
}

TEST(SitePlanFile, BlankLinesAndEmptyRowsAreSkippedButCountedAsTheSpreadsheetsRows) {
    const SitePlanReading reading =
        ReadSitePlan("serial,location\r\n\r\n100,\"a\r\nb\"\r\n,\r\n200,c\r\n");
    ASSERT_TRUE(reading.Read()) << Problems(reading);
    ASSERT_EQ(reading.plan.rows.size(), 2u);
    EXPECT_EQ(reading.plan.rows[0].fileRow, 3u);
    EXPECT_EQ(reading.plan.rows[1].fileRow, 5u) << "the quoted line break is inside row 3";
    const SitePlanReading bad = ReadSitePlan("serial,location\r\n100,\"a\r\nb\"\r\nx,c\r\n");
    ASSERT_FALSE(bad.Read());
    EXPECT_EQ(bad.problems[0].where.row, 3u);
}

std::string Repeated(const std::string& line, std::size_t times) {
    std::string text;
    text.reserve(line.size() * times);
    for (std::size_t i = 0; i < times; ++i) text += line;
    return text;
}

// Every refusal names where it is, as the spreadsheet shows it.
TEST(SitePlanFile, MisShapedFilesAreRefusedNamingTheRowAndColumn) {
    const std::string header = "serial,ip,mask,gateway,web\r\n";
    std::string tenThousandRows = header;
    for (int i = 0; i < 10000; ++i) tenThousandRows += std::to_string(1000 + i) + ",,,,\r\n";
    const struct {
        std::string text;
        std::string problem;  // a part of the first problem's description
    } cases[] = {
        {"", "the file: the file is empty"},
        {"\r\n\r\n", "the file: the file is empty"},
        {header, "the file: the plan has no rows under its header"},
        {"ip,mask\r\n10.0.1.2,255.255.255.0\r\n", "row 1: no column 'serial'"},
        {header + "100,10.0.1.2\r\n", "row 2: the row has 2 cells, its header 5"},
        {header + "100,10.0.1.2,255.255.255.0,0.0.0.0,on,3F\r\n",
         "row 2: the row has 6 cells, its header 5 (a separator inside a cell"},
        {header + "abc,,,,\r\n", "row 2, column A (serial): 'abc' is not a serial number"},
        {header + "4294967296,,,,\r\n", "row 2, column A (serial): '4294967296' is not a serial"},
        {header + "-1,,,,\r\n", "row 2, column A (serial): '-1' is not a serial"},
        {header + ",10.0.1.2,,,\r\n", "row 2, column A (serial): no serial number"},
        {header + "3.00E+09,,,,\r\n", "scientific notation"},
        {header + "100,10.0.1,,,\r\n",
         "row 2, column B (ip): '10.0.1' is not an IPv4 address such as 10.0.1.50"},
        {header + "100,,255.255.256.0,,\r\n", "row 2, column C (mask): '255.255.256.0' is not"},
        {header + "100,,,gw,\r\n", "row 2, column D (gateway): 'gw' is not an IPv4 address"},
        {header + "100,,,,maybe\r\n", "row 2, column E (web): 'maybe' is neither on nor off"},
        {header + "100,,,,\r\n200,,,,\r\n100,,,,\r\n",
         "row 4, column A (serial): 100 is on row 2 already"},
        {header + "100,10.0.1.9,,,\r\n200,10.0.1.9,,,\r\n",
         "row 3, column B (ip): 10.0.1.9 is planned for controller 100 on row 2 already"},
        {"serial,ip,IP\r\n100,,\r\n", "row 1, column C (IP): the column of 'ip' is there already, as column B"},
        {"serial,web,webEnabled\r\n100,,\r\n", "row 1, column C (webEnabled): the column of 'web'"},
        {header + "100,\"10.0.1.2,,,\r\n", "row 2, column B: the quoted cell that starts there is never closed"},
        {header + "100,\"10.0.1.2\"x,,,\r\n", "row 2, column B: text follows the closing double quote"},
        {std::string("PK\x03\x04\x14\x00", 6), "the file: the file is a workbook (.xlsx)"},
        {std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8), "Excel 97-2003 workbook"},
        {header + std::string("100,,,,\0\r\n", 11), "row 2: the file holds a NUL byte"},
        {header + "100,,,,\r\n200,,,,\xFF\r\n", "row 3: the file is neither UTF-8 nor GB18030"},
        {"\xEF\xBB\xBF" + header + "100,,,,\xB1\xB1\r\n",
         "row 2: the file starts with the UTF-8 byte-order mark but is not UTF-8"},
        {tenThousandRows, "the file: the plan holds more than 1000 rows under its header"},
        {header + "100,,,,\"" + std::string(1024 * 1024, 'x') + "\"\r\n",
         "row 2: the row is longer than 65536 bytes"},
        {header + "100,,,," + std::string(1024 * 1024, 'x') + "\r\n", "row 2: the row is longer than 65536 bytes"},
        {Repeated(header, 200000), "the file: the file is larger than 4194304 bytes"},
        {Repeated("a,", 300) + "\r\n", "row 1: the row has more than 256 cells"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 80));
        const SitePlanReading reading = ReadSitePlan(c.text);
        ASSERT_FALSE(reading.Read());
        EXPECT_NE(reading.problems.front().Describe().find(c.problem), std::string::npos)
            << Problems(reading);
    }
}

TEST(SitePlanFile, EveryBadCellIsReportedAtOnceUpToALimit) {
    std::string text = "serial,ip\r\n";
    for (int i = 0; i < 30; ++i) text += "x" + std::to_string(i) + ",10.0.1\r\n";
    const SitePlanReading reading = ReadSitePlan(text);
    EXPECT_EQ(reading.problems.size(), kMaxPlanProblemsShown);
    EXPECT_EQ(reading.problemsNotShown, 60u - kMaxPlanProblemsShown) << "two bad cells a row";
    EXPECT_EQ(reading.problems[1].Describe(),
              "row 2, column B (ip): '10.0.1' is not an IPv4 address such as 10.0.1.50");
}

}  // namespace
}  // namespace lumaro
