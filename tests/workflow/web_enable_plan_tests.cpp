// The plan of the one-click procedure for a batch: the same decisions as the procedure,
// taken from the list and ARP alone. No LAN: the table is built here and ARP is a table of
// answers.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <mutex>
#include <set>
#include <vector>

#include "link/controller_text.h"
#include "workflow/web_enable_batch.h"
#include "workflow/web_enable_plan.h"

namespace lumaro {
namespace {

using platform::HardwareAddress;

const Ipv4Address kPc = MakeIpv4(10, 0, 1, 1);
const Ipv4Address kMask = MakeIpv4(255, 255, 255, 0);
const Ipv4Address kFactory = MakeIpv4(192, 168, 1, 100);
const Ipv4Address kInSubnet = MakeIpv4(10, 0, 1, 42);
const HardwareAddress kStranger{0x02, 0x99, 0x99, 0x99, 0x99, 0x99};

HardwareAddress MacOf(std::uint32_t serial) {
    return {0x02, 0x4C, 0, 0, static_cast<std::uint8_t>(serial >> 8),
            static_cast<std::uint8_t>(serial)};
}

ControllerRecord Record(std::uint32_t serial, Ipv4Address ip, std::uint32_t webPort = 80,
                        Ipv4Address host = kPc) {
    ControllerRecord record;
    record.serial = serial;
    record.mac = MacOf(serial);
    record.ip = ip;
    record.mask = kMask;
    record.hostAddress = host;
    record.hostMask = kMask;
    record.webPort = webPort;
    return record;
}

ControllerTable Table(const std::vector<ControllerRecord>& records) {
    ControllerTable table;
    for (const ControllerRecord& record : records) table.records[table.count++] = record;
    return table;
}

Ipv4Address InPcSubnet(std::uint8_t octet) { return MakeIpv4(10, 0, 1, octet); }

// ARP answers by address; every request is recorded (from any thread).
struct FakeArp {
    std::map<Ipv4Address, HardwareAddress> answers;
    std::set<Ipv4Address> cannotAsk;  // requests for these cannot be made
    std::vector<Ipv4Address> asked;
    std::mutex mutex;
    ArpRequest Function() {
        return [this](Ipv4Address target, Ipv4Address source) -> platform::ArpResult {
            EXPECT_NE(source, 0u);
            const std::lock_guard lock(mutex);
            asked.push_back(target);
            if (cannotAsk.contains(target)) return platform::ArpResult::CouldNotAsk();
            const auto answer = answers.find(target);
            if (answer == answers.end()) return platform::ArpResult::NoAnswer();
            return platform::ArpResult::AnsweredBy(answer->second);
        };
    }
};

TEST(WebEnablePlan, FiveAtOneAddressArePlannedToConsecutiveFreeAddresses) {
    std::vector<ControllerRecord> records;
    for (std::uint32_t serial = 1; serial <= 5; ++serial) {
        records.push_back(Record(serial, kFactory));
    }
    const ControllerTable table = Table(records);
    FakeArp arp;
    WebEnablePlanner planner(table, arp.Function(), {kPc});
    for (std::size_t row = 0; row < 5; ++row) {
        const WebEnablePlan plan = planner.Plan(row);
        EXPECT_EQ(plan.way, PlannedWay::Move) << row;
        EXPECT_EQ(plan.address, InPcSubnet(static_cast<std::uint8_t>(123 + row))) << row;
        // The last one is alone at the factory address once the others are planned away.
        EXPECT_EQ(plan.finding, row < 4 ? AddressFinding::SharedInTheList
                                        : AddressFinding::OutsidePcSubnet)
            << row;
    }
    EXPECT_EQ(arp.asked, (std::vector<Ipv4Address>{InPcSubnet(123), InPcSubnet(124),
                                                   InPcSubnet(125), InPcSubnet(126),
                                                   InPcSubnet(127)}))
        << "a planned address is not asked again, the present one never";
}

TEST(WebEnablePlan, ThePresentAddressStaysOnlyWhenTheControllersOwnMacAnswersThere) {
    const struct {
        const char* name;
        Ipv4Address address;
        std::uint32_t webPort;
        std::optional<HardwareAddress> arpAtAddress;  // nothing: unanswered
        PlannedWay way;
        AddressFinding finding;
    } cases[] = {
        {"own MAC, web on", kInSubnet, 80, MacOf(7), PlannedWay::Nothing,
         AddressFinding::OwnMacAnswers},
        {"own MAC, web off", kInSubnet, 0, MacOf(7), PlannedWay::KeepAddress,
         AddressFinding::OwnMacAnswers},
        {"own MAC, web 65535", kInSubnet, 65535, MacOf(7), PlannedWay::KeepAddress,
         AddressFinding::OwnMacAnswers},
        {"unanswered", kInSubnet, 80, std::nullopt, PlannedWay::Move,
         AddressFinding::ArpUnanswered},
        {"another MAC", kInSubnet, 80, kStranger, PlannedWay::Move,
         AddressFinding::OtherMacAnswers},
        {"reserved", MakeIpv4(192, 168, 0, 0), 80, MacOf(7), PlannedWay::Move,
         AddressFinding::NeverKept},
        {"another subnet", kFactory, 80, MacOf(7), PlannedWay::Move,
         AddressFinding::OutsidePcSubnet},
    };
    for (const auto& c : cases) {
        FakeArp arp;
        if (c.arpAtAddress) arp.answers[c.address] = *c.arpAtAddress;
        WebEnablePlanner planner(Table({Record(7, c.address, c.webPort)}), arp.Function(), {kPc});
        const WebEnablePlan plan = planner.Plan(0);
        EXPECT_EQ(plan.way, c.way) << c.name;
        EXPECT_EQ(plan.finding, c.finding) << c.name;
        EXPECT_EQ(plan.address, c.way == PlannedWay::Move ? InPcSubnet(123) : c.address) << c.name;
        EXPECT_EQ(plan.otherMac.has_value(), c.finding == AddressFinding::OtherMacAnswers)
            << c.name;
    }
}

TEST(WebEnablePlan, CandidatesThatAnswerArpOrArePlannedAreSkipped) {
    FakeArp arp;
    arp.answers[InPcSubnet(123)] = kStranger;
    arp.answers[InPcSubnet(125)] = kStranger;
    WebEnablePlanner planner(Table({Record(1, kFactory), Record(2, kFactory)}), arp.Function(),
                             {kPc});
    EXPECT_EQ(planner.Plan(0).address, InPcSubnet(124));
    EXPECT_EQ(planner.Plan(1).address, InPcSubnet(126));
}

// A fresh site has one free candidate per controller; asked a few at a time they cost one
// ARP wait together, and the plan is the same as when they are asked in turn.
TEST(WebEnablePlan, CandidatesAskedSeveralAtATimeGiveTheSamePlan) {
    std::vector<ControllerRecord> records;
    for (std::uint32_t serial = 1; serial <= 6; ++serial) {
        records.push_back(Record(serial, kFactory));
    }
    const ControllerTable table = Table(records);
    const auto plan = [&](std::size_t parallel, FakeArp& arp) {
        arp.answers[InPcSubnet(124)] = kStranger;
        WebEnablePlanner planner(table, arp.Function(), {kPc}, parallel);
        std::vector<Ipv4Address> addresses;
        for (std::size_t row = 0; row < table.count; ++row) {
            addresses.push_back(planner.Plan(row).address);
        }
        return addresses;
    };
    FakeArp inTurn;
    FakeArp together;
    const auto expected = plan(1, inTurn);
    EXPECT_EQ(expected,
              (std::vector<Ipv4Address>{InPcSubnet(123), InPcSubnet(125), InPcSubnet(126),
                                        InPcSubnet(127), InPcSubnet(128), InPcSubnet(129)}));
    EXPECT_EQ(plan(4, together), expected);
    std::sort(together.asked.begin(), together.asked.end());
    EXPECT_EQ(std::adjacent_find(together.asked.begin(), together.asked.end()),
              together.asked.end())
        << "no address asked twice";
    EXPECT_EQ(together.asked.size(), 8u) << "two rounds of four: .123-.126, then .127-.130";
}

TEST(WebEnablePlan, EveryCandidateAnsweringLeavesNoFreeAddress) {
    FakeArp arp;
    for (int octet = 1; octet <= 254; ++octet) {
        arp.answers[InPcSubnet(static_cast<std::uint8_t>(octet))] = kStranger;
    }
    WebEnablePlanner planner(Table({Record(1, kFactory)}), arp.Function(), {kPc});
    const WebEnablePlan plan = planner.Plan(0);
    EXPECT_EQ(plan.way, PlannedWay::NoFreeAddress);
    EXPECT_TRUE(plan.Unreachable());
    EXPECT_EQ(arp.asked.size(), 253u) << "every octet but 0, 255 and the PC's own";
}

TEST(WebEnablePlan, APcAt123StartsTheCandidatesAt124) {
    FakeArp arp;
    const Ipv4Address pc = InPcSubnet(123);
    WebEnablePlanner planner(Table({Record(1, kFactory, 80, pc)}), arp.Function(), {pc});
    EXPECT_EQ(planner.Plan(0).address, InPcSubnet(124));
}

// Two controllers share an address of the PC's subnet: the first moves, and the second,
// then alone there, keeps it when it answers ARP, as the procedure would find after the
// first run's search.
TEST(WebEnablePlan, AMovePlannedBeforeLeavesTheSharedAddressToTheNext) {
    FakeArp arp;
    arp.answers[kInSubnet] = MacOf(2);
    WebEnablePlanner planner(Table({Record(1, kInSubnet), Record(2, kInSubnet)}), arp.Function(),
                             {kPc});
    EXPECT_EQ(planner.Plan(0).way, PlannedWay::Move);
    const WebEnablePlan second = planner.Plan(1);
    EXPECT_EQ(second.way, PlannedWay::Nothing);
    EXPECT_EQ(second.address, kInSubnet);
}

// The candidates are usable hosts of the PC's subnet, in the order 123 (124 when the PC is
// at .123) upwards, wrapping past 254 to 1; never the PC's own addresses.
TEST(CandidateAddresses, AreTheUsableHostsOfThePcsSubnetInTheirOrder) {
    const auto octets = [](const std::vector<Ipv4Address>& candidates) {
        std::vector<int> last;
        for (Ipv4Address candidate : candidates) last.push_back(Octet(candidate, 3));
        return last;
    };
    const auto range = [](int from, int to) {
        std::vector<int> values;
        for (int octet = from; octet <= to; ++octet) values.push_back(octet);
        return values;
    };
    const auto join = [](std::vector<int> a, const std::vector<int>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const struct {
        const char* name;
        Ipv4Address pc;
        Ipv4Address mask;
        std::vector<Ipv4Address> otherPcAddresses;
        std::vector<int> expected;
    } cases[] = {
        {"/24, PC at .1", MakeIpv4(10, 0, 1, 1), MakeIpv4(255, 255, 255, 0), {},
         join(range(123, 254), range(2, 122))},
        {"/24, PC at .123", MakeIpv4(10, 0, 1, 123), MakeIpv4(255, 255, 255, 0), {},
         join(range(124, 254), range(1, 122))},
        {"/16, PC at .1.7", MakeIpv4(10, 1, 1, 7), MakeIpv4(255, 255, 0, 0), {},
         join(join(range(123, 254), range(1, 6)), range(8, 122))},
        {"/24, two more PC addresses", MakeIpv4(10, 0, 1, 1), MakeIpv4(255, 255, 255, 0),
         {MakeIpv4(10, 0, 1, 123), MakeIpv4(10, 0, 1, 200)},
         join(join(range(124, 199), range(201, 254)), range(2, 122))},
        {"/26, PC at .200: .193-.254", MakeIpv4(10, 0, 1, 200), MakeIpv4(255, 255, 255, 192), {},
         join(range(193, 199), range(201, 254))},
        {"/25, PC at .1: never .127", MakeIpv4(10, 0, 1, 1), MakeIpv4(255, 255, 255, 128), {},
         join(range(123, 126), range(2, 122))},
        {"/25, PC at .130: never .128 or .255", MakeIpv4(10, 0, 1, 130),
         MakeIpv4(255, 255, 255, 128), {}, join(range(129, 129), range(131, 254))},
        {"/30, PC at .5", MakeIpv4(10, 0, 1, 5), MakeIpv4(255, 255, 255, 252), {}, {6}},
        {"/31, PC at .4: the other end .5", MakeIpv4(10, 0, 1, 4), MakeIpv4(255, 255, 255, 254),
         {}, {5}},
        {"/31, PC at .5: the other end .4", MakeIpv4(10, 0, 1, 5), MakeIpv4(255, 255, 255, 254),
         {}, {4}},
        {"/31, PC at .254: .255 is never tried", MakeIpv4(10, 0, 1, 254),
         MakeIpv4(255, 255, 255, 254), {}, {}},
        {"/32", MakeIpv4(10, 0, 1, 4), MakeIpv4(255, 255, 255, 255), {}, {}},
    };
    for (const auto& c : cases) {
        std::vector<Ipv4Address> pcAddresses = c.otherPcAddresses;
        pcAddresses.push_back(c.pc);
        const std::vector<Ipv4Address> candidates = CandidateAddresses(c.pc, c.mask, pcAddresses);
        EXPECT_EQ(octets(candidates), c.expected) << c.name;
        for (Ipv4Address candidate : candidates) {
            EXPECT_EQ(candidate & MakeIpv4(255, 255, 255, 0), c.pc & MakeIpv4(255, 255, 255, 0))
                << c.name << ": only the last octet changes";
        }
    }
}

// A request that cannot be made judges nothing: the controller is planned to fail, and the
// candidate is asked again for the next controller.
TEST(WebEnablePlan, ArpThatCannotBeAskedPlansAFailureNotAMove) {
    {
        FakeArp arp;
        arp.cannotAsk.insert(kInSubnet);
        WebEnablePlanner planner(Table({Record(7, kInSubnet)}), arp.Function(), {kPc});
        const WebEnablePlan plan = planner.Plan(0);
        EXPECT_EQ(plan.finding, AddressFinding::ArpCouldNotAsk);
        EXPECT_EQ(plan.way, PlannedWay::ArpFailed);
        EXPECT_TRUE(plan.Fails());
        EXPECT_EQ(arp.asked, std::vector<Ipv4Address>{kInSubnet}) << "no candidate asked";
    }
    {
        FakeArp arp;
        arp.answers[InPcSubnet(123)] = kStranger;
        arp.cannotAsk.insert(InPcSubnet(124));
        WebEnablePlanner planner(Table({Record(1, kFactory), Record(2, kFactory)}),
                                 arp.Function(), {kPc});
        const WebEnablePlan first = planner.Plan(0);
        EXPECT_EQ(first.finding, AddressFinding::SharedInTheList);
        EXPECT_EQ(first.way, PlannedWay::ArpFailed) << "not .125: .124 could be in use";
        arp.cannotAsk.clear();
        EXPECT_EQ(planner.Plan(1).address, InPcSubnet(124)) << ".124 asked again";
    }
}

TEST(WebEnableBatchPlan, TheChoiceLeavesControllersOutUnplannedAndUnasked) {
    const ControllerTable table =
        Table({Record(1, kFactory), Record(2, kInSubnet, 0), Record(3, InPcSubnet(43))});
    const struct {
        const char* name;
        BatchChoice choice;
        std::vector<bool> leftOut;
        std::vector<bool> toRun;
    } cases[] = {
        {"all", {}, {false, false, false}, {true, true, false}},
        {"only unreachable", {{}, true}, {false, true, true}, {true, false, false}},
        {"serials 2 and 3", {{2, 3}, false}, {true, false, false}, {false, true, false}},
    };
    for (const auto& c : cases) {
        FakeArp arp;
        arp.answers[kInSubnet] = MacOf(2);
        arp.answers[InPcSubnet(43)] = MacOf(3);
        const std::vector<BatchEntry> entries =
            PlanWebEnableBatch(table, c.choice, arp.Function(), {kPc});
        ASSERT_EQ(entries.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(entries[i].plan.serial, i + 1) << c.name;
            EXPECT_EQ(entries[i].leftOut, c.leftOut[i]) << c.name << ", row " << i;
            EXPECT_EQ(entries[i].ToRun(), c.toRun[i]) << c.name << ", row " << i;
        }
        if (!c.choice.serials.empty()) {
            for (Ipv4Address asked : arp.asked) {
                EXPECT_NE(asked, InPcSubnet(123))
                    << c.name << ": a controller left out is not planned";
            }
        }
    }
}

}  // namespace
}  // namespace lumaro
