// lumaro-cli enable-web on the test LAN, native and as lumaro-cli.exe under Wine (where the
// system's SendARP is not supported and the neighbour table stands in).

#include <gtest/gtest.h>

#include <string>

#include "tests/console_program.h"
#include "tests/frame_names.h"
#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using testing::Controller;
using testing::FrameNames;
using testing::RunProgram;
using testing::StartControllers;
using Names = std::vector<std::string>;

constexpr std::uint32_t kSerial = 3000000001u;  // above 2^31: parsed and printed unsigned

class ConsoleEnableWeb : public testing::ConsoleTest {
protected:
    testing::ProgramResult EnableWeb(const std::string& arguments) const {
        return RunProgram(GetParam().command + " --ui-language zh enable-web " + arguments +
                          " 2>&1");
    }
};

INSTANTIATE_TEST_SUITE_P(NativeAndWindows, ConsoleEnableWeb, testing::BothConsoles(),
                         testing::ConsoleName);

TEST_P(ConsoleEnableWeb, KeptAddressPrintsThePageAndWritesTheChosenSettings) {
    auto controller = Controller(kSerial, MakeIpv4(10, 0, 1, 42));
    controller.webPort = 0;
    auto lan = StartControllers({controller});
    ASSERT_TRUE(lan);

    const auto result = EnableWeb("3000000001 --date-format 5 --language 1");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("控制器 3000000001:保留原地址 10.0.1.42\n"),
              std::string::npos) << result.output;
    EXPECT_NE(result.output.find("网页:HTTP://10.0.1.42\n"), std::string::npos) << result.output;
    EXPECT_EQ(FrameNames(lan->LogOf(kSerial)),
              (Names{"read", "probe", "settings", "restart", }));
    const auto image = lan->Image(kSerial);
    EXPECT_EQ(image[118 - sim::kImageFrameOffset], 5) << "date format";
    EXPECT_EQ(image[121 - sim::kImageFrameOffset], 0x30) << "English";
    EXPECT_EQ(lan->Current(kSerial).webPort, 80);
}

TEST_P(ConsoleEnableWeb, ControllerInAnotherSubnetIsMovedToAFreeAddress) {
    auto lan = StartControllers({Controller(kSerial, MakeIpv4(192, 168, 1, 100))});
    ASSERT_TRUE(lan);

    const auto result = EnableWeb("3000000001");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("地址已从 192.168.1.100 改为 10.0.1.123\n"), std::string::npos)
        << result.output;
    EXPECT_NE(result.output.find("网页:HTTP://10.0.1.123\n"), std::string::npos);
    EXPECT_EQ(lan->Current(kSerial).ip, MakeIpv4(10, 0, 1, 123));
}

TEST_P(ConsoleEnableWeb, FailuresPrintTheMessageAndExitNonZero) {
    auto lan = StartControllers({Controller(kSerial, MakeIpv4(10, 0, 1, 42))});
    ASSERT_TRUE(lan);

    const auto unknown = EnableWeb("12345");
    EXPECT_EQ(unknown.exitCode, 1);
    EXPECT_NE(unknown.output.find("请先选择控制器!"), std::string::npos) << unknown.output;

    sim::Behaviour silent;
    silent.neverAnswers = true;
    lan->SetBehaviour(kSerial, silent);  // listed by the console's own search? No: silent
    const auto unanswered = EnableWeb("3000000001");
    EXPECT_EQ(unanswered.exitCode, 1);
    EXPECT_NE(unanswered.output.find("请先选择控制器!"), std::string::npos)
        << "a controller that answers nothing is not listed";
}

TEST_P(ConsoleEnableWeb, AWrongOrMissingArgumentIsAUsageError) {
    for (const std::string arguments : {"", "-3", "12 --language 2", "12 --date-format 6",
                                        "12 --colour blue", "4294967296", "12 13",
                                        "12 --dry-run", "12 --yes", "--only-unreachable",
                                        "12 --format csv", "--all --open",
                                        "--all --format xml"}) {
        const auto result = EnableWeb(arguments);
        EXPECT_EQ(result.exitCode, 2) << "'" << arguments << "': " << result.output;
        EXPECT_FALSE(result.output.empty()) << "a clear message";
    }
}

// A technician without root: no packet socket, the kernel's neighbour table instead.
TEST(ConsoleEnableWebWithoutRawSockets, MovesTheControllerThroughTheNeighbourTable) {
    auto lan = StartControllers({Controller(kSerial, MakeIpv4(192, 168, 1, 100))});
    ASSERT_TRUE(lan);
    // Appended piece by piece: GCC 12 warns, wrongly, about the temporaries of a + b + c here.
    std::string command = "setpriv --bounding-set -net_raw ";
    command += LUMARO_CLI_PATH;
    command += " --ui-language en enable-web 3000000001 2>&1";
    const auto result = RunProgram(command);
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_NE(result.output.find("moved from 192.168.1.100 to 10.0.1.123\n"), std::string::npos)
        << result.output;
}

}  // namespace
}  // namespace lumaro
