// lumaro.exe while a one-click run moves a controller, 10-20 s on the dialog's thread by
// design: Windows' rule of a hung window (a thread that has not looked at its queue for
// 5 s), asked from outside every half second as Windows asks it, never judges the window
// hung; yet the run handles no input meanwhile. Its button stays disabled, a key typed
// during the run takes effect after it, and a button that another program clicks during the
// run (as automation tools do, by sending BM_CLICK) is answered at once but acts after it.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <thread>

#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tests/app/lumaro_session.h"
#include "tests/app/wait_until.h"

namespace lumaro::apptest {
namespace {

using namespace std::chrono_literals;

constexpr auto kPollInterval = 500ms;
// How long a window may go without looking at its queue before it is judged hung.
constexpr auto kHungAfter = 5s;
// How long a one-click move lasts at most, on a loaded machine.
constexpr auto kRunPatience = 120s;

TEST(Responsiveness, AOneClickMoveIsNeverJudgedHungAndLeavesItsInputForAfterTheRun) {
    UseLan("one-click.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    const auto running = [&] { return !dialog.IsEnabled(IDC_QUICK_ENABLE_BUTTON); };
    lumaro.List().ClickRow(1);  // serial 200, at a factory address of another subnet: moved

    const auto start = std::chrono::steady_clock::now();
    dialog.PostClickButton(IDC_QUICK_ENABLE_BUTTON);
    ASSERT_TRUE(WaitUntil(running)) << "the run started";
    dialog.TypeKey(VK_F4);
    // Sent, as an automation tool clicks: it returns once the dialog has answered it.
    std::atomic<bool> answeredDuringRun = false;
    std::thread automation([&] {
        dialog.ClickButton(IDC_ADVANCED_BUTTON);
        answeredDuringRun = running();
    });

    int polls = 0;
    int hung = 0;
    while (running() && std::chrono::steady_clock::now() - start < kRunPatience) {
        ++polls;
        if (IsHungAppWindow(dialog.Handle())) ++hung;
        EXPECT_FALSE(dialog.IsVisible(IDC_DISABLE_WEB_BUTTON)) << "F4 handled during the run";
        EXPECT_FALSE(dialog.IsVisible(IDC_PANEL_FRAME)) << "the click acted during the run";
        std::this_thread::sleep_for(kPollInterval);
    }
    const auto lasted = std::chrono::steady_clock::now() - start;
    automation.join();
    ASSERT_FALSE(running()) << "the run did not end";
    ASSERT_GT(lasted, kHungAfter + kPollInterval)
        << "a run shorter than Windows' 5 s cannot show whether the window would be judged hung";
    EXPECT_EQ(hung, 0) << "judged hung in " << hung << " of " << polls << " polls";
    EXPECT_TRUE(answeredDuringRun) << "another program's click waited for the run's end";

    // After the run, in order: the key, then the click.
    EXPECT_TRUE(WaitUntil([&] { return dialog.IsVisible(IDC_DISABLE_WEB_BUTTON); }));
    EXPECT_TRUE(WaitUntil([&] { return dialog.IsVisible(IDC_PANEL_FRAME); }));
    const ListViewDriver list = lumaro.List();
    ASSERT_EQ(list.SelectedRows(), std::vector<int>{1});
    EXPECT_EQ(list.CellText(1, 1), L"10.0.1.123") << "the run itself went its way";
}

}  // namespace
}  // namespace lumaro::apptest
