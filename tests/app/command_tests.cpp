// The commands on the selected controller in lumaro.exe, clicked as a user clicks them on a
// simulated LAN: what reaches the controllers on the wire, what the list and the panel
// show afterwards, and the message boxes.

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "link/byte_io.h"
#include "platform/clock.h"
#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/frame_log.h"
#include "tests/app/lumaro_session.h"
#include "tests/app/message_box_driver.h"
#include "tests/app/simulator_control.h"
#include "tests/app/wait_until.h"

namespace lumaro::apptest {
namespace {

const std::wstring kCaption = L"Lumaro";
const std::wstring kRefused = L"IP地址或子网掩码无效,未写入控制器!";
const std::wstring kSelectFirst = L"请先选择控制器!";
const std::wstring kClockSet = L"校准时间成功!";
const std::wstring kClockNotSet = L"校准时间失败!";

// Frame bytes, counted from the start of the frame.
constexpr std::size_t kSequence = 4;
constexpr std::size_t kVariantCode = 18;
constexpr std::size_t kMaskFirst = 1044;  // the write mask: bytes 1044-1171
constexpr std::size_t kMaskEnd = 1172;

// Every nonzero byte of a write's mask, by its position.
std::vector<std::pair<std::size_t, int>> MarkedMaskBytes(const FrameBytes& frame) {
    std::vector<std::pair<std::size_t, int>> marked;
    for (std::size_t i = kMaskFirst; i < kMaskEnd && i < frame.size(); ++i) {
        if (frame[i] != 0) marked.emplace_back(i, frame[i]);
    }
    return marked;
}

using Marks = std::vector<std::pair<std::size_t, int>>;

FrameBytes Bytes(const FrameBytes& frame, std::size_t first, std::size_t end) {
    return FrameBytes(frame.begin() + static_cast<std::ptrdiff_t>(first),
                      frame.begin() + static_cast<std::ptrdiff_t>(end));
}

// lumaro.exe on commands.conf (rows 100, 200, 300), its panel shown as a user opens it
// before typing, and the simulator's log emptied.
class ControllerCommands : public ::testing::Test {
protected:
    void SetUp() override {
        UseLan("commands.conf");
        lumaro_ = std::make_unique<LumaroSession>(Settings().lumaroProgram);
        Dialog().ClickButton(IDC_ADVANCED_BUTTON);
        ASSERT_EQ(Simulator().ClearLog(), "ok");
    }

    const DialogDriver& Dialog() const { return lumaro_->Dialog(); }
    ListViewDriver List() const { return lumaro_->List(); }

    void TypeAddresses(std::optional<DWORD> ip, std::optional<DWORD> mask,
                       std::optional<DWORD> gateway) const {
        const std::pair<int, std::optional<DWORD>> fields[] = {
            {IDC_IP_FIELD, ip}, {IDC_MASK_FIELD, mask}, {IDC_GATEWAY_FIELD, gateway}};
        for (const auto& [id, address] : fields) {
            if (address) {
                Dialog().FillAddressField(id, *address);
            } else {
                Dialog().ClearAddressField(id);
            }
        }
    }

    // Gateway 2.9.4.6 and the apply button: the clock and web-off buttons come out.
    void EnterHiddenMode() const {
        TypeAddresses(std::nullopt, std::nullopt, FieldAddress(2, 9, 4, 6));
        Dialog().ClickButton(IDC_APPLY_BUTTON);
    }

    // Clicks a button whose command ends in a message box; gives the box.
    MessageBoxDriver ClickForMessage(int buttonId) const {
        Dialog().PostClickButton(buttonId);
        auto box = MessageBoxDriver::WaitFor(lumaro_->Program().ProcessId(), Dialog().Handle(),
                                             kMessagePatience);
        if (!box) throw std::runtime_error("no message box after button " + std::to_string(buttonId));
        return *box;
    }

    // Closes the box and waits until it has gone (the command then ends at once).
    void CloseMessage(const MessageBoxDriver& box) const {
        box.ClickOk();
        WaitUntil([&] {
            return !MessageBoxDriver::Find(lumaro_->Program().ProcessId(), Dialog().Handle());
        });
    }

