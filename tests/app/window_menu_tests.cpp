// lumaro.exe's system menu, chosen from outside as a user chooses it (WM_SYSCOMMAND): the
// window's language switched in place and back, remembered across starts and chosen for one
// run by /lang:, the same bytes on the wire whatever the language; "save list", "about" and
// "why is a controller missing?".

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/findings_window.h"
#include "app/system_menu_items.h"
#include "app/window_texts.h"
#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/frame_log.h"
#include "tests/app/lumaro_session.h"
#include "tests/app/message_box_driver.h"
#include "tests/app/screen_picture.h"
#include "tests/app/wait_until.h"
#include "tools/window-reader/send_patiently.h"

namespace lumaro::apptest {
namespace {

constexpr wchar_t kKey[] = L"Software\\Lumaro";
constexpr wchar_t kValue[] = L"Language";

// The remembered choice as stored; nothing when there is none.
std::optional<std::wstring> StoredLanguage() {
    wchar_t code[32] = {};
    DWORD bytes = sizeof code - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, kKey, kValue, RRF_RT_REG_SZ, nullptr, code, &bytes) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    return std::wstring(code);
}

void StoreLanguage(const std::wstring& code) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, kValue, 0, REG_SZ, reinterpret_cast<const BYTE*>(code.c_str()),
                   static_cast<DWORD>((code.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

void ForgetLanguage() { RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, kValue); }

// Chooses an item of the window's system menu and returns once the window has handled it.
void Choose(const DialogDriver& dialog, UINT command) {
    SendPatiently(dialog.Handle(), WM_SYSCOMMAND, command, 0);
}

// Chooses an item that opens a modal window, and returns at once.
void PostChoose(const DialogDriver& dialog, UINT command) {
    PostMessageW(dialog.Handle(), WM_SYSCOMMAND, command, 0);
}

// Every text that the window shows and where each control is.
struct WindowTexts {
    std::wstring caption;
    std::vector<std::wstring> controls;  // in the order of kTextControls
    std::vector<RECT> places;
    std::vector<std::wstring> headings;
    std::vector<std::vector<std::wstring>> rows;
    std::vector<std::wstring> dateItems;
    std::vector<std::wstring> languageItems;

    bool operator==(const WindowTexts& other) const {
        const auto sameRects = [](const std::vector<RECT>& a, const std::vector<RECT>& b) {
            return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                              [](const RECT& x, const RECT& y) { return EqualRect(&x, &y); });
        };
        return caption == other.caption && controls == other.controls &&
               sameRects(places, other.places) && headings == other.headings &&
               rows == other.rows && dateItems == other.dateItems &&
               languageItems == other.languageItems;
    }
};

const int kTextControls[] = {IDCANCEL,           IDC_SEARCH_BUTTON,      IDC_QUICK_ENABLE_BUTTON,
                             IDC_IP_LABEL,       IDC_MASK_LABEL,         IDC_GATEWAY_LABEL,
                             IDC_APPLY_BUTTON,   IDC_SERIAL_LABEL,       IDC_SYNC_TIME_BUTTON,
                             IDC_ADVANCED_BUTTON, IDC_DISABLE_WEB_BUTTON, IDC_DATE_FORMAT_LABEL,
                             IDC_WEB_LANGUAGE_LABEL};

WindowTexts TextsOf(const LumaroSession& lumaro) {
    const DialogDriver& dialog = lumaro.Dialog();
    WindowTexts texts;
    texts.caption = dialog.Caption();
    for (int id : kTextControls) {
        texts.controls.push_back(dialog.ControlText(id));
        texts.places.push_back(dialog.ControlRect(id));
    }
    const ListViewDriver list = lumaro.List();
    for (int column = 0; column < list.ColumnCount(); ++column) {
        texts.headings.push_back(list.ColumnHeading(column));
    }
    for (int row = 0; row < list.RowCount(); ++row) texts.rows.push_back(list.RowTexts(row));
    texts.dateItems = dialog.ComboItems(IDC_DATE_FORMAT_COMBO);
    texts.languageItems = dialog.ComboItems(IDC_WEB_LANGUAGE_COMBO);
    return texts;
}

std::wstring English(TextId id) { return lumaro::WindowText(id, Language::English); }

class WindowLanguage : public ::testing::Test {
protected:
    void SetUp() override {
        UseLan("commands.conf");
        ForgetLanguage();
    }
    void TearDown() override { ForgetLanguage(); }
};

TEST_F(WindowLanguage, SwitchesInPlaceKeepingTheListSelectionFieldsAndPanelAndBackToTheFirstTexts) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    const WindowTexts firstStart = TextsOf(lumaro);
    EXPECT_EQ(firstStart.caption, L"Lumaro [专业门禁]--V2.7");
    EXPECT_FALSE(StoredLanguage()) << "a first start stores nothing";

