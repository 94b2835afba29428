// The Win32 platform layer on a real Winsock and IP Helper: run under Wine in the PC
// namespace of a test LAN with 10.0.1.1/24 on its interface and 127.0.0.2/8 on its loopback.

#include <winsock2.h>

#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "link/controller_text.h"
#include "platform/clock.h"
#include "platform/local_addresses.h"
#include "platform/socket_layer.h"
#include "platform/timer_throttling_win32.h"
#include "platform/udp_socket.h"
#include "tools/window-reader/running_under_wine.h"

namespace lumaro::platform {
namespace {

using namespace std::chrono_literals;

constexpr Ipv4Address kLabAddress = MakeIpv4(10, 0, 1, 1);
constexpr Ipv4Address kAbsentAddress = MakeIpv4(10, 0, 9, 9);
// Long enough never to run out on a loaded machine; a datagram to ourselves takes far less.
constexpr auto kArrivalLimit = 10s;

// Every test that touches sockets holds one start of the socket layer.
class WinsockTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(StartSocketLayer(2, 2).succeeded); }
    void TearDown() override { StopSocketLayer(); }
};

using AddressTable = WinsockTest;
using UdpSocketOnTheLan = WinsockTest;

TEST(SocketLayer, GrantsTheVersionAskedForUpToTwoTwo) {
    struct Case {
        std::uint8_t askedMajor, askedMinor;
        bool succeeds;
        std::uint8_t grantedMajor, grantedMinor;
    };
    const Case cases[] = {
        {2, 2, true, 2, 2},
        {1, 1, true, 1, 1},
        {3, 3, true, 2, 2},  // more than Winsock has: it offers its highest
        {0, 0, false, 0, 0},
    };
    for (const Case& c : cases) {
        const SocketLayerStart start = StartSocketLayer(c.askedMajor, c.askedMinor);
        SCOPED_TRACE("asked for " + std::to_string(c.askedMajor) + "." +
                     std::to_string(c.askedMinor));
        EXPECT_EQ(start.succeeded, c.succeeds);
        if (!start.succeeded) continue;
        EXPECT_EQ(start.grantedMajor, c.grantedMajor);
        EXPECT_EQ(start.grantedMinor, c.grantedMinor);
        StopSocketLayer();
    }
}

TEST(SocketLayer, MarkingTheVersionUnsupportedSetsTheLastSocketError) {
    WSASetLastError(0);
    MarkSocketVersionNotSupported();
    EXPECT_EQ(WSAGetLastError(), WSAVERNOTSUPPORTED);
}

TEST_F(AddressTable, ListsTheLanAddressesWithTheirMasksLoopbackIncluded) {
    const std::optional<std::vector<LocalAddress>> table = ReadLocalAddressTable();
    ASSERT_TRUE(table.has_value());
    const LocalAddress expected[] = {
        {MakeIpv4(10, 0, 1, 1), MakeIpv4(255, 255, 255, 0)},
        {MakeIpv4(127, 0, 0, 1), MakeIpv4(255, 0, 0, 0)},
        {MakeIpv4(127, 0, 0, 2), MakeIpv4(255, 0, 0, 0)},
    };
    std::string listed;
    for (const LocalAddress& row : *table) {
        listed += FormatAddress(row.address) + "/" + FormatAddress(row.mask) + " ";
    }
    for (const LocalAddress& want : expected) {
        bool found = false;
        for (const LocalAddress& row : *table) {
            found = found || (row.address == want.address && row.mask == want.mask);
        }
        EXPECT_TRUE(found) << FormatAddress(want.address) << "/" << FormatAddress(want.mask)
                           << " missing from: " << listed;
    }
}

TEST_F(UdpSocketOnTheLan, OpensOnTheLanAddressWithAPortPickedBySystem) {
    const std::optional<UdpSocket> socket = UdpSocket::OpenBroadcast(kLabAddress).socket;
    ASSERT_TRUE(socket.has_value());
    EXPECT_NE(socket->LocalPort(), 0);
}

