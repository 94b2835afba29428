// The console front end, run as a program on the test LAN: the search, native and under
// Wine, and the commands on one controller (native), checked by their output, their exit
// code and the frames that the controllers received.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "link/byte_io.h"
#include "tests/console_program.h"
#include "tests/frame_names.h"
#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using testing::Controller;
using testing::ProgramResult;
using testing::RunProgram;
using testing::StartSimulator;

const std::string kHeader = "控制器SN\tIP\t掩码\t网关\tMAC地址\t电脑IP\tWEB\n";

// The window's Chinese list, which the console prints when its language is Chinese.
class ConsoleSearch : public testing::ConsoleTest {
protected:
    ProgramResult Search() const {
        return RunProgram(GetParam().command + " --ui-language zh search");
    }
};

INSTANTIATE_TEST_SUITE_P(NativeAndWindows, ConsoleSearch, testing::BothConsoles(),
                         testing::ConsoleName);

TEST_P(ConsoleSearch, PrintsOneLinePerControllerInSerialOrder) {
    auto webOff = Controller(2147483648u, MakeIpv4(10, 0, 1, 20));
    webOff.webPort = 0;
    webOff.mac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    auto dhcp = Controller(4294967295u, MakeIpv4(192, 168, 0, 0));
    dhcp.dhcp = true;
    dhcp.dhcpIp = MakeIpv4(10, 0, 1, 30);
    dhcp.dhcpMask = MakeIpv4(255, 255, 0, 0);
    dhcp.dhcpGateway = MakeIpv4(10, 0, 0, 1);
    dhcp.webPort = 65535;
    auto lan = StartSimulator({dhcp, webOff, Controller(100, MakeIpv4(10, 0, 1, 10))});
    ASSERT_TRUE(lan);

    const ProgramResult result = Search();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output,
              kHeader +
              "100\t10.0.1.10\t255.255.255.0\t10.0.1.254\t02-4C-00-00-00-64\t10.0.1.1\t启用\n"
              "2147483648\t10.0.1.20\t255.255.255.0\t10.0.1.254\t00-1A-2B-3C-4D-5E\t10.0.1.1\t未启用\n"
              "4294967295\t10.0.1.30\t255.255.0.0\t10.0.0.1\t02-4C-FF-FF-FF-FF\t10.0.1.1\t未启用\n");
}

TEST_P(ConsoleSearch, FollowsTheLocaleOrTheOptionForTheListAndItsMessages) {
    auto webOff = Controller(200, MakeIpv4(10, 0, 1, 20));
    webOff.webPort = 0;
    auto lan = StartSimulator({Controller(100, MakeIpv4(10, 0, 1, 10)), webOff});
    ASSERT_TRUE(lan);
    const std::string english =
        "Serial\tIP\tMask\tGateway\tMAC\tPC address\tWeb\n"
        "100\t10.0.1.10\t255.255.255.0\t10.0.1.254\t02-4C-00-00-00-64\t10.0.1.1\tOn\n"
        "200\t10.0.1.20\t255.255.255.0\t10.0.1.254\t02-4C-00-00-00-C8\t10.0.1.1\tOff\n";
    const std::string chinese =
        kHeader +
        "100\t10.0.1.10\t255.255.255.0\t10.0.1.254\t02-4C-00-00-00-64\t10.0.1.1\t启用\n"
        "200\t10.0.1.20\t255.255.255.0\t10.0.1.254\t02-4C-00-00-00-C8\t10.0.1.1\t未启用\n";
    const struct {
        const char* environment;  // LANGUAGE, LC_ALL and LC_MESSAGES are cleared first
        const char* option;
        std::string list;
        const char* refusal;
    } cases[] = {
        {"LANG=en_US.UTF-8", "", english, "Select a controller first!"},
        {"LANG=zh_CN.UTF-8", "", chinese, "请先选择控制器!"},
        {"LANG=C", "", english, "Select a controller first!"},
        {"LANG=en_US.UTF-8 LC_MESSAGES=zh_CN.UTF-8", "", chinese, "请先选择控制器!"},
        {"LANG=zh_CN.UTF-8 LANGUAGE=en", "", english, "Select a controller first!"},
        {"LANG=zh_CN.UTF-8", "--ui-language en", english, "Select a controller first!"},
        {"LANG=en_US.UTF-8", "--ui-language zh", chinese, "请先选择控制器!"},
    };
    for (const auto& c : cases) {
        const std::string prefix = std::string("env -u LANGUAGE -u LC_ALL -u LC_MESSAGES ") +
                                   c.environment + " " + GetParam().command + " " + c.option;
        const ProgramResult search = RunProgram(prefix + " search");
        EXPECT_EQ(search.output, c.list) << c.environment << " " << c.option;
        const ProgramResult refused = RunProgram(prefix + " sync-time 300 2>&1");
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_NE(refused.output.find(std::string(c.refusal) + "\n"), std::string::npos)
            << c.environment << " " << c.option << ": " << refused.output;
    }
}

