// The resources inside the built lumaro.exe: string table, dialog template, icon, version
// block and manifest, read from the file as the system reads them.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "app/window_texts.h"
#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/dialog_template.h"
#include "tools/window-reader/launched_program.h"

namespace lumaro::apptest {
namespace {

const WORD kChineseNeutral = MAKELANGID(LANG_CHINESE, SUBLANG_NEUTRAL);  // 0x0004

class ProgramResources : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(Settings().lumaroProgram.empty()) << "give --lumaro=PATH";
        path_ = WindowsPathOf(Settings().lumaroProgram);
        module_ = LoadLibraryExW(path_.c_str(), nullptr,
                                 LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << "cannot load " << Settings().lumaroProgram;
    }
    void TearDown() override {
        if (module_ != nullptr) FreeLibrary(module_);
    }

    // The bytes of one resource in Chinese (neutral); empty when there is none.
    std::span<const std::uint8_t> Resource(LPCWSTR type, LPCWSTR name) const {
        const HRSRC found = FindResourceExW(module_, type, name, kChineseNeutral);
        if (found == nullptr) return {};
        const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(module_, found)));
        return {bytes, SizeofResource(module_, found)};
    }

    std::vector<WORD> Languages(LPCWSTR type, LPCWSTR name) const {
        std::vector<WORD> languages;
        EnumResourceLanguagesW(
            module_, type, name,
            [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR context) -> BOOL {
                reinterpret_cast<std::vector<WORD>*>(context)->push_back(language);
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&languages));
        return languages;
    }

    // String `id` of the table, read from its block of sixteen.
    std::u16string TableString(unsigned id) const {
        const auto block = Resource(RT_STRING, MAKEINTRESOURCEW(id / 16 + 1));
        std::size_t offset = 0;
        for (unsigned index = 0; offset + 2 <= block.size(); ++index) {
            const std::size_t length = block[offset] | (block[offset + 1] << 8);
            offset += 2;
            if (offset + 2 * length > block.size()) break;
            if (index == id % 16) {
                std::u16string text;
                for (std::size_t i = 0; i < length; ++i) {
                    text.push_back(static_cast<char16_t>(block[offset + 2 * i] |
                                                         (block[offset + 2 * i + 1] << 8)));
                }
                return text;
            }
            offset += 2 * length;
        }
        return u"<missing>";
    }

    std::wstring path_;
    HMODULE module_ = nullptr;
};

TEST_F(ProgramResources, StringTableHoldsEveryTextInChineseNeutralAsUtf16) {
    struct Case {
        unsigned id;
        std::u16string text;
    };
    const Case cases[] = {
        {103, u"Windows 套接字初始化失败。"}, {104, u"Lumaro"},
        {105, u"WEB访问控制器失败!"},         {106, u"控制器通信失败!"},
        {107, u"请先选择控制器!"},            {108, u"校准时间成功!"},
        {109, u"校准时间失败!"},              {110, u"控制器SN"},
        {111, u"IP"},                         {112, u"掩码"},
        {113, u"网关"},                       {114, u"MAC地址"},
        {115, u"电脑IP"},                     {117, u"年-月-日"},
        {118, u"月-日-年"},                   {119, u"日-月-年"},
        {120, u"年/月/日"},                   {121, u"月/日/年"},
        {122, u"日/月/年"},                   {123, u"中文"},
        {124, u"英文"},                       {127, u"WEB"},
        {128, u"启用"},                       {129, u"未启用"},
        {130, u"高级选项"},                   {131, u"隐藏高级选项"},
        {132, u"IP地址或子网掩码无效,未写入控制器!"},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(TableString(c.id) == c.text) << "string " << c.id;
        EXPECT_EQ(Languages(RT_STRING, MAKEINTRESOURCEW(c.id / 16 + 1)),
                  std::vector<WORD>{kChineseNeutral})
            << "string " << c.id;
    }
    // 103 ends in the ideographic full stop; the exclamation marks are ASCII.
    EXPECT_EQ(TableString(103).back(), u'\u3002');
    EXPECT_EQ(TableString(107).back(), u'!');
}

