// What lumaro.exe and lumaro-cli.exe ask of Windows around their waits, as Wine's relay
// trace shows it: each asks that its timer resolution be kept while it is hidden, gives its
// main thread COM (apartment-threaded, without OLE1 DDE) before it hands a page address to
// the shell, and asks for the 1 ms timer while the link waits on the network, one request
// per search and per exchange, each released before the next. The trace's lines are printed
// for people to read.

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/lumaro_session.h"
#include "tests/app/wait_until.h"
#include "tests/app/wine_trace.h"
#include "tools/window-reader/launched_program.h"

namespace lumaro::apptest {
namespace {

using Names = std::vector<std::string>;

const std::wstring kTracedFunctions =
    L"winmm.timeBeginPeriod;winmm.timeEndPeriod;kernel32.SetProcessInformation;"
    L"kernelbase.SetProcessInformation;ole32.CoInitializeEx;combase.CoInitializeEx;"
    L"shell32.ShellExecuteW";
const LaunchOptions kRelayTrace{{{L"WINEDEBUG", L"+pid,+relay"}}, L""};

constexpr char kProcessClass[] = "00000004";         // ProcessPowerThrottling
constexpr char kThrottlingStateSize[] = "0000000c";  // PROCESS_POWER_THROTTLING_STATE
constexpr char kApartmentThreadedNoDde[] = "00000006";

// The calls of the program at `path`, run as `process`, once the trace holds `count` of them
// (the traces pass through a pipe on their way to the file).
std::vector<RelayCall> TracedCalls(const std::string& path, DWORD process, std::size_t count) {
    const CodeRange image = ProgramImage(path);
    std::vector<RelayCall> calls;
    WaitUntil([&] {
        calls = RelayCalls(WineErrors(), process, image);
        return calls.size() >= count && calls.back().result.has_value();
    });
    return calls;
}

void Print(const char* program, const std::vector<RelayCall>& calls) {
    std::printf("%s:\n", program);
    for (const RelayCall& call : calls) {
        std::printf("  %s\n  %s\n", call.callLine.c_str(), call.returnLine.c_str());
    }
}

// The start of both programs: the opt-out from Windows 11's throttling of hidden
// processes' timers (whose failure, as under Wine, is ignored), then COM on the main thread.
void ExpectStart(const std::vector<RelayCall>& calls) {
    ASSERT_GE(calls.size(), 2u);
    const std::string& throttling = calls[0].arguments;
    EXPECT_EQ(throttling.substr(0, throttling.find(',')), "ffffffffffffffff") << "this process";
    EXPECT_NE(throttling.find(std::string(",") + kProcessClass + ","), std::string::npos);
    EXPECT_TRUE(throttling.ends_with(kThrottlingStateSize)) << throttling;
    EXPECT_EQ(calls[1].arguments, std::string("00000000,") + kApartmentThreadedNoDde);
    EXPECT_EQ(calls[1].result, "00000000") << "S_OK";
}

// Every request of the fine timer asks for 1 ms and is released before the next.
void ExpectFineTimerPaired(const std::vector<RelayCall>& calls) {
    bool held = false;
    for (const RelayCall& call : calls) {
        if (call.function == "timeBeginPeriod") {
            EXPECT_FALSE(held) << call.callLine;
            held = true;
        } else if (call.function == "timeEndPeriod") {
            EXPECT_TRUE(held) << call.callLine;
            held = false;
        } else {
            continue;
        }
        EXPECT_EQ(call.arguments, "00000001") << call.callLine;
        EXPECT_EQ(call.result, "00000000") << "TIMERR_NOERROR: " << call.returnLine;
    }
    EXPECT_FALSE(held) << "the last request was released";
}

TEST(WindowsCalls, LumaroHoldsTheFineTimerForEachSearchAndExchangeAndGivesTheShellCom) {
    UseLan("one-click.conf");
    const RelayInclude traced(kTracedFunctions);
    const LumaroSession lumaro(Settings().lumaroProgram, kRelayTrace);
    lumaro.Dialog().ClickButton(IDC_SEARCH_BUTTON);
    lumaro.List().ClickRow(0);  // serial 100 keeps its address: a read and a probe
    lumaro.Dialog().ClickButton(IDC_QUICK_ENABLE_BUTTON);
    lumaro.Dialog().PostClose();
    ASSERT_TRUE(lumaro.Program().WaitForExit(kExitPatience));

    const Names expected{"SetProcessInformation", "CoInitializeEx",
                         "timeBeginPeriod", "timeEndPeriod",  // the search at start-up
                         "timeBeginPeriod", "timeEndPeriod",  // the search button
                         "timeBeginPeriod", "timeEndPeriod",  // the one-click: the read
                         "timeBeginPeriod", "timeEndPeriod",  // the probe at its address
                         "ShellExecuteW",
                         "timeBeginPeriod", "timeEndPeriod"};  // the search after it
    const std::vector<RelayCall> calls =
        TracedCalls(Settings().lumaroProgram, lumaro.Program().ProcessId(), expected.size());
    Print("lumaro.exe", calls);
    ASSERT_EQ(FunctionNames(calls), expected);
    ExpectStart(calls);
    ExpectFineTimerPaired(calls);
    const RelayCall& shell = calls[10];
    EXPECT_EQ(shell.thread, calls[1].thread) << "the shell is called on the thread given COM";
}

TEST(WindowsCalls, TheConsoleHoldsTheFineTimerForItsSearchAndItsCommand) {
    UseLan("one-click.conf");
    const RelayInclude traced(kTracedFunctions);
    LaunchOptions options = kRelayTrace;
    options.arguments = L"sync-time 100";
    const LaunchedProgram cli(WindowsPathOf(Settings().cliProgram), options);
    ASSERT_TRUE(cli.WaitForExit(kStartPatience));
    DWORD exitCode = 1;
    GetExitCodeProcess(cli.Process(), &exitCode);
    EXPECT_EQ(exitCode, 0u) << "the controller's clock was set";

    const Names expected{"SetProcessInformation", "CoInitializeEx",
                         "timeBeginPeriod", "timeEndPeriod",   // the search
                         "timeBeginPeriod", "timeEndPeriod"};  // the clock command
    const std::vector<RelayCall> calls =
        TracedCalls(Settings().cliProgram, cli.ProcessId(), expected.size());
    Print("lumaro-cli.exe sync-time 100", calls);
    ASSERT_EQ(FunctionNames(calls), expected);
    ExpectStart(calls);
    ExpectFineTimerPaired(calls);
}

}  // namespace
}  // namespace lumaro::apptest