    // What a technician has done before switching: the panel open, the third row selected,
    // an address typed, both choices made.
    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    lumaro.List().ClickRow(2);
    const DWORD typed = FieldAddress(10, 0, 1, 99);
    dialog.FillAddressField(IDC_IP_FIELD, typed);
    dialog.ChooseComboItem(IDC_DATE_FORMAT_COMBO, 3);
    dialog.ChooseComboItem(IDC_WEB_LANGUAGE_COMBO, 1);
    SaveScreenPicture(dialog.Handle(), "window-zh");

    Choose(dialog, kEnglishCommand);
    const WindowTexts english = TextsOf(lumaro);
    EXPECT_EQ(english.caption, L"Lumaro [Door Access Pro]--V2.7");
    for (const ControlText& control : FixedControlTexts()) {
        EXPECT_EQ(dialog.ControlText(control.controlId), English(control.text))
            << "control " << control.controlId;
    }
    EXPECT_EQ(dialog.ControlText(IDC_ADVANCED_BUTTON), English(TextId::HideAdvanced));
    for (std::size_t column = 0; column < english.headings.size(); ++column) {
        EXPECT_EQ(english.headings[column], English(ColumnHeadings()[column])) << column;
    }
    // commands.conf: 100 and 200 with their web servers on, 300 off.
    ASSERT_EQ(english.rows.size(), 3u);
    EXPECT_EQ(english.rows[0].back(), English(TextId::WebEnabled));
    EXPECT_EQ(english.rows[2].back(), English(TextId::WebNotEnabled));
    for (std::size_t row = 0; row < english.rows.size(); ++row) {
        EXPECT_TRUE(std::equal(english.rows[row].begin(), english.rows[row].end() - 1,
                               firstStart.rows[row].begin()))
            << "row " << row << " keeps its other columns";
    }
    for (std::size_t i = 0; i < DateFormatItems().size(); ++i) {
        EXPECT_EQ(english.dateItems.at(i), English(DateFormatItems()[i])) << i;
    }
    for (std::size_t i = 0; i < WebLanguageItems().size(); ++i) {
        EXPECT_EQ(english.languageItems.at(i), English(WebLanguageItems()[i])) << i;
    }
    EXPECT_EQ(dialog.ComboSelection(IDC_DATE_FORMAT_COMBO), 3);
    EXPECT_EQ(dialog.ComboSelection(IDC_WEB_LANGUAGE_COMBO), 1);
    EXPECT_EQ(lumaro.List().SelectedRows(), std::vector<int>{2});
    EXPECT_EQ(dialog.AddressField(IDC_IP_FIELD).address, typed);
    EXPECT_EQ(dialog.ControlText(IDC_SERIAL_EDIT), L"300");
    EXPECT_TRUE(dialog.IsVisible(IDC_PANEL_FRAME));
    EXPECT_EQ(StoredLanguage(), L"en");
    SaveScreenPicture(dialog.Handle(), "window-en");

    Choose(dialog, kChineseCommand);
    dialog.ClickButton(IDC_ADVANCED_BUTTON);  // hidden again, as at the first start
    EXPECT_TRUE(TextsOf(lumaro) == firstStart) << "Chinese again is the first start's window";
    EXPECT_EQ(dialog.ComboSelection(IDC_DATE_FORMAT_COMBO), 3);
    EXPECT_EQ(StoredLanguage(), L"zh");
}

