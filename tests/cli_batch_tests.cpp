// lumaro-cli enable-web --all on the test LAN: a site of controllers fresh from the box, the
// plan of --dry-run, a controller that fails, the yes the batch waits for, and the choices
// that limit it. Native, and the main batch also as lumaro-cli.exe under Wine.

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <map>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "link/byte_io.h"
#include "link/controller_text.h"
#include "tests/console_program.h"
#include "tests/frame_names.h"
#include "tests/image_watch.h"
#include "tests/json_records.h"
#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using nlohmann::json;
using testing::Controller;
using testing::FrameNames;
using testing::ProgramResult;
using testing::RunProgramSeparately;
using testing::StartSimulator;

const Ipv4Address kFactoryAddress = MakeIpv4(192, 168, 1, 100);
constexpr std::uint32_t kFresh[] = {3000000001u, 3000000002u, 3000000003u, 3000000004u,
                                    3000000005u};
constexpr std::uint32_t kSetUp = 223000101u;  // already reachable, web server on
const Ipv4Address kSetUpAddress = MakeIpv4(10, 0, 1, 50);

// `fresh` controllers at the factory address (the 2nd and 4th with their web server off)
// and one already set up in the PC's subnet.
std::vector<sim::ControllerSpec> FactorySite(std::size_t fresh) {
    std::vector<sim::ControllerSpec> site;
    for (std::uint32_t serial : std::span(kFresh).first(fresh)) {
        auto controller = Controller(serial, kFactoryAddress);
        if (serial % 2 == 0) controller.webPort = 0;
        site.push_back(controller);
    }
    site.push_back(Controller(kSetUp, kSetUpAddress));
    return site;
}

bool InPcSubnet(Ipv4Address address) {
    return (address & testing::kPcMask) == (testing::kPcAddress & testing::kPcMask);
}

Ipv4Address Address(const json& text) { return ParseAddress(text.get<std::string>()).value_or(0); }

// The serials of a JSON array, in its order.
std::vector<std::uint32_t> SerialsInOrder(const std::string& text) {
    std::vector<std::uint32_t> serials;
    const json array = json::parse(text, nullptr, false);
    if (!array.is_array()) return serials;
    for (const json& record : array) serials.push_back(record.at("serial").get<std::uint32_t>());
    return serials;
}

// Where the frames addressed to `serial` (searches aside) lie in the LAN's log: the first
// and the last, and the PC ports they came from.
struct RunOnTheWire {
    std::size_t first = 0, last = 0;
    std::set<std::uint16_t> ports;
};
RunOnTheWire WhereRunWent(const std::vector<sim::ReceivedFrame>& log, std::uint32_t serial) {
    RunOnTheWire run{log.size(), 0, {}};
    for (std::size_t i = 0; i < log.size(); ++i) {
        const sim::ReceivedFrame& frame = log[i];
        if (frame.controllerSerial != serial || testing::IsDiscovery(frame) ||
            ByteReader(frame.bytes).Le32(12) != serial) {
            continue;
        }
        run.first = std::min(run.first, i);
        run.last = i;
        run.ports.insert(frame.sourcePort);
    }
    return run;
}

