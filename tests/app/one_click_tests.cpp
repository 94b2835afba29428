// The one-click web enable in lumaro.exe, clicked as a user clicks it on a simulated LAN:
// the frames that reach the controller, the page address handed to the browser (under Wine,
// SendARP is not supported and the neighbour table stands in), the controller selected again.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

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

// The addresses that the browser got, one a line (scripts/app-test.sh records them).
std::vector<std::string> PagesOpened() {
    const char* log = std::getenv("LUMARO_BROWSER_LOG");
    if (log == nullptr) throw std::runtime_error("no LUMARO_BROWSER_LOG: run through app-test.sh");
    std::ifstream in(std::filesystem::path(WindowsPathOf(log)));
    std::vector<std::string> pages;
    for (std::string line; std::getline(in, line);) pages.push_back(line);
    return pages;
}

class OneClick : public ::testing::Test {
protected:
    void SetUp() override {
        UseLan("one-click.conf");
        lumaro_ = std::make_unique<LumaroSession>(Settings().lumaroProgram);
        pagesBefore_ = PagesOpened().size();
    }

    // Clicks the row, then the one-click button, and waits until the procedure has ended.
    void RunOnRow(int row) const {
        lumaro_->List().ClickRow(row);
        lumaro_->Dialog().ClickButton(IDC_QUICK_ENABLE_BUTTON);
    }
    std::vector<std::string> NewPages() const {
        // winebrowser starts the browser by itself: give it a moment to write.
        WaitUntil([&] { return PagesOpened().size() > pagesBefore_; }, std::chrono::seconds(10));
        const auto pages = PagesOpened();
        return {pages.begin() + static_cast<std::ptrdiff_t>(pagesBefore_), pages.end()};
    }
    std::wstring SelectedSerial() const {
        const auto rows = lumaro_->List().SelectedRows();
        return rows.size() == 1 ? lumaro_->List().CellText(rows[0], 0) : L"<none>";
    }
    // Clicks the one-click button for a run that ends in a message box; gives the box.
    MessageBoxDriver ClickForMessage() const {
        lumaro_->Dialog().PostClickButton(IDC_QUICK_ENABLE_BUTTON);
        auto box = MessageBoxDriver::WaitFor(lumaro_->Program().ProcessId(),
                                             lumaro_->Dialog().Handle(), kMessagePatience);
        if (!box) throw std::runtime_error("no message box after the one-click button");
        return *box;
    }
    // The caption, the icon (flags 0x1030 for a failure, 0x1000 for a notice), system-modal
    // and owned by the dialog.
    void ExpectMessage(const MessageBoxDriver& box, const std::wstring& text, bool icon) const {
        EXPECT_EQ(box.Caption(), L"Lumaro");
        EXPECT_EQ(box.Text(), text);
        EXPECT_EQ(box.HasIcon(), icon);
        EXPECT_TRUE(box.IsSystemModal());
        EXPECT_EQ(box.Owner(), lumaro_->Dialog().Handle());
    }
    void CloseAndWaitForTheButton(const MessageBoxDriver& box) const {
        EXPECT_FALSE(lumaro_->Dialog().IsEnabled(IDC_QUICK_ENABLE_BUTTON)) << "disabled while it runs";
        box.ClickOk();
        EXPECT_TRUE(WaitUntil([&] { return lumaro_->Dialog().IsEnabled(IDC_QUICK_ENABLE_BUTTON); }));
    }
    AddressFieldContent Field(int id) const { return lumaro_->Dialog().AddressField(id); }

    std::unique_ptr<LumaroSession> lumaro_;
    std::size_t pagesBefore_ = 0;
};

TEST_F(OneClick, AControllerInThePcsSubnetKeepsItsAddressAndItsPageOpens) {
    RunOnRow(0);  // serial 100
    EXPECT_EQ(CommandFrameNamesTo(100), (Names{"read", "probe"}));
    // Wine hands the address on lower-cased, with a trailing slash.
    EXPECT_EQ(NewPages(), std::vector<std::string>{"http://10.0.1.42/"});
    EXPECT_EQ(SelectedSerial(), L"100");
    EXPECT_TRUE(lumaro_->Dialog().IsEnabled(IDC_QUICK_ENABLE_BUTTON));
}

