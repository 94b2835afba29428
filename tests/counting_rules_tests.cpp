// The counting rules of a collect and of an exchange, and their time limits, on a scripted
// LAN: for each sequence of datagrams, the exact number of waits, receives and sends it
// gives. One slice is 8 ms; a quiet wait moves the virtual clock on by a slice.

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>

#include "link/byte_io.h"
#include "scripted/scripted_network.h"
#include "tests/command_reply_printer.h"

namespace lumaro {
namespace {

using namespace std::chrono_literals;
using testing::Datagram;
using testing::DatagramOf;
using testing::ScriptedNetwork;
using testing::SocketCounts;

constexpr Ipv4Address kHost = MakeIpv4(10, 0, 1, 1);

// A network reply of `length` bytes from the controller with `serial`.
Datagram Reply(std::uint32_t serial, std::size_t length = 486) {
    Datagram bytes = DatagramOf(length, {0x24, 0x11});
    if (length >= 12) PutLe32(bytes, 8, serial);
    return bytes;
}

struct CollectCase {
    std::string what;
    std::function<void(ScriptedNetwork&)> script;
    std::size_t waits;
    std::size_t receives;
    std::size_t records;  // in the table afterwards
    std::size_t recordsBefore = 0;
};

TEST(CountingRules, CollectWaitsAndReceivesExactlyAsScripted) {
    const CollectCase cases[] = {
        {"nothing arrives: the collect ends on its 11th quiet wait",
         [](ScriptedNetwork&) {}, 11, 0, 0},
        {"a queued reply takes one wait that is not counted",
         [](ScriptedNetwork& lan) { lan.Deliver(kHost, 0ms, Reply(7)); }, 12, 1, 1},
        {"a reply after 5 quiet waits does not restore the count: 5 + 1 + 6 waits",
         [](ScriptedNetwork& lan) { lan.Deliver(kHost, 45ms, Reply(7)); }, 12, 1, 1},
        {"two replies of one controller give one record",
         [](ScriptedNetwork& lan) {
             lan.Deliver(kHost, 0ms, Reply(7));
             lan.Deliver(kHost, 1ms, Reply(7));
         },
         13, 2, 1},
        {"3 bytes, another kind and a datagram too big for the area are passed over; "
         "4 bytes starting 24 11 are a reply",
         [](ScriptedNetwork& lan) {
             lan.Deliver(kHost, 0ms, DatagramOf(3, {0x24, 0x11}));
             lan.Deliver(kHost, 0ms, DatagramOf(64, {0x20, 0x11}));
             lan.Deliver(kHost, 0ms, Reply(8, kCollectAreaBytes + 1));
             lan.Deliver(kHost, 0ms, DatagramOf(4, {0x24, 0x11}));
         },
         15, 4, 1},
        {"failed waits count as quiet waits",
         [](ScriptedNetwork& lan) { lan.FailWaits(kHost, 3); }, 11, 0, 0},
        {"the 256th record ends the collect at once",
         [](ScriptedNetwork& lan) {
             lan.Deliver(kHost, 0ms, Reply(1000));
             lan.Deliver(kHost, 1ms, Reply(1001));
         },
         1, 1, 256, 255},
        {"a sender every 100 ms does not hold a collect: 1 + 11 waits",
         [](ScriptedNetwork& lan) { lan.Chatter(kHost, 0ms, 100ms, Reply(7)); }, 12, 1, 1},
        {"a flood every 1 ms ends the collect at its 2 s limit: arrivals 0, 1, ..., 2000 ms",
         [](ScriptedNetwork& lan) { lan.Chatter(kHost, 0ms, 1ms, Reply(7)); }, 2001, 2001, 1},
    };
    static_assert(kCollectTimeLimit == 2s, "the flood case counts with a limit of 2 s");
    for (const CollectCase& c : cases) {
        ScriptedNetwork lan;
        lan.AddInterface(kHost);
        c.script(lan);
        ControllerLink link(lan.Environment());
        link.OpenInterfaceSockets();
        for (std::size_t i = 0; i < c.recordsBefore; ++i) {
            link.Table().records[i].serial = static_cast<std::uint32_t>(i + 1);
        }
        link.Table().count = c.recordsBefore;

        link.CollectReplies(0);
        const SocketCounts counts = lan.Counts(kHost);
        EXPECT_EQ(counts.waits, c.waits) << c.what;
        EXPECT_EQ(counts.receives, c.receives) << c.what;
        EXPECT_EQ(counts.sends, 0u) << c.what;
        EXPECT_EQ(link.Table().count, c.records) << c.what;
    }
}

struct ExchangeCase {
    std::string what;
    std::function<void(ScriptedNetwork&)> script;
    std::size_t waitsBeforeSend;  // the drain
    std::size_t waitsAfterSend;   // the reply wait
    std::size_t receives;
    std::chrono::milliseconds sentAt;
    CommandReply reply;
    std::size_t replyBytes = 0;
};

TEST(CountingRules, ExchangeWaitsSendsAndReceivesExactlyAsScripted) {
    const ExchangeCase cases[] = {
        {"a silent LAN: 101 quiet slices, the send, 101 quiet slices",
         [](ScriptedNetwork&) {}, 101, 101, 0, 808ms, CommandReply::Silent},
        {"a reply 2 ms after the send ends the wait",
         [](ScriptedNetwork& lan) { lan.AnswerEverySend(kHost, 2ms, DatagramOf(20)); },
         101, 1, 1, 808ms, CommandReply::Answered, 20},
        {"a queued datagram of 20 bytes is drained and restarts the count",
         [](ScriptedNetwork& lan) { lan.Deliver(kHost, 0ms, DatagramOf(20)); },
         102, 101, 1, 808ms, CommandReply::Silent},
        {"20 bytes after 50 quiet slices restart the count: 50 + 1 + 101",
         [](ScriptedNetwork& lan) { lan.Deliver(kHost, 404ms, DatagramOf(20)); },
         152, 101, 1, 1212ms, CommandReply::Silent},
        {"19 bytes after 50 quiet slices neither count nor restart it: 50 + 1 + 51",
         [](ScriptedNetwork& lan) { lan.Deliver(kHost, 404ms, DatagramOf(19)); },
         102, 101, 1, 812ms, CommandReply::Silent},
        {"a datagram too big for the receive buffer changes nothing",
         [](ScriptedNetwork& lan) { lan.Deliver(kHost, 404ms, DatagramOf(kReceiveBufferBytes + 1)); },
         102, 101, 1, 812ms, CommandReply::Silent},
        {"19 bytes during the wait are passed over, the 20 that follow end it",
         [](ScriptedNetwork& lan) {
             lan.AnswerEverySend(kHost, 2ms, DatagramOf(19));
             lan.AnswerEverySend(kHost, 5ms, DatagramOf(20));
         },
         101, 2, 2, 808ms, CommandReply::Answered, 20},
        {"failed waits count as quiet slices (and take no time)",
         [](ScriptedNetwork& lan) { lan.FailWaits(kHost, 5); }, 101, 101, 0, 768ms, CommandReply::Silent},
        {"a sender every 100 ms holds the drain until its 5 s limit, then its next datagram "
         "is the reply: 1 + 50 x (12 quiet + 1), then 12 quiet + 1",
         [](ScriptedNetwork& lan) { lan.Chatter(kHost, 0ms, 100ms, DatagramOf(20)); },
         651, 13, 52, 5000ms, CommandReply::Answered, 20},
        {"short datagrams every 1 ms hold the reply wait until its 5 s limit",
         [](ScriptedNetwork& lan) { lan.Chatter(kHost, 809ms, 1ms, DatagramOf(19)); },
         101, 5000, 5000, 808ms, CommandReply::Silent},
    };
    static_assert(kDrainTimeLimit == 5s && kReplyWaitTimeLimit == 5s,
                  "the chatty cases count with limits of 5 s");
    const std::uint8_t frame[20] = {0x20, 0x10};
    for (const ExchangeCase& c : cases) {
        ScriptedNetwork lan;
        lan.AddInterface(kHost);
        c.script(lan);
        ControllerLink link(lan.Environment());
        link.OpenInterfaceSockets();

        EXPECT_EQ(link.Exchange(kHost, kLimitedBroadcast, frame), c.reply) << c.what;
        const SocketCounts counts = lan.Counts(kHost);
        EXPECT_EQ(counts.waitsBeforeSend, c.waitsBeforeSend) << c.what;
        EXPECT_EQ(counts.waits - counts.waitsBeforeSend, c.waitsAfterSend) << c.what;
        EXPECT_EQ(counts.receives, c.receives) << c.what;
        ASSERT_EQ(counts.sends, 1u) << c.what;
        EXPECT_EQ(lan.Sent(kHost)[0].at, c.sentAt) << c.what;
        EXPECT_EQ(lan.Sent(kHost)[0].port, kControllerPort) << c.what;
        if (c.reply == CommandReply::Answered) {
            EXPECT_EQ(link.ReceivedReply().size(), c.replyBytes) << c.what;
        }
    }
}

TEST(CountingRules, ExchangeThroughAnUnknownInterfaceNeitherWaitsNorSends) {
    ScriptedNetwork lan;
    lan.AddInterface(kHost);
    ControllerLink link(lan.Environment());
    link.OpenInterfaceSockets();
    const std::uint8_t frame[20] = {};
    EXPECT_EQ(link.Exchange(MakeIpv4(10, 0, 9, 9), kLimitedBroadcast, frame), CommandReply::Silent);
    EXPECT_EQ(lan.Counts(kHost), SocketCounts{});
}

}  // namespace
}  // namespace lumaro