// The lines of `text` that contain `part`.
std::size_t LinesWith(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// Frames other than the search that any controller received.
std::vector<std::string> EveryCommand(const sim::Simulator& lan) {
    return FrameNames(lan.Log());
}

class ConsoleBatch : public testing::ConsoleTest {
protected:
    // Under Wine ARP goes through the neighbour table, where each unanswered request takes
    // about 5 s: two fresh controllers there keep the test short, five natively.
    std::span<const std::uint32_t> Fresh() const {
        return std::span(kFresh).first(Windows() ? 2 : 5);
    }
    ProgramResult EnableWeb(const std::string& arguments) const {
        return RunProgramSeparately(GetParam().command + " --ui-language zh enable-web " +
                                    arguments + " </dev/null");
    }
};

INSTANTIATE_TEST_SUITE_P(NativeAndWindows, ConsoleBatch, testing::BothConsoles(),
                         testing::ConsoleName);

// The five share one address, so the search lists them by their distinct serials; each
// run moves one (the others still share the address; the last one alone is outside the
// PC's subnet), and the ones moved before answer ARP at their new addresses.
TEST_P(ConsoleBatch, FreshControllersAtOneFactoryAddressEachEndAtAFreeAddressWithTheirWebOn) {
    auto lan = StartSimulator(FactorySite(Fresh().size()));
    ASSERT_TRUE(lan);
    const sim::ParameterImage setUpBefore = lan->Image(kSetUp);
    const testing::ImageWatch watch(*lan);

    const ProgramResult result = EnableWeb("--all --yes --format json");
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    const auto summary = testing::RecordsBySerial(result.output);
    ASSERT_EQ(summary.size(), Fresh().size() + 1) << result.output;

    std::set<Ipv4Address> newAddresses;
    for (std::uint32_t serial : Fresh()) {
        SCOPED_TRACE(serial);
        const json& record = summary.at(serial);
        EXPECT_EQ(record.at("result"), "done");
        EXPECT_EQ(record.at("previousIp"), "192.168.1.100");
        EXPECT_EQ(record.at("moved"), true);
        EXPECT_EQ(record.at("webEnabled"), true);
        const Ipv4Address address = Address(record.at("ip"));
        EXPECT_TRUE(InPcSubnet(address)) << FormatAddress(address);
        EXPECT_NE(address, testing::kPcAddress);
        EXPECT_NE(address, kSetUpAddress);
        newAddresses.insert(address);
        EXPECT_EQ(record.at("page"), "HTTP://" + FormatAddress(address));
        EXPECT_EQ(lan->Current(serial).ip, address) << "the controller is there";
        EXPECT_EQ(lan->Current(serial).webPort, 80) << "its web server is on";
        EXPECT_NE(result.errors.find("controller " + std::to_string(serial) +
                                     ": 192.168.1.100 -> " + FormatAddress(address) + ", web on"),
                  std::string::npos)
            << result.errors;
    }
    EXPECT_EQ(newAddresses.size(), Fresh().size()) << "every one at an address of its own";
    testing::AllowedChanges allowed;
    for (std::uint32_t serial : Fresh()) {
        allowed[serial] = testing::Union(
            {testing::written_by::NetworkGroup(), testing::written_by::SettingsGroup()});
    }
    EXPECT_TRUE(watch.ChangedOnly(allowed)) << "no byte beyond the procedure's, on any controller";

    // Side by side: each run on a socket of its own, the second begun before the first ended.
    const std::vector<sim::ReceivedFrame> log = lan->Log();
    std::set<std::uint16_t> ports;
    for (std::uint32_t serial : Fresh()) {
        const RunOnTheWire run = WhereRunWent(log, serial);
        EXPECT_EQ(run.ports.size(), 1u) << serial << ": one socket per run";
        ports.insert(run.ports.begin(), run.ports.end());
    }
    EXPECT_EQ(ports.size(), Fresh().size()) << "no two runs on one socket";
    EXPECT_LT(WhereRunWent(log, Fresh()[1]).first, WhereRunWent(log, Fresh()[0]).last)
        << "the second run began while the first still ran";
    // One progress line per run, the last with all done; the summary in serial order.
    EXPECT_EQ(LinesWith(result.errors, " running, "), Fresh().size()) << result.errors;
    EXPECT_EQ(LinesWith(result.errors, "[" + std::to_string(Fresh().size()) +
                                           " done, 0 running, 0 left] controller "),
              1u)
        << result.errors;
    std::vector<std::uint32_t> inSerialOrder = SerialsInOrder(result.output);
    std::ranges::sort(inSerialOrder);
    EXPECT_EQ(SerialsInOrder(result.output), inSerialOrder);

    const json& setUp = summary.at(kSetUp);
    EXPECT_EQ(setUp.at("result"), "not-needed");
    EXPECT_EQ(setUp.at("ip"), "10.0.1.50");
    EXPECT_EQ(lan->Image(kSetUp), setUpBefore) << "no write reached the one already set up";
    for (const sim::ReceivedFrame& frame : lan->LogOf(kSetUp)) {
        if (testing::IsDiscovery(frame)) continue;
        EXPECT_NE(ByteReader(frame.bytes).Le32(12), kSetUp) << testing::FrameName(frame);
    }
}

TEST_P(ConsoleBatch, DryRunPrintsEachWayAndAddressAndSendsNoCommand) {
    auto lan = StartSimulator(FactorySite(Fresh().size()));
    ASSERT_TRUE(lan);
    const ProgramResult result = EnableWeb("--all --dry-run --format json");
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    const auto plan = testing::RecordsBySerial(result.output);
    ASSERT_EQ(plan.size(), Fresh().size() + 1) << result.output;
    std::uint8_t octet = 123;  // the moves take the free addresses in the procedure's order
    for (std::uint32_t serial : Fresh()) {
        SCOPED_TRACE(serial);
        EXPECT_EQ(plan.at(serial).at("way"), "move");
        EXPECT_EQ(plan.at(serial).at("newIp"), FormatAddress(MakeIpv4(10, 0, 1, octet++)));
    }
    EXPECT_EQ(plan.at(kSetUp).at("way"), "none");
    EXPECT_EQ(EveryCommand(*lan), std::vector<std::string>{}) << "only the search went out";
    for (std::uint32_t serial : Fresh()) EXPECT_EQ(lan->Current(serial).ip, kFactoryAddress);
}

// Side by side: the silent one's planned address (10.0.1.124) stays held for it, so the one
// after it takes 10.0.1.125, as the plan said, and not the address left free.
TEST(ConsoleBatchNative, AControllerThatNeverAnswersFailsAloneAndTheExitIsNonZero) {
    auto silent = Controller(kFresh[1], kFactoryAddress);
    silent.behaviour.answersOnlySearch = true;  // listed, then deaf to its commands
    auto lan = StartSimulator(
        {Controller(kFresh[0], kFactoryAddress), silent, Controller(kFresh[2], kFactoryAddress)});
    ASSERT_TRUE(lan);

    const ProgramResult result = RunProgramSeparately(
        std::string(LUMARO_CLI_PATH) +
        " --ui-language en enable-web --all --yes --jobs 3 --format json");
    EXPECT_EQ(result.exitCode, 1) << result.errors;
    const auto summary = testing::RecordsBySerial(result.output);
    ASSERT_EQ(summary.size(), 3u) << result.output;
    EXPECT_EQ(summary.at(kFresh[1]).at("result"), "failed");
    // For scripts the summary's message is the window's own text whatever the language; the
    // progress line is in the console's language.
    EXPECT_EQ(summary.at(kFresh[1]).at("message"), "控制器通信失败!");
    EXPECT_EQ(summary.at(kFresh[0]).at("result"), "done") << "the one before it";
    EXPECT_EQ(summary.at(kFresh[2]).at("result"), "done") << "the one after it";
    EXPECT_NE(result.errors.find("controller 3000000002: failed: No answer from the controller!\n"),
              std::string::npos)
        << result.errors;
    EXPECT_EQ(lan->Current(kFresh[0]).ip, MakeIpv4(10, 0, 1, 123));
    EXPECT_EQ(lan->Current(kFresh[1]).ip, kFactoryAddress) << "never written";
    EXPECT_EQ(lan->Current(kFresh[2]).ip, MakeIpv4(10, 0, 1, 125)) << "not the silent one's";
    EXPECT_EQ(summary.at(kFresh[2]).at("ip"), "10.0.1.125");
}

// A controller whose address stays and whose web server is off answers its read and the
// probe but loses every write and restart: its web server stays off. Having sent the writes
// is no evidence: the search at the end of its run lists the web server off, so the run
// failed, with the reason, and the exit status says so; the single enable-web too.
TEST(ConsoleBatchNative, AControllerThatLosesItsWritesIsNotCalledDone) {
    constexpr std::uint32_t kLosesWrites = 223000160u;
    auto deaf = Controller(kLosesWrites, MakeIpv4(10, 0, 1, 60));
    deaf.webPort = 0;
    deaf.behaviour.losesWrites = true;
    auto lan = StartSimulator({deaf, Controller(kSetUp, kSetUpAddress)});
    ASSERT_TRUE(lan);
    const std::string reason = "no reply to the web settings write, and the search at the end "
                               "of its run lists the web server off";

    const ProgramResult batch = RunProgramSeparately(
        std::string(LUMARO_CLI_PATH) + " enable-web --all --yes --format json");
    EXPECT_EQ(batch.exitCode, 1) << batch.errors;
    const auto summary = testing::RecordsBySerial(batch.output);
    ASSERT_EQ(summary.count(kLosesWrites), 1u) << batch.output;
    const json& record = summary.at(kLosesWrites);
    EXPECT_EQ(record.at("result"), "failed");
    EXPECT_EQ(record.at("ip"), "10.0.1.60");
    EXPECT_EQ(record.at("moved"), false);
    EXPECT_EQ(record.at("webEnabled"), false);
    EXPECT_TRUE(record.at("page").is_null()) << record;
    EXPECT_TRUE(record.at("message").is_null()) << "the procedure itself told nothing";
    EXPECT_EQ(record.at("reason"), reason);
    EXPECT_NE(batch.errors.find("controller 223000160: failed: " + reason + "\n"),
              std::string::npos)
        << batch.errors;
    EXPECT_EQ(summary.at(kSetUp).at("result"), "not-needed");
    EXPECT_EQ(FrameNames(lan->LogOf(kLosesWrites)),
              (std::vector<std::string>{"read", "probe", "settings", "restart"}));
    EXPECT_EQ(lan->Current(kLosesWrites).webPort, 0);

    const ProgramResult single = RunProgramSeparately(std::string(LUMARO_CLI_PATH) +
                                                      " --ui-language en enable-web 223000160");
    EXPECT_EQ(single.exitCode, 1) << single.output << single.errors;
    EXPECT_NE(single.output.find("web server: did not"), std::string::npos) << single.output;
    EXPECT_NE(single.output.find(": the switch-on got no reply"), std::string::npos)
        << single.output;
    EXPECT_NE(single.errors.find("controller 223000160 is not done: " + reason),
              std::string::npos)
        << single.errors;
}

TEST(ConsoleBatchNative, WithoutATerminalOrYesItStopsWithTwoHavingSentOnlyTheSearchAndArp) {
    auto lan = StartSimulator({Controller(kFresh[0], kFactoryAddress)});
    ASSERT_TRUE(lan);
    const ProgramResult result =
        RunProgramSeparately(std::string(LUMARO_CLI_PATH) + " enable-web --all </dev/null");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_EQ(result.output, "") << "no summary: nothing was run";
    EXPECT_NE(result.errors.find("3000000001\t192.168.1.100\t10.0.1.1\tmove\t10.0.1.123"),
              std::string::npos)
        << "the plan comes first: " << result.errors;
    EXPECT_NE(result.errors.find("--yes"), std::string::npos) << result.errors;
    EXPECT_EQ(EveryCommand(*lan), std::vector<std::string>{});
}

TEST(ConsoleBatchNative, OnATerminalOnlyAYesLetsItGoOn) {
    auto webOff = Controller(kFresh[0], MakeIpv4(10, 0, 1, 42));
    webOff.webPort = 0;
    auto lan = StartSimulator({webOff});
    ASSERT_TRUE(lan);
    const std::string command = std::string(LUMARO_CLI_PATH) + " --ui-language en enable-web --all";
    const std::string prompt = "Type yes to go on: ";

    const ProgramResult declined = testing::RunOnTerminal(command, prompt, "no\n");
    EXPECT_EQ(declined.exitCode, 1) << declined.output;
    EXPECT_NE(declined.output.find("rewrites and restarts 1 controller"), std::string::npos)
        << declined.output;
    EXPECT_NE(declined.output.find("Not confirmed: nothing was written."), std::string::npos);
    EXPECT_EQ(EveryCommand(*lan), std::vector<std::string>{});

    const ProgramResult confirmed = testing::RunOnTerminal(command, prompt, "yes\n");
    EXPECT_EQ(confirmed.exitCode, 0) << confirmed.output;
    EXPECT_NE(confirmed.output.find("controller 3000000001: kept 10.0.1.42, web on"),
              std::string::npos)
        << confirmed.output;
    EXPECT_EQ(FrameNames(lan->LogOf(kFresh[0])),
              (std::vector<std::string>{"read", "probe", "settings", "restart"}));
    EXPECT_EQ(lan->Current(kFresh[0]).webPort, 80);
}

TEST(ConsoleBatchNative, OnlyUnreachableAndAListOfSerialsLimitTheBatch) {
    auto webOff = Controller(kFresh[1], MakeIpv4(10, 0, 1, 42));
    webOff.webPort = 0;
    auto lan = StartSimulator({Controller(kFresh[0], kFactoryAddress), webOff,
                                 Controller(kFresh[2], MakeIpv4(10, 0, 1, 43))});
    ASSERT_TRUE(lan);
    const std::string dryRun = std::string(LUMARO_CLI_PATH) + " enable-web --all --dry-run ";
    const struct {
        const char* arguments;
        std::vector<std::string> ways;  // of kFresh[0], [1], [2]
    } cases[] = {
        {"", {"move", "keep", "none"}},
        {"--only-unreachable", {"move", "left-out", "left-out"}},
        {"3000000002 3000000003", {"left-out", "keep", "none"}},
    };
    for (const auto& c : cases) {
        const ProgramResult result = RunProgramSeparately(dryRun + c.arguments + " --format json");
        EXPECT_EQ(result.exitCode, 0) << c.arguments << ": " << result.errors;
        const auto plan = testing::RecordsBySerial(result.output);
        ASSERT_EQ(plan.size(), 3u) << c.arguments;
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(plan.at(kFresh[i]).at("way"), c.ways[i]) << c.arguments << ", " << kFresh[i];
        }
    }
    const ProgramResult unlisted = RunProgramSeparately(dryRun + "12345");
    EXPECT_EQ(unlisted.exitCode, 1);
    EXPECT_NE(unlisted.errors.find("controller 12345 is not listed"), std::string::npos);
    EXPECT_EQ(EveryCommand(*lan), std::vector<std::string>{});
}

}  // namespace
}  // namespace lumaro
