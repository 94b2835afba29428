// A plan against a listed site, without a LAN: what each row writes, the order of the
// writes (waits, a swap and a longer ring through a held address), and every contradiction
// that refuses the plan. ARP is a table of who answers where.

#include <gtest/gtest.h>

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "link/controller_text.h"
#include "tests/site_apply/site_addresses.h"
#include "workflow/site_apply_plan.h"

namespace lumaro {
namespace {

using testing::Host;
using testing::kMask24;
using testing::kPc;

const std::vector<platform::LocalAddress> kPcSubnets = {{kPc, kMask24}};


platform::HardwareAddress MacOf(std::uint32_t serial) {
    return {0x02, 0x4C, static_cast<std::uint8_t>(serial >> 24), static_cast<std::uint8_t>(serial >> 16),
            static_cast<std::uint8_t>(serial >> 8), static_cast<std::uint8_t>(serial)};
}

struct Listed {
    std::uint32_t serial;
    Ipv4Address ip;
    bool web = true;
    Ipv4Address gateway = MakeIpv4(10, 0, 1, 254);
    std::uint32_t dhcpMarker = 0;
};

ControllerTable Table(const std::vector<Listed>& controllers) {
    ControllerTable table;
    for (const Listed& c : controllers) {
        ControllerRecord& r = table.records[table.count++];
        r.serial = c.serial;
        r.ip = c.ip;
        r.mask = kMask24;
        r.gateway = c.gateway;
        r.mac = MacOf(c.serial);
        r.hostAddress = kPc;
        r.hostMask = kMask24;
        r.webPort = c.web ? 80 : 0;
        r.dhcpMarker = c.dhcpMarker;
    }
    return table;
}

// ARP on a LAN where each listed controller answers at its address and `others` answer too.
class FakeArp {
public:
    FakeArp(const ControllerTable& table, std::map<Ipv4Address, platform::HardwareAddress> others = {})
        : answers_(std::move(others)) {
        for (const ControllerRecord& r : table.Found()) answers_.emplace(r.ip, r.mac);
    }
    ArpRequest Request() {
        return [this](Ipv4Address target, Ipv4Address source) -> platform::ArpResult {
            const std::lock_guard lock(mutex_);
            asked_.insert(target);
            if (source != kPc || couldNotAsk_) return platform::ArpResult::CouldNotAsk();
            const auto answer = answers_.find(target);
            if (answer == answers_.end()) return platform::ArpResult::NoAnswer();
            return platform::ArpResult::AnsweredBy(answer->second);
        };
    }
    std::set<Ipv4Address> Asked() const { return asked_; }
    bool couldNotAsk_ = false;

private:
    std::map<Ipv4Address, platform::HardwareAddress> answers_;
    std::mutex mutex_;
    std::set<Ipv4Address> asked_;
};

SitePlan Plan(const std::string& text) {
    SitePlanReading reading = ReadSitePlan(text);
    EXPECT_TRUE(reading.Read()) << (reading.problems.empty() ? "" : reading.problems[0].Describe());
    return reading.plan;
}

const SiteEntry& Entry(const SiteApplyPlan& plan, std::uint32_t serial) {
    for (const SiteEntry& entry : plan.entries) {
        if (entry.serial == serial) return entry;
    }
    static const SiteEntry none;
    ADD_FAILURE() << "no entry for " << serial;
    return none;
}

// The steps as "serial" or "serial>held", in order, with what each comes after.
std::vector<std::string> Steps(const SiteApplyPlan& plan) {
    std::vector<std::string> steps;
    for (const SiteStep& step : plan.steps) {
        std::string text = std::to_string(plan.entries[step.entry].serial);
        if (step.toHoldingAddress) text += ">held";
        for (std::size_t after : step.after) text += " after " + std::to_string(after);
        steps.push_back(text);
    }
    return steps;
}

std::string ProblemsOf(const SiteApplyPlan& plan) {
    std::string text;
    for (const PlanProblem& problem : plan.problems) text += problem.Describe() + "\n";
    return text;
}

TEST(SiteApplyPlan, EachRowWritesOnlyWhatDiffersAndTheWebServerAsPlanned) {
    const ControllerTable table = Table({{100, Host(10)},
                                         {200, Host(20), false},
                                         {300, Host(30)},
                                         {400, Host(40), false},
                                         {500, Host(50), true, 0, 0xA5},
                                         {600, Host(60)},
                                         {700, Host(70)}});
    FakeArp arp(table);
    const SiteApplyPlan plan = PlanSiteApply(Plan("serial,ip,mask,gateway,web\n"
                                                  "100,10.0.1.10,255.255.255.0,10.0.1.254,on\n"
                                                  "200,10.0.1.21,,,\n"
                                                  "300,10.0.1.31,,,off\n"
                                                  "400,,,,on\n"
                                                  "500,,,10.0.1.253,\n"
                                                  "600,,,,off\n"
                                                  "900,10.0.1.90,,,\n"),
                                             table, kPcSubnets, arp.Request(), 8);
    ASSERT_FALSE(plan.Refused()) << ProblemsOf(plan);

    const SiteEntry& asPlanned = Entry(plan, 100);
    EXPECT_EQ(asPlanned.action, SiteAction::AsPlanned);

    const SiteEntry& webOffMoved = Entry(plan, 200);  // the address write switches it on
    EXPECT_EQ(webOffMoved.action, SiteAction::Write);
    EXPECT_TRUE(webOffMoved.writesAddresses);
    EXPECT_FALSE(webOffMoved.switchesWebOff);
    EXPECT_TRUE(webOffMoved.target.web);
    EXPECT_TRUE(webOffMoved.Has(SiteNote::WebOnByAddressWrite));
    EXPECT_EQ(webOffMoved.target.mask, kMask24) << "blank: as listed";

    const SiteEntry& movedWebOff = Entry(plan, 300);
    EXPECT_TRUE(movedWebOff.writesAddresses && movedWebOff.switchesWebOff);
    EXPECT_FALSE(movedWebOff.target.web);

    const SiteEntry& webOn = Entry(plan, 400);  // the apply with its own addresses
    EXPECT_TRUE(webOn.writesAddresses);
    EXPECT_FALSE(webOn.MovesAddress());
    EXPECT_EQ(webOn.target.ip, Host(40));

    const SiteEntry& dhcp = Entry(plan, 500);
    EXPECT_TRUE(dhcp.writesAddresses);
    EXPECT_TRUE(dhcp.Has(SiteNote::LeavesDhcp));

    const SiteEntry& webOff = Entry(plan, 600);
    EXPECT_FALSE(webOff.writesAddresses);
    EXPECT_TRUE(webOff.switchesWebOff);

    EXPECT_EQ(Entry(plan, 700).action, SiteAction::LeftAlone);
    EXPECT_EQ(Entry(plan, 900).action, SiteAction::NotListed);

    EXPECT_EQ(plan.ToWrite(), 5u);
    EXPECT_EQ(Steps(plan), (std::vector<std::string>{"200", "300", "400", "500", "600"}))
        << "in serial order, none waiting";
    EXPECT_EQ(arp.Asked(), (std::set<Ipv4Address>{Host(21), Host(31)}))
        << "ARP only where a controller moves to";
}

TEST(SiteApplyPlan, AMoveOntoAnAddressBeingLeftWaitsForItsHolder) {
    const ControllerTable table = Table({{100, Host(10)}, {200, Host(20)}});
    FakeArp arp(table);
    const SiteApplyPlan plan =
        PlanSiteApply(Plan("serial,ip\n100,10.0.1.20\n200,10.0.1.30\n"), table, kPcSubnets, arp.Request(), 8);
    ASSERT_FALSE(plan.Refused()) << ProblemsOf(plan);
    EXPECT_EQ(Entry(plan, 100).waitsFor, std::vector<std::uint32_t>{200});
    EXPECT_EQ(Steps(plan), (std::vector<std::string>{"200", "100 after 0"}));
}

// Two swap, three in a ring, beside a fresh one moving to a free address: each ring's lowest
// serial goes to a held address first (one nobody answers, listed or planned for), the rest
// follow as their holders leave, and it goes to its planned address last.
TEST(SiteApplyPlan, RingsGoThroughAFreeAddressHeldForTheirLowestSerial) {
    const ControllerTable table = Table({{100, Host(10)},
                                         {200, Host(20)},
                                         {300, Host(30)},
                                         {400, Host(40)},
                                         {500, Host(50)},
                                         {600, MakeIpv4(192, 168, 1, 100)},
                                         {700, Host(123)}});
    FakeArp arp(table, {{Host(125), MacOf(999)}});  // a stranger at .125
    const SiteApplyPlan plan = PlanSiteApply(Plan("serial,ip\n"
                                                  "100,10.0.1.20\n200,10.0.1.10\n"
                                                  "300,10.0.1.40\n400,10.0.1.50\n500,10.0.1.30\n"
                                                  "600,10.0.1.124\n"),
                                             table, kPcSubnets, arp.Request(), 8);
    ASSERT_FALSE(plan.Refused()) << ProblemsOf(plan);
    // .123 is listed, .124 planned, .125 answered: the holds are .126 and .127.
    EXPECT_EQ(Entry(plan, 100).holdingAddress, Host(126));
    EXPECT_EQ(Entry(plan, 300).holdingAddress, Host(127));
    EXPECT_FALSE(Entry(plan, 200).holdingAddress);
    // In serial order as their holders leave: each ring is resolved before the next serial.
    EXPECT_EQ(Steps(plan), (std::vector<std::string>{"100>held", "300>held", "200 after 0",
                                                     "100 after 0 after 2", "500 after 1",
                                                     "400 after 4", "300 after 1 after 5", "600"}));
}

TEST(SiteApplyPlan, AnAddressOutsideThePcsSubnetsIsAllowedWithANoteAndNotAskedByArp) {
    const ControllerTable table = Table({{100, Host(10)}});
    FakeArp arp(table);
    const SiteApplyPlan plan = PlanSiteApply(
        Plan("serial,ip,mask,gateway\n100,172.16.5.10,255.255.0.0,172.16.0.1\n"), table, kPcSubnets,
        arp.Request(), 8);
    ASSERT_FALSE(plan.Refused()) << ProblemsOf(plan);
    EXPECT_TRUE(Entry(plan, 100).Has(SiteNote::OutsidePcSubnets));
    EXPECT_TRUE(arp.Asked().empty());
}

TEST(SiteApplyPlan, AGatewayLeftBlankOutsideTheNewSubnetIsANoteAPlannedOneARefusal) {
    const ControllerTable table = Table({{100, MakeIpv4(192, 168, 1, 100), true, MakeIpv4(192, 168, 1, 1)}});
    FakeArp arp(table);
    const SiteApplyPlan blank =
        PlanSiteApply(Plan("serial,ip\n100,10.0.1.11\n"), table, kPcSubnets, arp.Request(), 8);
    EXPECT_FALSE(blank.Refused()) << ProblemsOf(blank);
    EXPECT_TRUE(Entry(blank, 100).Has(SiteNote::GatewayOutsideSubnet));
    const SiteApplyPlan planned = PlanSiteApply(Plan("serial,ip,gateway\n100,10.0.1.11,192.168.1.1\n"),
                                                table, kPcSubnets, arp.Request(), 8);
    ASSERT_TRUE(planned.Refused());
    EXPECT_EQ(planned.problems[0].Describe(),
              "row 2, column C (gateway): the gateway 192.168.1.1 of 10.0.1.11/255.255.255.0 is "
              "not in the controller's subnet, so the controller could never reach it (0.0.0.0: "
              "no gateway)");
}

// A contradiction refuses the whole plan, naming the row and the column; nothing is ordered.
TEST(SiteApplyPlan, ContradictionsRefuseThePlanNamingTheRowAndColumn) {
    const ControllerTable table = Table({{100, Host(10)}, {200, Host(20)}, {300, Host(30)}});
    const struct {
        const char* plan;
        std::map<Ipv4Address, platform::HardwareAddress> others;
        const char* problem;
    } cases[] = {
        {"serial,ip\n100,10.0.1.20\n", {},
         "row 2, column B (ip): 10.0.1.20 is the address of controller 200, listed there, which "
         "the plan does not name, so it stays there"},
        {"serial,ip\n100,10.0.1.20\n200,\n", {},
         "row 2, column B (ip): 10.0.1.20 is the address of controller 200, listed there, which "
         "the plan keeps there (row 3)"},
        {"serial,ip\n100,10.0.1.60\n", {{Host(60), {0x00, 0x11, 0x22, 0x33, 0x44, 0x55}}},
         "row 2, column B (ip): 10.0.1.60 is in use: a device with the MAC 00-11-22-33-44-55 "
         "answers ARP there, and no listed controller has that MAC"},
        {"serial,ip\n100,10.0.1.60\n", {{Host(60), MacOf(300)}},
         "row 2, column B (ip): 10.0.1.60 is answered in ARP by controller 300 (02-4C-00-00-01-2C), "
         "which the search lists at 10.0.1.30"},
        {"serial,ip\n100,10.0.1.1\n", {}, "row 2, column B (ip): 10.0.1.1 is this PC's own address"},
        {"serial,ip\n100,10.0.1.255\n", {},
         "row 2, column B (ip): 10.0.1.255 under the mask 255.255.255.0 is the broadcast address of "
         "its subnet: the controller could never be reached there"},
        {"serial,mask\n100,255.0.255.0\n", {},
         "row 2, column B (mask): 10.0.1.10 under the mask 255.0.255.0 is a subnet mask that is not "
         "a run of ones: the controller could never be reached there"},
        {"serial,mask\n200,255.255.255.252\n", {},
         "row 2, column ip (not in the file): 10.0.1.20 under the mask 255.255.255.252 is the "
         "network address of its subnet (listed so now, and left as it is)"},
        {"serial,gateway\n100,2.9.4.6\n", {},
         "row 2, column B (gateway): the gateway 2.9.4.6 of 10.0.1.10/255.255.255.0 is the panel's "
         "code for its hidden buttons"},
        {"serial,gateway\n100,10.0.1.10\n", {},
         "row 2, column B (gateway): the gateway 10.0.1.10 of 10.0.1.10/255.255.255.0 is the "
         "controller's own address"},
        {"serial,ip,mask\n900,127.0.0.5,255.0.0.0\n", {},
         "row 2, column B (ip): 127.0.0.5 under the mask 255.0.0.0 is a loopback address"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.plan);
        FakeArp arp(table, c.others);
        const SiteApplyPlan plan = PlanSiteApply(Plan(c.plan), table, kPcSubnets, arp.Request(), 8);
        ASSERT_TRUE(plan.Refused());
        EXPECT_NE(plan.problems[0].Describe().find(c.problem), std::string::npos) << ProblemsOf(plan);
        EXPECT_TRUE(plan.steps.empty());
    }
    FakeArp cannotAsk(table);
    cannotAsk.couldNotAsk_ = true;
    const SiteApplyPlan unasked =
        PlanSiteApply(Plan("serial,ip\n100,10.0.1.60\n"), table, kPcSubnets, cannotAsk.Request(), 8);
    ASSERT_TRUE(unasked.Refused());
    EXPECT_EQ(unasked.problems[0].Describe(),
              "row 2, column B (ip): ARP could not be asked from the PC address 10.0.1.1, so it "
              "cannot be told whether 10.0.1.60 is free");
}

}  // namespace
}  // namespace lumaro
