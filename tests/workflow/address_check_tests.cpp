// Which addresses and masks the apply command refuses to write.

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "link/controller_text.h"
#include "workflow/address_check.h"

namespace lumaro {

// For GoogleTest's messages (found by argument-dependent lookup, so outside the unnamed
// namespace).
inline void PrintTo(AddressFault fault, std::ostream* out) { *out << DescribeAddressFault(fault); }

namespace {

struct Case {
    Ipv4Address ip;
    Ipv4Address mask;
    std::optional<AddressFault> fault;
};

template <std::size_t N>
void ExpectFaults(const Case (&cases)[N]) {
    for (const Case& c : cases) {
        EXPECT_EQ(FindAddressFault(c.ip, c.mask), c.fault)
            << FormatAddress(c.ip) << " mask " << FormatAddress(c.mask);
    }
}

TEST(AddressCheck, RefusesAddressesThatCanNeverWorkAndNamesTheFirstFault) {
    const Ipv4Address mask24 = MakeIpv4(255, 255, 255, 0);
    const Case cases[] = {
        {0, mask24, AddressFault::NoAddress},  // a blank field
        {MakeIpv4(0, 0, 0, 0), 0, AddressFault::NoAddress},
        {MakeIpv4(255, 255, 255, 255), mask24, AddressFault::LimitedBroadcast},
        {MakeIpv4(127, 0, 0, 1), MakeIpv4(255, 0, 0, 0), AddressFault::Loopback},
        {MakeIpv4(127, 1, 2, 3), mask24, AddressFault::Loopback},
        {MakeIpv4(224, 0, 0, 1), mask24, AddressFault::MulticastOrReserved},
        {MakeIpv4(239, 255, 255, 250), mask24, AddressFault::MulticastOrReserved},
        {MakeIpv4(240, 0, 0, 1), mask24, AddressFault::MulticastOrReserved},
        {MakeIpv4(255, 255, 255, 254), mask24, AddressFault::MulticastOrReserved},
        {MakeIpv4(10, 0, 1, 50), 0, AddressFault::NoMask},
        {MakeIpv4(10, 0, 1, 50), MakeIpv4(255, 0, 255, 0), AddressFault::MaskNotContiguous},
        {MakeIpv4(10, 0, 1, 50), MakeIpv4(0, 255, 255, 255), AddressFault::MaskNotContiguous},
        {MakeIpv4(10, 0, 1, 50), MakeIpv4(255, 255, 255, 1), AddressFault::MaskNotContiguous},
        {MakeIpv4(10, 0, 1, 0), mask24, AddressFault::NetworkAddress},
        {MakeIpv4(10, 0, 1, 255), mask24, AddressFault::SubnetBroadcast},
        {MakeIpv4(172, 16, 0, 0), MakeIpv4(255, 240, 0, 0), AddressFault::NetworkAddress},
        {MakeIpv4(172, 31, 255, 255), MakeIpv4(255, 240, 0, 0), AddressFault::SubnetBroadcast},
        {MakeIpv4(10, 0, 1, 64), MakeIpv4(255, 255, 255, 192), AddressFault::NetworkAddress},
        {MakeIpv4(10, 0, 1, 127), MakeIpv4(255, 255, 255, 192), AddressFault::SubnetBroadcast},
        // A /32 leaves no host part: the address is its own subnet.
        {MakeIpv4(10, 0, 1, 50), MakeIpv4(255, 255, 255, 255), AddressFault::NetworkAddress},
        // The last address below multicast is still the broadcast address of its /24.
        {MakeIpv4(223, 255, 255, 255), mask24, AddressFault::SubnetBroadcast},
        {MakeIpv4(224, 0, 0, 0), mask24, AddressFault::MulticastOrReserved},
        // Only 0.0.0.0 itself means "no address".
        {MakeIpv4(0, 0, 0, 0), MakeIpv4(255, 0, 0, 0), AddressFault::NoAddress},
        {MakeIpv4(0, 1, 2, 0), mask24, AddressFault::NetworkAddress},
        // Either side of the /31 boundary.
        {MakeIpv4(10, 0, 1, 52), MakeIpv4(255, 255, 255, 252), AddressFault::NetworkAddress},
        {MakeIpv4(10, 0, 1, 55), MakeIpv4(255, 255, 255, 252), AddressFault::SubnetBroadcast},
    };
    ExpectFaults(cases);
}

TEST(AddressCheck, AcceptsEveryOtherHostAddressUnderAContiguousMask) {
    const Ipv4Address mask24 = MakeIpv4(255, 255, 255, 0);
    const Case cases[] = {
        {MakeIpv4(10, 0, 1, 50), MakeIpv4(255, 255, 255, 0), std::nullopt},
        {MakeIpv4(10, 0, 1, 1), MakeIpv4(255, 255, 255, 0), std::nullopt},
        {MakeIpv4(10, 0, 1, 254), MakeIpv4(255, 255, 255, 0), std::nullopt},
        {MakeIpv4(192, 168, 1, 0), MakeIpv4(255, 255, 0, 0), std::nullopt},  // .0 inside a /16
        {MakeIpv4(172, 16, 5, 255), MakeIpv4(255, 255, 0, 0), std::nullopt},
        {MakeIpv4(1, 0, 0, 1), MakeIpv4(128, 0, 0, 0), std::nullopt},
        {MakeIpv4(223, 255, 255, 254), MakeIpv4(255, 255, 255, 0), std::nullopt},
        {MakeIpv4(10, 0, 1, 65), MakeIpv4(255, 255, 255, 192), std::nullopt},
        {MakeIpv4(2, 9, 4, 6), MakeIpv4(255, 255, 255, 252), std::nullopt},
        // Both addresses of a /31: a point-to-point link has no network or broadcast address.
        {MakeIpv4(10, 0, 1, 50), MakeIpv4(255, 255, 255, 254), std::nullopt},
        {MakeIpv4(10, 0, 1, 51), MakeIpv4(255, 255, 255, 254), std::nullopt},
        // 0.x.y.z other than 0.0.0.0 is an address like any other.
        {MakeIpv4(0, 1, 2, 3), MakeIpv4(255, 0, 0, 0), std::nullopt},
        {MakeIpv4(0, 0, 0, 1), mask24, std::nullopt},
        {MakeIpv4(223, 255, 255, 254), mask24, std::nullopt},
    };
    ExpectFaults(cases);
}

}  // namespace
}  // namespace lumaro
