// Many controllers answering at once: every search fills the table with min(N, 256)
// distinct controllers, and the PC's kernel drops none of their replies before they are
// read. LUMARO_SCALE_SEARCHES sets the number of searches per case (default 3; the
// figures in README.md come from 20).

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "tests/lan_fixture.h"
#include "tests/search_evidence.h"

namespace lumaro {
namespace {

using testing::PcNetworkCounter;
using testing::Serials;
using testing::StartControllers;

int SearchesPerCase() { return testing::CountFromEnvironment("LUMARO_SCALE_SEARCHES", 3); }

// What the PC's kernel dropped for want of room in a socket's receive buffer, or for
// any other receive error.
std::uint64_t UdpDrops() {
    return PcNetworkCounter("Udp", "RcvbufErrors").value_or(0) +
           PcNetworkCounter("Udp", "InErrors").value_or(0);
}

// The simulator answers its controllers one after another on one thread, where a real LAN
// answers in parallel: a search that filled its table early leaves it still answering the
// search's last frames (to sockets closed by then). The next search waits until every frame
// that reached the controllers is handled, so as not to measure the simulator's backlog.
void WaitUntilTheControllersAreQuiet(testing::TestLan& lan) {
    lan.WaitUntilIdle();
    lan.ClearLog();
}

struct SearchFigures {
    double seconds = 0;
    std::uint64_t drops = 0;
    testing::SearchWatch watch;  // why a search listed too few
};

// One search once the controllers are quiet, timed, with what the kernel dropped meanwhile;
// prints one line of figures.
SearchFigures TimedSearch(testing::TestLan& lan, ControllerLink& link, const char* what,
                          int search) {
    WaitUntilTheControllersAreQuiet(lan);
    const std::uint64_t dropsBefore = UdpDrops();
    testing::SearchWatch watch(lan.AnswersSent());
    const auto start = std::chrono::steady_clock::now();
    SearchControllers(link);
    watch.Ended(lan.AnswersSent());
    const SearchFigures figures{testing::SecondsSince(start), UdpDrops() - dropsBefore, watch};
    std::printf("%s: search %d: %zu records in %.3f s, %llu datagrams dropped by the kernel\n",
                what, search, link.Table().count, figures.seconds,
                static_cast<unsigned long long>(figures.drops));
    return figures;
}

// Runs the searches and checks each table.
void ExpectEverySearchFindsDistinctControllers(testing::TestLan& lan, const char* what,
                                               std::size_t controllers, std::uint32_t firstSerial) {
    const std::size_t expected = std::min<std::size_t>(controllers, 256);
    ControllerLink link;
    for (int search = 1; search <= SearchesPerCase(); ++search) {
        const SearchFigures figures = TimedSearch(lan, link, what, search);
        const auto serials = Serials(link.Table());
        EXPECT_EQ(serials.size(), expected)
            << what << ", search " << search << ": " << figures.watch.Describe(lan.Log(), serials.size());
        EXPECT_TRUE(std::is_sorted(serials.begin(), serials.end())) << what;
        EXPECT_EQ(std::adjacent_find(serials.begin(), serials.end()), serials.end())
            << what << ": a controller recorded twice";
        for (std::uint32_t serial : serials) {
            ASSERT_TRUE(serial >= firstSerial && serial < firstSerial + controllers) << serial;
        }
        EXPECT_EQ(figures.drops, 0u) << what << ", search " << search;
    }
}

// ---- One PC interface, 10.1.0.1/16, with every controller on its segment.

TEST(ScaleOnOneSegment, ThreeHundredControllersFillTheTable) {
    auto lan = StartControllers(
        sim::Simulator::Sequential(300, 10000, MakeIpv4(10, 1, 1, 1), MakeIpv4(255, 255, 0, 0)));
    ASSERT_TRUE(lan);
    ExpectEverySearchFindsDistinctControllers(*lan, "300 controllers", 300, 10000);
}

TEST(ScaleOnOneSegment, AThousandControllersFillTheTable) {
    auto lan = StartControllers(
        sim::Simulator::Sequential(1000, 20000, MakeIpv4(10, 1, 4, 1), MakeIpv4(255, 255, 0, 0)));
    ASSERT_TRUE(lan);
    ExpectEverySearchFindsDistinctControllers(*lan, "1000 controllers", 1000, 20000);
}

// ---- Four PC interfaces, 10.<s+1>.0.1/16, each on a segment of its own.

TEST(ScaleBehindFourInterfaces, SixtyFourControllersBehindEachAreAllFound) {
    std::vector<sim::ControllerSpec> specs;
    for (std::uint8_t segment = 0; segment < 4; ++segment) {
        const auto behind = sim::Simulator::Sequential(
            64, 30000 + 1000 * segment, MakeIpv4(10, static_cast<std::uint8_t>(segment + 1), 1, 1),
            MakeIpv4(255, 255, 0, 0), segment);
        specs.insert(specs.end(), behind.begin(), behind.end());
    }
    auto lan = StartControllers(specs);
    ASSERT_TRUE(lan);
    ControllerLink link;
    for (int search = 1; search <= SearchesPerCase(); ++search) {
        const SearchFigures figures = TimedSearch(*lan, link, "4 x 64 controllers", search);
        EXPECT_EQ(figures.drops, 0u) << "search " << search;
        ASSERT_EQ(link.InterfaceCount(), 4u);
        ASSERT_EQ(link.Table().count, 256u)
            << "search " << search << ": " << figures.watch.Describe(lan->Log(), link.Table().count);
        for (const ControllerRecord& record : link.Table().Found()) {
            // Each controller answers only through the interface of its own segment.
            const std::uint8_t segment = static_cast<std::uint8_t>((record.serial - 30000) / 1000);
            EXPECT_EQ(record.hostAddress, MakeIpv4(10, static_cast<std::uint8_t>(segment + 1), 0, 1))
                << record.serial;
        }
    }
}

}  // namespace
}  // namespace lumaro