TEST_F(OneClick, AControllerInAnotherSubnetMovesToTheFirstFreeAddress) {
    lumaro_->List().ClickRow(1);  // serial 200 at 192.168.1.100
    EXPECT_EQ(Field(IDC_IP_FIELD).address, FieldAddress(192, 168, 1, 100));
    RunOnRow(1);
    EXPECT_EQ(CommandFrameNamesTo(200), (Names{"read", "settings", "network"}));
    EXPECT_EQ(NewPages(), std::vector<std::string>{"http://10.0.1.123/"});
    ASSERT_EQ(SelectedSerial(), L"200") << "the same controller selected again";
    const ListViewDriver list = lumaro_->List();
    EXPECT_EQ(list.CellText(list.SelectedRows()[0], 1), L"10.0.1.123") << "the list shows it moved";
    EXPECT_TRUE(lumaro_->Dialog().IsEnabled(IDC_QUICK_ENABLE_BUTTON));
    // The fields show the controller as the final search found it: the new address, the
    // PC's mask and no gateway, as the move wrote them.
    const DWORD fields[][2] = {{IDC_IP_FIELD, FieldAddress(10, 0, 1, 123)},
                               {IDC_MASK_FIELD, FieldAddress(255, 255, 255, 0)},
                               {IDC_GATEWAY_FIELD, FieldAddress(0, 0, 0, 0)}};
    for (const auto& [id, address] : fields) {
        EXPECT_EQ(Field(static_cast<int>(id)).filledParts, 4) << "field " << id;
        EXPECT_EQ(Field(static_cast<int>(id)).address, address) << "field " << id;
    }
}

TEST_F(OneClick, WithoutASelectedRowItAsksForOneAndSendsNothing) {
    lumaro_->List().ClickBelowRows();
    ASSERT_TRUE(lumaro_->List().SelectedRows().empty());
    ASSERT_EQ(Simulator().ClearLog(), "ok");
    const MessageBoxDriver box = ClickForMessage();
    ExpectMessage(box, L"请先选择控制器!", false);
    CloseAndWaitForTheButton(box);
    EXPECT_TRUE(AllCommandFrames().empty());
    EXPECT_EQ(PagesOpened().size(), pagesBefore_) << "no page opened";
}

TEST_F(OneClick, AMovedControllerThatNeverAnswersAtItsNewAddressEndsWithMessage105) {
    // It acknowledges the new address but stays at 192.168.1.100.
    ASSERT_EQ(Simulator().SetBehaviour(200, "keeps-address"), "ok");
    lumaro_->List().ClickRow(1);
    const MessageBoxDriver box = ClickForMessage();
    ExpectMessage(box, L"WEB访问控制器失败!", true);
    CloseAndWaitForTheButton(box);
    EXPECT_EQ(CommandFrameNamesTo(200), (Names{"read", "settings", "network"}));
    EXPECT_EQ(PagesOpened().size(), pagesBefore_) << "no page opened";
    EXPECT_EQ(SelectedSerial(), L"200") << "no search after a failure";
}

TEST_F(OneClick, AReplyOfAnotherSequenceEndsWithMessage106) {
    lumaro_->List().ClickRow(2);  // serial 300
    const MessageBoxDriver box = ClickForMessage();
    ExpectMessage(box, L"控制器通信失败!", true);
    CloseAndWaitForTheButton(box);
    EXPECT_EQ(CommandFrameNamesTo(300), Names{"read"});
    EXPECT_EQ(PagesOpened().size(), pagesBefore_) << "no page opened";
}

TEST_F(OneClick, AReadAnswerTooShortForTheRefreshEndsWithMessage106) {
    // The read's answer cut just before the addressing mode (byte 150).
    ASSERT_EQ(Simulator().SetBehaviour(100, "lengths:150"), "ok");
    lumaro_->List().ClickRow(0);
    const MessageBoxDriver box = ClickForMessage();
    ExpectMessage(box, L"控制器通信失败!", true);
    CloseAndWaitForTheButton(box);
    EXPECT_EQ(CommandFrameNamesTo(100), Names{"read"}) << "nothing written";
    EXPECT_EQ(PagesOpened().size(), pagesBefore_) << "no page opened";
}

}  // namespace
}  // namespace lumaro::apptest
