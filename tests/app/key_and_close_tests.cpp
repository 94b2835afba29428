// Keys typed into lumaro.exe as a user types them, which buttons show, and the ways the
// window closes: F4 brings out the web-off button wherever the focus is; only the hidden
// mode and F4 show the clock and web-off buttons, which hiding the panel withdraws; the
// close box and Alt+F4 close the sockets and release the socket layer, the exit button
// leaves that to the end of the process.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/resource.h"
#include "tests/app/app_test_settings.h"
#include "tools/window-reader/launched_program.h"
#include "tests/app/lumaro_session.h"
#include "tests/app/wait_until.h"
#include "tests/app/wine_trace.h"

namespace lumaro::apptest {
namespace {

TEST(KeysAndClose, F4ShowsTheWebOffButtonWhereverTheFocusIsWithoutEnablingIt) {
    UseLan("empty.conf");  // nothing to select: the command buttons stay disabled
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    ASSERT_EQ(dialog.FocusedControlId(), IDCANCEL) << "the focus is on a control, not the dialog";

    dialog.TypeKey(VK_F4);
    ASSERT_TRUE(WaitUntil([&] { return dialog.IsVisible(IDC_DISABLE_WEB_BUTTON); }));
    EXPECT_FALSE(dialog.IsEnabled(IDC_DISABLE_WEB_BUTTON));
    std::vector<int> expected = kStartUpControls;
    expected.push_back(IDC_DISABLE_WEB_BUTTON);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(dialog.SortedVisibleControlIds(), expected) << "F4 shows nothing else";
    EXPECT_FALSE(lumaro.Program().WaitForExit(std::chrono::milliseconds(0)));
}

// What Wine's socket trace (WINEDEBUG=+winsock) tells of a program's sockets, in order:
// "close" for each socket closed, "release N" for each WSACleanup that found the socket
// layer started N times.
std::vector<std::string> SocketEvents(const std::string& trace) {
    const std::string closed = "trace:winsock:closesocket ";
    const std::string released = "trace:winsock:WSACleanup decreasing startup count from ";
    std::vector<std::string> events;
    std::istringstream lines(trace);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.find(closed) != std::string::npos) events.push_back("close");
        if (const auto at = line.find(released); at != std::string::npos) {
            events.push_back("release " + std::to_string(std::atoi(line.c_str() + at + released.size())));
        }
    }
    return events;
}

TEST(KeysAndClose, F4ShowsTheWebOffButtonFromInsideAnAddressFieldAndAComboBox) {
    UseLan("three-unsorted.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    struct Case {
        const char* where;
        HWND clicked;  // where the user clicks before pressing F4
        int control;   // the dialog's control that holds it
    };
    const Case cases[] = {
        // The address field keeps the focus in one of its four parts, a window of its own.
        {"the first part of the IP address field",
         GetWindow(dialog.Control(IDC_IP_FIELD), GW_CHILD), IDC_IP_FIELD},
        // A click drops the combo box's list down; the focus stays on the box.
        {"the date-format combo box, its list dropped down",
         dialog.Control(IDC_DATE_FORMAT_COMBO), IDC_DATE_FORMAT_COMBO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.where);
        ASSERT_NE(c.clicked, nullptr);
        dialog.ClickInside(c.clicked);
        ASSERT_EQ(dialog.FocusedWindow(), c.clicked);
        ASSERT_EQ(GetAncestor(c.clicked, GA_PARENT) == dialog.Handle()
                      ? c.clicked
                      : GetParent(c.clicked),
                  dialog.Control(c.control));
        ASSERT_FALSE(dialog.IsVisible(IDC_DISABLE_WEB_BUTTON));
        dialog.TypeKey(VK_F4);
        EXPECT_TRUE(WaitUntil([&] { return dialog.IsVisible(IDC_DISABLE_WEB_BUTTON); }));
        // Hiding and showing the panel withdraws the button again.
        dialog.ClickButton(IDC_ADVANCED_BUTTON);
        dialog.ClickButton(IDC_ADVANCED_BUTTON);
    }
}

