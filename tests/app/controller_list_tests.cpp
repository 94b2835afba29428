// The controller list of lumaro.exe on a simulated LAN: what the search shows, what a click
// on a row or a selection moved with the keyboard puts into the panel, and the empty LAN.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/lumaro_session.h"
#include "tests/app/wait_until.h"

namespace lumaro::apptest {
namespace {

std::vector<std::wstring> FirstColumn(const ListViewDriver& list) {
    std::vector<std::wstring> serials;
    for (int row = 0; row < list.RowCount(); ++row) serials.push_back(list.CellText(row, 0));
    return serials;
}

// What the panel shows: the serial and the three address fields.
struct Panel {
    std::wstring serial;
    AddressFieldContent ip, mask, gateway;
};

Panel PanelOf(const DialogDriver& dialog) {
    return {dialog.ControlText(IDC_SERIAL_EDIT), dialog.AddressField(IDC_IP_FIELD),
            dialog.AddressField(IDC_MASK_FIELD), dialog.AddressField(IDC_GATEWAY_FIELD)};
}

void ExpectFields(const Panel& panel, DWORD ip, DWORD mask, DWORD gateway) {
    EXPECT_EQ(panel.ip.filledParts, 4);
    EXPECT_EQ(panel.ip.address, ip);
    EXPECT_EQ(panel.mask.filledParts, 4);
    EXPECT_EQ(panel.mask.address, mask);
    EXPECT_EQ(panel.gateway.filledParts, 4);
    EXPECT_EQ(panel.gateway.address, gateway);
}

void ExpectCommandButtonsEnabled(const DialogDriver& dialog, bool enabled) {
    for (int id : {IDC_APPLY_BUTTON, IDC_SYNC_TIME_BUTTON, IDC_DISABLE_WEB_BUTTON}) {
        EXPECT_EQ(dialog.IsEnabled(id), enabled) << "button " << id;
    }
}

TEST(ControllerList, RowsAreSortedBySerialAndTheFirstIsSelectedAndShownInThePanel) {
    UseLan("three-unsorted.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const ListViewDriver list = lumaro.List();

    EXPECT_EQ(FirstColumn(list), (std::vector<std::wstring>{L"100", L"200", L"300"}));
    EXPECT_EQ(list.SelectedRows(), std::vector<int>{0});
    const Panel panel = PanelOf(lumaro.Dialog());
    EXPECT_EQ(panel.serial, L"100");
    ExpectFields(panel, FieldAddress(10, 0, 1, 10), FieldAddress(255, 255, 255, 0),
                 FieldAddress(10, 0, 1, 254));
    ExpectCommandButtonsEnabled(lumaro.Dialog(), true);
}

TEST(ControllerList, EachColumnShowsItsFieldAndADhcpControllerItsDhcpAddresses) {
    UseLan("columns.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const ListViewDriver list = lumaro.List();

    ASSERT_EQ(list.RowCount(), 2);
    EXPECT_EQ(list.RowTexts(0),
              (std::vector<std::wstring>{L"7", L"192.168.0.1", L"255.255.0.0", L"192.168.0.254",
                                         L"00-1A-2B-3C-4D-5E", L"10.0.1.1", L"启用"}));
    EXPECT_EQ(list.RowTexts(1),
              (std::vector<std::wstring>{L"8", L"10.0.1.77", L"255.255.255.128", L"10.0.1.126",
                                         L"00-1A-2B-3C-4D-5F", L"10.0.1.1", L"启用"}));
}

TEST(ControllerList, WebColumnSaysNotEnabledOnlyForPortsZeroAnd65535) {
    UseLan("web-ports.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const ListViewDriver list = lumaro.List();

    struct Case {
        int row;
        int webPort;
        std::wstring text;
    };
    const Case cases[] = {{0, 0, L"未启用"},
                          {1, 65535, L"未启用"},
                          {2, 80, L"启用"},
                          {3, 1, L"启用"},
                          {4, 65534, L"启用"}};
    ASSERT_EQ(list.RowCount(), 5);
    for (const Case& c : cases) {
        EXPECT_EQ(list.CellText(c.row, 6), c.text) << "web port " << c.webPort;
    }
}

TEST(ControllerList, SerialsWithTheTopBitSetShowUnsignedInListAndPanel) {
    UseLan("unsigned-serials.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const ListViewDriver list = lumaro.List();

    const std::vector<std::wstring> serials{L"1", L"2147483648", L"4294967295"};
    ASSERT_EQ(FirstColumn(list), serials);
    for (int row = 0; row < 3; ++row) {
        list.ClickRow(row);
        EXPECT_EQ(lumaro.Dialog().ControlText(IDC_SERIAL_EDIT), serials[row]) << "row " << row;
    }
}

TEST(ControllerList, ClickingARowShowsItsControllerInThePanel) {
    UseLan("three-unsorted.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const ListViewDriver list = lumaro.List();

    list.ClickRow(1);
    EXPECT_EQ(list.SelectedRows(), std::vector<int>{1});
    const Panel panel = PanelOf(lumaro.Dialog());
    EXPECT_EQ(panel.serial, L"200");
    ExpectFields(panel, FieldAddress(10, 0, 1, 20), FieldAddress(255, 255, 0, 0),
                 FieldAddress(10, 0, 1, 253));
    ExpectCommandButtonsEnabled(lumaro.Dialog(), true);
}

TEST(ControllerList, ClickBelowTheRowsClearsTheSelectionButKeepsThePanel) {
    UseLan("three-unsorted.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const ListViewDriver list = lumaro.List();

    list.ClickRow(2);
    list.ClickBelowRows();
    EXPECT_TRUE(list.SelectedRows().empty());
    const Panel panel = PanelOf(lumaro.Dialog());
    EXPECT_EQ(panel.serial, L"300");
    ExpectFields(panel, FieldAddress(10, 0, 1, 30), FieldAddress(255, 255, 255, 0),
                 FieldAddress(10, 0, 1, 254));
    ExpectCommandButtonsEnabled(lumaro.Dialog(), true);
}

TEST(ControllerList, ThePanelFollowsTheSelectionHoweverTheKeyboardMovesIt) {
    UseLan("three-unsorted.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const ListViewDriver list = lumaro.List();
    struct Step {
        const char* keys;
        UINT key;
        int row;
        const wchar_t* serial;
        DWORD ip;
    };
    const Step steps[] = {
        {"Down", VK_DOWN, 1, L"200", FieldAddress(10, 0, 1, 20)},
        {"End", VK_END, 2, L"300", FieldAddress(10, 0, 1, 30)},
        {"Home", VK_HOME, 0, L"100", FieldAddress(10, 0, 1, 10)},
        {"typing 2, the start of a serial", '2', 1, L"200", FieldAddress(10, 0, 1, 20)},
        {"Down again", VK_DOWN, 2, L"300", FieldAddress(10, 0, 1, 30)},
        {"Up", VK_UP, 1, L"200", FieldAddress(10, 0, 1, 20)},
    };
    list.ClickRow(0);  // the list gets the focus
    for (const Step& step : steps) {
        SCOPED_TRACE(step.keys);
        lumaro.Dialog().TypeKey(step.key);
        // The key is typed: wait until the list has moved its selection.
        ASSERT_TRUE(WaitUntil([&] { return list.SelectedRows() == std::vector<int>{step.row}; }));
        const Panel panel = PanelOf(lumaro.Dialog());
        EXPECT_EQ(panel.serial, step.serial);
        EXPECT_EQ(panel.ip.address, step.ip);
    }
    ExpectCommandButtonsEnabled(lumaro.Dialog(), true);
}

TEST(ControllerList, SearchButtonShowsTheControllersThatAreOnTheLanNow) {
    UseLan("three-unsorted.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    ASSERT_EQ(lumaro.List().RowCount(), 3);

    UseLan("unsigned-serials.conf");
    lumaro.Dialog().ClickButton(IDC_SEARCH_BUTTON);
    EXPECT_EQ(FirstColumn(lumaro.List()),
              (std::vector<std::wstring>{L"1", L"2147483648", L"4294967295"}));
    EXPECT_EQ(lumaro.List().SelectedRows(), std::vector<int>{0});
    EXPECT_EQ(lumaro.Dialog().ControlText(IDC_SERIAL_EDIT), L"1");
}

void ExpectEmptyListBlankPanelDisabledButtons(const LumaroSession& lumaro) {
    EXPECT_EQ(lumaro.List().RowCount(), 0);
    EXPECT_TRUE(lumaro.List().SelectedRows().empty());
    const Panel panel = PanelOf(lumaro.Dialog());
    EXPECT_EQ(panel.serial, L"");
    for (const AddressFieldContent& field : {panel.ip, panel.mask, panel.gateway}) {
        EXPECT_EQ(field.filledParts, 0);
        EXPECT_EQ(field.address, 0u);
    }
    ExpectCommandButtonsEnabled(lumaro.Dialog(), false);
}

TEST(ControllerList, StartingWithNoControllerGivesAnEmptyListBlankPanelAndDisabledButtons) {
    UseLan("empty.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    ExpectEmptyListBlankPanelDisabledButtons(lumaro);
}

TEST(ControllerList, SearchFindingNoControllerClearsWhatTheLastSearchShowed) {
    UseLan("three-unsorted.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    ASSERT_EQ(lumaro.Dialog().ControlText(IDC_SERIAL_EDIT), L"100");

    UseLan("empty.conf");
    lumaro.Dialog().ClickButton(IDC_SEARCH_BUTTON);
    ExpectEmptyListBlankPanelDisabledButtons(lumaro);
}

}  // namespace
}  // namespace lumaro::apptest
