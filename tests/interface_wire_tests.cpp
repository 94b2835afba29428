// The interface socket list: which local addresses get a socket, and which socket an
// exchange uses.

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <set>
#include <thread>
#include <vector>

#include "link/byte_io.h"
#include "link/discovery_frames.h"
#include "tests/app/wait_until.h"
#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using namespace std::chrono_literals;
using testing::Controller;
using testing::FindRecord;
using testing::kPcAddress;
using testing::kPcMask;
using testing::StartControllers;

LinkEnvironment WithAddressTable(std::optional<std::vector<platform::LocalAddress>> table) {
    LinkEnvironment environment = LinkEnvironment::System();
    environment.readAddressTable = [table] { return table; };
    return environment;
}

std::vector<Ipv4Address> SocketAddresses(const ControllerLink& link) {
    std::vector<Ipv4Address> addresses;
    for (std::size_t i = 0; i < link.InterfaceCount(); ++i) addresses.push_back(link.Interface(i).address);
    return addresses;
}

// ---- The PC has 10.0.1.1-10.0.1.12 on one interface and 127.0.0.2-127.0.0.7 besides
// 127.0.0.1 on its loopback.

TEST(InterfacesOfManyAddresses, TheTableListsTheAddressesOfAnInterfaceInTheOrderTheyWereGiven) {
    const auto table = platform::ReadLocalAddressTable();
    ASSERT_TRUE(table);
    std::vector<Ipv4Address> pcAddresses;
    for (const auto& row : *table) {
        if (Octet(row.address, 0) != 10) continue;
        pcAddresses.push_back(row.address);
        EXPECT_EQ(row.mask, kPcMask);
    }
    std::vector<Ipv4Address> given;
    for (std::uint8_t i = 1; i <= 12; ++i) given.push_back(MakeIpv4(10, 0, 1, i));
    EXPECT_EQ(pcAddresses, given);
}

TEST(InterfacesOfManyAddresses, OpensTheFirstSixteenUsableAddressesInTableOrder) {
    const auto table = platform::ReadLocalAddressTable();
    ASSERT_TRUE(table);
    std::vector<Ipv4Address> usable;
    for (const auto& row : *table) {
        if (row.address != 0 && row.address != kLoopbackHost) usable.push_back(row.address);
    }
    ASSERT_GT(usable.size(), 16u);
    usable.resize(16);

    ControllerLink link;
    link.OpenInterfaceSockets();
    EXPECT_EQ(SocketAddresses(link), usable);
    const auto addresses = SocketAddresses(link);
    EXPECT_EQ(std::count(addresses.begin(), addresses.end(), kLoopbackHost), 0);
    EXPECT_EQ(std::count(addresses.begin(), addresses.end(), MakeIpv4(127, 0, 0, 2)), 1)
        << "only the exact address 127.0.0.1 is left out";
}

TEST(InterfacesOfManyAddresses, RecordsTheControllerWithTheFirstSocketItAnswered) {
    auto lan = StartControllers({Controller(100, MakeIpv4(10, 0, 1, 100))});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);
    ASSERT_EQ(link.InterfaceCount(), 16u);
    const ControllerRecord* record = FindRecord(link.Table(), 100);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->hostAddress, kPcAddress);
    EXPECT_EQ(record->hostMask, kPcMask);
}

// ---- One PC interface, 10.0.1.1/24.

TEST(BroadcastSocketOpener, NamesTheStepThatFailedOrReportsTheBufferGranted) {
    const platform::BroadcastSocketOpening opened = platform::UdpSocket::OpenBroadcast(kPcAddress);
    ASSERT_TRUE(opened.socket);
    EXPECT_TRUE(opened.report.Opened());
    EXPECT_EQ(opened.report.localPort, opened.socket->LocalPort());
    EXPECT_NE(opened.report.localPort, 0);
    ASSERT_TRUE(opened.report.receiveBufferBytes);
    EXPECT_GE(*opened.report.receiveBufferBytes, platform::kBroadcastReceiveBufferBytes)
        << "as root the whole buffer is granted (Linux reports twice the room)";

    // An address this PC does not have: the bind fails, and says so. (Wine binds every
    // datagram socket to 0.0.0.0, so there it opens; should that change, this says so.)
    const platform::BroadcastSocketOpening absent =
        platform::UdpSocket::OpenBroadcast(MakeIpv4(10, 0, 9, 9));
    EXPECT_EQ(absent.socket.has_value(), testing::RunningUnderWine());
    if (testing::RunningUnderWine()) return;
#ifdef _WIN32
    constexpr int kAddressNotAvailable = 10049;  // WSAEADDRNOTAVAIL
#else
    constexpr int kAddressNotAvailable = EADDRNOTAVAIL;
#endif
    ASSERT_TRUE(absent.report.failure);
    EXPECT_EQ(absent.report.failure->step, platform::BroadcastSocketStep::Bind);
    EXPECT_EQ(absent.report.failure->error.code, kAddressNotAvailable);
    EXPECT_FALSE(absent.report.failure->error.text.empty());
}

