// The system timer under the link's waits, on a scripted LAN whose quiet waits end on the
// timer's ticks as Windows' do: the link holds the fine timer for every wait of a search and
// of an exchange, asking once for each, and what both cost with the default 15.625 ms tick
// and with the 1 ms tick that the fine timer gives.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <optional>
#include <string>

#include "link/discovery_frames.h"
#include "scripted/scripted_network.h"
#include "tests/command_reply_printer.h"

namespace lumaro {
namespace {

using namespace std::chrono_literals;
using testing::DatagramOf;
using testing::ScriptedNetwork;
using testing::VirtualTime;

constexpr Ipv4Address kFirstHost = MakeIpv4(10, 0, 1, 1);
constexpr Ipv4Address kSecondHost = MakeIpv4(10, 0, 2, 1);
constexpr VirtualTime kWindowsTick{15625};
constexpr VirtualTime kFineTick{1000};
constexpr VirtualTime kReplyDelay = 1ms;  // a controller on the segment answers in well under

// A network reply of the controller with `serial`, enough for the table.
testing::Datagram Reply(std::uint32_t serial) {
    testing::Datagram bytes = DatagramOf(486, {0x24, 0x11});
    bytes[8] = static_cast<std::uint8_t>(serial);
    return bytes;
}

TEST(FineTimer, TheLinkHoldsItForEveryWaitOfASearchAndAnExchangeAskingOnceForEach) {
    ScriptedNetwork lan;
    lan.AddInterface(kFirstHost);
    lan.AddInterface(kSecondHost);
    lan.AnswerEverySend(kFirstHost, kReplyDelay, Reply(7));
    ControllerLink link(lan.Environment());
    link.OpenInterfaceSockets();

    link.DiscoverControllers();  // 4 frames through 2 sockets: 8 collects under one request
    EXPECT_EQ(lan.FineTimer().requests, 1u);
    EXPECT_EQ(link.ReadNetworkParameters(kFirstHost, 7), CommandReply::Answered);
    // Silent: waits to the end.
    EXPECT_EQ(link.ProbeController(MakeIpv4(10, 0, 1, 7), kSecondHost, 7), CommandReply::Silent);
    EXPECT_EQ(lan.FineTimer().requests, 3u) << "one request per exchange";
    link.CollectReplies(1);  // a collect of its own, as lumaro-cli doctor runs them
    {
        const ControllerLink::FineTimerHold outer(link);
        link.CollectReplies(0);
    }

    const ScriptedNetwork::FineTimerUse use = lan.FineTimer();
    EXPECT_EQ(use.requests, 5u);
    EXPECT_EQ(use.releases, use.requests) << "every request released";
    EXPECT_EQ(use.waitsWithout, 0u) << "no wait without the fine timer";
    EXPECT_GT(lan.Counts(kFirstHost).waits + lan.Counts(kSecondHost).waits, 400u);
}

struct Costs {
    VirtualTime search;
    VirtualTime exchange;
};

// A search through one interface with one controller, and a ReadNetworkParameters that it
// answers, each on a LAN of its own from the start of the timer's ticks.
Costs CostsWith(std::optional<std::pair<VirtualTime, VirtualTime>> ticks) {
    Costs costs{};
    for (const bool search : {true, false}) {
        ScriptedNetwork lan;
        lan.AddInterface(kFirstHost);
        if (ticks) lan.TickTimer(ticks->first, ticks->second);
        ControllerLink link(lan.Environment());
        link.OpenInterfaceSockets();
        if (search) {
            lan.AnswerEverySend(kFirstHost, kReplyDelay, Reply(7));
            link.DiscoverControllers();
            costs.search = lan.Now();
        } else {
            lan.AnswerEverySend(kFirstHost, kReplyDelay, DatagramOf(20));
            EXPECT_EQ(link.Exchange(kFirstHost, kLimitedBroadcast, kDiscoveryFrames[0]),
                      CommandReply::Answered);
            costs.exchange = lan.Now();
        }
    }
    return costs;
}

std::string Seconds(VirtualTime time) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f s", std::chrono::duration<double>(time).count());
    return text;
}

TEST(FineTimer, ASearchAndAnExchangeCostTwiceTheirFloorOnWindowsDefaultTick) {
    struct Case {
        const char* timer;
        std::optional<std::pair<VirtualTime, VirtualTime>> ticks;
        VirtualTime search;
        VirtualTime exchange;
    };
    // A search: 4 collects of one reply and 11 quiet waits; an exchange: the drain's 101
    // quiet waits, the send, the reply. On the default tick every quiet wait of 8 ms lasts
    // to the next tick, 15.625 ms; on the fine timer's 1 ms tick exactly 8 ms.
    const Case cases[] = {
        {"15.625 ms ticks, the fine timer not honoured", std::pair(kWindowsTick, kWindowsTick),
         4 * 11 * kWindowsTick, 101 * kWindowsTick + kReplyDelay},
        {"1 ms ticks while the link holds the fine timer", std::pair(kWindowsTick, kFineTick),
         4 * (kReplyDelay + 11 * 8ms), 101 * 8ms + kReplyDelay},
        {"no ticks (Linux)", std::nullopt, 4 * (kReplyDelay + 11 * 8ms), 101 * 8ms + kReplyDelay},
    };
    std::printf("%-50s %-12s %-12s %s\n", "timer", "search", "exchange",
                "one-click move (4 exchanges, a search)");
    for (const Case& c : cases) {
        const Costs costs = CostsWith(c.ticks);
        EXPECT_EQ(costs.search, c.search) << c.timer;
        EXPECT_EQ(costs.exchange, c.exchange) << c.timer;
        std::printf("%-50s %-12s %-12s %s\n", c.timer, Seconds(costs.search).c_str(),
                    Seconds(costs.exchange).c_str(),
                    Seconds(4 * costs.exchange + costs.search).c_str());
    }
}

}  // namespace
}  // namespace lumaro