TEST_F(WindowLanguage, TheChoiceIsRememberedForTheNextStartAndLangChoosesForOneRunOnly) {
    const std::wstring chinese = L"Lumaro [专业门禁]--V2.7";
    const std::wstring english = L"Lumaro [Door Access Pro]--V2.7";
    struct Case {
        const char* name;
        std::optional<std::wstring> stored;  // before the start
        std::wstring arguments;
        std::wstring caption;
    };
    const Case cases[] = {
        {"remembered Chinese", L"zh", L"", chinese},
        {"remembered English", L"en", L"", english},
        {"/lang:zh over a remembered English", L"en", L"/lang:zh", chinese},
        {"/lang:en with nothing remembered", std::nullopt, L"/lang:en", english},
        {"/LANG:EN in capitals", L"zh", L"/LANG:EN", english},
        {"an unknown remembered value", L"fr", L"", chinese},
        {"an unknown /lang: over a remembered English", L"en", L"/lang:fr", english},
    };
    // The label that needs more room in English, where the template puts it.
    RECT chineseLabel{};
    for (const Case& c : cases) {
        ForgetLanguage();
        if (c.stored) StoreLanguage(*c.stored);
        LaunchOptions options;
        options.arguments = c.arguments;
        {
            const LumaroSession lumaro(Settings().lumaroProgram, options);
            EXPECT_EQ(lumaro.Dialog().Caption(), c.caption) << c.name;
            const RECT label = lumaro.Dialog().ControlRect(IDC_WEB_LANGUAGE_LABEL);
            if (c.caption == chinese) {
                chineseLabel = label;
            } else {
                EXPECT_LT(label.left, chineseLabel.left) << c.name << ": laid out for English";
                EXPECT_EQ(label.right, chineseLabel.right) << c.name;
            }
        }
        EXPECT_EQ(StoredLanguage(), c.stored) << c.name << ": a start stores nothing";
    }
}

// The settings bytes of each write the apply command sends to controller 200, for each
// date format (with the web language alternating), the window in `language`.
std::vector<FrameBytes> ApplyEveryChoice(UINT languageCommand) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    Choose(dialog, languageCommand);
    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    EXPECT_EQ(Simulator().ClearLog(), "ok");
    for (int format = 0; format < 6; ++format) {
        lumaro.List().ClickRow(1);  // 200, its own addresses in the fields
        dialog.ChooseComboItem(IDC_DATE_FORMAT_COMBO, format);
        dialog.ChooseComboItem(IDC_WEB_LANGUAGE_COMBO, format % 2);
        dialog.ClickButton(IDC_APPLY_BUTTON);
    }
    return CommandFramesTo(200);
}

TEST_F(WindowLanguage, EveryDateFormatAndWebLanguageWritesTheSameBytesInEitherLanguage) {
    const std::vector<FrameBytes> chinese = ApplyEveryChoice(kChineseCommand);
    const std::vector<FrameBytes> english = ApplyEveryChoice(kEnglishCommand);
    ASSERT_EQ(chinese.size(), 12u) << "two writes per apply";
    ASSERT_EQ(english.size(), chinese.size());
    // Bytes 4-7 count the frames, and 2-3 (the checksum) cover them: both differ.
    constexpr std::size_t kChecksumAndSequence = 2;
    constexpr std::size_t kDateFormat = 118;
    constexpr std::size_t kWebLanguage = 121;
    for (std::size_t i = 0; i < chinese.size(); ++i) {
        FrameBytes a = chinese[i];
        FrameBytes b = english[i];
        ASSERT_EQ(a.size(), b.size()) << "write " << i;
        std::fill_n(a.begin() + kChecksumAndSequence, 6, 0);
        std::fill_n(b.begin() + kChecksumAndSequence, 6, 0);
        EXPECT_EQ(a, b) << "write " << i << " differs between the window's languages";
        EXPECT_EQ(a.at(kDateFormat), i / 2) << "write " << i << ": the date format chosen";
        EXPECT_EQ(a.at(kWebLanguage), (i / 2) % 2 == 0 ? 0x20 : 0x30)
            << "write " << i << ": the web language chosen";
    }
}

