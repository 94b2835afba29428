// A hostile LAN: the simulator sprays random datagrams at the PC's sockets (1000 a second:
// 0-2048 bytes, some starting 24 11, some with a listed serial) while the link searches
// and sends every command. The link stays up; every search and command ends; the table
// keeps at most 256 records, each taken from a datagram that passed the acceptance test;
// no write reaches a controller other than the one addressed.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <set>

#include "tests/lan_fixture.h"
#include "tests/link_operations.h"
#include "scripted/reply_fields.h"

namespace lumaro {
namespace {

using testing::Controller;
using testing::kPcAddress;
using testing::kPcMask;
using testing::LinkOperation;
using testing::RecordOfReply;
using testing::SameReplyFields;
using testing::SecondsSince;
using testing::StartSimulator;

constexpr std::uint32_t kSerial = 4242;
constexpr std::uint32_t kNeighbour = 5151;
constexpr std::uint32_t kStranger = 6161;
constexpr std::uint32_t kSpraySeed = 20240310;

// Every record must be what some datagram that left the simulator and passed the
// acceptance test (4 bytes or more, starting 24 11) gives, heard through the PC's socket.
void ExpectEveryRecordFromAnAcceptedReply(const ControllerTable& table, const sim::Simulator& lan) {
    std::multimap<std::uint32_t, ControllerRecord> sent;
    for (const auto& datagram : lan.NetworkRepliesSent()) {
        const ControllerRecord fields = RecordOfReply(datagram);
        sent.emplace(fields.serial, fields);
    }
    std::set<std::uint32_t> serials;
    for (const ControllerRecord& record : table.Found()) {
        EXPECT_TRUE(serials.insert(record.serial).second) << "serial " << record.serial << " twice";
        EXPECT_EQ(record.hostAddress, kPcAddress) << record.serial;
        EXPECT_EQ(record.hostMask, kPcMask) << record.serial;
        const auto [first, last] = sent.equal_range(record.serial);
        const bool fromAReply = std::any_of(first, last, [&](const auto& entry) {
            return SameReplyFields(record, entry.second);
        });
        EXPECT_TRUE(fromAReply) << "record of serial " << record.serial << " matches no datagram sent";
    }
}

TEST(HostileLan, SearchesAndCommandsEndAndKeepOnlyWhatRepliesSaidWhileDatagramsAreSprayed) {
    auto stranger = Controller(kStranger, MakeIpv4(192, 168, 5, 9));
    stranger.dhcp = true;
    stranger.dhcpIp = MakeIpv4(10, 0, 1, 61);
    stranger.dhcpMask = kPcMask;
    auto lan = StartSimulator({Controller(kSerial, MakeIpv4(10, 0, 1, 42)),
                                 Controller(kNeighbour, MakeIpv4(10, 0, 1, 51)), stranger},
                                sim::SprayOptions{kSpraySeed, 1000});
    ASSERT_TRUE(lan);
    ControllerLink link;
    link.SeedSequenceCounter();

    for (int search = 1; search <= 2; ++search) {
        const auto start = std::chrono::steady_clock::now();
        SearchControllers(link);
        std::printf("search %d: %zu records in %.1f s, %zu datagrams sprayed so far\n", search,
                    link.Table().count, SecondsSince(start), lan->SprayedCount());
        EXPECT_LE(link.Table().count, ControllerTable::kCapacity);
        ExpectEveryRecordFromAnAcceptedReply(link.Table(), *lan);
        if (search == 2) break;

        // Every command, addressed to one controller through the PC's socket whatever the
        // table now holds; results depend on what the spray slips in first.
        for (const LinkOperation& operation :
             testing::EveryLinkCommand(kPcAddress, kSerial, MakeIpv4(10, 0, 1, 142))) {
            const auto commandStart = std::chrono::steady_clock::now();
            // The frame leaves even while the socket never falls quiet.
            const CommandReply reply = testing::RunWithDataSafetyCheck(
                operation, link, *lan, kSerial, {kSerial, kNeighbour, kStranger});
            std::printf("  %s: %s after %.1f s\n", operation.what, Describe(reply),
                        SecondsSince(commandStart));
        }
    }
    EXPECT_GT(lan->SprayedCount(), 1000u) << "the spray hardly ran";
}

}  // namespace
}  // namespace lumaro
