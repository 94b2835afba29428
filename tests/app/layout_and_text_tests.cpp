// The dialog's pure rules: the title's version, the column widths and their scaling with
// the DPI, the row texts, the byte order of the address fields and who shows and enables
// which control.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "app/address_field.h"
#include "app/control_rules.h"
#include "app/controller_row_text.h"
#include "app/dialog_title.h"
#include "app/list_columns.h"
#include "resources/resource.h"

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
        int dpi;
        int clientWidth;
        std::array<int, 7> widths;
    };
    const Case cases[] = {
        {96, 700, {100, 100, 100, 100, 110, 100, 90}},
        {96, 699, {99, 99, 99, 99, 109, 99, 89}},
        {96, 776, {110, 110, 110, 110, 120, 110, 100}},
        {144, 700, {100, 100, 100, 100, 115, 100, 85}},  // ten pixels at 96 DPI are 15
        {120, 699, {99, 99, 99, 99, 112, 99, 86}},       // 12.5 rounds to 13
    };
    for (const Case& c : cases) {
        const auto columns = ControllerListColumns(c.clientWidth, PixelScale(c.dpi));
        for (std::size_t i = 0; i < columns.size(); ++i) {
            EXPECT_EQ(columns[i].width, c.widths[i])
                << "column " << i << " of " << c.clientWidth << " pixels at " << c.dpi << " DPI";
        }
    }
}

TEST(PixelScale, KeepsPixelsAt96DpiAndScalesThemByTheDpiOtherwise) {
    struct Case {
        int dpi;
        int pixels;
        int scaled;
    };
    const Case cases[] = {
        {96, 8, 8},     {96, 288, 288},  {96, 280, 280},  {96, 140, 140},  {96, 22, 22},
        {144, 8, 12},   {144, 288, 432}, {144, 280, 420}, {144, 140, 210}, {144, 22, 33},
        {120, 10, 13},  {120, -10, -13}, {192, 140, 280}, {72, 22, 17},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(PixelScale(c.dpi)(c.pixels), c.scaled) << c.pixels << " pixels at " << c.dpi;
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

std::vector<int> ControlsChangedBy(DialogEvent event, ControlChange change) {
    std::vector<int> ids;
    for (const ControlRule& rule : ControlRules()) {
        if (rule.event == event && rule.change == change) {
            ids.insert(ids.end(), rule.controls.begin(), rule.controls.end());
        }
    }
    return ids;
}

bool Contains(const std::vector<int>& ids, int id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

TEST(ControlRules, SearchAndSelectionOnlyEnableOrDisableTheThreeCommandButtons) {
    const std::vector<int> commandButtons{IDC_APPLY_BUTTON, IDC_SYNC_TIME_BUTTON,
                                          IDC_DISABLE_WEB_BUTTON};
    for (DialogEvent event : {DialogEvent::SearchStarted, DialogEvent::ControllerSelected}) {
        EXPECT_TRUE(ControlsChangedBy(event, ControlChange::Show).empty());
        EXPECT_TRUE(ControlsChangedBy(event, ControlChange::Hide).empty());
    }
    EXPECT_EQ(ControlsChangedBy(DialogEvent::SearchStarted, ControlChange::Disable), commandButtons);
    EXPECT_EQ(ControlsChangedBy(DialogEvent::ControllerSelected, ControlChange::Enable),
              commandButtons);
}

TEST(ControlRules, OnlyTheHiddenModeAndF4ShowTheClockAndWebOffButtons) {
    const DialogEvent events[] = {DialogEvent::PanelShown,    DialogEvent::PanelHidden,
                                  DialogEvent::SearchStarted, DialogEvent::ControllerSelected,
                                  DialogEvent::HiddenModeEntered, DialogEvent::F4Pressed};
    for (DialogEvent event : events) {
        const std::vector<int> shown = ControlsChangedBy(event, ControlChange::Show);
        const bool showsWebOff = event == DialogEvent::HiddenModeEntered ||
                                 event == DialogEvent::F4Pressed;
        EXPECT_EQ(Contains(shown, IDC_DISABLE_WEB_BUTTON), showsWebOff)
            << "event " << static_cast<int>(event);
        EXPECT_EQ(Contains(shown, IDC_SYNC_TIME_BUTTON), event == DialogEvent::HiddenModeEntered)
            << "event " << static_cast<int>(event);
    }
    // F4 changes nothing else: the button stays enabled or disabled as it was.
    EXPECT_EQ(ControlsChangedBy(DialogEvent::F4Pressed, ControlChange::Show),
              std::vector<int>{IDC_DISABLE_WEB_BUTTON});
    EXPECT_TRUE(ControlsChangedBy(DialogEvent::F4Pressed, ControlChange::Enable).empty());
    // Hiding the panel withdraws both.
    const std::vector<int> hidden = ControlsChangedBy(DialogEvent::PanelHidden, ControlChange::Hide);
    EXPECT_TRUE(Contains(hidden, IDC_SYNC_TIME_BUTTON));
    EXPECT_TRUE(Contains(hidden, IDC_DISABLE_WEB_BUTTON));
}

}  // namespace
}  // namespace lumaro
