// A device that keeps sending to the PC's socket. Without the link's time limits each of
// these would hold the link for ever; with them they end.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using namespace std::chrono_literals;
using testing::Controller;
using testing::kPcAddress;
using testing::Serials;
using testing::StartSimulator;

constexpr std::uint32_t kSerial = 4242;
constexpr std::uint32_t kChatty = 5151;

// Sends `bytes` from the chatty controller's port to the link's socket every `period`, on
// a thread of its own, until destroyed.
class Chatter {
public:
    Chatter(sim::Simulator& lan, std::uint16_t port, std::vector<std::uint8_t> bytes,
            std::chrono::milliseconds period)
        : thread_([&lan, port, bytes = std::move(bytes), period](std::stop_token stop) {
              while (!stop.stop_requested()) {
                  lan.SendFrom(kChatty, kPcAddress, port, bytes);
                  std::this_thread::sleep_for(period);
              }
          }) {}

private:
    std::jthread thread_;
};

class ChattyLan : public ::testing::Test {
protected:
    void SetUp() override {
        lan_ = StartSimulator({Controller(kSerial, MakeIpv4(10, 0, 1, 42)),
                                 Controller(kChatty, MakeIpv4(10, 0, 1, 51))});
        ASSERT_TRUE(lan_);
        link_.OpenInterfaceSockets();
        ASSERT_EQ(link_.InterfaceCount(), 1u);
    }
    std::uint16_t LinkPort() const { return link_.Interface(0).socket->LocalPort(); }

    std::unique_ptr<sim::Simulator> lan_;
    ControllerLink link_;
};

TEST_F(ChattyLan, ACommandIsSentAfterTheDrainLimitWhileADeviceSendsFiveTimesASecond) {
    std::chrono::steady_clock::duration took{};
    {
        // A header every 200 ms restarts the drain's count long before its 101 quiet slices.
        Chatter chatter(*lan_, LinkPort(), std::vector<std::uint8_t>(20, 0), 200ms);
        link_.SetSequenceCounter(77);
        const auto start = std::chrono::steady_clock::now();
        const CommandReply reply =
            link_.ProbeController(MakeIpv4(10, 0, 1, 42), kPcAddress, kSerial);
        took = std::chrono::steady_clock::now() - start;
        std::printf("probe: %s after %.1f s\n", Describe(reply),
                    std::chrono::duration<double>(took).count());
    }  // the chatter stops

    EXPECT_GE(took, kDrainTimeLimit) << "the drain cannot have found a quiet period";
    // A chatter's datagram may end the reply wait before the controller has handled the
    // probe: the log is read once it has.
    lan_->WaitUntilIdle();
    const auto frames = lan_->LogOf(kSerial);
    ASSERT_EQ(frames.size(), 1u) << "the probe left all the same";
    EXPECT_EQ(frames[0].bytes.size(), 24u);
}

TEST_F(ChattyLan, ASearchEndsAndFindsTheControllersWhileAFloodKeepsArriving) {
    // Three bytes every millisecond: no collect would ever see a quiet wait.
    Chatter flood(*lan_, LinkPort(), {0x24, 0x11, 0x00}, 1ms);
    const auto start = std::chrono::steady_clock::now();
    link_.DiscoverControllers();
    link_.SortBySerial();
    std::printf("search: %zu controllers after %.1f s\n", link_.Table().count,
                testing::SecondsSince(start));
    EXPECT_EQ(Serials(link_.Table()), (std::vector<std::uint32_t>{kSerial, kChatty}));
}

}  // namespace
}  // namespace lumaro