// The process's top-level dialog other than those given, once one shows.
HWND WaitForOtherDialog(const LumaroSession& lumaro, const std::vector<HWND>& known) {
    HWND found = nullptr;
    WaitUntil([&] {
        for (HWND dialog : ProcessDialogs(lumaro.Program().ProcessId())) {
            if (std::find(known.begin(), known.end(), dialog) == known.end()) {
                found = dialog;
                return true;
            }
        }
        return false;
    });
    return found;
}

void PressButton(HWND dialog, int id) {
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// The Save As dialog's file name box (its combo box, or its edit box).
HWND FileNameBox(HWND saveAs) {
    constexpr int kFileNameCombo = 0x47c;
    constexpr int kFileNameEdit = 0x480;
    const HWND combo = GetDlgItem(saveAs, kFileNameCombo);
    return combo != nullptr ? combo : GetDlgItem(saveAs, kFileNameEdit);
}

std::string FileBytes(const std::wstring& path) {
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes(1 << 16, '\0');
    DWORD read = 0;
    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    bytes.resize(read);
    return bytes;
}

std::string Narrow(const std::wstring& text) {
    std::string narrow;
    for (wchar_t c : text) narrow += static_cast<char>(c);
    return narrow;
}

class WindowMenu : public ::testing::Test {
protected:
    void SetUp() override {
        UseLan("commands.conf");
        ForgetLanguage();
        wchar_t folder[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, folder);
        path_ = std::wstring(folder) + L"lumaro-saved-list.csv";
        DeleteFileW(path_.c_str());
    }
    void TearDown() override { DeleteFileW(path_.c_str()); }

    // Chooses "save list", checks the name offered, and types this test's path instead;
    // gives the Save As dialog.
    HWND OpenSaveAs(const LumaroSession& lumaro) const {
        PostChoose(lumaro.Dialog(), kSaveListCommand);
        const HWND saveAs = WaitForOtherDialog(lumaro, {lumaro.Dialog().Handle()});
        EXPECT_NE(saveAs, nullptr) << "no Save As dialog";
        if (saveAs == nullptr) return nullptr;
        const HWND name = FileNameBox(saveAs);
        EXPECT_TRUE(WaitUntil([&] { return !WindowText(name).empty(); }));
        const std::wstring offered = WindowText(name);
        EXPECT_TRUE(offered.starts_with(L"lumaro-list-") && offered.ends_with(L".csv") &&
                    offered.size() == std::wstring(L"lumaro-list-YYYYMMDD-HHMM.csv").size())
            << Narrow(offered);
        SendPatiently(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path_.c_str()));
        return saveAs;
    }

    std::wstring path_;
};

TEST_F(WindowMenu, SaveListWritesTheListAsTheConsolesCsvWithAByteOrderMark) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    const HWND saveAs = OpenSaveAs(lumaro);
    ASSERT_NE(saveAs, nullptr);
    PressButton(saveAs, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return FileBytes(path_).size() > 3; })) << "nothing written";
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(saveAs); }));
    const std::string bytes = FileBytes(path_);
    ASSERT_TRUE(bytes.starts_with("\xEF\xBB\xBF")) << "a byte-order mark first";
    std::vector<std::string> lines;
    std::size_t start = 3;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    EXPECT_EQ(start, bytes.size()) << "every line ends in CR LF";
    ASSERT_EQ(lines.size(), 4u) << bytes;
    EXPECT_EQ(lines[0], "serial,ip,mask,gateway,mac,pcAddress,webEnabled,webPort");
    const ListViewDriver list = lumaro.List();
    for (int row = 0; row < 3; ++row) {
        const std::vector<std::wstring> shown = list.RowTexts(row);
        std::string expected;
        for (int column = 0; column < 6; ++column) expected += Narrow(shown[column]) + ",";
        expected += shown[6] == L"启用" ? "true," : "false,";
        EXPECT_TRUE(lines[row + 1].starts_with(expected)) << lines[row + 1];
    }
    EXPECT_TRUE(lines[3].ends_with(",false,0")) << "300's web server is off: " << lines[3];
}