TEST_F(ProgramResources, DialogTemplateHasTheMainWindowsFrameAndFont) {
    ASSERT_EQ(Languages(RT_DIALOG, MAKEINTRESOURCEW(IDD_LUMARO_DIALOG)),
              std::vector<WORD>{kChineseNeutral});
    const auto dialog = ParseDialogTemplate(Resource(RT_DIALOG, MAKEINTRESOURCEW(IDD_LUMARO_DIALOG)));
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->style, DWORD{WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU |
                                   DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS});
    EXPECT_EQ(dialog->exStyle, DWORD{WS_EX_APPWINDOW});
    EXPECT_EQ(dialog->x, 0);
    EXPECT_EQ(dialog->y, 0);
    EXPECT_EQ(dialog->width, 459);
    EXPECT_EQ(dialog->height, 233);
    EXPECT_EQ(dialog->menu, L"");
    EXPECT_EQ(dialog->windowClass, L"");
    EXPECT_EQ(dialog->caption, L"Lumaro [专业门禁]");
    EXPECT_EQ(dialog->pointSize, 9);
    EXPECT_EQ(dialog->weight, FW_NORMAL);
    EXPECT_EQ(dialog->italic, 0);
    EXPECT_EQ(dialog->charset, DEFAULT_CHARSET);
    EXPECT_EQ(dialog->typeface, L"MS Shell Dlg");
}

// The catalogue's Chinese, which the window shows again after English, is the resources'
// own: the string table's texts and the template's captions, character for character.
TEST_F(ProgramResources, TheCataloguesChineseIsTheStringTablesAndTheTemplatesTexts) {
    const std::pair<unsigned, TextId> strings[] = {
        {IDS_SOCKETS_FAILED, TextId::SocketsFailed},
        {IDS_MESSAGE_CAPTION, TextId::MessageCaption},
        {IDS_WEB_ACCESS_FAILED, TextId::WebAccessFailed},
        {IDS_CONTROLLER_UNREACHABLE, TextId::ControllerUnreachable},
        {IDS_SELECT_CONTROLLER_FIRST, TextId::SelectControllerFirst},
        {IDS_CLOCK_SET, TextId::ClockSet},
        {IDS_CLOCK_NOT_SET, TextId::ClockNotSet},
        {IDS_COLUMN_SERIAL, TextId::ColumnSerial},
        {IDS_COLUMN_IP, TextId::ColumnIp},
        {IDS_COLUMN_MASK, TextId::ColumnMask},
        {IDS_COLUMN_GATEWAY, TextId::ColumnGateway},
        {IDS_COLUMN_MAC, TextId::ColumnMac},
        {IDS_COLUMN_HOST_IP, TextId::ColumnHostIp},
        {IDS_DATE_YMD_DASH, TextId::DateYmdDash},
        {IDS_DATE_MDY_DASH, TextId::DateMdyDash},
        {IDS_DATE_DMY_DASH, TextId::DateDmyDash},
        {IDS_DATE_YMD_SLASH, TextId::DateYmdSlash},
        {IDS_DATE_MDY_SLASH, TextId::DateMdySlash},
        {IDS_DATE_DMY_SLASH, TextId::DateDmySlash},
        {IDS_WEB_LANGUAGE_CHINESE, TextId::WebLanguageChinese},
        {IDS_WEB_LANGUAGE_ENGLISH, TextId::WebLanguageEnglish},
        {IDS_COLUMN_WEB, TextId::ColumnWeb},
        {IDS_WEB_ENABLED, TextId::WebEnabled},
        {IDS_WEB_NOT_ENABLED, TextId::WebNotEnabled},
        {IDS_SHOW_ADVANCED, TextId::ShowAdvanced},
        {IDS_HIDE_ADVANCED, TextId::HideAdvanced},
        {IDS_ADDRESS_REFUSED, TextId::AddressRefused},
    };
    const auto utf16 = [](TextId id) {
        const std::wstring wide = lumaro::WindowText(id, Language::Chinese);
        return std::u16string(wide.begin(), wide.end());
    };
    for (const auto& [stringId, text] : strings) {
        EXPECT_TRUE(TableString(stringId) == utf16(text)) << "string " << stringId;
    }
    const auto dialog = ParseDialogTemplate(Resource(RT_DIALOG, MAKEINTRESOURCEW(IDD_LUMARO_DIALOG)));
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->caption, lumaro::WindowText(TextId::Caption, Language::Chinese));
    std::vector<std::pair<int, TextId>> captions;
    for (const ControlText& control : FixedControlTexts()) {
        captions.emplace_back(control.controlId, control.text);
    }
    captions.emplace_back(IDC_ADVANCED_BUTTON, TextId::ShowAdvanced);
    for (const auto& [controlId, text] : captions) {
        const auto item = std::find_if(dialog->items.begin(), dialog->items.end(),
                                       [&](const DialogItem& i) { return i.id == controlId; });
        ASSERT_NE(item, dialog->items.end()) << controlId;
        EXPECT_EQ(item->caption, lumaro::WindowText(text, Language::Chinese)) << controlId;
    }
}

