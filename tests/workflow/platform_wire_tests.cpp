// The system facilities of the one-click web enable on the test LAN: ARP (on the wire, and
// through the kernel's neighbour table), one TCP connection attempt, and the web-port probe
// worker around it.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "link/controller_text.h"
#include "platform/arp.h"
#include "platform/tcp_connect.h"
#include "tests/lan_fixture.h"
#include "workflow/web_port_probe.h"

namespace lumaro::platform {
void PrintTo(const ArpResult& result, std::ostream* out) {
    static const char* const kOutcomes[] = {"answered", "no answer", "could not ask"};
    *out << kOutcomes[static_cast<int>(result.outcome())];
    if (const auto answer = result.Answer()) *out << " " << FormatMac(*answer);
}
}  // namespace lumaro::platform

namespace lumaro {
namespace {

using namespace std::chrono_literals;
using platform::ArpResult;
using platform::HardwareAddress;
using testing::Controller;
using testing::kPcAddress;
using testing::StartSimulator;

constexpr std::uint32_t kServing = 100, kSilent = 200, kRefusing = 300;
const Ipv4Address kServingIp = MakeIpv4(10, 0, 1, 10);
const Ipv4Address kSilentIp = MakeIpv4(10, 0, 1, 20);
const Ipv4Address kRefusingIp = MakeIpv4(10, 0, 1, 30);
const Ipv4Address kNobody = MakeIpv4(10, 0, 1, 77);

HardwareAddress PcMac() {
    std::ifstream file("/sys/class/net/pc0/address");
    std::string text;
    file >> text;
    HardwareAddress mac{};
    for (std::size_t i = 0; i < mac.size(); ++i) {
        mac[i] = static_cast<std::uint8_t>(std::stoul(text.substr(3 * i, 2), nullptr, 16));
    }
    return mac;
}

void Shell(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

class FacilitiesOnTheLan : public ::testing::Test {
protected:
    void SetUp() override {
        auto silent = Controller(kSilent, kSilentIp);
        silent.webPort = 0;
        auto refusing = Controller(kRefusing, kRefusingIp);
        refusing.webPort = 0;
        refusing.behaviour.webRefuses = true;
        lan_ = StartSimulator({Controller(kServing, kServingIp), silent, refusing});
        ASSERT_TRUE(lan_);
    }
    std::unique_ptr<sim::Simulator> lan_;
};

// Both ways of asking answer alike.
using ArpWay = platform::ArpResult (*)(Ipv4Address, Ipv4Address);
struct NamedArpWay {
    const char* name;
    ArpWay ask;
};
const NamedArpWay kArpWays[] = {{"OnTheWire", platform::RequestHardwareAddress},
                                {"ThroughTheNeighbourTable",
                                 platform::ResolveThroughNeighbourTable}};

class ArpOnTheLan : public FacilitiesOnTheLan,
                    public ::testing::WithParamInterface<NamedArpWay> {};

TEST_P(ArpOnTheLan, AnsweringHostGivesItsHardwareAddress) {
    EXPECT_EQ(GetParam().ask(kServingIp, kPcAddress).Answer(), Controller(kServing, kServingIp).mac);
}

TEST_P(ArpOnTheLan, NobodyAtTheAddressGivesNoAnswerAfterTheWait) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(GetParam().ask(kNobody, kPcAddress).outcome(), ArpResult::Outcome::NoAnswer);
    EXPECT_GE(std::chrono::steady_clock::now() - start, platform::kArpWait - 100ms);
}

// The batch asks many addresses at once, each on a thread of its own: each ask gets the
// answer for its own address, whatever the others meet meanwhile.
TEST_P(ArpOnTheLan, AddressesAskedAtOnceEachGetTheirOwnAnswer) {
    const std::vector<std::pair<Ipv4Address, std::optional<HardwareAddress>>> cases = {
        {kServingIp, Controller(kServing, kServingIp).mac},
        {kSilentIp, Controller(kSilent, kSilentIp).mac},
        {kRefusingIp, Controller(kRefusing, kRefusingIp).mac},
        {kNobody, std::nullopt},
        {kPcAddress, PcMac()}};
    const ArpWay ask = GetParam().ask;
    std::vector<ArpResult> answers(cases.size(), ArpResult::CouldNotAsk());
    {
        std::vector<std::jthread> askers;
        for (std::size_t i = 0; i < cases.size(); ++i) {
            askers.emplace_back([&, i] { answers[i] = ask(cases[i].first, kPcAddress); });
        }
    }  // every asker has ended
    for (std::size_t i = 0; i < cases.size(); ++i) {
        EXPECT_TRUE(answers[i].Asked()) << FormatAddress(cases[i].first);
        EXPECT_EQ(answers[i].Answer(), cases[i].second) << FormatAddress(cases[i].first);
    }
}

TEST_P(ArpOnTheLan, ThePcsOwnAddressCountsAsTaken) {
    EXPECT_EQ(GetParam().ask(kPcAddress, kPcAddress).Answer(), PcMac());
}

// Asking from an address that the PC no longer has, or through an interface whose cable is
// pulled, is no "nobody answered": the address would look free.
TEST_P(ArpOnTheLan, ASourceThatIsNoAddressOfThePcCannotAsk) {
    EXPECT_EQ(GetParam().ask(kServingIp, MakeIpv4(10, 9, 9, 9)).outcome(),
              ArpResult::Outcome::CouldNotAsk);
}

TEST_P(ArpOnTheLan, AnInterfaceWithoutCarrierCannotAsk) {
    // The switch's end of the PC's cable goes down: pc0 keeps its address, loses its carrier.
    const std::string switchSide =
        "ip -n " + std::string(std::getenv("LUMARO_LAB")) + "-sw link set p0 ";
    Shell(switchSide + "down");
    const ArpResult free = GetParam().ask(kNobody, kPcAddress);
    const ArpResult taken = GetParam().ask(kServingIp, kPcAddress);
    Shell(switchSide + "up");
    EXPECT_EQ(free.outcome(), ArpResult::Outcome::CouldNotAsk);
    EXPECT_EQ(taken.outcome(), ArpResult::Outcome::CouldNotAsk);
}

TEST_P(ArpOnTheLan, AStaleEntryFromBeforeIsNoAnswer) {
    // The kernel remembers an answer for an address where nobody is any more.
    Shell("ip neigh replace " + FormatAddress(kNobody) +
          " dev pc0 lladdr 02:4c:de:ad:be:ef nud stale");
    EXPECT_EQ(GetParam().ask(kNobody, kPcAddress).outcome(), ArpResult::Outcome::NoAnswer);
}

TEST_P(ArpOnTheLan, AStaleEntryOfAHostStillThereIsCheckedAgain) {
    Shell("ip neigh replace " + FormatAddress(kServingIp) +
          " dev pc0 lladdr 02:4c:00:00:00:64 nud stale");
    EXPECT_EQ(GetParam().ask(kServingIp, kPcAddress).Answer(), Controller(kServing, kServingIp).mac);
}

INSTANTIATE_TEST_SUITE_P(BothWays, ArpOnTheLan, ::testing::ValuesIn(kArpWays),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(FacilitiesOnTheLan, ConnectionAttemptTellsAcceptedFromRefused) {
    EXPECT_EQ(platform::ConnectOnce(kServingIp, 80), platform::ConnectOutcome::Connected);
    EXPECT_EQ(platform::ConnectOnce(kRefusingIp, 80), platform::ConnectOutcome::Refused);
    // No route to that network: the attempt fails at once.
    EXPECT_EQ(platform::ConnectOnce(MakeIpv4(192, 168, 77, 1), 80),
              platform::ConnectOutcome::Failed);
}

TEST_F(FacilitiesOnTheLan, ProbeTellsAConnectionMadeFromARefusalAndFromSilence) {
    EXPECT_EQ(ProbeWebPort({kServingIp, 80}, 1000ms), ProbeWait::Connected);
    EXPECT_EQ(ProbeWebPort({kRefusingIp, 80}, 1000ms), ProbeWait::NotConnected);
    // Nothing answers: the wait runs out while the worker goes on connecting by itself.
    EXPECT_EQ(ProbeWebPort({kSilentIp, 80}, 1000ms), ProbeWait::StillConnecting);
}

TEST(WebPortProbeWorker, OutlivesTheWaitWithoutTouchingTheCallersMemory) {
    auto release = std::make_shared<std::atomic<bool>>(false);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    {
        const ProbeTarget target{MakeIpv4(10, 0, 1, 5), 80};
        const auto slowConnect = [release, finished](Ipv4Address address, std::uint16_t port) {
            EXPECT_EQ(address, MakeIpv4(10, 0, 1, 5));
            EXPECT_EQ(port, 80);
            while (!*release) std::this_thread::sleep_for(5ms);
            *finished = true;
            return platform::ConnectOutcome::Connected;
        };
        EXPECT_EQ(ProbeWebPort(target, 50ms, slowConnect), ProbeWait::StillConnecting);
    }  // the target and the caller's frame are gone; the worker still runs
    *release = true;
    while (!*finished) std::this_thread::sleep_for(5ms);
    // It reports into what it shares, then ends: the last copy of its connect attempt (and
    // of `release` in it) goes with it.
    while (release.use_count() > 1) std::this_thread::sleep_for(5ms);
}

TEST(WebPortProbeWorker, EndingInTimeReportsTheOutcome) {
    const auto refused = [](Ipv4Address, std::uint16_t) { return platform::ConnectOutcome::Refused; };
    const auto failed = [](Ipv4Address, std::uint16_t) { return platform::ConnectOutcome::Failed; };
    const auto made = [](Ipv4Address, std::uint16_t) { return platform::ConnectOutcome::Connected; };
    EXPECT_EQ(ProbeWebPort({1, 80}, 1000ms, refused), ProbeWait::NotConnected);
    EXPECT_EQ(ProbeWebPort({1, 80}, 1000ms, failed), ProbeWait::NotConnected);
    EXPECT_EQ(ProbeWebPort({1, 80}, 1000ms, made), ProbeWait::Connected);
}

}  // namespace
}  // namespace lumaro
