// The console front end, run as a program on the test LAN.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using testing::Controller;
using testing::StartControllers;

struct ProgramResult {
    std::string output;
    int status = -1;
};

ProgramResult RunProgram(const std::string& command) {
    ProgramResult result;
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return result;
    char chunk[4096];
    std::size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, pipe)) > 0) result.output.append(chunk, n);
    result.status = pclose(pipe);
    return result;
}

const std::string kCli = LUMARO_CLI_PATH;
const std::string kHeader = "控制器SN\tIP\t掩码\t网关\tMAC地址\t电脑IP\tWEB\n";

TEST(ConsoleSearch, PrintsOneLinePerControllerInSerialOrder) {
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

    const ProgramResult result = RunProgram(kCli + " search");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output,
              kHeader +
              "100\t10.0.1.10\t255.255.255.0\t10.0.1.254\t02-4C-00-00-00-64\t10.0.1.1\t启用\n"
              "2147483648\t10.0.1.20\t255.255.255.0\t10.0.1.254\t00-1A-2B-3C-4D-5E\t10.0.1.1\t未启用\n"
              "4294967295\t10.0.1.30\t255.255.0.0\t10.0.0.1\t02-4C-FF-FF-FF-FF\t10.0.1.1\t未启用\n");
}

TEST(ConsoleSearch, PrintsOnlyTheHeaderWhenNoControllerAnswers) {
    auto lan = StartControllers({});
    ASSERT_TRUE(lan);
    const ProgramResult result = RunProgram(kCli + " search");
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.output, kHeader);
}

TEST(ConsoleSearch, RejectsAnythingButSearch) {
    EXPECT_NE(RunProgram(kCli + " 2>/dev/null").status, 0);
    EXPECT_NE(RunProgram(kCli + " list 2>/dev/null").status, 0);
}

}  // namespace
}  // namespace lumaro
