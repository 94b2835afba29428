// The commissioning record as the owner opens it: CSV that a spreadsheet reads as UTF-8 on a
// double-click (byte-order mark, CR LF), its header block and table; the same as JSON.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cstdlib>
#include <ctime>
#include <string>

#include "cli/commissioning_record.h"
#include "tests/site_apply/site_addresses.h"

namespace lumaro {
namespace {

using testing::Host;
using testing::kMask24;
using testing::kPc;

// 2024-03-10 01:05:07 UTC
constexpr std::int64_t kInstant = 1710032707;

class InTimeZone {
public:
    explicit InTimeZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) old_ = old;
        setenv("TZ", zone, 1);
        tzset();
    }
    ~InTimeZone() {
        if (old_.empty()) {
            unsetenv("TZ");
        } else {
            setenv("TZ", old_.c_str(), 1);
        }
        tzset();
    }

private:
    std::string old_;
};

TEST(CommissioningRecord, TimesAreLocalWithTheirOffsetFromUtc) {
    {
        const InTimeZone beijing("CST-8");
        EXPECT_EQ(FormatLocalTime(kInstant), "2024-03-10T09:05:07+08:00");
    }
    {
        const InTimeZone newfoundland("NST+3:30");
        EXPECT_EQ(FormatLocalTime(kInstant), "2024-03-09T21:35:07-03:30");
    }
}

// One controller moved (its location in Chinese, with a comma), one left alone, one not listed.
class RecordOfASmallSite : public ::testing::Test {
protected:
    void SetUp() override {
        ControllerRecord moved;
        moved.serial = 3000000001u;
        moved.ip = MakeIpv4(192, 168, 1, 100);
        moved.mask = kMask24;
        moved.gateway = MakeIpv4(192, 168, 1, 1);
        moved.mac = {0x02, 0x4C, 0xB2, 0xD0, 0x5E, 0x01};
        moved.hostAddress = kPc;
        moved.hostMask = kMask24;
        moved.webPort = 0;
        ControllerRecord other = moved;
        other.serial = 223000101u;
        other.ip = MakeIpv4(10, 0, 1, 50);
        other.webPort = 80;
        before_.records[0] = moved;
        before_.records[1] = other;
        before_.count = 2;

        reading_ = ReadSitePlan(
            "\xEF\xBB\xBFlocation,serial,ip,gateway,notes\r\n"
            "\"北门, 3F\",3000000001,10.0.1.11,10.0.1.254,\r\n"
            "机房,3000000009,10.0.1.19,,spare\r\n");
        ASSERT_TRUE(reading_.Read());
        const auto noAnswers = [](Ipv4Address, Ipv4Address) { return platform::ArpResult::NoAnswer(); };
        plan_ = PlanSiteApply(reading_.plan, before_, {{kPc, kMask24}}, noAnswers, 4);
        ASSERT_FALSE(plan_.Refused());
        writes_.resize(plan_.entries.size());
        after_ = before_;
        after_.records[0].ip = MakeIpv4(10, 0, 1, 11);
        after_.records[0].gateway = MakeIpv4(10, 0, 1, 254);
        after_.records[0].webPort = 80;
        for (std::size_t i = 0; i < plan_.entries.size(); ++i) {
            if (plan_.entries[i].serial != 3000000001u) continue;
            writes_[i].end = SiteWriteEnd::Written;
            writes_[i].changedAt = kInstant;
        }
        judgements_ = JudgeSite(plan_, writes_, after_);
        context_ = {kInstant, "LAPTOP-7", {{kPc, kMask24}}, "2.7.3.20701", "现场.csv", false};
    }

    CommissioningRecord Record() const { return {context_, reading_.plan, plan_, writes_, judgements_}; }

    ControllerTable before_, after_;
    SitePlanReading reading_;
    SiteApplyPlan plan_;
    std::vector<SiteWriteOutcome> writes_;
    std::vector<SiteJudgement> judgements_;
    CommissioningContext context_;
};

