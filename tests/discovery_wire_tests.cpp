// Discovery on the test LAN: the frames on the wire and the controller table they give.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "link/discovery_frames.h"
#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using testing::Controller;
using testing::FindRecord;
using testing::kPcAddress;
using testing::kPcMask;
using testing::Serials;
using testing::StartControllers;

std::vector<std::uint8_t> AsVector(const DiscoveryFrame& frame) {
    return {frame.begin(), frame.end()};
}

// ---- One PC interface (10.0.1.1/24) on one segment.

TEST(DiscoveryOnOneInterface, ListsControllersInAscendingSerialOrder) {
    auto spec300 = Controller(300, MakeIpv4(10, 0, 1, 30));
    spec300.variantCode = 3;
    spec300.webPort = 8080;
    auto lan = StartControllers({spec300, Controller(100, MakeIpv4(10, 0, 1, 10)),
                                 Controller(200, MakeIpv4(10, 0, 1, 20))});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);

    ASSERT_EQ(Serials(link.Table()), (std::vector<std::uint32_t>{100, 200, 300}));
    const ControllerRecord& record = link.Table().records[2];
    EXPECT_EQ(record.ip, MakeIpv4(10, 0, 1, 30));
    EXPECT_EQ(record.mask, MakeIpv4(255, 255, 255, 0));
    EXPECT_EQ(record.gateway, MakeIpv4(10, 0, 1, 254));
    EXPECT_EQ(record.mac, spec300.mac);
    EXPECT_EQ(record.hostAddress, kPcAddress);
    EXPECT_EQ(record.hostMask, kPcMask);
    EXPECT_EQ(record.hostGateway, 0u);
    EXPECT_EQ(record.variantCode, 3u);
    EXPECT_EQ(record.webPort, 8080u);
    EXPECT_EQ(record.dhcpMarker, 0u);
}

TEST(DiscoveryOnOneInterface, SendsTheFourFixedFramesAsBroadcastsInOrder) {
    auto lan = StartControllers({Controller(100, MakeIpv4(10, 0, 1, 10))});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);

    const auto frames = lan->LogOf(100);
    ASSERT_EQ(frames.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(frames[i].bytes, AsVector(kDiscoveryFrames[i])) << "frame " << i + 1;
        EXPECT_TRUE(frames[i].broadcast);
        EXPECT_EQ(frames[i].source, kPcAddress);
    }
}

TEST(DiscoveryOnOneInterface, ShowsTheDhcpAddressesOfADhcpController) {
    auto dhcp = Controller(500, MakeIpv4(192, 168, 0, 0));
    dhcp.dhcp = true;
    dhcp.dhcpIp = MakeIpv4(10, 0, 1, 77);
    dhcp.dhcpMask = MakeIpv4(255, 255, 255, 0);
    dhcp.dhcpGateway = MakeIpv4(10, 0, 1, 1);
    auto lan = StartControllers({dhcp});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);

    const ControllerRecord* record = FindRecord(link.Table(), 500);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->dhcpMarker, 0xA5u);
    EXPECT_EQ(record->ip, MakeIpv4(10, 0, 1, 77));
    EXPECT_EQ(record->mask, MakeIpv4(255, 255, 255, 0));
    EXPECT_EQ(record->gateway, MakeIpv4(10, 0, 1, 1));
}

TEST(DiscoveryOnOneInterface, FindsControllersWhoseAddressIsOutsideThePcSubnet) {
    auto lan = StartControllers({Controller(7, MakeIpv4(192, 168, 5, 9)),
                                 Controller(8, MakeIpv4(172, 16, 0, 3))});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);
    EXPECT_EQ(Serials(link.Table()), (std::vector<std::uint32_t>{7, 8}));
}

TEST(DiscoveryOnOneInterface, IgnoresRepliesTooShortOrOfAnotherKind) {
    auto threeBytes = Controller(31, MakeIpv4(10, 0, 1, 31));
    threeBytes.behaviour.replyLengths = {3};
    auto silent = Controller(32, MakeIpv4(10, 0, 1, 32));
    silent.behaviour.neverAnswers = true;
    auto lan = StartControllers({threeBytes, silent, Controller(33, MakeIpv4(10, 0, 1, 33))});
    ASSERT_TRUE(lan);
    ControllerLink link;
    link.OpenInterfaceSockets();
    // A stray datagram of another kind, queued before discovery starts.
    std::vector<std::uint8_t> stray(64, 0);
    stray[0] = 0x20;
    stray[1] = 0x11;
    stray[8] = 99;
    lan->SendFrom(33, kPcAddress, link.Interface(0).socket->LocalPort(), stray);
    link.DiscoverControllers();
    link.SortBySerial();
    EXPECT_EQ(Serials(link.Table()), (std::vector<std::uint32_t>{33}));
}