TEST_F(ProgramResources, DialogTemplateHasEveryControlInTabOrder) {
    constexpr DWORD kChild = WS_CHILD;
    constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
    constexpr DWORD kPush = BS_PUSHBUTTON | WS_TABSTOP;
    constexpr DWORD kLabel = SS_RIGHT | WS_GROUP;
    constexpr DWORD kCombo = CBS_DROPDOWNLIST | CBS_SORT | WS_VSCROLL | WS_TABSTOP;
    const DialogItem expected[] = {
        {kShown | kPush, 0, 347, 212, 73, 14, IDCANCEL, L"BUTTON", L"退出"},
        {kShown | kPush, 0, 38, 212, 73, 14, IDC_SEARCH_BUTTON, L"BUTTON", L"搜索控制器"},
        {kShown | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_ALIGNLEFT | WS_BORDER |
             WS_TABSTOP,
         WS_EX_CLIENTEDGE, 165, 11, 287, 190, IDC_CONTROLLER_LIST, L"SysListView32", L""},
        {kShown | kPush, 0, 141, 212, 73, 14, IDC_QUICK_ENABLE_BUTTON, L"BUTTON",
         L"一键设置 快速启用"},
        {kShown | BS_GROUPBOX, 0, 6, 7, 156, 195, IDC_PANEL_FRAME, L"BUTTON", L""},
        {kShown | WS_TABSTOP, 0, 57, 45, 100, 15, IDC_IP_FIELD, L"SysIPAddress32", L""},
        {kShown | WS_TABSTOP, 0, 57, 67, 100, 15, IDC_MASK_FIELD, L"SysIPAddress32", L""},
        {kShown | kLabel, 0, 16, 48, 34, 8, IDC_IP_LABEL, L"STATIC", L"IP:"},
        {kShown | kLabel, WS_EX_RIGHT, 16, 69, 34, 8, IDC_MASK_LABEL, L"STATIC", L"子网掩码:"},
        {kShown | WS_TABSTOP, 0, 57, 88, 100, 15, IDC_GATEWAY_FIELD, L"SysIPAddress32", L""},
        {kShown | kLabel, WS_EX_RIGHT, 16, 89, 34, 8, IDC_GATEWAY_LABEL, L"STATIC", L"网关:"},
        {kShown | kPush | WS_DISABLED, 0, 57, 172, 73, 14, IDC_APPLY_BUTTON, L"BUTTON",
         L"设置更新"},
        {kShown | kLabel, 0, 16, 29, 34, 8, IDC_SERIAL_LABEL, L"STATIC", L"SN:"},
        {kShown | ES_READONLY | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 0, 57, 26, 80, 14,
         IDC_SERIAL_EDIT, L"EDIT", L""},
        {kChild | kPush | WS_DISABLED, 0, 57, 144, 77, 14, IDC_SYNC_TIME_BUTTON, L"BUTTON",
         L"以电脑时间校准控制器"},
        {kShown | kPush, 0, 244, 212, 73, 14, IDC_ADVANCED_BUTTON, L"BUTTON", L"高级选项"},
        {kChild | kPush | WS_DISABLED, 0, 57, 187, 73, 14, IDC_DISABLE_WEB_BUTTON, L"BUTTON",
         L"停用WEB功能"},
        {kShown | kCombo, 0, 57, 108, 71, 30, IDC_DATE_FORMAT_COMBO, L"COMBOBOX", L""},
        {kShown | kLabel, 0, 16, 110, 34, 8, IDC_DATE_FORMAT_LABEL, L"STATIC", L"日期显示:"},
        {kShown | kCombo, 0, 57, 127, 48, 30, IDC_WEB_LANGUAGE_COMBO, L"COMBOBOX", L""},
        {kChild | kLabel, 0, 16, 129, 34, 8, IDC_WEB_LANGUAGE_LABEL, L"STATIC", L"WEB界面:"},
    };
    const auto dialog = ParseDialogTemplate(Resource(RT_DIALOG, MAKEINTRESOURCEW(IDD_LUMARO_DIALOG)));
    ASSERT_TRUE(dialog.has_value());
    ASSERT_EQ(dialog->items.size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const DialogItem& want = expected[i];
        const DialogItem& got = dialog->items[i];
        SCOPED_TRACE("control " + std::to_string(i) + ", id " + std::to_string(want.id));
        EXPECT_EQ(got.id, want.id);
        // Class names are matched without regard to case (windres stores them upper-case).
        EXPECT_EQ(CompareStringOrdinal(got.windowClass.c_str(), -1, want.windowClass.c_str(), -1,
                                       TRUE),
                  CSTR_EQUAL)
            << got.windowClass;
        EXPECT_EQ(got.caption, want.caption);
        EXPECT_EQ(got.style, want.style) << std::hex << got.style << " != " << want.style;
        EXPECT_EQ(got.exStyle, want.exStyle);
        EXPECT_EQ(got.x, want.x);
        EXPECT_EQ(got.y, want.y);
        EXPECT_EQ(got.width, want.width);
        EXPECT_EQ(got.height, want.height);
    }
}

