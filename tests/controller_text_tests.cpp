// The texts of a row of the controller list.

#include <gtest/gtest.h>

#include "link/controller_text.h"

namespace lumaro {
namespace {

TEST(ControllerText, ShowsSerialsAsUnsignedDecimal) {
    EXPECT_EQ(FormatSerial(0), "0");
    EXPECT_EQ(FormatSerial(2147483648u), "2147483648");
    EXPECT_EQ(FormatSerial(4294967295u), "4294967295");
}

TEST(ControllerText, ShowsAddressesFirstOctetFirst) {
    EXPECT_EQ(FormatAddress(MakeIpv4(192, 168, 0, 1)), "192.168.0.1");
    EXPECT_EQ(FormatAddress(0), "0.0.0.0");
    EXPECT_EQ(FormatAddress(0xFFFFFFFF), "255.255.255.255");
}

TEST(ControllerText, ReadsBackTheAddressesItShowsAndNothingElse) {
    for (const Ipv4Address address : {MakeIpv4(192, 168, 0, 1), Ipv4Address{0}, 0xFFFFFFFFu,
                                      MakeIpv4(10, 0, 1, 123)}) {
        EXPECT_EQ(ParseAddress(FormatAddress(address)), address) << FormatAddress(address);
    }
    EXPECT_EQ(ParseAddress("010.0.1.7"), MakeIpv4(10, 0, 1, 7));
    for (const char* text : {"", "10.0.1", "10.0.1.1.", "10.0.1.256", "10.0.1.0010", "10..1.1",
                             "a.b.c.d", "10.0.1.1 ", "-1.0.0.0", "10.0.1.+1"}) {
        EXPECT_EQ(ParseAddress(text), std::nullopt) << "'" << text << "'";
    }
}

TEST(ControllerText, ShowsMacInUpperCaseHexInStoredOrder) {
    EXPECT_EQ(FormatMac({0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E}), "00-1A-2B-3C-4D-5E");
    EXPECT_EQ(FormatMac({0xFF, 0xFE, 0x0A, 0xB0, 0x01, 0x10}), "FF-FE-0A-B0-01-10");
}

TEST(ControllerText, WebServerIsOffOnlyForPorts0And65535) {
    struct Case { std::uint32_t port; bool enabled; };
    for (const Case c : {Case{0, false}, Case{65535, false}, Case{80, true}, Case{1, true},
                         Case{65534, true}}) {
        EXPECT_EQ(WebServerEnabled(c.port), c.enabled) << "port " << c.port;
    }
}

TEST(ControllerText, RowHoldsTheSevenColumnsInOrder) {
    ControllerRecord record;
    record.serial = 4294967295u;
    record.ip = MakeIpv4(10, 0, 1, 100);
    record.mask = MakeIpv4(255, 255, 255, 0);
    record.gateway = MakeIpv4(10, 0, 1, 254);
    record.mac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    record.hostAddress = MakeIpv4(10, 0, 1, 1);
    record.webPort = 0;
    const auto row = ListRowTexts(record, "on", "off");
    const std::array<std::string, 7> expected{"4294967295", "10.0.1.100", "255.255.255.0",
                                              "10.0.1.254", "00-1A-2B-3C-4D-5E", "10.0.1.1",
                                              "off"};
    EXPECT_EQ(row, expected);
}

}  // namespace
}  // namespace lumaro