TEST(InterfaceSocketBuffer, HoldsEveryAnswerOfThreeHundredControllersToOneBroadcast) {
    auto lan = StartControllers(
        sim::Simulator::Sequential(300, 1000, MakeIpv4(10, 0, 1, 2), MakeIpv4(255, 255, 0, 0)));
    ASSERT_TRUE(lan);
    auto socket = platform::UdpSocket::OpenBroadcast(kPcAddress).socket;
    ASSERT_TRUE(socket);
    const std::size_t answersBefore = lan->AnswersSent();
    ASSERT_TRUE(socket->SendTo(kLimitedBroadcast, kControllerPort, kDiscoveryFrames[0]));
    // Every answer has left before any is read: the socket must hold them all.
    ASSERT_TRUE(apptest::WaitUntil([&] { return lan->AnswersSent() - answersBefore >= 300; }))
        << lan->AnswersSent() - answersBefore << " of 300 answers sent";
    std::set<std::uint32_t> serials;
    std::array<std::uint8_t, kCollectAreaBytes> area;
    while (socket->WaitReadable(100ms) == platform::Readiness::Readable) {
        const auto received = socket->Receive(area);
        if (received) serials.insert(ByteReader(std::span(area).first(*received)).Le32(8));
    }
    EXPECT_EQ(serials.size(), 300u);
}

// ---- One PC interface, 10.0.1.1/24; address tables given to the link directly.

TEST(InterfacesOfAGivenTable, WithoutUsableAddressExchangeFailsAtOnce) {
    using Table = std::optional<std::vector<platform::LocalAddress>>;
    const std::pair<const char*, Table> tables[] = {
        {"unreadable table", std::nullopt},
        {"only 127.0.0.1 and 0.0.0.0", Table{{{kLoopbackHost, MakeIpv4(255, 0, 0, 0)}, {0, 0}}}},
        {"empty table", Table{std::vector<platform::LocalAddress>{}}},
    };
    for (const auto& [what, table] : tables) {
        // "At once": no socket is opened, and no phase of the exchange, each of which
        // starts by reading the clock of its time limit, ever begins.
        int socketsOpened = 0, clockReads = 0;
        LinkEnvironment environment = WithAddressTable(table);
        environment.openSocket = [&socketsOpened](Ipv4Address local) {
            ++socketsOpened;
            return OpenSystemSocket(local);
        };
        environment.steadyNow = [&clockReads] {
            ++clockReads;
            return std::chrono::steady_clock::now();
        };
        ControllerLink link(std::move(environment));
        link.OpenInterfaceSockets();
        EXPECT_EQ(link.InterfaceCount(), 0u) << what;
        link.DiscoverControllers();
        EXPECT_EQ(link.Table().count, 0u) << what;
        const std::uint8_t frame[20] = {};
        clockReads = 0;
        EXPECT_EQ(link.Exchange(kPcAddress, kLimitedBroadcast, frame), CommandReply::Silent) << what;
        EXPECT_EQ(socketsOpened, 0) << what;
        EXPECT_EQ(clockReads, 0) << what << ": the exchange began to wait";
    }
}

TEST(InterfacesOfAGivenTable, AnAddressThatCannotBeBoundIsLeftOut) {
    const Ipv4Address absent = MakeIpv4(10, 99, 0, 1);  // not an address of this PC
    ControllerLink link(WithAddressTable(std::vector<platform::LocalAddress>{
        {absent, kPcMask}, {kPcAddress, kPcMask}}));
    link.OpenInterfaceSockets();
    // Wine binds every datagram socket to 0.0.0.0, so there any address binds and is kept;
    // should that change, this says so.
    const std::vector<Ipv4Address> expected = testing::RunningUnderWine()
                                                  ? std::vector<Ipv4Address>{absent, kPcAddress}
                                                  : std::vector<Ipv4Address>{kPcAddress};
    EXPECT_EQ(SocketAddresses(link), expected);
}

TEST(InterfacesOfAGivenTable, ExchangeUsesTheFirstOfTwoEntriesWithTheSameAddress) {
    auto lan = StartControllers({Controller(100, MakeIpv4(10, 0, 1, 100))});
    ASSERT_TRUE(lan);
    ControllerLink link(WithAddressTable(std::vector<platform::LocalAddress>{
        {kPcAddress, kPcMask}, {kPcAddress, MakeIpv4(255, 255, 0, 0)}}));
    link.OpenInterfaceSockets();
    ASSERT_EQ(link.InterfaceCount(), 2u);

    link.SetSequenceCounter(1);
    EXPECT_EQ(link.ProbeController(MakeIpv4(10, 0, 1, 100), kPcAddress, 100), CommandReply::Answered);
    const auto frames = lan->LogOf(100);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].sourcePort, link.Interface(0).socket->LocalPort());
    EXPECT_NE(frames[0].sourcePort, link.Interface(1).socket->LocalPort());
}

TEST(InterfacesOfAGivenTable, ClosingEmptiesTheListAndReopeningBuildsItAnew) {
    ControllerLink link(WithAddressTable(std::vector<platform::LocalAddress>{{kPcAddress, kPcMask}}));
    link.OpenInterfaceSockets();
    link.CloseInterfaceSockets();
    EXPECT_EQ(link.InterfaceCount(), 0u);
    link.OpenInterfaceSockets();
    link.OpenInterfaceSockets();  // opening twice does not keep the old sockets
    ASSERT_EQ(link.InterfaceCount(), 1u);
    EXPECT_NE(link.Interface(0).socket->LocalPort(), 0);
}

}  // namespace
}  // namespace lumaro
