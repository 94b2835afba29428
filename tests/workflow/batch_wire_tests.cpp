// The batch of one-click procedures side by side on the test LAN, in this process: each run
// on a link of its own, controllers whose first free address is the same started at once,
// and a controller that keeps an address the list shows for another too. Real ARP where
// the addresses matter, the real web-port probe and the real pauses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "link/byte_io.h"
#include "link/controller_text.h"
#include "link/search.h"
#include "tests/frame_names.h"
#include "tests/image_watch.h"
#include "tests/lan_fixture.h"
#include "tests/neighbour_hosts.h"
#include "tests/recording_dialog.h"
#include "workflow/web_enable_batch.h"

namespace lumaro {
namespace {

using testing::Controller;
using testing::NeighbourHosts;
using testing::RecordingDialog;
using testing::StartSimulator;

const Ipv4Address kFactoryAddress = MakeIpv4(192, 168, 1, 100);
constexpr std::uint32_t kBystander = 223000101;  // set up already: never to be touched
const Ipv4Address kBystanderAddress = MakeIpv4(10, 0, 1, 50);
constexpr std::size_t kPlanArpAtOnce = 16;

Ipv4Address Host(int octet) { return MakeIpv4(10, 0, 1, static_cast<std::uint8_t>(octet)); }

// The names of the frames addressed to `serial` (every controller receives the broadcasts
// addressed to the others too), in the order received.
std::vector<std::string> CommandsTo(const sim::Simulator& lan, std::uint32_t serial) {
    std::vector<std::string> names;
    for (const auto& frame : testing::FramesAddressedTo(lan.Log(), serial)) {
        names.push_back(testing::FrameName(frame));
    }
    return names;
}

// The local ports of the PC from which the frames addressed to `serial` came.
std::set<std::uint16_t> PortsSendingTo(const sim::Simulator& lan, std::uint32_t serial) {
    std::set<std::uint16_t> ports;
    for (const sim::ReceivedFrame& frame : lan.LogOf(serial)) {
        if (!testing::IsDiscovery(frame) && ByteReader(frame.bytes).Le32(12) == serial) {
            ports.insert(frame.sourcePort);
        }
    }
    return ports;
}

// A lane as the console makes one: a link of its own and the window's stand-in over it.
BatchLane MakeLane() {
    BatchLane lane;
    lane.link = std::make_unique<ControllerLink>();
    lane.dialog = std::make_unique<RecordingDialog>(*lane.link);
    return lane;
}

WebEnableSystem SystemWithoutBrowser() {
    WebEnableSystem system = WebEnableSystem::System();
    system.openPage = [](const std::string&) {};
    return system;
}

class BatchOnTheLan : public ::testing::Test {
protected:
    void Start(std::vector<sim::ControllerSpec> controllers,
               std::optional<sim::SprayOptions> spray = std::nullopt) {
        lan_ = StartSimulator(std::move(controllers), spray);
        ASSERT_TRUE(lan_);
        SearchControllers(link_);
    }

    std::vector<BatchOutcome> Run(const std::vector<BatchEntry>& entries,
                                  const WebEnableSystem& system, std::size_t jobs) {
        // Started at once: no spacing between the starts.
        return RunWebEnableBatch(link_.Table(), MakeLane, system, entries,
                                 BatchPace{.jobs = jobs, .startSpacing = {}},
                                 [](const BatchOutcome&, const SideBySideProgress&) {});
    }