TEST_F(WindowMenu, SaveListCancelledWritesNothingAndAFileThatCannotBeWrittenIsSaidSo) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    HWND saveAs = OpenSaveAs(lumaro);
    ASSERT_NE(saveAs, nullptr);
    PressButton(saveAs, IDCANCEL);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(saveAs); }));
    EXPECT_EQ(GetFileAttributesW(path_.c_str()), INVALID_FILE_ATTRIBUTES) << "cancel wrote it";

    // The file exists, held open by another program that shares it with nobody: replacing
    // it is confirmed, writing it fails, and the technician is told.
    const HANDLE held = CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0,
                                    nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    saveAs = OpenSaveAs(lumaro);
    ASSERT_NE(saveAs, nullptr);
    PressButton(saveAs, IDOK);
    const HWND replace = WaitForOtherDialog(lumaro, {lumaro.Dialog().Handle(), saveAs});
    ASSERT_NE(replace, nullptr) << "no question whether to replace the file";
    PressButton(replace, IDYES);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(replace) && !IsWindow(saveAs); }));
    const auto failure =
        MessageBoxDriver::WaitFor(lumaro.Program().ProcessId(), lumaro.Dialog().Handle(),
                                  kMessagePatience);
    CloseHandle(held);
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->Caption(), L"Lumaro");
    EXPECT_NE(failure->Text().find(path_), std::wstring::npos) << Narrow(failure->Text());
    EXPECT_TRUE(failure->HasIcon());
    failure->ClickOk();
}

// The version block's string of an executable (its first translation's).
std::wstring VersionString(const std::string& program, const wchar_t* name) {
    const std::wstring path = WindowsPathOf(program);
    DWORD ignored = 0;
    std::vector<BYTE> block(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    if (block.empty() || !GetFileVersionInfoW(path.c_str(), 0, static_cast<DWORD>(block.size()),
                                              block.data())) {
        return {};
    }
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\000404b0\\") + name;
    if (!VerQueryValueW(block.data(), query.c_str(), &value, &length) || length == 0) return {};
    return static_cast<const wchar_t*>(value);
}

TEST_F(WindowMenu, AboutNamesTheVersionAndTheCommitWhichLumaroCliCarriesToo) {
    const std::wstring version = VersionString(Settings().lumaroProgram, L"ProductVersion");
    const std::wstring commit = VersionString(Settings().lumaroProgram, L"Commit");
    EXPECT_EQ(version, L"2.7.3.20701");
    EXPECT_EQ(commit.size(), 40u) << "a whole commit id: " << Narrow(commit);
    EXPECT_EQ(VersionString(Settings().cliProgram, L"ProductVersion"), version);
    EXPECT_EQ(VersionString(Settings().cliProgram, L"Commit"), commit);
    EXPECT_EQ(VersionString(Settings().cliProgram, L"OriginalFilename"), L"lumaro-cli.exe");

    const LumaroSession lumaro(Settings().lumaroProgram);
    for (const auto& [command, caption] :
         {std::pair{kChineseCommand, L"关于 Lumaro"}, std::pair{kEnglishCommand, L"About Lumaro"}}) {
        Choose(lumaro.Dialog(), command);
        PostChoose(lumaro.Dialog(), kAboutCommand);
        const auto about = MessageBoxDriver::WaitFor(lumaro.Program().ProcessId(),
                                                     lumaro.Dialog().Handle(), kMessagePatience);
        ASSERT_TRUE(about);
        EXPECT_EQ(about->Caption(), caption);
        EXPECT_NE(about->Text().find(version), std::wstring::npos) << Narrow(about->Text());
        EXPECT_NE(about->Text().find(commit), std::wstring::npos) << Narrow(about->Text());
        about->ClickOk();
    }
}

// The findings window of the process, once it shows.
HWND WaitForFindings(DWORD processId) {
    HWND found = nullptr;
    WaitUntil([&] {
        HWND window = nullptr;
        while ((window = FindWindowExW(nullptr, window, kFindingsWindowClass, nullptr))) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == processId && IsWindowVisible(window)) {
                found = window;
                return true;
            }
        }
        return false;
    }, kMessagePatience);
    return found;
}