TEST_F(UdpSocketOnTheLan, DoesNotOpenOnAnAddressThePcDoesNotHave) {
    // Wine binds every datagram socket to 0.0.0.0 (on the interface of the address, when
    // there is one), so there any address binds; should that change, this says so.
    const BroadcastSocketOpening absent = UdpSocket::OpenBroadcast(kAbsentAddress);
    EXPECT_EQ(absent.socket.has_value(), apptest::RunningUnderWine());
    if (!absent.socket) {  // Windows: the bind fails, and the opener says so
        ASSERT_TRUE(absent.report.failure);
        EXPECT_EQ(absent.report.failure->step, BroadcastSocketStep::Bind);
        EXPECT_EQ(absent.report.failure->error.code, WSAEADDRNOTAVAIL);
    }
}

TEST_F(UdpSocketOnTheLan, KeepsItsSocketWhenMoved) {
    std::optional<UdpSocket> original = UdpSocket::OpenBroadcast(kLabAddress).socket;
    ASSERT_TRUE(original.has_value());
    const std::uint16_t port = original->LocalPort();

    UdpSocket moved = std::move(*original);
    EXPECT_EQ(moved.LocalPort(), port);
    EXPECT_EQ(original->LocalPort(), 0) << "the moved-from object must hold no socket";
}

TEST_F(UdpSocketOnTheLan, ReceivesADatagramSentToItsOwnAddress) {
    const std::optional<UdpSocket> socket = UdpSocket::OpenBroadcast(kLabAddress).socket;
    ASSERT_TRUE(socket.has_value());
    const std::array<std::uint8_t, 5> sent = {0x17, 0x20, 0x00, 0xFF, 0x01};
    ASSERT_TRUE(socket->SendTo(kLabAddress, socket->LocalPort(), sent));

    ASSERT_EQ(socket->WaitReadable(kArrivalLimit), Readiness::Readable);
    std::array<std::uint8_t, 2048> buffer{};
    const std::optional<std::size_t> received = socket->Receive(buffer);
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + *received),
              std::vector<std::uint8_t>(sent.begin(), sent.end()));
}

TEST_F(UdpSocketOnTheLan, IsQuietAfterItsTimeoutWhenNothingComes) {
    const std::optional<UdpSocket> socket = UdpSocket::OpenBroadcast(kLabAddress).socket;
    ASSERT_TRUE(socket.has_value());
    EXPECT_EQ(socket->WaitReadable(8ms), Readiness::Quiet);
}

TEST_F(UdpSocketOnTheLan, DropsADatagramLargerThanTheBufferAndKeepsTheNextOne) {
    const std::optional<UdpSocket> socket = UdpSocket::OpenBroadcast(kLabAddress).socket;
    ASSERT_TRUE(socket.has_value());
    const std::vector<std::uint8_t> large(64, 0xAB);
    const std::vector<std::uint8_t> small = {1, 2, 3};
    ASSERT_TRUE(socket->SendTo(kLabAddress, socket->LocalPort(), large));
    ASSERT_TRUE(socket->SendTo(kLabAddress, socket->LocalPort(), small));

    std::array<std::uint8_t, 16> buffer{};
    ASSERT_EQ(socket->WaitReadable(kArrivalLimit), Readiness::Readable);
    EXPECT_FALSE(socket->Receive(buffer).has_value()) << "64 bytes do not fit into 16";

    ASSERT_EQ(socket->WaitReadable(kArrivalLimit), Readiness::Readable);
    const std::optional<std::size_t> received = socket->Receive(buffer);
    ASSERT_TRUE(received.has_value());
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin(), buffer.begin() + *received), small);
}

