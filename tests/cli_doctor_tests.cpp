// lumaro-cli doctor on the test LAN, native and as lumaro-cli.exe under Wine: a PC with two
// interfaces and controllers behind one of them, and a PC with nothing but its loopback.
// Each case runs in a LAN of its own (tests/cli_tests.cmake).

#include <gtest/gtest.h>

#include <string>

#include "tests/console_program.h"
#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using testing::Controller;
using testing::ProgramResult;

class ConsoleDoctor : public testing::ConsoleTest {
protected:
    ProgramResult Doctor() const { return testing::RunProgram(GetParam().command + " doctor"); }
};

INSTANTIATE_TEST_SUITE_P(NativeAndWindows, ConsoleDoctor, testing::BothConsoles(),
                         testing::ConsoleName);

bool Shows(const ProgramResult& result, const std::string& line) {
    return result.output.find(line) != std::string::npos;
}

// Lab: --segments 2 --pc 0:10.0.1.1/24 --pc 1:10.0.2.1/24; the controllers on segment 0.
TEST_P(ConsoleDoctor, TwoInterfacesWithControllersBehindOneReportRepliesPerInterface) {
    auto lan = testing::StartSimulator({Controller(100, MakeIpv4(10, 0, 1, 10)),
                                          Controller(2147483650u, MakeIpv4(192, 168, 1, 100))});
    ASSERT_TRUE(lan);
    const ProgramResult result = Doctor();
    EXPECT_EQ(result.exitCode, 0) << result.output;
    for (const std::string line : {
             "ok       interface 10.0.1.1/255.255.255.0: used\n",
             "ok       interface 10.0.2.1/255.255.255.0: used\n",
             "skipped  interface 127.0.0.1/255.0.0.0: loopback, this PC itself\n",
             "ok       search through 10.0.1.1: 2 controllers answered\n",
             "note     search through 10.0.2.1: no controller answered\n",
             "ok       found 2 controllers\n",
         }) {
        EXPECT_TRUE(Shows(result, line)) << "missing: " << line << result.output;
    }
    for (const std::string address : {"10.0.1.1", "10.0.2.1"}) {
        EXPECT_TRUE(Shows(result, "socket " + address + ": bound (port "))
            << address << ": " << result.output;
        EXPECT_TRUE(Shows(result, "broadcast on, receive buffer ")) << result.output;
    }
    // Windows asks its firewall; Wine answers only part of it, and says so as unknown.
    EXPECT_TRUE(Shows(result, Windows() ? "firewall" : "note     firewall: not checked"))
        << result.output;
}

// Lab: --no-pc.
TEST_P(ConsoleDoctor, OnlyLoopbackIsReportedAndTheExitIsNonZero) {
    const ProgramResult result = Doctor();
    EXPECT_EQ(result.exitCode, 1) << result.output;
    EXPECT_TRUE(Shows(result, "skipped  interface 127.0.0.1/255.0.0.0: loopback")) << result.output;
    EXPECT_TRUE(Shows(result, "problem  interfaces: none to search through")) << result.output;
    EXPECT_TRUE(Shows(result, "problem  no controller answered")) << result.output;
    EXPECT_FALSE(Shows(result, "answered\n")) << "no interface was searched: " << result.output;
}

}  // namespace
}  // namespace lumaro