TEST_F(ProgramResources, IconIsOneSixteenPixelImageWith256Colours) {
    ASSERT_EQ(Languages(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_LUMARO)),
              std::vector<WORD>{kChineseNeutral});
    // GRPICONDIR: reserved, type 1, count; then 14-byte entries.
    const auto group = Resource(RT_GROUP_ICON, MAKEINTRESOURCEW(IDI_LUMARO));
    ASSERT_GE(group.size(), 6u + 14u);
    EXPECT_EQ(group[2] | (group[3] << 8), 1);  // an icon
    EXPECT_EQ(group[4] | (group[5] << 8), 1);  // one image
    EXPECT_EQ(group[6], 16);                   // width
    EXPECT_EQ(group[7], 16);                   // height
    EXPECT_EQ(group[8], 0);                    // colour count 0: 256 or more
    EXPECT_EQ(group[12] | (group[13] << 8), 8);  // bits per pixel
}

TEST_F(ProgramResources, VersionBlockIsChineseUnicodeWithTheProductVersion) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path_.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> block(size);
    ASSERT_TRUE(GetFileVersionInfoW(path_.c_str(), 0, size, block.data()));
    void* value = nullptr;
    UINT bytes = 0;
    ASSERT_TRUE(VerQueryValueW(block.data(), L"\\VarFileInfo\\Translation", &value, &bytes));
    ASSERT_EQ(bytes, 4u);
    const auto* translation = static_cast<const WORD*>(value);
    EXPECT_EQ(translation[0], 0x0004);
    EXPECT_EQ(translation[1], 0x04B0);
    for (const wchar_t* name : {L"ProductVersion", L"FileVersion"}) {
        const std::wstring query = std::wstring(L"\\StringFileInfo\\000404b0\\") + name;
        ASSERT_TRUE(VerQueryValueW(block.data(), query.c_str(), &value, &bytes)) << name;
        EXPECT_EQ(std::wstring(static_cast<const wchar_t*>(value)), L"2.7.3.20701") << name;
    }
    EXPECT_EQ(Languages(RT_VERSION, MAKEINTRESOURCEW(VS_VERSION_INFO)),
              std::vector<WORD>{kChineseNeutral});
}

TEST_F(ProgramResources, ManifestAsksForCommonControlsSixAsInvokerAndDpiAwareness) {
    const auto bytes = Resource(RT_MANIFEST, MAKEINTRESOURCEW(1));
    const std::string manifest(bytes.begin(), bytes.end());
    for (const char* part :
         {"name=\"Microsoft.Windows.Common-Controls\"", "version=\"6.0.0.0\"",
          "level=\"asInvoker\"", "uiAccess=\"false\"", "<dpiAware", ">true</dpiAware>"}) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

}  // namespace
}  // namespace lumaro::apptest
