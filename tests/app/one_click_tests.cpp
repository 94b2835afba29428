// The one-click web enable in lumaro.exe, clicked as a user clicks it on a simulated LAN:
// the frames that reach the controller, the page address handed to the browser (under Wine,
// SendARP is not supported and the neighbour table stands in), the controller selected again.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
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

Names CommandFrameNames(std::uint32_t serial) {
    Names names;
    for (const FrameBytes& frame : CommandFramesTo(serial)) {
        names.push_back(testing::FrameName(frame));
    }
    return names;
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

    std::unique_ptr<LumaroSession> lumaro_;
    std::size_t pagesBefore_ = 0;
};

TEST_F(OneClick, AControllerInThePcsSubnetKeepsItsAddressAndItsPageOpens) {
    RunOnRow(0);  // serial 100
    EXPECT_EQ(CommandFrameNames(100), (Names{"read", "probe"}));
    // Wine hands the address on lower-cased, with a trailing slash.
    EXPECT_EQ(NewPages(), std::vector<std::string>{"http://10.0.1.42/"});
    EXPECT_EQ(SelectedSerial(), L"100");
    EXPECT_TRUE(lumaro_->Dialog().IsEnabled(IDC_QUICK_ENABLE_BUTTON));
}

TEST_F(OneClick, AControllerInAnotherSubnetMovesToTheFirstFreeAddress) {
    RunOnRow(1);  // serial 200 at 192.168.1.100
    EXPECT_EQ(CommandFrameNames(200), (Names{"read", "settings", "network"}));
    EXPECT_EQ(NewPages(), std::vector<std::string>{"http://10.0.1.123/"});
    ASSERT_EQ(SelectedSerial(), L"200") << "the same controller selected again";
    const ListViewDriver list = lumaro_->List();
    EXPECT_EQ(list.CellText(list.SelectedRows()[0], 1), L"10.0.1.123") << "the list shows it moved";
    EXPECT_TRUE(lumaro_->Dialog().IsEnabled(IDC_QUICK_ENABLE_BUTTON));
}

TEST_F(OneClick, AReplyOfAnotherSequenceEndsWithMessage106) {
    lumaro_->List().ClickRow(2);  // serial 300
    lumaro_->Dialog().PostClickButton(IDC_QUICK_ENABLE_BUTTON);
    auto box = MessageBoxDriver::WaitFor(lumaro_->Program().ProcessId(),
                                         lumaro_->Dialog().Handle(), kMessagePatience);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->Caption(), L"Lumaro");
    EXPECT_EQ(box->Text(), L"控制器通信失败!");
    EXPECT_TRUE(box->HasIcon());
    EXPECT_TRUE(box->IsSystemModal());
    EXPECT_FALSE(lumaro_->Dialog().IsEnabled(IDC_QUICK_ENABLE_BUTTON)) << "disabled while it runs";
    box->ClickOk();
    EXPECT_TRUE(WaitUntil([&] { return lumaro_->Dialog().IsEnabled(IDC_QUICK_ENABLE_BUTTON); }));
    EXPECT_EQ(CommandFrameNames(300), Names{"read"});
    EXPECT_EQ(PagesOpened().size(), pagesBefore_) << "no page opened";
}

}  // namespace
}  // namespace lumaro::apptest
