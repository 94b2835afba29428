// The verdicts come from what the final search lists, never from having written.

#include <gtest/gtest.h>

#include "cli/site_apply_report.h"
#include "tests/site_apply/site_addresses.h"
#include "workflow/site_apply.h"

namespace lumaro {
namespace {

using testing::Host;
using testing::kMask24;
using testing::kPc;


ControllerRecord Record(std::uint32_t serial, Ipv4Address ip, bool web = true) {
    ControllerRecord r;
    r.serial = serial;
    r.ip = ip;
    r.mask = kMask24;
    r.gateway = Host(254);
    r.mac = {2, 0x4C, 0, 0, static_cast<std::uint8_t>(serial >> 8), static_cast<std::uint8_t>(serial)};
    r.hostAddress = kPc;
    r.hostMask = kMask24;
    r.webPort = web ? 80 : 0;
    return r;
}

ControllerTable Table(const std::vector<ControllerRecord>& records) {
    ControllerTable table;
    for (const ControllerRecord& r : records) table.records[table.count++] = r;
    return table;
}

TEST(SiteVerdicts, EachComesFromTheFinalSearch) {
    const ControllerTable before = Table({Record(100, Host(10)), Record(200, Host(20)), Record(300, Host(30)),
                                          Record(400, Host(40)), Record(500, Host(50)), Record(600, Host(60)),
                                          Record(700, Host(70))});
    const SitePlanReading reading = ReadSitePlan(
        "serial,ip,web\n100,,\n200,10.0.1.21,\n300,10.0.1.31,\n400,10.0.1.41,\n500,10.0.1.51,\n"
        "600,,on\n900,,\n");
    ASSERT_TRUE(reading.Read());
    const auto noAnswers = [](Ipv4Address, Ipv4Address) { return platform::ArpResult::NoAnswer(); };
    const SiteApplyPlan plan = PlanSiteApply(reading.plan, before, {{kPc, kMask24}}, noAnswers, 4);
    ASSERT_FALSE(plan.Refused());
    ASSERT_EQ(plan.entries.size(), 8u);  // serial order: 100 ... 700, 900

    std::vector<SiteWriteOutcome> writes(plan.entries.size());
    const auto written = [](bool answered) {
        SiteWriteOutcome outcome;
        outcome.end = SiteWriteEnd::Written;
        outcome.answered = answered;
        return outcome;
    };
    writes[1] = written(true);    // 200: moved as planned
    writes[2] = written(false);   // 300: silent, stayed
    writes[3].end = SiteWriteEnd::HolderStayed;
    writes[3].blockedBy = 300;
    writes[4] = written(true);    // 500: gone from the final search
    const ControllerTable after =
        Table({Record(100, Host(10)), Record(200, Host(21)), Record(300, Host(30)), Record(400, Host(40)),
               Record(600, Host(60), false), Record(700, Host(70))});

    const std::vector<SiteJudgement> judgements = JudgeSite(plan, writes, after);
    const struct {
        std::uint32_t serial;
        SiteVerdict verdict;
        SiteFailure failure;
        const char* reason;
    } expected[] = {
        {100, SiteVerdict::AsPlanned, SiteFailure::None, ""},
        {200, SiteVerdict::Changed, SiteFailure::None, "address 10.0.1.20 -> 10.0.1.21"},
        {300, SiteVerdict::Failed, SiteFailure::Silent,
         "it did not answer its writes; the final search lists it with address 10.0.1.30 (planned "
         "10.0.1.31)"},
        {400, SiteVerdict::Failed, SiteFailure::HolderStayed,
         "not written: controller 300 did not leave 10.0.1.41"},
        {500, SiteVerdict::Failed, SiteFailure::NotListedAfter, "the final search does not list it"},
        {600, SiteVerdict::Failed, SiteFailure::NotAsPlanned,
         "the final search lists it with web off (planned on)"},
        {700, SiteVerdict::LeftAlone, SiteFailure::None, "not in the plan"},
        {900, SiteVerdict::NotListed, SiteFailure::None, "the search does not list this serial"},
    };
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        SCOPED_TRACE(expected[i].serial);
        ASSERT_EQ(plan.entries[i].serial, expected[i].serial);
        EXPECT_EQ(judgements[i].verdict, expected[i].verdict);
        EXPECT_EQ(judgements[i].failure, expected[i].failure);
        EXPECT_EQ(VerdictReason(plan.entries[i], writes[i], judgements[i]), expected[i].reason);
    }
}

}  // namespace
}  // namespace lumaro
