// Many searches and commands in one process: descriptors, threads and heap stay flat.
// LUMARO_LONG_RUN_SEARCHES and LUMARO_LONG_RUN_COMMANDS set the counts (default 20 and 10;
// the figures in README.md come from 500 and 200). Prints the figures at each tenth.

#include <gtest/gtest.h>

#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include "link/masked_write.h"
#include "tests/lan_fixture.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define LUMARO_ASAN 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define LUMARO_ASAN 1
#endif
#ifdef LUMARO_ASAN
// From the sanitizer runtime: the bytes the program holds through malloc and new.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace lumaro {
namespace {

using testing::Controller;
using testing::CountFromEnvironment;
using testing::StartSimulator;

struct ProcessFigures {
    std::size_t descriptors = 0;
    std::size_t threads = 0;
    std::size_t heapBytes = 0;      // bytes allocated and not yet freed
    std::size_t residentBytes = 0;  // resident set (grows with the allocator's caches)
};

// The simulator's thread shares the process, and holds a copy of each frame while it answers
// it: the figures are read once it has handled every frame sent to it so far.
ProcessFigures Measure(const sim::Simulator& lan, std::size_t framesSent) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (lan.FramesHandled() < framesSent && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(lan.FramesHandled(), framesSent) << "frames the simulator has handled";
    ProcessFigures figures;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) {
        ++figures.descriptors;
    }
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with("Threads:")) figures.threads = std::stoul(line.substr(8));
        if (line.starts_with("VmRSS:")) figures.residentBytes = std::stoul(line.substr(6)) * 1024;
    }
#ifdef LUMARO_ASAN
    figures.heapBytes = __sanitizer_get_current_allocated_bytes();
#else
    figures.heapBytes = mallinfo2().uordblks;
#endif
    return figures;
}

void Print(const char* what, int done, const ProcessFigures& f) {
    std::printf("%-8s %4d: descriptors %zu  threads %zu  heap %zu bytes  resident %.1f MiB\n", what,
                done, f.descriptors, f.threads, f.heapBytes, f.residentBytes / 1048576.0);
}

// Runs `step` `count` times after `warmUps` runs (in which buffers that live as long as
// the link, and the C library's time-zone data, reach their size). Descriptors and threads
// must end as they were after the warm-up; the heap must not grow in the second half of
// the runs: a leak grows it at every run, while the simulator that shares the process may
// still enlarge its log's storage once early on (hence a small allowance for the first half).
// `framesPerStep`: the frames that each step has the simulator receive.
void ExpectFlat(const char* what, const sim::Simulator& lan, std::size_t framesPerStep,
                int warmUps, int count, const std::function<void()>& step) {
    constexpr std::size_t kOneOffGrowthBytes = 64 * 1024;
    const std::size_t framesBefore = lan.FramesHandled();
    const auto framesAfter = [&](int steps) {
        return framesBefore + framesPerStep * static_cast<std::size_t>(warmUps + steps);
    };
    for (int i = 0; i < warmUps; ++i) step();
    const ProcessFigures start = Measure(lan, framesAfter(0));
    Print(what, 0, start);
    ProcessFigures half = start, end = start;
    for (int done = 1; done <= count; ++done) {
        step();
        if (done == count / 2) half = Measure(lan, framesAfter(done));
        if (done % std::max(count / 10, 1) == 0 || done == count) {
            end = Measure(lan, framesAfter(done));
            Print(what, done, end);
        }
    }
    EXPECT_EQ(end.descriptors, start.descriptors) << what;
    EXPECT_EQ(end.threads, start.threads) << what;
    EXPECT_EQ(end.heapBytes, half.heapBytes) << what << ": the heap grew in the second half";
    EXPECT_LE(half.heapBytes, start.heapBytes + kOneOffGrowthBytes) << what;
}

// ---- One PC interface, 10.0.1.1/24.

TEST(LongRun, SearchesLeaveDescriptorsThreadsAndHeapAsTheyWere) {
    auto lan = StartSimulator(
        sim::Simulator::Sequential(50, 100, MakeIpv4(10, 0, 1, 10), MakeIpv4(255, 255, 255, 0)));
    ASSERT_TRUE(lan);
    ControllerLink link;
    // Each search: the four discovery frames, to each of the 50 controllers.
    const int searches = CountFromEnvironment("LUMARO_LONG_RUN_SEARCHES", 20);
    ExpectFlat("searches", *lan, 4 * 50, 1, searches, [&] {
        SearchControllers(link);
        ASSERT_EQ(link.Table().count, 50u);
        lan->ClearLog();  // the simulator shares the process: its log must not grow
    });
}

TEST(LongRun, CommandsLeaveDescriptorsThreadsAndHeapAsTheyWere) {
    auto lan = StartSimulator({Controller(100, MakeIpv4(10, 0, 1, 10))});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);
    ASSERT_EQ(link.Table().count, 1u);
    lan->ClearLog();
    const ControllerRecord record = link.Table().records[0];
    link.SetCurrentVariantCode(static_cast<std::uint8_t>(record.variantCode));
    constexpr int kCommandKinds = 5;
    int turn = 0;
    // Each turn one of the commands, in a round: probe, read, web settings, clock, restart.
    ExpectFlat("commands", *lan, 1, kCommandKinds,
               CountFromEnvironment("LUMARO_LONG_RUN_COMMANDS", 10), [&] {
        CommandReply reply = CommandReply::Silent;
        switch (turn++ % kCommandKinds) {
            case 0: reply = link.ProbeController(record.ip, record.hostAddress, record.serial); break;
            case 1: reply = link.ReadNetworkParameters(record.hostAddress, record.serial); break;
            case 2:
                link.ClearTransmitBuffer();
                LaySettingsGroup(link.Transmit(), 80, 0, 0x20);
                reply = link.WriteSettings(record.hostAddress, record.serial);
                break;
            case 3: reply = link.SetControllerClock(record.hostAddress, record.serial); break;
            case 4: reply = link.RestartController(record.hostAddress, record.serial); break;
        }
        ASSERT_EQ(reply, CommandReply::Answered) << "command " << (turn - 1) % kCommandKinds;
        lan->ClearLog();
    });
}

}  // namespace
}  // namespace lumaro
