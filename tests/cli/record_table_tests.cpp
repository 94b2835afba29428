// The three ways of writing a table of records: tab-separated, CSV (RFC 4180), JSON.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "workflow/record_table.h"

namespace lumaro {
namespace {

const RecordTable kTable{
    {"serial", "text", "flag", "nothing"},
    {
        {std::uint64_t{4294967295u}, std::string("plain"), true, FieldValue{}},
        {std::uint64_t{2147483648u}, std::string("a, \"quoted\"\nline"), false, FieldValue{}},
        {std::uint64_t{7}, std::string("中文\tand tab"), true, std::string()},
    }};

TEST(RecordTable, CsvQuotesOnlyWhatNeedsItAndEndsEveryLineWithCrLf) {
    EXPECT_EQ(FormatCsv(kTable),
              "serial,text,flag,nothing\r\n"
              "4294967295,plain,true,\r\n"
              "2147483648,\"a, \"\"quoted\"\"\nline\",false,\r\n"
              "7,中文\tand tab,true,\r\n");
}

TEST(RecordTable, TsvHasTheNamesAsHeadingAndNoTabInsideAValue) {
    EXPECT_EQ(FormatTsv(kTable),
              "serial\ttext\tflag\tnothing\n"
              "4294967295\tplain\ttrue\t\n"
              "2147483648\ta, \"quoted\" line\tfalse\t\n"
              "7\t中文 and tab\ttrue\t\n");
}

TEST(RecordTable, JsonIsOneArrayOfObjectsWithTheFieldsInOrder) {
    const auto array = nlohmann::ordered_json::parse(FormatJson(kTable));
    ASSERT_EQ(array.size(), 3u);
    EXPECT_EQ(array[0].dump(),
              R"({"serial":4294967295,"text":"plain","flag":true,"nothing":null})");
    EXPECT_EQ(array[1]["text"], "a, \"quoted\"\nline");
    EXPECT_EQ(array[2]["nothing"], "") << "empty text stays text";
    EXPECT_EQ(FormatJson(RecordTable{{"a"}, {}}), "[]\n") << "no record: an empty array";
}

}  // namespace
}  // namespace lumaro
