// Keys typed into lumaro.exe as a user types them, and which buttons show: F4 brings out
// the web-off button wherever the focus is, Alt+F4 still closes the window, and only the
// hidden mode and F4 show the clock and web-off buttons, which hiding the panel withdraws.

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/lumaro_session.h"
#include "tests/app/wait_until.h"

namespace lumaro::apptest {
namespace {

std::vector<int> SortedVisibleIds(const DialogDriver& dialog) {
    std::vector<int> ids = dialog.VisibleControlIds();
    std::sort(ids.begin(), ids.end());
    return ids;
}

const std::vector<int> kStartUpControls{IDCANCEL, IDC_SEARCH_BUTTON, IDC_CONTROLLER_LIST,
                                        IDC_QUICK_ENABLE_BUTTON, IDC_ADVANCED_BUTTON};

TEST(DialogKeys, F4ShowsTheWebOffButtonWhereverTheFocusIsWithoutEnablingIt) {
    UseLan("empty.conf");  // nothing to select: the command buttons stay disabled
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    ASSERT_EQ(dialog.FocusedControlId(), IDCANCEL) << "the focus is on a control, not the dialog";

    dialog.TypeKey(VK_F4);
    ASSERT_TRUE(WaitUntil([&] { return dialog.IsVisible(IDC_DISABLE_WEB_BUTTON); }));
    EXPECT_FALSE(dialog.IsEnabled(IDC_DISABLE_WEB_BUTTON));
    std::vector<int> expected = kStartUpControls;
    expected.push_back(IDC_DISABLE_WEB_BUTTON);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(SortedVisibleIds(dialog), expected) << "F4 shows nothing else";
    EXPECT_FALSE(lumaro.Program().WaitForExit(std::chrono::milliseconds(0)));
}

TEST(DialogKeys, AltF4StillClosesTheWindow) {
    UseLan("three-unsorted.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    lumaro.Dialog().TypeKey(VK_F4, true);
    EXPECT_TRUE(lumaro.Program().WaitForExit(kExitPatience));
}

TEST(DialogKeys, OnlyTheHiddenModeAndF4ShowTheClockAndWebOffButtonsAndHidingThePanelWithdrawsThem) {
    UseLan("three-unsorted.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    const auto shown = [&] {
        return std::pair(dialog.IsVisible(IDC_SYNC_TIME_BUTTON),
                         dialog.IsVisible(IDC_DISABLE_WEB_BUTTON));
    };
    const std::pair bothShown(true, true), bothHidden(false, false);

    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    EXPECT_EQ(shown(), bothHidden) << "showing the panel";
    dialog.ClearAddressField(IDC_IP_FIELD);
    dialog.FillAddressField(IDC_GATEWAY_FIELD, FieldAddress(2, 9, 4, 6));
    dialog.ClickButton(IDC_APPLY_BUTTON);
    EXPECT_EQ(shown(), bothShown) << "the hidden mode";
    dialog.ClickButton(IDC_SEARCH_BUTTON);
    EXPECT_EQ(shown(), bothShown) << "a search";
    lumaro.List().ClickRow(1);
    EXPECT_EQ(shown(), bothShown) << "a click on a row";
    EXPECT_TRUE(dialog.IsEnabled(IDC_SYNC_TIME_BUTTON));
    EXPECT_TRUE(dialog.IsEnabled(IDC_DISABLE_WEB_BUTTON));
    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    EXPECT_EQ(shown(), bothHidden) << "hiding the panel";
    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    EXPECT_EQ(shown(), bothHidden) << "showing the panel again";
    EXPECT_TRUE(dialog.IsVisible(IDC_APPLY_BUTTON));

    UseLan("empty.conf");
    dialog.ClickButton(IDC_SEARCH_BUTTON);
    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    ASSERT_EQ(SortedVisibleIds(dialog), kStartUpControls) << "the panel hidden";
    dialog.TypeKey(VK_F4);
    ASSERT_TRUE(WaitUntil([&] { return dialog.IsVisible(IDC_DISABLE_WEB_BUTTON); }));
    EXPECT_FALSE(dialog.IsEnabled(IDC_DISABLE_WEB_BUTTON));
    EXPECT_FALSE(dialog.IsVisible(IDC_SYNC_TIME_BUTTON));
}

}  // namespace
}  // namespace lumaro::apptest
