// What reaches lumaro.exe while one of its commands runs, sent or posted from outside its
// process as automation and accessibility tools do: a click of a disabled button does
// nothing, a close waits until the run has ended, and a row selected meanwhile reaches the
// panel only afterwards.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/system_menu_items.h"
#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/frame_log.h"
#include "tests/app/lumaro_session.h"
#include "tests/app/message_box_driver.h"
#include "tests/app/wait_until.h"
#include "tests/frame_names.h"
#include "tools/window-reader/launched_program.h"

namespace lumaro::apptest {
namespace {

using Names = std::vector<std::string>;

class DuringARun : public ::testing::Test {
protected:
    void Start(const std::string& lan) {
        UseLan(lan);
        lumaro_ = std::make_unique<LumaroSession>(Settings().lumaroProgram);
        ASSERT_EQ(Simulator().ClearLog(), "ok");
    }
    const DialogDriver& Dialog() const { return lumaro_->Dialog(); }
    // Posts a click of the button and waits until its command runs (the button disabled).
    void StartCommand(int button) const {
        Dialog().PostClickButton(button);
        ASSERT_TRUE(WaitUntil([&] { return !Dialog().IsEnabled(button); }))
            << "the command never started";
    }
    MessageBoxDriver AwaitMessageBox() const {
        auto box = MessageBoxDriver::WaitFor(lumaro_->Program().ProcessId(), Dialog().Handle(),
                                             kMessagePatience);
        if (!box) throw std::runtime_error("no message box");
        return *box;
    }
    bool MessageBoxShown() const {
        return MessageBoxDriver::Find(lumaro_->Program().ProcessId(), Dialog().Handle())
            .has_value();
    }

    std::unique_ptr<LumaroSession> lumaro_;
};

// Controller 300 of one-click.conf answers with another sequence number: the one-click's
// read fails and the run ends with message 106. A second click reaches the dialog as a
// posted notification while the first run works; the message box's loop is the first to
// take it, with the button still disabled, and the box's OK comes after it.
TEST_F(DuringARun, AClickOfTheDisabledOneClickButtonDoesNothingAndTheButtonComesBack) {
    Start("one-click.conf");
    lumaro_->List().ClickRow(2);
    ASSERT_EQ(lumaro_->List().CellText(2, 0), L"300");
    StartCommand(IDC_QUICK_ENABLE_BUTTON);
    Dialog().PostClickNotification(IDC_QUICK_ENABLE_BUTTON);

    const MessageBoxDriver box = AwaitMessageBox();
    EXPECT_EQ(box.Text(), L"控制器通信失败!");
    box.PostOk();
    ASSERT_TRUE(WaitUntil([&] { return Dialog().IsEnabled(IDC_QUICK_ENABLE_BUTTON); }))
        << "the one-click button stayed disabled";
    EXPECT_FALSE(MessageBoxShown()) << "a second run showed a message of its own";
    ASSERT_EQ(Simulator().WaitUntilIdle(), "ok");
    EXPECT_EQ(CommandFrameNamesTo(300), Names{"read"}) << "one run, one read";
}

// A close request that arrives while the clock command runs waits until the run, message
// box included, has ended: the dialog stays shown under the box, and the program ends once
// the box is closed.
TEST_F(DuringARun, ACloseRequestWaitsUntilTheRunHasEnded) {
    Start("commands.conf");
    Dialog().ClickButton(IDC_ADVANCED_BUTTON);
    Dialog().FillAddressField(IDC_GATEWAY_FIELD, FieldAddress(2, 9, 4, 6));
    Dialog().ClickButton(IDC_APPLY_BUTTON);  // the hidden mode: the clock button shows
    ASSERT_TRUE(Dialog().IsVisible(IDC_SYNC_TIME_BUTTON));
    lumaro_->List().ClickRow(1);
    StartCommand(IDC_SYNC_TIME_BUTTON);
    Dialog().PostClose();

    const MessageBoxDriver box = AwaitMessageBox();
    EXPECT_EQ(box.Text(), L"校准时间成功!");
    EXPECT_TRUE(IsWindowVisible(Dialog().Handle())) << "the dialog ended under the run";
    EXPECT_FALSE(lumaro_->Program().WaitForExit(std::chrono::milliseconds(0)));
    box.PostOk();
    EXPECT_TRUE(lumaro_->Program().WaitForExit(kInputPatience))
        << "the close was not handled after the run";
    ASSERT_EQ(Simulator().WaitUntilIdle(), "ok");
    EXPECT_EQ(CommandFrameNamesTo(200), Names{"clock"});
}

// Another program selects row 300 while Apply works on row 200: the panel keeps showing 200
// and its buttons stay as the command left them until Apply, its search and its reselection
// have ended; then the panel shows 300.
TEST_F(DuringARun, ARowSelectedDuringApplyReachesThePanelOnlyAfterIt) {
    Start("commands.conf");
    Dialog().ClickButton(IDC_ADVANCED_BUTTON);
    lumaro_->List().ClickRow(1);
    ASSERT_EQ(Dialog().ControlText(IDC_SERIAL_EDIT), L"200");
    Dialog().FillAddressField(IDC_IP_FIELD, FieldAddress(10, 0, 1, 21));
    StartCommand(IDC_APPLY_BUTTON);
    lumaro_->List().SelectRowByMessage(2);  // returns once the list and the dialog handled it

    EXPECT_EQ(Dialog().ControlText(IDC_SERIAL_EDIT), L"200") << "the panel changed under Apply";
    EXPECT_FALSE(Dialog().IsEnabled(IDC_APPLY_BUTTON)) << "Apply enabled while it runs";
    EXPECT_EQ(Dialog().AddressField(IDC_IP_FIELD).address, FieldAddress(10, 0, 1, 21));

    ASSERT_TRUE(WaitUntil([&] { return Dialog().ControlText(IDC_SERIAL_EDIT) == L"300"; }))
        << "the selection never reached the panel";
    EXPECT_TRUE(Dialog().IsEnabled(IDC_APPLY_BUTTON));
    EXPECT_EQ(lumaro_->List().SelectedRows(), std::vector<int>{2});
    ASSERT_EQ(Simulator().WaitUntilIdle(), "ok");
    EXPECT_EQ(CommandFrameNamesTo(200), (Names{"settings", "network+settings"}));
    EXPECT_TRUE(CommandFrameNamesTo(300).empty()) << "Apply wrote to the row selected under it";
}

// The window's language chosen in its system menu while the one-click runs: the run keeps
// speaking Chinese to its end (its message box), and the window turns English only then.
TEST_F(DuringARun, ALanguageChosenDuringARunIsShownWhenTheRunHasEnded) {
    Start("one-click.conf");
    lumaro_->List().ClickRow(2);
    StartCommand(IDC_QUICK_ENABLE_BUTTON);
    PostMessageW(Dialog().Handle(), WM_SYSCOMMAND, kEnglishCommand, 0);

    const MessageBoxDriver box = AwaitMessageBox();
    EXPECT_EQ(box.Text(), L"控制器通信失败!");
    EXPECT_EQ(Dialog().Caption(), L"Lumaro [专业门禁]--V2.7") << "re-texted under the run";
    box.PostOk();
    EXPECT_TRUE(
        WaitUntil([&] { return Dialog().Caption() == L"Lumaro [Door Access Pro]--V2.7"; }))
        << "the choice was lost";
    RegDeleteKeyValueW(HKEY_CURRENT_USER, L"Software\\Lumaro", L"Language");
}

}  // namespace
}  // namespace lumaro::apptest
