// lumaro.exe as it starts: its caption, which controls it shows and where, the list's
// columns, the combo boxes, the focus, and the ways the dialog ends.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/lumaro_session.h"

namespace lumaro::apptest {
namespace {

const std::wstring kTemplateCaption = L"Lumaro [专业门禁]";

class LumaroStartup : public ::testing::Test {
protected:
    static void SetUpTestSuite() { UseLan("three-unsorted.conf"); }
};

TEST_F(LumaroStartup, CaptionEndsInTheProductVersionsFirstTwoNumbers) {
    struct Case {
        std::string program;
        std::wstring captionEnd;
    };
    const std::string variants = Settings().variantDirectory;
    const Case cases[] = {
        {Settings().lumaroProgram, L"--V2.7"},  // 2.7.3.20701, the real program
        {variants + "/lumaro-version-10.4.1.exe", L"--V10.4"},
        {variants + "/lumaro-version-3.1.exe", L"--V"},
        {variants + "/lumaro-version-3.exe", L"--V"},
        {variants + "/lumaro-no-version.exe", L"--V"},
    };
    for (const Case& c : cases) {
        const LumaroSession lumaro(c.program);
        EXPECT_EQ(lumaro.Dialog().Caption(), kTemplateCaption + c.captionEnd) << c.program;
    }
}

TEST_F(LumaroStartup, OnlyTheListAndTheFourBottomButtonsAreVisible) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    const std::vector<int> visible = lumaro.Dialog().SortedVisibleControlIds();
    EXPECT_EQ(visible, kStartUpControls);
}

TEST_F(LumaroStartup, ListStartsAtEightPixelsAndIsTwentyTwoNarrowerThanTheDialog) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    const RECT list = lumaro.Dialog().ControlRect(IDC_CONTROLLER_LIST);
    EXPECT_EQ(list.left, 8);
    EXPECT_EQ(list.right - list.left, lumaro.Dialog().OuterWidth() - 22);
}

TEST_F(LumaroStartup, ColumnsShareTheListsClientWidthWithAWiderMacColumn) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    const ListViewDriver list = lumaro.List();
    // The list of the dialog as it is laid out at 96 DPI: 783 pixels inside, 783 / 7 = 111.
    ASSERT_EQ(list.ClientWidth(), 783);
    const std::array<int, 7> expected{111, 111, 111, 111, 121, 111, 101};
    ASSERT_EQ(list.ColumnCount(), 7);
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(list.ColumnWidth(column), expected[column])
            << "column " << column << " of a list " << list.ClientWidth() << " pixels wide";
    }
}

TEST_F(LumaroStartup, ColumnHeadingsNameTheControllersFields) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    const ListViewDriver list = lumaro.List();
    const std::array<std::wstring, 7> expected{L"控制器SN", L"IP",   L"掩码", L"网关",
                                               L"MAC地址",  L"电脑IP", L"WEB"};
    ASSERT_EQ(list.ColumnCount(), 7);
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(list.ColumnHeading(column), expected[column]) << "column " << column;
    }
}

TEST_F(LumaroStartup, ComboBoxesKeepTheirItemOrderDespiteSortingAndShowTheFirst) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    const std::vector<std::wstring> dateFormats{L"年-月-日", L"月-日-年", L"日-月-年",
                                                L"年/月/日", L"月/日/年", L"日/月/年"};
    const std::vector<std::wstring> webLanguages{L"中文", L"英文"};
    EXPECT_EQ(dialog.ComboItems(IDC_DATE_FORMAT_COMBO), dateFormats);
    EXPECT_EQ(dialog.ComboSelection(IDC_DATE_FORMAT_COMBO), 0);
    EXPECT_EQ(dialog.ComboItems(IDC_WEB_LANGUAGE_COMBO), webLanguages);
    EXPECT_EQ(dialog.ComboSelection(IDC_WEB_LANGUAGE_COMBO), 0);
}

TEST_F(LumaroStartup, FocusStartsOnTheExitButton) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    EXPECT_EQ(lumaro.Dialog().FocusedControlId(), IDCANCEL);
}

TEST_F(LumaroStartup, ExitButtonEscEnterAndTheCloseBoxEachEndTheProgram) {
    struct Case {
        const char* action;
        void (*perform)(const LumaroSession&);
    };
    const Case cases[] = {
        {"exit button", [](const LumaroSession& s) { s.Dialog().ClickButton(IDCANCEL); }},
        {"Esc", [](const LumaroSession& s) { s.Dialog().PostKey(IDCANCEL, VK_ESCAPE); }},
        {"Enter in the list",
         [](const LumaroSession& s) {
             s.List().ClickRow(0);  // gives the list the focus
             s.Dialog().PostKey(IDC_CONTROLLER_LIST, VK_RETURN);
         }},
        {"close box", [](const LumaroSession& s) { s.Dialog().PostClose(); }},
    };
    for (const Case& c : cases) {
        const LumaroSession lumaro(Settings().lumaroProgram);
        c.perform(lumaro);
        EXPECT_TRUE(lumaro.Program().WaitForExit(kExitPatience)) << c.action;
    }
}

}  // namespace
}  // namespace lumaro::apptest
