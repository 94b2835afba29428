// The console front end, run as a program on the test LAN.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/console_program.h"
#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using testing::ConsoleFront;
using testing::Controller;
using testing::ProgramResult;
using testing::RunProgram;
using testing::StartControllers;

const std::string kHeader = "控制器SN\tIP\t掩码\t网关\tMAC地址\t电脑IP\tWEB\n";

class ConsoleSearch : public ::testing::TestWithParam<ConsoleFront> {
protected:
    void SetUp() override {
        if (GetParam().command.empty()) GTEST_SKIP() << LUMARO_WINDOWS_CLI_PATH << " is not built";
    }
    ProgramResult Search() const { return RunProgram(GetParam().command + " search"); }
};

INSTANTIATE_TEST_SUITE_P(NativeAndWindows, ConsoleSearch,
                         ::testing::Values(testing::NativeConsole(), testing::WindowsConsole()),
                         [](const auto& info) { return std::string(info.param.name); });

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
    auto lan = StartControllers({dhcp, webOff, Controller(100, MakeIpv4(10, 0, 1, 10))});
    ASSERT_TRUE(lan);

    const ProgramResult result = Search();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output,
              kHeader +
              "100\t10.0.1.10\t255.255.255.0\t10.0.1.254\t02-4C-00-00-00-64\t10.0.1.1\t启用\n"
              "2147483648\t10.0.1.20\t255.255.255.0\t10.0.1.254\t00-1A-2B-3C-4D-5E\t10.0.1.1\t未启用\n"
              "4294967295\t10.0.1.30\t255.255.0.0\t10.0.0.1\t02-4C-FF-FF-FF-FF\t10.0.1.1\t未启用\n");
}

TEST_P(ConsoleSearch, PrintsOnlyTheHeaderWhenNoControllerAnswers) {
    auto lan = StartControllers({});
    ASSERT_TRUE(lan);
    const ProgramResult result = Search();
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(result.output, kHeader);
}

TEST_P(ConsoleSearch, RejectsAnythingButSearch) {
    EXPECT_NE(RunProgram(GetParam().command + " 2>/dev/null").exitCode, 0);
    EXPECT_NE(RunProgram(GetParam().command + " list 2>/dev/null").exitCode, 0);
}

}  // namespace
}  // namespace lumaro
