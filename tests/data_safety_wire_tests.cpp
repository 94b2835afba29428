// Data safety on the test LAN: every command of the link changes no byte of any
// controller's parameter image except those it writes, and only in the controller it
// addresses, while the others hear the same broadcasts.

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "link/frame.h"
#include "link/masked_write.h"
#include "tests/image_watch.h"
#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using testing::AwaitFrameLogged;
using testing::Controller;
using testing::FrameBytes;
using testing::ImageWatch;
using testing::kPcAddress;
using testing::StartControllers;
using testing::Union;
namespace written_by = testing::written_by;

constexpr std::uint32_t kSerial = 4242;
constexpr std::uint32_t kNeighbour = 5151;
constexpr std::uint32_t kStranger = 6161;

struct Operation {
    const char* what;
    std::function<void(TransmitBuffer&)> compose;  // on the buffer the command sends from
    std::function<int(ControllerLink&, Ipv4Address controllerIp)> command;
    std::size_t frameLength;
    bool unicast;
    FrameBytes written;  // in the addressed controller
};

// Unmarked bytes that an earlier composition left: a controller must not take them.
void LeaveUnmarkedBytes(TransmitBuffer& buffer) {
    buffer[119] = 0x77;
    buffer[500] = 0x66;
    buffer[1043] = 0x55;
}

TEST(DataSafetyOnTheLan, EveryCommandChangesOnlyTheBytesItWritesInTheControllerItAddresses) {
    auto addressed = Controller(kSerial, MakeIpv4(10, 0, 1, 42));
    addressed.dhcp = true;  // so that the DHCP group changes something
    addressed.dhcpIp = MakeIpv4(10, 0, 1, 43);
    addressed.dhcpMask = MakeIpv4(255, 255, 255, 0);
    auto stranger = Controller(kStranger, MakeIpv4(192, 168, 5, 9));
    stranger.webPort = 0;
    auto lan = StartControllers({addressed, Controller(kNeighbour, MakeIpv4(10, 0, 1, 51)), stranger});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);
    ASSERT_EQ(link.Table().count, 3u);
    link.SeedSequenceCounter();

    const auto nothing = [](TransmitBuffer&) {};
    const auto write = [](ControllerLink& l, Ipv4Address) { return l.WriteSettings(kPcAddress, kSerial); };
    const Operation operations[] = {
        {"probe", nothing,
         [](ControllerLink& l, Ipv4Address ip) { return l.ProbeController(ip, kPcAddress, kSerial); },
         24, true, written_by::Nothing()},
        {"read network parameters", nothing,
         [](ControllerLink& l, Ipv4Address) { return l.ReadNetworkParameters(kPcAddress, kSerial); },
         20, false, written_by::Nothing()},
        {"settings group",
         [](TransmitBuffer& b) { LaySettingsGroup(b, 80, 4, 1); },
         write, 1172, false, written_by::SettingsGroup()},
        {"settings group over bytes left unmarked",
         [](TransmitBuffer& b) {
             LeaveUnmarkedBytes(b);
             LaySettingsGroup(b, 8080, 2, 0);
         },
         write, 1172, false, written_by::SettingsGroup()},
        {"web-off settings group",
         [](TransmitBuffer& b) { LayWebOffSettingsGroup(b, 1); },
         write, 1172, false, written_by::WebOffSettingsGroup()},
        {"DHCP group",
         [](TransmitBuffer& b) { LayDhcpGroup(b); },
         write, 1172, false, written_by::DhcpGroup()},
        {"settings and DHCP groups (first frame of an apply)",
         [](TransmitBuffer& b) {
             LaySettingsGroup(b, 80, 0, 0);
             LayDhcpGroup(b);
         },
         write, 1172, false, Union({written_by::SettingsGroup(), written_by::DhcpGroup()})},
        {"network, settings and DHCP groups (second frame of an apply)",
         [](TransmitBuffer& b) {
             LaySettingsGroup(b, 80, 0, 0);
             LayDhcpGroup(b);
             LayNetworkGroup(b, MakeIpv4(10, 0, 1, 142), MakeIpv4(255, 255, 255, 0), 0);
         },
         write, 1172, false,
         Union({written_by::NetworkGroup(), written_by::SettingsGroup(), written_by::DhcpGroup()})},
        {"clock", nothing,
         [](ControllerLink& l, Ipv4Address) { return l.SetControllerClock(kPcAddress, kSerial); },
         28, false, written_by::Nothing()},
        {"restart",
         [](TransmitBuffer& b) { LayWebOffSettingsGroup(b, 0); },  // as after a web-off write
         [](ControllerLink& l, Ipv4Address) { return l.RestartController(kPcAddress, kSerial); },
         24, false, written_by::Nothing()},
    };
    for (const Operation& operation : operations) {
        lan->ClearLog();
        link.ClearTransmitBuffer();
        operation.compose(link.Transmit());
        link.SetCurrentVariantCode(1);
        const ImageWatch watch(*lan);

        EXPECT_EQ(operation.command(link, lan->Current(kSerial).ip), 0) << operation.what;
        const std::span<const std::uint8_t> sent(link.Transmit().data(), operation.frameLength);
        const std::vector<std::uint32_t> receivers =
            operation.unicast ? std::vector<std::uint32_t>{kSerial}
                              : std::vector<std::uint32_t>{kSerial, kNeighbour, kStranger};
        ASSERT_TRUE(AwaitFrameLogged(*lan, sent, receivers)) << operation.what;
        EXPECT_TRUE(watch.ChangedOnly({{kSerial, operation.written}})) << operation.what;
    }
}

}  // namespace
}  // namespace lumaro