TEST_F(RecordOfASmallSite, CsvOpensAsUtf8WithItsHeaderBlockAndARowPerController) {
    const InTimeZone beijing("CST-8");
    const std::string csv = CommissioningRecordCsv(Record());
    ASSERT_TRUE(csv.starts_with("\xEF\xBB\xBF")) << "the byte-order mark";
    for (std::size_t at = csv.find('\n'); at != std::string::npos; at = csv.find('\n', at + 1)) {
        ASSERT_EQ(csv[at - 1], '\r') << "every line ends in CR LF, at byte " << at;
    }
    const std::string expected =
        "\xEF\xBB\xBF"
        "Lumaro commissioning record\r\n"
        "time,2024-03-10T09:05:07+08:00\r\n"
        "pc,LAPTOP-7\r\n"
        "interfaces,10.0.1.1/24\r\n"
        "lumaro,2.7.3.20701\r\n"
        "plan,现场.csv\r\n"
        "plan read as,\"UTF-8 with a byte-order mark, comma-separated, 2 rows\"\r\n"
        "\r\n"
        "row,serial,location,notes,beforeIp,beforeMask,beforeGateway,beforeMac,beforeWeb,"
        "plannedIp,plannedMask,plannedGateway,plannedWeb,afterIp,afterMask,afterGateway,afterMac,"
        "afterWeb,verdict,reason,changedAt\r\n"
        "2,3000000001,\"北门, 3F\",,192.168.1.100,255.255.255.0,192.168.1.1,02-4C-B2-D0-5E-01,off,"
        "10.0.1.11,255.255.255.0,10.0.1.254,on,10.0.1.11,255.255.255.0,10.0.1.254,02-4C-B2-D0-5E-01,"
        "on,changed,address 192.168.1.100 -> 10.0.1.11; gateway 192.168.1.1 -> 10.0.1.254; web off -> on,"
        "2024-03-10T09:05:07+08:00\r\n"
        "3,3000000009,机房,spare,,,,,,10.0.1.19,,,,,,,,,not listed,the search does not list this "
        "serial,\r\n"
        ",223000101,,,10.0.1.50,255.255.255.0,192.168.1.1,02-4C-B2-D0-5E-01,on,,,,,10.0.1.50,"
        "255.255.255.0,192.168.1.1,02-4C-B2-D0-5E-01,on,left alone,not in the plan,\r\n";
    EXPECT_EQ(csv, expected);
}

TEST_F(RecordOfASmallSite, JsonHoldsTheSameWithTheCarriedColumnsApart) {
    const InTimeZone beijing("CST-8");
    const nlohmann::json json = nlohmann::json::parse(CommissioningRecordJson(Record()));
    EXPECT_EQ(json.at("time"), "2024-03-10T09:05:07+08:00");
    EXPECT_EQ(json.at("pc"), "LAPTOP-7");
    EXPECT_EQ(json.at("interfaces"), nlohmann::json::array({"10.0.1.1/24"}));
    EXPECT_EQ(json.at("lumaro"), "2.7.3.20701");
    EXPECT_EQ(json.at("plan"), "现场.csv");
    const nlohmann::json& controllers = json.at("controllers");
    ASSERT_EQ(controllers.size(), 3u);
    const nlohmann::json& moved = controllers[0];
    EXPECT_EQ(moved.at("row"), 2);
    EXPECT_EQ(moved.at("serial"), 3000000001u);
    EXPECT_EQ(moved.at("columns"), (nlohmann::json{{"location", "北门, 3F"}, {"notes", ""}}));
    EXPECT_EQ(moved.at("before").at("ip"), "192.168.1.100");
    EXPECT_EQ(moved.at("before").at("web"), "off");
    EXPECT_EQ(moved.at("planned").at("ip"), "10.0.1.11");
    EXPECT_FALSE(moved.at("planned").contains("mac"));
    EXPECT_EQ(moved.at("after").at("gateway"), "10.0.1.254");
    EXPECT_EQ(moved.at("verdict"), "changed");
    EXPECT_EQ(moved.at("changedAt"), "2024-03-10T09:05:07+08:00");
    EXPECT_EQ(controllers[1].at("verdict"), "not listed");
    EXPECT_TRUE(controllers[1].at("before").is_null());
    EXPECT_TRUE(controllers[1].at("planned").at("mask").is_null()) << "blank in the plan";
    EXPECT_EQ(controllers[2].at("verdict"), "left alone");
    EXPECT_TRUE(controllers[2].at("row").is_null());
    EXPECT_TRUE(controllers[2].at("planned").is_null());
}

}  // namespace
}  // namespace lumaro