// Lab: --segments 2 --pc 0:10.0.1.1/24 --pc 1:10.0.2.1/24; commands.conf's three
// controllers on segment 0, none behind 10.0.2.1.
class MissingController : public ::testing::Test {
protected:
    void SetUp() override {
        UseLan("commands.conf");
        ForgetLanguage();
    }
};

TEST_F(MissingController, FindingsNameTheInterfaceWithoutControllersInTheWindowsLanguage) {
    const LumaroSession lumaro(Settings().lumaroProgram);
    struct Case {
        UINT language;
        std::vector<std::wstring> lines;
        std::wstring title;
    };
    const Case cases[] = {
        {kChineseCommand,
         {L"正常\t接口 10.0.1.1/255.255.255.0:用于搜索\r\n",
          L"正常\t接口 10.0.2.1/255.255.255.0:用于搜索\r\n",
          L"\t套接字 10.0.2.1:已绑定(端口 ",
          L"正常\t通过 10.0.1.1 搜索:3 台控制器回应\r\n",
          L"注意\t通过 10.0.2.1 搜索:没有控制器回应\r\n",
          L"正常\t找到 3 台控制器\r\n"},
         L"为什么找不到控制器?"},
        {kEnglishCommand,
         {L"ok\tinterface 10.0.1.1/255.255.255.0: used\r\n",
          L"ok\tinterface 10.0.2.1/255.255.255.0: used\r\n",
          L"\tsocket 10.0.1.1: bound (port ",
          L"ok\tsearch through 10.0.1.1: 3 controllers answered\r\n",
          L"note\tsearch through 10.0.2.1: no controller answered\r\n",
          L"ok\tfound 3 controllers\r\n"},
         L"Why is a controller missing?"},
    };
    for (const Case& c : cases) {
        Choose(lumaro.Dialog(), c.language);
        PostChoose(lumaro.Dialog(), kWhyMissingCommand);
        const HWND findings = WaitForFindings(lumaro.Program().ProcessId());
        ASSERT_NE(findings, nullptr) << "no findings window";
        EXPECT_EQ(WindowText(findings), c.title);
        const LONG_PTR style = GetWindowLongPtrW(findings, GWL_STYLE);
        EXPECT_TRUE(style & WS_THICKFRAME) << "resizable";
        const HWND text = GetDlgItem(findings, kFindingsTextId);
        EXPECT_TRUE(GetWindowLongPtrW(text, GWL_STYLE) & ES_READONLY);
        const std::wstring shown = WindowText(text);
        for (const std::wstring& line : c.lines) {
            EXPECT_NE(shown.find(line), std::wstring::npos) << "missing: " << Narrow(line);
        }
        // A user selects it all and copies it.
        SendPatiently(text, EM_SETSEL, 0, -1);
        SendPatiently(text, WM_COPY, 0, 0);
        ASSERT_TRUE(OpenClipboard(nullptr));
        const HANDLE copied = GetClipboardData(CF_UNICODETEXT);
        const auto* copiedText =
            copied != nullptr ? static_cast<const wchar_t*>(GlobalLock(copied)) : nullptr;
        EXPECT_EQ(copiedText != nullptr ? std::wstring(copiedText) : std::wstring(), shown);
        if (copiedText != nullptr) GlobalUnlock(copied);
        CloseClipboard();
        SaveScreenPicture(findings, c.language == kEnglishCommand ? "findings-en" : "findings-zh");
        SendPatiently(findings, WM_CLOSE, 0, 0);
    }
}

}  // namespace
}  // namespace lumaro::apptest