TEST(KeysAndClose, CloseBoxAndAltF4CloseTheSocketsAndReleaseTheSocketLayerOnceExitDoesNot) {
    UseLan("three-unsorted.conf");
    using Events = std::vector<std::string>;
    // The LAN's PC has one address, so the search opened one socket. The close handling
    // closes it and releases the socket layer that the search started; the application
    // releases its own start as the process ends. The exit button ends the dialog without
    // the close handling: the socket stays open until the process ends, and the link
    // releases its start after closing it.
    const Events closeHandling{"close", "release 2", "release 1"};
    const Events noCloseHandling{"release 2", "close", "release 1"};
    struct Case {
        const char* action;
        void (*close)(const LumaroSession&);
        const Events& events;
    };
    const Case cases[] = {
        {"close box", [](const LumaroSession& s) { s.Dialog().PostClose(); }, closeHandling},
        {"Alt+F4", [](const LumaroSession& s) { s.Dialog().TypeKey(VK_F4, true); }, closeHandling},
        {"exit button", [](const LumaroSession& s) { s.Dialog().ClickButton(IDCANCEL); },
         noCloseHandling},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.action);
        const LumaroSession lumaro(Settings().lumaroProgram, {{{L"WINEDEBUG", L"+winsock"}}});
        // The start-up search has opened the sockets (and the socket layer a second time).
        const std::size_t atStart = WineErrors().size();
        c.close(lumaro);
        ASSERT_TRUE(lumaro.Program().WaitForExit(kExitPatience));
        Events events;
        WaitUntil([&] {  // the traces pass through a pipe on their way to the file
            events = SocketEvents(WineErrors().substr(atStart));
            return events.size() >= c.events.size();
        });
        EXPECT_EQ(events, c.events);
    }
}

TEST(KeysAndClose, OnlyTheHiddenModeAndF4ShowTheClockAndWebOffButtonsAndHidingThePanelWithdrawsThem) {
    UseLan("three-unsorted.conf");
    const LumaroSession lumaro(Settings().lumaroProgram);
    const DialogDriver& dialog = lumaro.Dialog();
    const auto shown = [&] {
        return std::pair(dialog.IsVisible(IDC_SYNC_TIME_BUTTON),
                         dialog.IsVisible(IDC_DISABLE_WEB_BUTTON));
    };
    const std::pair bothShown(true, true), bothHidden(false, false);

    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    EXPECT_EQ(shown(), bothHidden) << "showing the panel";
    dialog.ClearAddressField(IDC_IP_FIELD);
    dialog.FillAddressField(IDC_GATEWAY_FIELD, FieldAddress(2, 9, 4, 6));
    dialog.ClickButton(IDC_APPLY_BUTTON);
    EXPECT_EQ(shown(), bothShown) << "the hidden mode";
    dialog.ClickButton(IDC_SEARCH_BUTTON);
    EXPECT_EQ(shown(), bothShown) << "a search";
    lumaro.List().ClickRow(1);
    EXPECT_EQ(shown(), bothShown) << "a click on a row";
    EXPECT_TRUE(dialog.IsEnabled(IDC_SYNC_TIME_BUTTON));
    EXPECT_TRUE(dialog.IsEnabled(IDC_DISABLE_WEB_BUTTON));
    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    EXPECT_EQ(shown(), bothHidden) << "hiding the panel";
    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    EXPECT_EQ(shown(), bothHidden) << "showing the panel again";
    EXPECT_TRUE(dialog.IsVisible(IDC_APPLY_BUTTON));

    UseLan("empty.conf");
    dialog.ClickButton(IDC_SEARCH_BUTTON);
    dialog.ClickButton(IDC_ADVANCED_BUTTON);
    ASSERT_EQ(dialog.SortedVisibleControlIds(), kStartUpControls) << "the panel hidden";
    dialog.TypeKey(VK_F4);
    ASSERT_TRUE(WaitUntil([&] { return dialog.IsVisible(IDC_DISABLE_WEB_BUTTON); }));
    EXPECT_FALSE(dialog.IsEnabled(IDC_DISABLE_WEB_BUTTON));
    EXPECT_FALSE(dialog.IsVisible(IDC_SYNC_TIME_BUTTON));
}

}  // namespace
}  // namespace lumaro::apptest