TEST(DiscoveryOnOneInterface, DropsAReplyLargerThanTheCollectArea) {
    // The collect receives into 8352 bytes: a larger datagram fails to receive.
    auto fits = Controller(51, MakeIpv4(10, 0, 1, 51));
    fits.behaviour.replyLengths = {8352};
    auto tooLarge = Controller(52, MakeIpv4(10, 0, 1, 52));
    tooLarge.behaviour.replyLengths = {8353};
    auto lan = StartControllers({fits, tooLarge});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);
    EXPECT_EQ(Serials(link.Table()), (std::vector<std::uint32_t>{51}));
}

TEST(DiscoveryOnOneInterface, ReadsFieldsMissingFromAShortReplyAsZero) {
    // Four bytes pass the test (0x24 0x11); everything past them did not arrive.
    auto fourBytes = Controller(41, MakeIpv4(10, 0, 1, 41));
    fourBytes.behaviour.replyLengths = {4};
    auto lan = StartControllers({fourBytes});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);

    ASSERT_EQ(link.Table().count, 1u);
    const ControllerRecord& record = link.Table().records[0];
    EXPECT_EQ(record.serial, 0u);
    EXPECT_EQ(record.ip, 0u);
    EXPECT_EQ(record.mac, (std::array<std::uint8_t, 6>{}));
    EXPECT_EQ(record.webPort, 0u);
    EXPECT_EQ(record.hostAddress, kPcAddress);
}

TEST(DiscoveryOnOneInterface, KeepsAtMost256Of300Controllers) {
    auto lan = StartControllers(
        sim::Simulator::Sequential(300, 1000, MakeIpv4(10, 0, 1, 2), MakeIpv4(255, 255, 0, 0)));
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);

    const auto serials = Serials(link.Table());
    ASSERT_EQ(serials.size(), 256u);
    EXPECT_TRUE(std::is_sorted(serials.begin(), serials.end()));
    EXPECT_EQ(std::adjacent_find(serials.begin(), serials.end()), serials.end());
    for (std::uint32_t serial : serials) {
        EXPECT_TRUE(serial >= 1000 && serial < 1300) << serial;
    }
}

TEST(DiscoveryOnOneInterface, AnEmptyLanGivesAnEmptyTable) {
    auto lan = StartControllers({});
    ASSERT_TRUE(lan);
    ControllerLink link;
    link.Table().count = 5;  // what an earlier search left
    SearchControllers(link);
    EXPECT_EQ(link.InterfaceCount(), 1u);
    EXPECT_EQ(link.Table().count, 0u);
}

// ---- Two PC interfaces on the same segment (10.0.1.1/24 and 10.0.2.1/24).

TEST(DiscoveryOnTwoInterfacesOfOneSegment, SendsEachFrameThroughEverySocketBeforeTheNext) {
    auto lan = StartControllers({Controller(100, MakeIpv4(10, 0, 1, 10))});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);
    ASSERT_EQ(link.InterfaceCount(), 2u);

    const auto frames = lan->LogOf(100);
    ASSERT_EQ(frames.size(), 8u);
    for (std::size_t i = 0; i < 8; ++i) {
        EXPECT_EQ(frames[i].bytes, AsVector(kDiscoveryFrames[i / 2])) << "datagram " << i;
        EXPECT_EQ(frames[i].source, link.Interface(i % 2).address) << "datagram " << i;
        EXPECT_EQ(frames[i].sourcePort, link.Interface(i % 2).socket->LocalPort());
    }
}

TEST(DiscoveryOnTwoInterfacesOfOneSegment, RecordsAControllerOnceWithTheFirstInterface) {
    auto lan = StartControllers({Controller(100, MakeIpv4(10, 0, 1, 10)),
                                 Controller(200, MakeIpv4(10, 0, 2, 20))});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);

    ASSERT_EQ(Serials(link.Table()), (std::vector<std::uint32_t>{100, 200}));
    for (const ControllerRecord& record : link.Table().Found()) {
        EXPECT_EQ(record.hostAddress, link.Interface(0).address) << record.serial;
        EXPECT_EQ(record.hostMask, link.Interface(0).mask) << record.serial;
    }
}

// ---- Two PC interfaces, each on a segment of its own.

TEST(DiscoveryOnTwoSegments, RecordsEachControllerWithTheInterfaceThatHeardIt) {
    auto lan = StartControllers({Controller(100, MakeIpv4(10, 0, 1, 10), 0),
                                 Controller(200, MakeIpv4(10, 0, 2, 20), 1)});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);

    ASSERT_EQ(Serials(link.Table()), (std::vector<std::uint32_t>{100, 200}));
    EXPECT_EQ(link.Table().records[0].hostAddress, MakeIpv4(10, 0, 1, 1));
    EXPECT_EQ(link.Table().records[1].hostAddress, MakeIpv4(10, 0, 2, 1));
    EXPECT_EQ(link.Table().records[1].hostMask, MakeIpv4(255, 255, 255, 0));
}

}  // namespace
}  // namespace lumaro