TEST_P(ConsoleSearch, PrintsOnlyTheHeaderWhenNoControllerAnswers) {
    auto lan = StartSimulator({});
    ASSERT_TRUE(lan);
    const ProgramResult result = Search();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, kHeader);
}

TEST_P(ConsoleSearch, RejectsAnythingButSearch) {
    EXPECT_NE(RunProgram(GetParam().command + " 2>/dev/null").exitCode, 0);
    EXPECT_NE(RunProgram(GetParam().command + " list 2>/dev/null").exitCode, 0);
}

// Two controllers, 100 and 200, in the PC's subnet; the commands act on 200.
class ConsoleCommands : public ::testing::Test {
protected:
    static constexpr std::uint32_t kSerial = 200;

    void SetUp() override {
        lan_ = StartSimulator({Controller(100, MakeIpv4(10, 0, 1, 10)),
                                 Controller(kSerial, MakeIpv4(10, 0, 1, 20))});
        ASSERT_TRUE(lan_);
    }

    // The native program with these arguments, speaking the window's Chinese; standard
    // error joins standard output.
    static ProgramResult Run(const std::string& arguments) {
        return RunProgram(std::string(LUMARO_CLI_PATH) + " --ui-language zh " + arguments +
                          " 2>&1");
    }

    // The frames addressed to the controller, other than the searches' discovery.
    std::vector<std::vector<std::uint8_t>> CommandFrames() const {
        return testing::FramesAddressedTo(lan_->LogOf(kSerial), kSerial);
    }

    std::unique_ptr<sim::Simulator> lan_;
};

const std::string kRow200 = "200\t10.0.1.20\t255.255.255.0\t10.0.1.254\t02-4C-00-00-00-C8\t10.0.1.1\t";

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST_F(ConsoleCommands, SetAddressWritesSettingsThenAddressesAndPrintsTheMovedRow) {
    const ProgramResult result =
        Run("set-address 200 10.0.1.120 255.255.255.0 10.0.1.254 --date-format 2 --language 1");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output,
              "控制器 200:已写入地址 10.0.1.120、掩码 255.255.255.0、网关 10.0.1.254,Web 服务器在端口 80 开启\n" +
                  kHeader +
                  "200\t10.0.1.120\t255.255.255.0\t10.0.1.254\t02-4C-00-00-00-C8\t10.0.1.1\t启用\n");

    const auto frames = CommandFrames();
    ASSERT_EQ(frames.size(), 2u);
    for (const auto& frame : frames) {
        ASSERT_EQ(frame.size(), 1172u);
        EXPECT_EQ(frame[0], 0x25);
        EXPECT_EQ(frame[1], 0x20);
        EXPECT_EQ(frame[1056], 0xF7);
        EXPECT_EQ(frame[116] | frame[117] << 8, 80);
        EXPECT_EQ(frame[118], 2);     // the date format chosen
        EXPECT_EQ(frame[121], 0x30);  // English
    }
    EXPECT_EQ(frames[0][1044], 0x00) << "the first frame carries the settings alone";
    EXPECT_EQ(frames[1][1044], 0xFF);
    EXPECT_EQ(frames[1][1045], 0x3F);
    EXPECT_EQ(std::vector<std::uint8_t>(frames[1].begin() + 20, frames[1].begin() + 34),
              (std::vector<std::uint8_t>{10, 0, 1, 120, 255, 255, 255, 0, 10, 0, 1, 254, 0x60, 0xEA}));
}

