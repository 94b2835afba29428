// Decoding of the network reply and the order of the controller table.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "link/byte_io.h"
#include "link/controller_record.h"
#include "link/network_reply.h"

namespace lumaro {
namespace {

namespace nr = network_reply;

std::vector<std::uint8_t> ReplyWithBothAddressSets(std::uint8_t marker) {
    std::vector<std::uint8_t> reply(512, 0);
    reply[0] = 0x24;
    reply[1] = 0x11;
    const std::uint8_t mac[6] = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    std::copy(mac, mac + 6, reply.begin() + nr::kMac);
    PutLe32(reply, nr::kAddress, MakeIpv4(192, 168, 0, 1));
    PutLe32(reply, nr::kMask, MakeIpv4(255, 255, 255, 0));
    PutLe32(reply, nr::kGateway, MakeIpv4(192, 168, 0, 254));
    reply[nr::kAddressingMode] = marker;
    PutLe32(reply, nr::kDhcpAddress, MakeIpv4(10, 1, 2, 3));
    PutLe32(reply, nr::kDhcpMask, MakeIpv4(255, 0, 0, 0));
    PutLe32(reply, nr::kDhcpGateway, MakeIpv4(10, 0, 0, 1));
    return reply;
}

TEST(ApplyNetworkReply, TakesDhcpAddressesOnlyWithTheMarkerA5) {
    struct Case { std::uint8_t marker; bool dhcp; };
    for (const Case c : {Case{0xA5, true}, Case{0xA4, false}, Case{0x00, false}, Case{0x5A, false}}) {
        ControllerRecord record;
        ApplyNetworkReply(record, ReplyWithBothAddressSets(c.marker));
        EXPECT_EQ(record.dhcpMarker, c.marker);
        EXPECT_EQ(record.ip, c.dhcp ? MakeIpv4(10, 1, 2, 3) : MakeIpv4(192, 168, 0, 1))
            << "marker " << int(c.marker);
        EXPECT_EQ(record.mask, c.dhcp ? MakeIpv4(255, 0, 0, 0) : MakeIpv4(255, 255, 255, 0));
        EXPECT_EQ(record.gateway, c.dhcp ? MakeIpv4(10, 0, 0, 1) : MakeIpv4(192, 168, 0, 254));
        EXPECT_EQ(record.mac, (std::array<std::uint8_t, 6>{0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}));
    }
}

TEST(ApplyNetworkReply, LeavesTheOtherFieldsAlone) {
    ControllerRecord record;
    record.serial = 77;
    record.hostAddress = MakeIpv4(10, 0, 1, 1);
    record.hostMask = MakeIpv4(255, 255, 255, 0);
    record.variantCode = 3;
    record.webPort = 8080;
    ApplyNetworkReply(record, ReplyWithBothAddressSets(0));
    EXPECT_EQ(record.serial, 77u);
    EXPECT_EQ(record.hostAddress, MakeIpv4(10, 0, 1, 1));
    EXPECT_EQ(record.hostMask, MakeIpv4(255, 255, 255, 0));
    EXPECT_EQ(record.variantCode, 3u);
    EXPECT_EQ(record.webPort, 8080u);
}

TEST(ApplyNetworkReply, ReadsBytesThatDidNotArriveAsZero) {
    // A reply cut after the address: the mask and everything later did not arrive.
    const std::vector<std::uint8_t> full = ReplyWithBothAddressSets(0);
    std::vector<std::uint8_t> storage(full.begin(), full.begin() + nr::kAddress + 4);
    storage.resize(full.size(), 0xEE);  // what an earlier, longer datagram left behind
    const std::span<const std::uint8_t> received(storage.data(), nr::kAddress + 4);

    ControllerRecord record;
    record.mask = 0x11111111;
    ApplyNetworkReply(record, received);
    EXPECT_EQ(record.ip, MakeIpv4(192, 168, 0, 1));
    EXPECT_EQ(record.mask, 0u);
    EXPECT_EQ(record.gateway, 0u);
    EXPECT_EQ(record.dhcpMarker, 0u);

    ControllerRecord fromFourBytes;
    ApplyNetworkReply(fromFourBytes, std::span(storage).first(4));
    EXPECT_EQ(fromFourBytes.ip, 0u);
    EXPECT_EQ(fromFourBytes.mac, (std::array<std::uint8_t, 6>{}));
}

TEST(DecodeDiscoveryReply, AcceptsNetworkRepliesFromFourBytesOn) {
    struct Case { std::vector<std::uint8_t> bytes; bool accepted; };
    const Case cases[] = {
        {{0x24, 0x11, 0x00}, false},        // 3 bytes
        {{0x24, 0x11, 0x00, 0x00}, true},   // 4 bytes
        {{0x24, 0x10, 0x00, 0x00}, false},  // a request, not a reply
        {{0x25, 0x11, 0x00, 0x00}, false},
        {{}, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeDiscoveryReply(c.bytes).has_value(), c.accepted) << c.bytes.size() << " bytes";
    }
}

TEST(DecodeDiscoveryReply, TakesSerialVariantAndWebPort) {
    std::vector<std::uint8_t> reply = ReplyWithBothAddressSets(0);
    PutLe32(reply, nr::kSerial, 0x80000001);
    reply[nr::kVariantCode] = 5;
    reply[nr::kWebPort] = 0x50;
    reply[nr::kWebPort + 1] = 0x00;
    const auto record = DecodeDiscoveryReply(reply);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->serial, 0x80000001u);
    EXPECT_EQ(record->variantCode, 5u);
    EXPECT_EQ(record->webPort, 80u);
    EXPECT_EQ(record->ip, MakeIpv4(192, 168, 0, 1));
    EXPECT_EQ(record->hostAddress, 0u);
    EXPECT_EQ(record->hostGateway, 0u);
}

std::vector<std::uint32_t> SerialsAfterSort(const std::vector<std::uint32_t>& serials) {
    ControllerTable table;
    for (std::uint32_t serial : serials) table.records[table.count++].serial = serial;
    SortBySerial(table);
    std::vector<std::uint32_t> sorted;
    for (const ControllerRecord& record : table.Found()) sorted.push_back(record.serial);
    return sorted;
}

TEST(SortBySerial, OrdersAsUnsignedAndKeepsEveryRecord) {
    using V = std::vector<std::uint32_t>;
    struct Case { V in; V out; };
    const Case cases[] = {
        {{300, 100, 200}, {100, 200, 300}},
        {{0x80000000, 0x7FFFFFFF, 1}, {1, 0x7FFFFFFF, 0x80000000}},
        {{0xFFFFFFFF, 5, 0}, {0, 5, 0xFFFFFFFF}},  // the two extremes are records too
        {{0}, {0}},
        {{}, {}},
    };
    for (const Case& c : cases) EXPECT_EQ(SerialsAfterSort(c.in), c.out);
}

TEST(SortBySerial, MovesWholeRecordsAndLeavesSlotsBeyondCountAlone) {
    ControllerTable table;
    table.records[0] = ControllerRecord{.ip = 2, .serial = 20};
    table.records[1] = ControllerRecord{.ip = 1, .serial = 10};
    table.records[2] = ControllerRecord{.ip = 9, .serial = 1};  // beyond count: not found
    table.count = 2;
    SortBySerial(table);
    EXPECT_EQ(table.records[0].ip, 1u);
    EXPECT_EQ(table.records[1].ip, 2u);
    EXPECT_EQ(table.records[2].serial, 1u);
}

TEST(SortBySerial, HandlesAFullTable) {
    std::vector<std::uint32_t> serials;
    for (std::uint32_t i = 0; i < ControllerTable::kCapacity; ++i) serials.push_back(0xFFFFFFFF - i * 7919);
    std::vector<std::uint32_t> expected = serials;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SerialsAfterSort(serials), expected);
}

}  // namespace
}  // namespace lumaro
