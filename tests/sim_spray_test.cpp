// The spray of a hostile LAN, without sockets: what it aims at and what it sends.

#include <gtest/gtest.h>

#include <chrono>
#include <set>

#include "link/byte_io.h"
#include "sim/spray.h"

namespace lumaro::sim {
namespace {

using namespace std::chrono_literals;
using Clock = Sprayer::Clock;

constexpr Ipv4Address kPc = MakeIpv4(10, 0, 1, 1);
const Clock::time_point kStart{};

std::vector<SprayShot> TenSecondsOf(std::uint32_t seed) {
    Sprayer sprayer({seed, 200}, {100, 200, 300}, 3, kStart);
    sprayer.Learn(kPc, 40000);
    sprayer.Learn(kPc, 40001);
    std::vector<SprayShot> shots;
    for (auto now = kStart; now <= kStart + 10s; now += 10ms) {
        for (SprayShot& shot : sprayer.TakeDue(now)) shots.push_back(std::move(shot));
    }
    return shots;
}

TEST(Spray, SendsNothingBeforeThePcHasSentAFrame) {
    Sprayer sprayer({1, 200}, {100}, 1, kStart);
    EXPECT_FALSE(sprayer.NextDue());
    EXPECT_TRUE(sprayer.TakeDue(kStart + 1s).empty());
    sprayer.Learn(kPc, 60000);  // a controller's own port is never a target
    EXPECT_TRUE(sprayer.TakeDue(kStart + 2s).empty());
    sprayer.Learn(kPc, 40000);
    EXPECT_TRUE(sprayer.NextDue());
}

TEST(Spray, TheSameSeedGivesTheSameDatagrams) {
    const auto first = TenSecondsOf(7);
    const auto again = TenSecondsOf(7);
    const auto other = TenSecondsOf(8);
    ASSERT_EQ(first.size(), again.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        ASSERT_EQ(first[i].bytes, again[i].bytes) << "datagram " << i;
        ASSERT_EQ(first[i].destination, again[i].destination) << "datagram " << i;
    }
    EXPECT_NE(first[0].bytes, other[0].bytes);
}

TEST(Spray, AimsEveryKindOfDatagramAtThePortsThePcUses) {
    const auto shots = TenSecondsOf(3);
    EXPECT_EQ(shots.size(), 2001u) << "200 a second, the first at the start";
    std::size_t replies = 0, listedSerials = 0, broadcasts = 0, empty = 0, long_ = 0, headers = 0;
    std::set<std::uint16_t> ports;
    for (const SprayShot& shot : shots) {
        ASSERT_LE(shot.bytes.size(), 2048u);
        ASSERT_LT(shot.sender, 3u);
        ports.insert(shot.port);
        broadcasts += shot.destination == kLimitedBroadcast;
        ASSERT_TRUE(shot.destination == kLimitedBroadcast || shot.destination == kPc);
        empty += shot.bytes.empty();
        long_ += shot.bytes.size() > 1024;
        headers += shot.bytes.size() == 19 || shot.bytes.size() == 20;
        if (shot.bytes.size() >= 4 && shot.bytes[0] == 0x24 && shot.bytes[1] == 0x11) {
            ++replies;
            const std::uint32_t serial = ByteReader(shot.bytes).Le32(8);
            listedSerials += serial == 100 || serial == 200 || serial == 300;
        }
    }
    EXPECT_EQ(ports, (std::set<std::uint16_t>{40000, 40001}));
    EXPECT_GT(replies, shots.size() / 5);
    EXPECT_GT(listedSerials, replies / 4);
    EXPECT_GT(broadcasts, shots.size() / 8);
    EXPECT_GT(empty, 0u);
    EXPECT_GT(long_, shots.size() / 8);
    EXPECT_GT(headers, 0u);
}

}  // namespace
}  // namespace lumaro::sim