TEST_F(UdpSocketOnTheLan, PortUnreachableFailsAtMostOneReceiveAndTheSocketWorksOn) {
    // Nothing listens on port 60000 of the PC itself: the PC answers with ICMP "port
    // unreachable". Windows reports it as WSAECONNRESET on the next receive (the socket
    // reads as ready); Wine 8 does not report it on an unconnected socket at all.
    const std::optional<UdpSocket> socket = UdpSocket::OpenBroadcast(kLabAddress).socket;
    ASSERT_TRUE(socket.has_value());
    const std::array<std::uint8_t, 24> probe{};
    ASSERT_TRUE(socket->SendTo(kLabAddress, 60000, probe));
    std::array<std::uint8_t, 2048> buffer{};
    int failedReceives = 0;
    while (failedReceives < 2 && socket->WaitReadable(200ms) == Readiness::Readable) {
        EXPECT_FALSE(socket->Receive(buffer).has_value()) << "only the error can be waiting";
        ++failedReceives;
    }
    EXPECT_LE(failedReceives, 1) << "the error is reported once, then the socket is quiet";

    const std::array<std::uint8_t, 20> sent = {0x24, 0x11};
    ASSERT_TRUE(socket->SendTo(kLabAddress, socket->LocalPort(), sent));
    ASSERT_EQ(socket->WaitReadable(kArrivalLimit), Readiness::Readable);
    EXPECT_EQ(socket->Receive(buffer), std::optional<std::size_t>(20));
}

TEST_F(UdpSocketOnTheLan, SendsToTheLimitedBroadcastAddress) {
    // Without SO_BROADCAST, Winsock refuses a broadcast destination (WSAEACCES). The system
    // hands a broadcast it sends to its own listeners too: one on any address hears it.
    const SOCKET listener = socket(AF_INET, SOCK_DGRAM, 0);
    ASSERT_NE(listener, INVALID_SOCKET);
    sockaddr_in any{};
    any.sin_family = AF_INET;
    int length = sizeof any;
    ASSERT_EQ(bind(listener, reinterpret_cast<const sockaddr*>(&any), sizeof any), 0);
    ASSERT_EQ(getsockname(listener, reinterpret_cast<sockaddr*>(&any), &length), 0);

    const std::optional<UdpSocket> socket = UdpSocket::OpenBroadcast(kLabAddress).socket;
    ASSERT_TRUE(socket.has_value());
    std::array<std::uint8_t, 20> frame{};
    frame[0] = 0x17;
    frame[19] = 0xB5;
    EXPECT_TRUE(socket->SendTo(kLimitedBroadcast, ntohs(any.sin_port), frame));

    fd_set readable;
    FD_ZERO(&readable);
    FD_SET(listener, &readable);
    timeval limit{static_cast<long>(std::chrono::seconds(kArrivalLimit).count()), 0};
    const int ready = select(0, &readable, nullptr, nullptr, &limit);
    std::array<char, 64> received{};
    const int bytes = ready == 1 ? recv(listener, received.data(), received.size(), 0) : -1;
    closesocket(listener);
    ASSERT_EQ(ready, 1) << "the broadcast never arrived";
    ASSERT_EQ(bytes, 20);
    EXPECT_EQ(static_cast<std::uint8_t>(received[0]), 0x17);
    EXPECT_EQ(static_cast<std::uint8_t>(received[19]), 0xB5);
}

TEST(Clock, SecondsSince1970AgreeWithTheCRuntime) {
    const std::int64_t before = _time64(nullptr);
    const std::int64_t seconds = SecondsSince1970();
    const std::int64_t after = _time64(nullptr);
    EXPECT_GE(seconds, before);
    EXPECT_LE(seconds, after);
}

// Lets a test set the C runtime's time zone (TZ in its own notation, e.g. "CST-8" for
// UTC+8) and restores the zone the process had afterwards. Zones without summer time only:
// under Wine the C runtime takes summer-time rules from the system's zone, not from TZ.
class LocalCalendar : public ::testing::Test {
protected:
    void SetUp() override {
        if (const char* zone = std::getenv("TZ")) savedZone_ = zone;
    }
    void TearDown() override { UseZone(savedZone_); }
    static void UseZone(const std::string& zone) {
        _putenv(("TZ=" + zone).c_str());
        _tzset();
    }

private:
    std::string savedZone_;
};