    void ExpectMessage(const MessageBoxDriver& box, const std::wstring& text, bool icon) const {
        EXPECT_EQ(box.Caption(), kCaption);
        EXPECT_EQ(box.Text(), text);
        EXPECT_EQ(box.HasIcon(), icon);
        EXPECT_TRUE(box.IsSystemModal());
        EXPECT_EQ(box.Owner(), Dialog().Handle());
    }

    std::unique_ptr<LumaroSession> lumaro_;
};

TEST_F(ControllerCommands, ApplyWritesSettingsThenAddressesFromOneBufferAndReselectsTheController) {
    struct Case {
        const char* what;
        std::uint32_t serial;
        int row;
        std::uint8_t variantCode;
        bool dhcp;
        std::optional<DWORD> gateway;
        FrameBytes networkGroup;  // frame bytes 20-33 of the second frame
        std::vector<std::wstring> rowAfter;
    };
    const Case cases[] = {
        {"a DHCP-addressed controller, switched to fixed addresses", 100, 0, 1, true,
         FieldAddress(10, 0, 1, 1),
         {10, 0, 1, 110, 255, 255, 255, 0, 10, 0, 1, 1, 0x60, 0xEA},
         {L"100", L"10.0.1.110", L"255.255.255.0", L"10.0.1.1", L"02-4C-00-00-00-64",
          L"10.0.1.1", L"启用"}},
        {"a controller of variant 3 with its web server off, and no gateway", 300, 2, 3, false,
         std::nullopt,
         {10, 0, 1, 130, 255, 255, 0, 0, 0, 0, 0, 0, 0x60, 0xEA},
         {L"300", L"10.0.1.130", L"255.255.0.0", L"0.0.0.0", L"02-4C-00-00-01-2C",
          L"10.0.1.1", L"启用"}},
    };
    Dialog().ChooseComboItem(IDC_DATE_FORMAT_COMBO, 4);
    Dialog().ChooseComboItem(IDC_WEB_LANGUAGE_COMBO, 1);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        List().ClickRow(c.row);
        const FrameBytes& g = c.networkGroup;
        TypeAddresses(FieldAddress(g[0], g[1], g[2], g[3]), FieldAddress(g[4], g[5], g[6], g[7]),
                      c.gateway);
        Dialog().ClickButton(IDC_APPLY_BUTTON);

        const std::vector<FrameBytes> frames = CommandFramesTo(c.serial);
        ASSERT_EQ(frames.size(), 2u);
        const Marks dhcpMark = c.dhcp ? Marks{{1060, 0x04}} : Marks{};
        Marks settingsOnly{{1056, 0xF7}};
        settingsOnly.insert(settingsOnly.end(), dhcpMark.begin(), dhcpMark.end());
        Marks withNetwork{{1044, 0xFF}, {1045, 0x3F}, {1056, 0xF7}};
        withNetwork.insert(withNetwork.end(), dhcpMark.begin(), dhcpMark.end());
        EXPECT_EQ(MarkedMaskBytes(frames[0]), settingsOnly);
        EXPECT_EQ(MarkedMaskBytes(frames[1]), withNetwork);
        for (const FrameBytes& frame : frames) {
            ASSERT_EQ(frame.size(), 1172u);
            EXPECT_EQ(frame[0], 0x25);
            EXPECT_EQ(frame[1], 0x20);
            EXPECT_EQ(frame[kVariantCode], c.variantCode);
            // Web port 80, the fifth date format, English; byte 119 unwritten; fixed
            // addressing at byte 150 (marked only for the DHCP controller).
            EXPECT_EQ(Bytes(frame, 116, 124), (FrameBytes{80, 0, 4, 0, 0, 0x30, 0, 0}));
            EXPECT_EQ(frame[150], 0);
        }
        EXPECT_EQ(Bytes(frames[0], 116, 151), Bytes(frames[1], 116, 151));
        EXPECT_EQ(Bytes(frames[0], 20, 34), FrameBytes(14, 0));
        EXPECT_EQ(Bytes(frames[1], 20, 34), c.networkGroup);
        EXPECT_EQ(ByteReader(frames[1]).Le32(kSequence), ByteReader(frames[0]).Le32(kSequence) + 1);

        EXPECT_EQ(List().RowTexts(c.row), c.rowAfter);
        EXPECT_EQ(List().SelectedRows(), std::vector<int>{c.row});
        EXPECT_EQ(Dialog().ControlText(IDC_SERIAL_EDIT), c.rowAfter[0]);
        EXPECT_TRUE(Dialog().IsEnabled(IDC_APPLY_BUTTON));
        ASSERT_EQ(Simulator().ClearLog(), "ok");
    }
}

TEST_F(ControllerCommands, ApplyActsOnTheLastClickedRowWhenTheClickLeftNoSelection) {
    List().ClickRow(1);  // serial 200
    List().ClickBelowRows();
    ASSERT_TRUE(List().SelectedRows().empty());
    TypeAddresses(FieldAddress(10, 0, 1, 120), FieldAddress(255, 255, 255, 0),
                  FieldAddress(10, 0, 1, 254));
    Dialog().ClickButton(IDC_APPLY_BUTTON);

    EXPECT_EQ(CommandFramesTo(200).size(), 2u);
    EXPECT_TRUE(CommandFramesTo(100).empty());
    EXPECT_TRUE(CommandFramesTo(300).empty());
    EXPECT_EQ(List().CellText(1, 1), L"10.0.1.120");
    EXPECT_EQ(List().SelectedRows(), std::vector<int>{1});
}

// The addresses of every listed controller, by row.
std::vector<std::wstring> ListedAddresses(const ListViewDriver& list) {
    std::vector<std::wstring> addresses;
    for (int row = 0; row < list.RowCount(); ++row) addresses.push_back(list.CellText(row, 1));
    return addresses;
}

TEST_F(ControllerCommands, ApplyAfterAKeyboardMoveWritesTheShownControllerItsOwnAddresses) {
    List().ClickRow(0);  // serial 100, at its DHCP address 10.0.1.77
    Dialog().TypeKey(VK_DOWN);
    ASSERT_TRUE(WaitUntil([&] { return List().SelectedRows() == std::vector<int>{1}; }));
    ASSERT_EQ(Dialog().ControlText(IDC_SERIAL_EDIT), L"200") << "the panel follows the keyboard";
    Dialog().ClickButton(IDC_APPLY_BUTTON);  // nothing typed: the panel's own addresses

    const std::vector<FrameBytes> frames = CommandFramesTo(200);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(Bytes(frames[1], 20, 34),
              (FrameBytes{10, 0, 1, 20, 255, 255, 255, 0, 10, 0, 1, 254, 0x60, 0xEA}));
    EXPECT_TRUE(CommandFramesTo(100).empty());
    EXPECT_EQ(ListedAddresses(List()),
              (std::vector<std::wstring>{L"10.0.1.77", L"10.0.1.20", L"10.0.1.30"}))
        << "no two controllers on one address";
    EXPECT_EQ(List().SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(Dialog().ControlText(IDC_SERIAL_EDIT), L"200");
}

TEST_F(ControllerCommands, ClockAndWebOffAfterAKeyboardMoveActOnTheControllerThePanelShows) {
    EnterHiddenMode();
    struct Case {
        const char* what;
        UINT key;
        std::uint32_t serial;
        int button;
        std::size_t frames;
    };
    const Case cases[] = {
        {"End, then the clock", VK_END, 300, IDC_SYNC_TIME_BUTTON, 1},
        {"Home, then web-off", VK_HOME, 100, IDC_DISABLE_WEB_BUTTON, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        List().ClickRow(1);  // serial 200
        Dialog().TypeKey(c.key);
        ASSERT_TRUE(WaitUntil([&] { return List().SelectedRows() != std::vector<int>{1}; }));
        ASSERT_EQ(Dialog().ControlText(IDC_SERIAL_EDIT), std::to_wstring(c.serial));
        if (c.button == IDC_SYNC_TIME_BUTTON) {
            CloseMessage(ClickForMessage(c.button));
        } else {
            Dialog().ClickButton(c.button);
        }
        EXPECT_EQ(CommandFramesTo(c.serial).size(), c.frames);
        EXPECT_TRUE(CommandFramesTo(200).empty()) << "not the row clicked before the key";
        EXPECT_EQ(Dialog().ControlText(IDC_SERIAL_EDIT), std::to_wstring(c.serial));
        ASSERT_EQ(Simulator().ClearLog(), "ok");
    }
}

TEST_F(ControllerCommands, ApplyRefusesAddressesThatCanNeverWorkAndSendsNothing) {
    struct Case {
        const char* what;
        std::optional<DWORD> ip, mask, gateway;
    };
    const DWORD mask24 = FieldAddress(255, 255, 255, 0);
    const DWORD gateway = FieldAddress(10, 0, 1, 254);
    const Case cases[] = {
        {"blank address", std::nullopt, mask24, gateway},
        {"address 0.0.0.0", FieldAddress(0, 0, 0, 0), mask24, gateway},
        {"address 255.255.255.255", FieldAddress(255, 255, 255, 255), mask24, gateway},
        {"loopback address", FieldAddress(127, 0, 0, 1), FieldAddress(255, 0, 0, 0), gateway},
        {"multicast address", FieldAddress(224, 0, 0, 1), mask24, gateway},
        {"reserved address", FieldAddress(240, 1, 2, 3), mask24, gateway},
        {"network address of the subnet", FieldAddress(10, 0, 1, 0), mask24, gateway},
        {"broadcast address of the subnet", FieldAddress(10, 0, 1, 255), mask24, std::nullopt},
        {"broadcast address of 223.255.255.0/24", FieldAddress(223, 255, 255, 255), mask24,
         gateway},
        {"blank mask", FieldAddress(10, 0, 1, 120), std::nullopt, gateway},
        {"mask with a gap", FieldAddress(10, 0, 1, 120), FieldAddress(255, 0, 255, 0), gateway},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TypeAddresses(c.ip, c.mask, c.gateway);
        const MessageBoxDriver box = ClickForMessage(IDC_APPLY_BUTTON);
        ExpectMessage(box, kRefused, true);
        CloseMessage(box);
        EXPECT_TRUE(Dialog().IsEnabled(IDC_APPLY_BUTTON));
    }
    EXPECT_TRUE(AllCommandFrames().empty());
    EXPECT_EQ(List().CellText(0, 1), L"10.0.1.77") << "the controller keeps its address";
}

TEST_F(ControllerCommands, HiddenModeShowsAndEnablesBothButtonsSendsNothingAndSeedsTheCounter) {
    // The start-up seeded the counter a second or more before: the hidden mode seeds it
    // again, and the next frame carries the new seed.
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    const std::int64_t before = platform::SecondsSince1970();
    EnterHiddenMode();  // with a blank address and mask: the gateway is read first
    const std::int64_t after = platform::SecondsSince1970();

    EXPECT_TRUE(AllCommandFrames().empty());
    for (int id : {IDC_SYNC_TIME_BUTTON, IDC_DISABLE_WEB_BUTTON, IDC_APPLY_BUTTON}) {
        EXPECT_TRUE(Dialog().IsVisible(id)) << "button " << id;
        EXPECT_TRUE(Dialog().IsEnabled(id)) << "button " << id;
    }
    CloseMessage(ClickForMessage(IDC_SYNC_TIME_BUTTON));
    const std::vector<FrameBytes> frames = CommandFramesTo(100);
    ASSERT_EQ(frames.size(), 1u);
    const std::uint32_t sequence = ByteReader(frames[0]).Le32(kSequence);
    EXPECT_GE(sequence, static_cast<std::uint32_t>(before));
    EXPECT_LE(sequence, static_cast<std::uint32_t>(after));
}

// BCD as the clock payload carries it.
int FromBcd(std::uint8_t value) { return (value >> 4) * 10 + (value & 0x0F); }

ULONGLONG Ticks(const SYSTEMTIME& time) {
    FILETIME file{};
    SystemTimeToFileTime(&time, &file);
    return (ULONGLONG{file.dwHighDateTime} << 32) | file.dwLowDateTime;
}

TEST_F(ControllerCommands, ClockSendsThePcsLocalTimeAndSaysWhetherTheControllerAnswered) {
    EnterHiddenMode();
    List().ClickRow(1);  // serial 200
    SYSTEMTIME before{};
    GetLocalTime(&before);
    before.wMilliseconds = 0;  // the payload counts whole seconds
    const MessageBoxDriver box = ClickForMessage(IDC_SYNC_TIME_BUTTON);
    SYSTEMTIME after{};
    GetLocalTime(&after);
    ExpectMessage(box, kClockSet, false);
    CloseMessage(box);

    const std::vector<FrameBytes> frames = CommandFramesTo(200);
    ASSERT_EQ(frames.size(), 1u);
    const FrameBytes& frame = frames[0];
    ASSERT_EQ(frame.size(), 28u);
    EXPECT_EQ(frame[0], 0x20);
    EXPECT_EQ(frame[1], 0x30);
    EXPECT_EQ(frame[27], 0xFF);
    SYSTEMTIME sent{};
    sent.wYear = static_cast<WORD>(2000 + FromBcd(frame[20]));
    sent.wMonth = static_cast<WORD>(FromBcd(frame[21]));
    sent.wDay = static_cast<WORD>(FromBcd(frame[22]));
    sent.wHour = static_cast<WORD>(FromBcd(frame[24]));
    sent.wMinute = static_cast<WORD>(FromBcd(frame[25]));
    sent.wSecond = static_cast<WORD>(FromBcd(frame[26]));
    EXPECT_LE(Ticks(before), Ticks(sent));
    EXPECT_LE(Ticks(sent), Ticks(after));
    FILETIME file{};
    SystemTimeToFileTime(&sent, &file);
    SYSTEMTIME withWeekday{};
    FileTimeToSystemTime(&file, &withWeekday);
    EXPECT_EQ(FromBcd(frame[23]), withWeekday.wDayOfWeek);

    ASSERT_EQ(Simulator().SetBehaviour(200, "silent"), "ok");
    const MessageBoxDriver failure = ClickForMessage(IDC_SYNC_TIME_BUTTON);
    ExpectMessage(failure, kClockNotSet, true);
    CloseMessage(failure);
    EXPECT_TRUE(Dialog().IsEnabled(IDC_SYNC_TIME_BUTTON));
}

TEST_F(ControllerCommands, ClockAndWebOffAskForASelectionWhenTheClickLeftNone) {
    EnterHiddenMode();
    List().ClickBelowRows();
    ASSERT_TRUE(List().SelectedRows().empty());
    for (int id : {IDC_SYNC_TIME_BUTTON, IDC_DISABLE_WEB_BUTTON}) {
        SCOPED_TRACE("button " + std::to_string(id));
        const MessageBoxDriver box = ClickForMessage(id);
        ExpectMessage(box, kSelectFirst, false);
        CloseMessage(box);
    }
    EXPECT_TRUE(AllCommandFrames().empty());
}

TEST_F(ControllerCommands, WebOffWritesPortZeroAndTheChosenLanguageRestartsAndTheListShowsItOff) {
    struct Case {
        const char* what;
        int row;
        std::uint32_t serial;
        int language;          // WebLanguageCombo's item
        std::uint8_t written;  // frame byte 121
    };
    const Case cases[] = {
        {"web server on, Chinese", 1, 200, 0, 0x20},
        // A DHCP controller keeps its addressing: web-off writes no DHCP group.
        {"a DHCP controller, English", 0, 100, 1, 0x30},
    };
    Dialog().TypeKey(VK_F4);
    ASSERT_TRUE(WaitUntil([&] { return Dialog().IsVisible(IDC_DISABLE_WEB_BUTTON); }));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        List().ClickRow(c.row);
        Dialog().ChooseComboItem(IDC_WEB_LANGUAGE_COMBO, c.language);
        Dialog().ClickButton(IDC_DISABLE_WEB_BUTTON);

        const std::vector<FrameBytes> frames = CommandFramesTo(c.serial);
        ASSERT_EQ(frames.size(), 2u);
        ASSERT_EQ(frames[0].size(), 1172u);
        EXPECT_EQ(frames[0][0], 0x25);
        EXPECT_EQ(frames[0][1], 0x20);
        EXPECT_EQ(MarkedMaskBytes(frames[0]), (Marks{{1056, 0xF3}})) << "no DHCP group (1060)";
        // Web port 0; the date format neither written nor marked; the chosen language.
        EXPECT_EQ(Bytes(frames[0], 116, 124), (FrameBytes{0, 0, 0, 0, 0, c.written, 0, 0}));
        EXPECT_EQ(frames[0][150], 0);
        ASSERT_EQ(frames[1].size(), 24u);
        EXPECT_EQ(frames[1][0], 0x20);
        EXPECT_EQ(frames[1][1], 0x90);
        EXPECT_EQ(Bytes(frames[1], 20, 24), FrameBytes(4, 0));

        EXPECT_EQ(List().CellText(c.row, 6), L"未启用");
        EXPECT_EQ(List().SelectedRows(), std::vector<int>{c.row});
        EXPECT_EQ(Dialog().ControlText(IDC_SERIAL_EDIT), std::to_wstring(c.serial));
        EXPECT_TRUE(Dialog().IsVisible(IDC_DISABLE_WEB_BUTTON));
        EXPECT_TRUE(Dialog().IsEnabled(IDC_DISABLE_WEB_BUTTON));
        ASSERT_EQ(Simulator().ClearLog(), "ok");
    }
    EXPECT_EQ(List().CellText(0, 1), L"10.0.1.77") << "the DHCP controller keeps its address";
}

TEST_F(ControllerCommands, ACommandOnAControllerTheNextSearchDoesNotFindLeavesRowZeroShown) {
    struct Case {
        const char* what;
        int button;
    };
    const Case cases[] = {{"apply", IDC_APPLY_BUTTON}, {"web-off", IDC_DISABLE_WEB_BUTTON}};
    Dialog().TypeKey(VK_F4);
    ASSERT_TRUE(WaitUntil([&] { return Dialog().IsVisible(IDC_DISABLE_WEB_BUTTON); }));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        UseLan("commands.conf");
        Dialog().ClickButton(IDC_SEARCH_BUTTON);
        // Serial 300 falls silent: it answers neither the command nor the search after it.
        List().ClickRow(2);
        ASSERT_EQ(Simulator().SetBehaviour(300, "silent"), "ok");
        ASSERT_EQ(Simulator().ClearLog(), "ok");
        Dialog().ClickButton(c.button);  // apply: the panel's own addresses

        EXPECT_EQ(CommandFramesTo(300).size(), 2u) << "sent, though unanswered";
        ASSERT_EQ(List().RowCount(), 2);
        EXPECT_EQ(List().CellText(1, 0), L"200");
        EXPECT_EQ(List().SelectedRows(), std::vector<int>{0});
        EXPECT_EQ(Dialog().ControlText(IDC_SERIAL_EDIT), L"100") << "row 0 shown in the panel";
        EXPECT_EQ(Dialog().AddressField(IDC_IP_FIELD).address, FieldAddress(10, 0, 1, 77));
        EXPECT_TRUE(Dialog().IsEnabled(c.button));
    }
}

TEST_F(ControllerCommands, ApplyWritesTheAddressesAtTheRefusalsBoundaries) {
    struct Case {
        const char* what;
        DWORD ip, mask;
    };
    const DWORD mask31 = FieldAddress(255, 255, 255, 254);
    const Case cases[] = {
        {"the lower address of a /31", FieldAddress(10, 0, 1, 120), mask31},
        {"the upper address of a /31", FieldAddress(10, 0, 1, 121), mask31},
        {"an address 0.x.y.z", FieldAddress(0, 1, 2, 3), FieldAddress(255, 0, 0, 0)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        List().ClickRow(1);  // serial 200
        TypeAddresses(c.ip, c.mask, std::nullopt);
        Dialog().ClickButton(IDC_APPLY_BUTTON);
        const std::vector<FrameBytes> frames = CommandFramesTo(200);
        ASSERT_EQ(frames.size(), 2u);
        const FrameBytes sent = Bytes(frames[1], 20, 28);
        EXPECT_EQ(sent, (FrameBytes{static_cast<std::uint8_t>(c.ip >> 24),
                                    static_cast<std::uint8_t>(c.ip >> 16),
                                    static_cast<std::uint8_t>(c.ip >> 8),
                                    static_cast<std::uint8_t>(c.ip),
                                    static_cast<std::uint8_t>(c.mask >> 24),
                                    static_cast<std::uint8_t>(c.mask >> 16),
                                    static_cast<std::uint8_t>(c.mask >> 8),
                                    static_cast<std::uint8_t>(c.mask)}));
        ASSERT_EQ(Simulator().ClearLog(), "ok");
    }
}

}  // namespace
}  // namespace lumaro::apptest