TEST_F(ConsoleCommands, SyncTimeSendsTheClockAndFailsWhenTheReplyIsNotItsOwn) {
    ProgramResult result = Run("sync-time 200");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_TRUE(Contains(result.output, "校准时间成功!\n")) << result.output;
    EXPECT_TRUE(Contains(result.output, "控制器 200:时钟已设为电脑的本地时间\n")) << result.output;
    EXPECT_TRUE(Contains(result.output, kHeader + kRow200 + "启用\n")) << result.output;
    auto frames = CommandFrames();
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].size(), 28u);
    EXPECT_EQ(frames[0][0], 0x20);
    EXPECT_EQ(frames[0][1], 0x30);
    EXPECT_EQ(frames[0][27], 0xFF);

    // A silent controller would not be found by the search: this one answers every frame,
    // but with another sequence number, which the clock command counts as no answer.
    sim::Behaviour wrongSequence;
    wrongSequence.wrongSequence = true;
    lan_->SetBehaviour(kSerial, wrongSequence);
    result = Run("sync-time 200");
    EXPECT_NE(result.exitCode, 0);
    EXPECT_TRUE(Contains(result.output, "校准时间失败!\n")) << result.output;
}

TEST_F(ConsoleCommands, WebOffWritesThePortZeroRestartsAndPrintsTheRowWithWebOff) {
    const ProgramResult result = Run("web-off 200");
    EXPECT_EQ(result.exitCode, 0) << result.output;
    EXPECT_EQ(result.output, "控制器 200:Web 服务器已关闭,控制器已重启\n" +
                                 kHeader + kRow200 + "未启用\n");
    const auto frames = CommandFrames();
    ASSERT_EQ(frames.size(), 2u);
    ASSERT_EQ(frames[0].size(), 1172u);
    EXPECT_EQ(frames[0][1056], 0xF3);
    EXPECT_EQ(frames[0][116] | frames[0][117] | frames[0][118], 0);
    ASSERT_EQ(frames[1].size(), 24u);
    EXPECT_EQ(frames[1][0], 0x20);
    EXPECT_EQ(frames[1][1], 0x90);
    EXPECT_EQ(ByteReader(frames[1]).Le32(20), 0u);
}

TEST_F(ConsoleCommands, RefusesUnusableAddressesUnlistedSerialsAndTheHiddenModeCodeSendingNothing) {
    struct Case {
        const char* arguments;
        std::string message;
    };
    const Case cases[] = {
        {"set-address 200 10.0.1.255 255.255.255.0 0.0.0.0", "IP地址或子网掩码无效,未写入控制器!"},
        {"set-address 200 10.0.1.120 \"\" 0.0.0.0", "IP地址或子网掩码无效,未写入控制器!"},
        {"set-address 300 10.0.1.120 255.255.255.0 0.0.0.0", "请先选择控制器!"},
        {"web-off 300", "请先选择控制器!"},
        {"sync-time 300", "请先选择控制器!"},
        // The panel's hidden-mode code writes nothing here either.
        {"set-address 200 10.0.1.120 255.255.255.0 2.9.4.6", "未发送任何命令"},
        // The console's own line says why, in the language chosen.
        {"set-address 200 10.0.1.0 255.255.255.0 0.0.0.0",
         "lumaro-cli: 10.0.1.0(掩码 255.255.255.0)是其子网的网络地址:未发送任何命令"},
    };
    for (const Case& c : cases) {
        const ProgramResult result = Run(c.arguments);
        EXPECT_EQ(result.exitCode, 1) << c.arguments;
        EXPECT_TRUE(Contains(result.output, c.message + "\n")) << c.arguments << ": " << result.output;
    }
    EXPECT_TRUE(CommandFrames().empty());
}

// Sent is not done: a controller that loses its writes is not said to have taken them.
TEST_F(ConsoleCommands, AControllerThatLosesItsWritesIsNotSaidToHaveTakenThem) {
    sim::Behaviour losesWrites;
    losesWrites.losesWrites = true;
    lan_->SetBehaviour(kSerial, losesWrites);
    for (const char* arguments :
         {"set-address 200 10.0.1.120 255.255.255.0 10.0.1.254", "web-off 200"}) {
        const ProgramResult result = Run(arguments);
        EXPECT_EQ(result.exitCode, 1) << arguments << ": " << result.output;
        EXPECT_FALSE(Contains(result.output, "200:"))
            << arguments << ": no line of what it did: " << result.output;
        EXPECT_TRUE(Contains(result.output, "lumaro-cli: 控制器没有回应每一帧\n"))
            << arguments << ": " << result.output;
        EXPECT_TRUE(Contains(result.output, kHeader + kRow200 + "启用\n"))
            << arguments << ": the row as the search lists it, unchanged: " << result.output;
    }
}

}  // namespace
}  // namespace lumaro