TEST_F(LocalCalendar, ConvertsKnownInstantsInTheZoneInForce) {
    struct Case {
        const char* zone;
        std::int64_t seconds;
        CalendarTime expected;
    };
    const Case cases[] = {
        {"UTC0", 0, {1970, 1, 1, 4, 0, 0, 0}},                   // a Thursday
        {"UTC0", 951'782'400, {2000, 2, 29, 2, 0, 0, 0}},        // leap day, a Tuesday
        {"UTC0", 1'700'000'000, {2023, 11, 14, 2, 22, 13, 20}},  // a Tuesday
        {"UTC0", 4'102'444'799, {2099, 12, 31, 4, 23, 59, 59}},  // past 2038: 64-bit time
        {"CST-8", 1'700'000'000, {2023, 11, 15, 3, 6, 13, 20}},  // UTC+8: the next day
        {"CST-8", 1'704'038'400, {2024, 1, 1, 1, 0, 0, 0}},      // new year's midnight
    };
    for (const Case& c : cases) {
        UseZone(c.zone);
        const std::optional<CalendarTime> local = ToLocalCalendar(c.seconds);
        ASSERT_TRUE(local.has_value()) << c.seconds << " in " << c.zone;
        const CalendarTime& t = *local;
        const CalendarTime& e = c.expected;
        EXPECT_EQ((std::array{t.year, t.month, t.day, t.weekday, t.hour, t.minute, t.second}),
                  (std::array{e.year, e.month, e.day, e.weekday, e.hour, e.minute, e.second}))
            << c.seconds << " in " << c.zone;
    }
}

TEST_F(LocalCalendar, HasNoDateBefore1970) {
    UseZone("UTC0");
    EXPECT_FALSE(ToLocalCalendar(-1).has_value());
}

// What the opt-out handed to SetProcessInformation, and what the stand-in answered.
struct ThrottlingCall {
    int calls = 0;
    HANDLE process = nullptr;
    PROCESS_INFORMATION_CLASS informationClass{};
    DWORD size = 0;
    PROCESS_POWER_THROTTLING_STATE state{};
    BOOL answer = FALSE;
    DWORD error = 0;  // set as the last error when it refuses
};
ThrottlingCall throttlingCall;

BOOL WINAPI RecordingSetProcessInformation(HANDLE process, PROCESS_INFORMATION_CLASS informationClass,
                                           LPVOID information, DWORD size) {
    ++throttlingCall.calls;
    throttlingCall.process = process;
    throttlingCall.informationClass = informationClass;
    throttlingCall.size = size;
    if (size == sizeof(PROCESS_POWER_THROTTLING_STATE)) {
        throttlingCall.state = *static_cast<const PROCESS_POWER_THROTTLING_STATE*>(information);
    }
    if (!throttlingCall.answer) SetLastError(throttlingCall.error);
    return throttlingCall.answer;
}

TEST(FineTimerWhenHidden, AsksToKeepTheTimerResolutionAndTakesARefusalOrNoSuchCallCalmly) {
    struct Case {
        const char* system;
        bool hasCall;
        BOOL answer;
        DWORD error;
        bool kept;
    };
    const Case cases[] = {
        {"Windows 11: taken", true, TRUE, 0, true},
        {"Windows 10: the flag is not known there", true, FALSE, ERROR_INVALID_PARAMETER, false},
        {"a system that does not support the class", true, FALSE, ERROR_NOT_SUPPORTED, false},
        {"Windows 7: no SetProcessInformation", false, FALSE, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.system);
        throttlingCall = ThrottlingCall{};
        throttlingCall.answer = c.answer;
        throttlingCall.error = c.error;
        EXPECT_EQ(KeepFineTimerWhenHiddenThrough(c.hasCall ? RecordingSetProcessInformation : nullptr),
                  c.kept);
        ASSERT_EQ(throttlingCall.calls, c.hasCall ? 1 : 0);
        if (!c.hasCall) continue;
        EXPECT_EQ(throttlingCall.process, GetCurrentProcess());
        EXPECT_EQ(throttlingCall.informationClass, ProcessPowerThrottling);
        EXPECT_EQ(throttlingCall.size, sizeof(PROCESS_POWER_THROTTLING_STATE));
        EXPECT_EQ(throttlingCall.state.Version, 1u);
        // Under the process's control (bit 4: ignore timer resolution) and switched off.
        EXPECT_EQ(throttlingCall.state.ControlMask, 0x4u);
        EXPECT_EQ(throttlingCall.state.StateMask, 0u);
    }
}

}  // namespace
}  // namespace lumaro::platform
