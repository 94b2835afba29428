// The advanced panel of lumaro.exe at the display DPI that the test's Wine prefix has
// (--dpi): showing it widens the dialog and moves the list and the bottom buttons, hiding
// it restores every figure, the geometry follows the DPI (exactly the 96-DPI figures at 96),
// and no two controls overlap. Pictures of both states stay in the artefacts folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/lumaro_session.h"
#include "tests/app/screen_picture.h"

namespace lumaro::apptest {
namespace {

constexpr std::array<int, 4> kBottomButtons{IDC_SEARCH_BUTTON, IDC_QUICK_ENABLE_BUTTON,
                                            IDC_ADVANCED_BUTTON, IDCANCEL};
const std::vector<int> kPanelControls{
    IDC_PANEL_FRAME, IDC_SERIAL_LABEL, IDC_IP_LABEL, IDC_MASK_LABEL, IDC_GATEWAY_LABEL,
    IDC_SERIAL_EDIT, IDC_APPLY_BUTTON, IDC_IP_FIELD, IDC_MASK_FIELD, IDC_GATEWAY_FIELD,
    IDC_DATE_FORMAT_LABEL, IDC_DATE_FORMAT_COMBO, IDC_WEB_LANGUAGE_COMBO, IDC_WEB_LANGUAGE_LABEL};

// A figure of the 96-DPI layout at the test's DPI, to the nearest whole pixel (a half away
// from zero, as MulDiv rounds): at 120 DPI 22 pixels are 27.5, drawn as 28.
int AtDpi(int pixels) {
    const int scaled = pixels * Settings().dpi;
    return (scaled + 48) / 96;
}

struct Layout {
    int outerWidth = 0;
    RECT list{};
    std::array<RECT, 4> buttons{};
    std::wstring advancedCaption;
};

Layout LayoutOf(const DialogDriver& dialog) {
    Layout layout;
    layout.outerWidth = dialog.OuterWidth();
    layout.list = dialog.ControlRect(IDC_CONTROLLER_LIST);
    for (std::size_t i = 0; i < kBottomButtons.size(); ++i) {
        layout.buttons[i] = dialog.ControlRect(kBottomButtons[i]);
    }
    layout.advancedCaption = dialog.ControlText(IDC_ADVANCED_BUTTON);
    return layout;
}

bool SameRect(const RECT& a, const RECT& b) { return EqualRect(&a, &b) != FALSE; }

std::string Describe(const RECT& r) {
    char text[64];
    std::snprintf(text, sizeof text, "(%ld,%ld)-(%ld,%ld)", r.left, r.top, r.right, r.bottom);
    return text;
}

// Every visible control lies inside the client area, the panel's controls inside the
// panel's frame, and no two other controls overlap.
void ExpectNothingOverlaps(const DialogDriver& dialog) {
    RECT client{};
    GetClientRect(dialog.Handle(), &client);
    const std::vector<int> visible = dialog.VisibleControlIds();
    const bool panelShown = dialog.IsVisible(IDC_PANEL_FRAME);
    const RECT frame = dialog.ControlRect(IDC_PANEL_FRAME);
    for (int id : visible) {
        const RECT rect = dialog.ControlRect(id);
        RECT inside{};
        IntersectRect(&inside, &rect, &client);
        EXPECT_TRUE(SameRect(inside, rect)) << "control " << id << " at " << Describe(rect)
                                            << " leaves the client area " << Describe(client);
        const bool inPanel =
            std::find(kPanelControls.begin(), kPanelControls.end(), id) != kPanelControls.end() ||
            id == IDC_SYNC_TIME_BUTTON || id == IDC_DISABLE_WEB_BUTTON;
        if (panelShown && inPanel && id != IDC_PANEL_FRAME) {
            IntersectRect(&inside, &rect, &frame);
            EXPECT_TRUE(SameRect(inside, rect)) << "control " << id << " at " << Describe(rect)
                                                << " leaves the panel " << Describe(frame);
        }
    }
    for (std::size_t i = 0; i < visible.size(); ++i) {
        for (std::size_t j = i + 1; j < visible.size(); ++j) {
            if (visible[i] == IDC_PANEL_FRAME || visible[j] == IDC_PANEL_FRAME) continue;
            const RECT a = dialog.ControlRect(visible[i]);
            const RECT b = dialog.ControlRect(visible[j]);
            RECT common{};
            EXPECT_FALSE(IntersectRect(&common, &a, &b))
                << "controls " << visible[i] << " " << Describe(a) << " and " << visible[j]
                << " " << Describe(b) << " overlap";
        }
    }
    if (panelShown) {
        const RECT list = dialog.ControlRect(IDC_CONTROLLER_LIST);
        RECT common{};
        EXPECT_FALSE(IntersectRect(&common, &list, &frame))
            << "the list " << Describe(list) << " covers the panel " << Describe(frame);
    }
}

// Kept for people to look at (the artefacts folder of the Windows build's tests).
void SavePicture(const DialogDriver& dialog, const std::string& name) {
    if (PictureDirectory().empty()) return;
    const std::string file = name + "-" + std::to_string(Settings().dpi) + "dpi";
    EXPECT_TRUE(SaveScreenPicture(dialog.Handle(), file)) << file;
}

class AdvancedPanel : public testing::Test {
protected:
    void SetUp() override {
        const HDC screen = GetDC(nullptr);
        const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
        ReleaseDC(nullptr, screen);
        ASSERT_EQ(dpi, Settings().dpi) << "the Wine prefix's display DPI";
        UseLan("three-unsorted.conf");
    }
};

TEST_F(AdvancedPanel, StartsHiddenWithTheListAtItsScaledPlaceAndColumns) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    const RECT list = dialog.ControlRect(IDC_CONTROLLER_LIST);
    EXPECT_EQ(list.left, AtDpi(8));
    EXPECT_EQ(list.right - list.left, dialog.OuterWidth() - AtDpi(22));
    const ListViewDriver columns = lumaro.List();
    const int w = columns.ClientWidth() / 7;
    EXPECT_EQ(columns.ColumnWidth(4), w + AtDpi(10));
    EXPECT_EQ(columns.ColumnWidth(6), w - AtDpi(10));
    EXPECT_EQ(dialog.SortedVisibleControlIds(), kStartUpControls);
    ExpectNothingOverlaps(dialog);
    SavePicture(dialog, "panel-hidden");
}

TEST_F(AdvancedPanel, ShowingWidensTheDialogMovesListAndButtonsAndHidingRestoresEveryFigure) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    const Layout hidden = LayoutOf(dialog);
    ASSERT_EQ(hidden.advancedCaption, L"高级选项");

    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    const Layout shown = LayoutOf(dialog);
    EXPECT_EQ(shown.outerWidth, hidden.outerWidth + AtDpi(280));
    EXPECT_EQ(shown.list.left, AtDpi(288));
    EXPECT_EQ(shown.list.right - shown.list.left, hidden.list.right - hidden.list.left);
    EXPECT_EQ(shown.list.top, hidden.list.top);
    EXPECT_EQ(shown.list.bottom, hidden.list.bottom);
    for (std::size_t i = 0; i < kBottomButtons.size(); ++i) {
        RECT moved = hidden.buttons[i];
        OffsetRect(&moved, AtDpi(140), 0);
        EXPECT_TRUE(SameRect(shown.buttons[i], moved))
            << "button " << kBottomButtons[i] << " at " << Describe(shown.buttons[i]);
    }
    EXPECT_EQ(shown.advancedCaption, L"隐藏高级选项");
    std::vector<int> expected = kStartUpControls;
    expected.insert(expected.end(), kPanelControls.begin(), kPanelControls.end());
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dialog.SortedVisibleControlIds(), expected);
    ExpectNothingOverlaps(dialog);
    SavePicture(dialog, "panel-shown");

    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    const Layout restored = LayoutOf(dialog);
    EXPECT_EQ(restored.outerWidth, hidden.outerWidth);
    EXPECT_TRUE(SameRect(restored.list, hidden.list)) << Describe(restored.list);
    for (std::size_t i = 0; i < kBottomButtons.size(); ++i) {
        EXPECT_TRUE(SameRect(restored.buttons[i], hidden.buttons[i]))
            << "button " << kBottomButtons[i] << " at " << Describe(restored.buttons[i]);
    }
    EXPECT_EQ(restored.advancedCaption, L"高级选项");
    EXPECT_EQ(dialog.SortedVisibleControlIds(), kStartUpControls);
}

TEST_F(AdvancedPanel, ShowingThePanelLeavesTheApplyButtonDisabledUntilARowIsSelected) {
    UseLan("empty.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    lumaro.Dialog().ClickButton(IDC_ADVANCED_BUTTON);
    EXPECT_TRUE(lumaro.Dialog().IsVisible(IDC_APPLY_BUTTON));
    EXPECT_FALSE(lumaro.Dialog().IsEnabled(IDC_APPLY_BUTTON));
}

}  // namespace
}  // namespace lumaro::apptest
