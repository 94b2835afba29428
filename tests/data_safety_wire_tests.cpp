// Data safety on the test LAN: every command of the link changes no byte of any
// controller's parameter image except those it writes, and only in the controller it
// addresses, while the others hear the same broadcasts.

#include <gtest/gtest.h>

#include <vector>

#include "tests/lan_fixture.h"
#include "tests/link_operations.h"

namespace lumaro {
namespace {

using testing::Controller;
using testing::kPcAddress;
using testing::LinkOperation;
using testing::StartSimulator;

constexpr std::uint32_t kSerial = 4242;
constexpr std::uint32_t kNeighbour = 5151;
constexpr std::uint32_t kStranger = 6161;

TEST(DataSafetyOnTheLan, EveryCommandChangesOnlyTheBytesItWritesInTheControllerItAddresses) {
    auto addressed = Controller(kSerial, MakeIpv4(10, 0, 1, 42));
    addressed.dhcp = true;  // so that the DHCP group changes something
    addressed.dhcpIp = MakeIpv4(10, 0, 1, 43);
    addressed.dhcpMask = MakeIpv4(255, 255, 255, 0);
    auto stranger = Controller(kStranger, MakeIpv4(192, 168, 5, 9));
    stranger.webPort = 0;
    auto lan = StartSimulator({addressed, Controller(kNeighbour, MakeIpv4(10, 0, 1, 51)), stranger});
    ASSERT_TRUE(lan);
    ControllerLink link;
    SearchControllers(link);
    ASSERT_EQ(link.Table().count, 3u);
    link.SeedSequenceCounter();

    const auto operations = testing::EveryLinkCommand(kPcAddress, kSerial, MakeIpv4(10, 0, 1, 142));
    link.SetCurrentVariantCode(1);
    for (const LinkOperation& operation : operations) {
        const CommandReply reply = testing::RunWithDataSafetyCheck(
            operation, link, *lan, kSerial, {kSerial, kNeighbour, kStranger});
        EXPECT_EQ(reply, CommandReply::Answered) << operation.what;
    }
}

}  // namespace
}  // namespace lumaro
