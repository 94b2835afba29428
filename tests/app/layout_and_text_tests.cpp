// The dialog's pure rules: the title's version, the column widths, the row texts and the
// byte order of the address fields.

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "app/address_field.h"
#include "app/controller_row_text.h"
#include "app/dialog_title.h"
#include "app/list_columns.h"

namespace lumaro {
namespace {

TEST(DialogTitle, KeepsTheProductVersionUpToItsSecondDot) {
    struct Case {
        std::wstring version;
        std::wstring title;
    };
    const Case cases[] = {
        {L"2.7.3.20701", L"Lumaro [专业门禁]--V2.7"},
        {L"10.4.1", L"Lumaro [专业门禁]--V10.4"},
        {L"3.1", L"Lumaro [专业门禁]--V"},
        {L"3", L"Lumaro [专业门禁]--V"},
        {L"", L"Lumaro [专业门禁]--V"},
        {L"1..2", L"Lumaro [专业门禁]--V1."},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TitleWithVersion(L"Lumaro [专业门禁]", c.version), c.title)
            << std::string(c.version.begin(), c.version.end());
    }
}

TEST(ListColumns, SevenColumnsShareTheClientWidthTruncatingAndTheMacColumnTakesTen) {
    struct Case {
        int clientWidth;
        std::array<int, 7> widths;
    };
    const Case cases[] = {
        {700, {100, 100, 100, 100, 110, 100, 90}},
        {699, {99, 99, 99, 99, 109, 99, 89}},
        {776, {110, 110, 110, 110, 120, 110, 100}},
    };
    for (const Case& c : cases) {
        const auto columns = ControllerListColumns(c.clientWidth);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            EXPECT_EQ(columns[i].width, c.widths[i])
                << "column " << i << " of " << c.clientWidth << " pixels";
        }
    }
}

TEST(ControllerRowTexts, ShowSerialUnsignedAddressesFirstOctetFirstAndMacInUpperCase) {
    ControllerRecord record;
    record.serial = 2147483648u;
    record.ip = MakeIpv4(192, 168, 0, 1);
    record.mask = MakeIpv4(255, 255, 255, 0);
    record.gateway = MakeIpv4(192, 168, 0, 254);
    record.mac = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
    record.hostAddress = MakeIpv4(10, 0, 1, 1);
    record.webPort = 80;
    const std::array<std::wstring, 7> expected{L"2147483648", L"192.168.0.1",
                                               L"255.255.255.0", L"192.168.0.254",
                                               L"00-1A-2B-3C-4D-5E", L"10.0.1.1", L"on"};
    EXPECT_EQ(ControllerRowTexts(record, L"on", L"off"), expected);
}

TEST(ControllerRowTexts, WebIsOffOnlyForPortsZeroAnd65535) {
    struct Case {
        std::uint32_t port;
        std::wstring text;
    };
    const Case cases[] = {{0, L"off"}, {65535, L"off"}, {80, L"on"}, {1, L"on"}, {65534, L"on"}};
    for (const Case& c : cases) {
        ControllerRecord record;
        record.webPort = c.port;
        EXPECT_EQ(ControllerRowTexts(record, L"on", L"off")[6], c.text) << "port " << c.port;
    }
}

TEST(AddressField, HoldsTheFirstOctetInTheMostSignificantByte) {
    const Ipv4Address address = MakeIpv4(192, 168, 0, 1);
    EXPECT_EQ(ToFieldAddress(address), 0xC0A80001u);
    EXPECT_EQ(FromFieldAddress(0xC0A80001u), address);
    EXPECT_EQ(FromFieldAddress(ToFieldAddress(MakeIpv4(1, 2, 3, 4))), MakeIpv4(1, 2, 3, 4));
}

}  // namespace
}  // namespace lumaro
