// The advanced panel of lumaro.exe at the display DPI that the test's Wine prefix has
// (--dpi): showing it widens the dialog and moves the list and the bottom buttons, hiding
// it restores every figure, the geometry follows the DPI (exactly the 96-DPI figures at 96),
// and no two controls overlap; in English and in Chinese every text fits its control,
// measured in the control's font. Pictures of both states and both languages stay in the
// artefacts folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "app/language_layout.h"
#include "app/system_menu_items.h"
#include "app/window_texts.h"
#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/lumaro_session.h"
#include "tests/app/screen_picture.h"
#include "tests/app/template_dialog.h"
#include "tools/window-reader/send_patiently.h"

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

class AdvancedPanel : public ::testing::Test {
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

// One text in one control: what it needs (its extent in the control's font, and the margins
// the control draws it within) and the room the control gives it, in pixels.
struct Fit {
    std::string what;
    int needed = 0;
    int room = 0;
};

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

int Width(const RECT& rect) { return rect.right - rect.left; }

// Every text of the window in `language`, in the controls as the program lays them out in
// that language: the template made in this process (its fonts and dialog units at this DPI),
// re-texted and re-laid by the program's own functions; the list's columns as the running
// program sized them.
std::vector<Fit> MeasureTexts(Language language, const ListViewDriver& realList) {
    TemplateDialog dialog(Settings().lumaroProgram);
    const HWND window = dialog.Handle();
    ShowControlTexts(window, language, false, L"2.7");
    ChangeLanguageLayout(window, Language::Chinese, language);
    std::vector<Fit> fits;
    const auto add = [&](int id, const std::wstring& text, int margins, int room) {
        fits.push_back({std::to_string(id) + " \"" + Narrow(text) + "\"",
                        dialog.TextExtent(id, text).cx + margins, room});
    };
    // A push button draws its text inside its three-dimensional border.
    const int buttonMargins = 2 * GetSystemMetrics(SM_CXEDGE);
    for (int id : {IDCANCEL, IDC_SEARCH_BUTTON, IDC_QUICK_ENABLE_BUTTON, IDC_APPLY_BUTTON,
                   IDC_SYNC_TIME_BUTTON, IDC_DISABLE_WEB_BUTTON}) {
        RECT client{};
        GetClientRect(GetDlgItem(window, id), &client);
        add(id, WindowText(GetDlgItem(window, id)), buttonMargins, Width(client));
    }
    RECT advanced{};
    GetClientRect(GetDlgItem(window, IDC_ADVANCED_BUTTON), &advanced);
    for (TextId text : {TextId::ShowAdvanced, TextId::HideAdvanced}) {
        add(IDC_ADVANCED_BUTTON, lumaro::WindowText(text, language), buttonMargins,
            Width(advanced));
    }
    // A label draws from edge to edge.
    for (int id : {IDC_SERIAL_LABEL, IDC_IP_LABEL, IDC_MASK_LABEL, IDC_GATEWAY_LABEL,
                   IDC_DATE_FORMAT_LABEL, IDC_WEB_LANGUAGE_LABEL}) {
        RECT client{};
        GetClientRect(GetDlgItem(window, id), &client);
        add(id, WindowText(GetDlgItem(window, id)), 0, Width(client));
    }
    // A combo box draws its item in the part left of its button, 2 pixels in on each side.
    const std::pair<int, std::span<const TextId>> combos[] = {
        {IDC_DATE_FORMAT_COMBO, DateFormatItems()}, {IDC_WEB_LANGUAGE_COMBO, WebLanguageItems()}};
    for (const auto& [id, items] : combos) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        GetComboBoxInfo(GetDlgItem(window, id), &info);
        for (TextId item : items) {
            add(id, lumaro::WindowText(item, language), 2 * AtDpi(2), Width(info.rcItem));
        }
    }
    // A heading and a cell keep 6 pixels (at 96 DPI) clear on each side.
    for (int column = 0; column < kListColumnCount; ++column) {
        add(IDC_CONTROLLER_LIST, lumaro::WindowText(ColumnHeadings()[column], language),
            2 * AtDpi(6), realList.ColumnWidth(column));
    }
    for (TextId value : {TextId::WebEnabled, TextId::WebNotEnabled}) {
        add(IDC_CONTROLLER_LIST, lumaro::WindowText(value, language), 2 * AtDpi(6),
            realList.ColumnWidth(kListColumnCount - 1));
    }
    return fits;
}

// The panel's controls as the program lays them out in `language` (the template here).
std::vector<std::pair<int, RECT>> PanelLayout(Language language) {
    TemplateDialog dialog(Settings().lumaroProgram);
    ChangeLanguageLayout(dialog.Handle(), Language::Chinese, language);
    std::vector<std::pair<int, RECT>> rects;
    for (int id : kPanelControls) rects.emplace_back(id, dialog.ControlRect(id));
    for (int id : {IDC_SYNC_TIME_BUTTON, IDC_DISABLE_WEB_BUTTON}) {
        rects.emplace_back(id, dialog.ControlRect(id));
    }
    return rects;
}

TEST_F(AdvancedPanel, EveryTextFitsItsControlInBothLanguagesAndNothingOverlaps) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    // Every control shown, the hidden mode's buttons too (F4 shows web-off, the hidden-mode
    // code the clock's: here the panel's layout is what counts, so both are shown at once).
    dialog.TypeKey(VK_F4);
    for (Language language : {Language::English, Language::Chinese}) {
        const char* name = language == Language::English ? "en" : "zh";
        for (const Fit& fit : MeasureTexts(language, lumaro.List())) {
            std::printf("extent %d dpi %s: %s needs %d of %d pixels\n", Settings().dpi, name,
                        fit.what.c_str(), fit.needed, fit.room);
            EXPECT_LE(fit.needed, fit.room) << name << " at " << Settings().dpi << " DPI: "
                                            << fit.what << " is cut";
        }
        // The running program lays its panel out as measured here, and nothing overlaps.
        SendPatiently(dialog.Handle(), WM_SYSCOMMAND,
                      language == Language::English ? kEnglishCommand : kChineseCommand, 0);
        for (const auto& [id, rect] : PanelLayout(language)) {
            EXPECT_TRUE(SameRect(dialog.ControlRect(id), rect))
                << name << ": control " << id << " at " << Describe(dialog.ControlRect(id))
                << ", measured at " << Describe(rect);
        }
        ExpectNothingOverlaps(dialog);
        SavePicture(dialog, std::string("panel-shown-") + name);
    }
}

}  // namespace
}  // namespace lumaro::apptest
