// Hundreds of simulated controllers on one segment (PC 10.1.0.1/16): how fast they come
// up and whether each one's discovery reply reaches the PC.

#include <cstdio>
#include <map>

#include "link/discovery_frames.h"
#include "tests/sim_test_support.h"

namespace lumaro::sim::testing {
namespace {

constexpr std::size_t kControllers = 300;
constexpr int kPcReceiveBuffer = 4 * 1024 * 1024;
constexpr Ipv4Address kLoadPcAddress = MakeIpv4(10, 1, 0, 1);

// Replies per serial to the given discovery frames, collected until quiet.
std::map<std::uint32_t, std::size_t> Discover(const PcSocket& pc, std::size_t frames) {
    for (std::size_t i = 0; i < frames; ++i) {
        pc.Send(Bytes(kDiscoveryFrames[i].begin(), kDiscoveryFrames[i].end()));
    }
    std::map<std::uint32_t, std::size_t> replies;
    for (const Datagram& reply : pc.ReceiveUntilQuiet(1s)) ++replies[SerialOf(reply)];
    return replies;
}

TEST(SimLoad, ThreeHundredControllersComeUpQuicklyAndEachAnswersDiscovery) {
    const auto specs = Simulator::Sequential(kControllers, 10000, MakeIpv4(10, 1, 1, 1),
                                             MakeIpv4(255, 255, 0, 0));
    const auto before = std::chrono::steady_clock::now();
    auto simulator = StartSimulator(specs);
    const auto startup = std::chrono::steady_clock::now() - before;
    ASSERT_TRUE(simulator);
    std::printf("startup of %zu controllers: %lld ms\n", kControllers,
                static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(startup).count()));
    RecordProperty("startup_ms", static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(startup).count()));

    PcSocket pc(kLoadPcAddress, kPcReceiveBuffer);
    std::printf("PC receive buffer: %d bytes\n", pc.ReceiveBufferBytes());
    const auto oneFrame = Discover(pc, 1);
    std::printf("one discovery frame: %zu of %zu controllers answered\n", oneFrame.size(), kControllers);
    EXPECT_EQ(oneFrame.size(), kControllers);
    for (const auto& [serial, count] : oneFrame) EXPECT_EQ(count, 1u) << "controller " << serial;

    // All four frames back to back: 1200 replies at once, as a stress of the PC's buffer.
    const auto fourFrames = Discover(pc, 4);
    std::size_t total = 0;
    for (const auto& [serial, count] : fourFrames) total += count;
    std::printf("four discovery frames at once: %zu of %zu replies arrived\n", total, 4 * kControllers);
    EXPECT_EQ(total, 4 * kControllers);
}

}  // namespace
}  // namespace lumaro::sim::testing