    std::unique_ptr<sim::Simulator> lan_;
    ControllerLink link_;  // the search the plan is made from
};

// Six controllers fresh from the box are planned for 10.0.1.123-128; before they run, other
// devices take those six addresses. Started at once, each finds its planned address
// answered and the others' held, so the first free address of every one of them is
// 10.0.1.129: only the claims keep them apart.
TEST_F(BatchOnTheLan, ControllersWhoseFirstFreeAddressIsTheSameStartedAtOnceEachEndAtOneOfTheirOwn) {
    std::vector<sim::ControllerSpec> site;
    std::vector<std::uint32_t> fresh;
    for (std::uint32_t serial = 3000000001u; serial <= 3000000006u; ++serial) {
        fresh.push_back(serial);
        site.push_back(Controller(serial, kFactoryAddress));
    }
    site.push_back(Controller(kBystander, kBystanderAddress));
    Start(site);
    const WebEnableSystem system = SystemWithoutBrowser();
    const std::vector<BatchEntry> entries =
        PlanWebEnableBatch(link_.Table(), {}, system.arp, link_.InterfaceAddresses(), kPlanArpAtOnce);
    for (const BatchEntry& entry : entries) {
        if (entry.plan.serial == kBystander) continue;
        ASSERT_EQ(entry.plan.way, PlannedWay::Move) << entry.plan.serial;
        ASSERT_GE(Octet(entry.plan.address, 3), 123);
        ASSERT_LE(Octet(entry.plan.address, 3), 128);
    }
    std::vector<Ipv4Address> planned;
    for (int octet = 123; octet <= 128; ++octet) planned.push_back(Host(octet));
    const NeighbourHosts devices(planned);
    ASSERT_TRUE(devices.Ready());
    const testing::ImageWatch watch(*lan_);
    lan_->ClearLog();

    const std::vector<BatchOutcome> outcomes = Run(entries, system, fresh.size());

    std::set<Ipv4Address> addresses;
    testing::AllowedChanges allowed;
    std::map<std::uint16_t, std::uint32_t> portOwners;
    for (const BatchOutcome& outcome : outcomes) {
        if (outcome.serial == kBystander) continue;
        SCOPED_TRACE(outcome.serial);
        EXPECT_EQ(outcome.result, BatchResult::Done);
        const Ipv4Address now = lan_->Current(outcome.serial).ip;
        EXPECT_EQ(now, outcome.address) << "the controller is where the outcome says";
        EXPECT_GE(Octet(now, 3), 129) << FormatAddress(now) << ": not where a device answers";
        EXPECT_LE(Octet(now, 3), 134) << FormatAddress(now);
        addresses.insert(now);
        allowed[outcome.serial] = testing::Union(
            {testing::written_by::NetworkGroup(), testing::written_by::SettingsGroup()});
        // Every command of a run left from one socket of the run's own.
        const std::set<std::uint16_t> ports = PortsSendingTo(*lan_, outcome.serial);
        ASSERT_EQ(ports.size(), 1u) << "one socket per run";
        EXPECT_TRUE(portOwners.emplace(*ports.begin(), outcome.serial).second)
            << "port " << *ports.begin() << " is also controller "
            << portOwners[*ports.begin()] << "'s";
    }
    EXPECT_EQ(addresses.size(), fresh.size()) << "every one at an address of its own";
    EXPECT_TRUE(watch.ChangedOnly(allowed));
    EXPECT_EQ(CommandsTo(*lan_, kBystander), std::vector<std::string>{})
        << "nothing but the searches for the one already set up";
}

// Two controllers report 10.0.1.60. The plan moves the first and keeps the second, whose web
// server is off, as one after another would. Side by side, the second waits until the first
// has moved away; started at once it would still see the first listed there and move too.
TEST_F(BatchOnTheLan, AControllerKeepingAnAddressTheListShowsTwiceWaitsForTheOtherToMove) {
    constexpr std::uint32_t kFirst = 100, kSecond = 200;
    auto second = Controller(kSecond, Host(60));
    second.webPort = 0;
    Start({Controller(kFirst, Host(60)), second});

    // ARP as the LAN stands, the highest serial answering where two are, without the wait
    // for an unanswered request.
    WebEnableSystem system = SystemWithoutBrowser();
    std::mutex arpMutex;
    system.arp = [&](Ipv4Address target, Ipv4Address) -> platform::ArpResult {
        const std::lock_guard lock(arpMutex);
        std::optional<platform::HardwareAddress> answer;
        for (std::uint32_t serial : {kFirst, kSecond}) {
            const sim::ControllerSpec now = lan_->Current(serial);
            if (now.ip == target) answer = now.mac;
        }
        return answer ? platform::ArpResult::AnsweredBy(*answer) : platform::ArpResult::NoAnswer();
    };
    const std::vector<BatchEntry> entries =
        PlanWebEnableBatch(link_.Table(), {}, system.arp, link_.InterfaceAddresses(), kPlanArpAtOnce);
    ASSERT_EQ(entries.size(), 2u);
    ASSERT_EQ(entries[0].plan.way, PlannedWay::Move);
    ASSERT_EQ(entries[0].plan.address, Host(123));
    ASSERT_EQ(entries[1].plan.way, PlannedWay::KeepAddress);
    lan_->ClearLog();

    const std::vector<BatchOutcome> outcomes = Run(entries, system, 2);
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(outcomes[0].result, BatchResult::Done);
    EXPECT_EQ(lan_->Current(kFirst).ip, Host(123));
    EXPECT_EQ(outcomes[1].result, BatchResult::Done);
    EXPECT_FALSE(outcomes[1].Moved());
    EXPECT_EQ(lan_->Current(kSecond).ip, Host(60)) << "kept, as planned";
    EXPECT_EQ(lan_->Current(kSecond).webPort, 80);
    EXPECT_EQ(CommandsTo(*lan_, kSecond),
              (std::vector<std::string>{"read", "probe", "settings", "restart"}));
}

// Random datagrams sprayed at the PC's sockets (a third shaped as replies, some with a
// listed serial) all through the plan and three runs side by side on links of their own.
// The batch ends; whatever each run makes of the spray, nothing is written to the fresh
// controller left out or to the one set up, and every run that reports done left its
// controller where it says, each at an address of its own.
TEST_F(BatchOnTheLan, UnderASprayTheBatchEndsAndWritesToNoControllerItDidNotChoose) {
    constexpr std::uint32_t kSpraySeed = 20240311;
    const std::vector<std::uint32_t> chosen = {3000000001u, 3000000002u, 3000000003u};
    constexpr std::uint32_t kLeftOut = 3000000004u;
    std::vector<sim::ControllerSpec> site;
    for (std::uint32_t serial : chosen) site.push_back(Controller(serial, kFactoryAddress));
    site.push_back(Controller(kLeftOut, kFactoryAddress));
    site.push_back(Controller(kBystander, kBystanderAddress));
    Start(site, sim::SprayOptions{kSpraySeed, 500});
    const testing::ImageWatch watch(*lan_);
    const WebEnableSystem system = SystemWithoutBrowser();
    const std::vector<BatchEntry> entries = PlanWebEnableBatch(
        link_.Table(), {.serials = chosen}, system.arp, link_.InterfaceAddresses(), kPlanArpAtOnce);

    const std::vector<BatchOutcome> outcomes = Run(entries, system, chosen.size());

    std::set<Ipv4Address> addresses;
    std::size_t done = 0;
    testing::AllowedChanges allowed;
    for (const BatchOutcome& outcome : outcomes) {
        SCOPED_TRACE(outcome.serial);
        const bool wasChosen = std::ranges::find(chosen, outcome.serial) != chosen.end();
        if (!wasChosen) {
            EXPECT_TRUE(outcome.result == BatchResult::LeftOut ||
                        outcome.result == BatchResult::NotNeeded);
            continue;
        }
        allowed[outcome.serial] = testing::Union(
            {testing::written_by::NetworkGroup(), testing::written_by::SettingsGroup()});
        if (outcome.result != BatchResult::Done) continue;
        ++done;
        EXPECT_EQ(lan_->Current(outcome.serial).ip, outcome.address);
        EXPECT_TRUE(addresses.insert(outcome.address).second) << FormatAddress(outcome.address);
    }
    std::printf("%zu of %zu done under %zu sprayed datagrams\n", done, chosen.size(),
                lan_->SprayedCount());
    EXPECT_TRUE(watch.ChangedOnly(allowed)) << "only the chosen ones, only the procedure's fields";
    for (std::uint32_t untouched : {kLeftOut, kBystander}) {
        EXPECT_EQ(CommandsTo(*lan_, untouched), std::vector<std::string>{}) << untouched;
    }
    EXPECT_GT(lan_->SprayedCount(), 1000u) << "the spray hardly ran";
}

}  // namespace
}  // namespace lumaro
