// The apply, clock and web-off commands on the test LAN, reached through a stand-in for
// the window that records what they ask of it: the order of their steps, the pauses,
// their own button, the row they act on, and what they refuse to send.

#include <gtest/gtest.h>

#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "link/controller_text.h"
#include "tests/frame_names.h"
#include "tests/lan_fixture.h"
#include "workflow/controller_commands.h"
#include "workflow/reselection.h"

namespace lumaro {
namespace {

using testing::Controller;
using testing::StartSimulator;
using Steps = std::vector<std::string>;

constexpr std::uint32_t kFirstSerial = 100;
constexpr std::uint32_t kSecondSerial = 200;
constexpr std::int64_t kNow = 0x1122334455;  // the seed is its low 32 bits

const char* OutcomeName(Outcome outcome) {
    switch (outcome) {
        case Outcome::NoControllerSelected: return "no controller selected";
        case Outcome::WebAccessFailed: return "web access failed";
        case Outcome::ControllerUnreachable: return "controller unreachable";
        case Outcome::ClockSet: return "clock set";
        case Outcome::ClockNotSet: return "clock not set";
        case Outcome::AddressRefused: return "address refused";
    }
    return "?";
}

const char* ButtonName(CommandButton button) {
    switch (button) {
        case CommandButton::Apply: return "apply";
        case CommandButton::SyncTime: return "clock";
        case CommandButton::DisableWeb: return "web-off";
    }
    return "?";
}

// The window as the commands see it; every step they ask of it becomes a line of `steps`.
class StepRecordingDialog : public CommandDialog {
public:
    explicit StepRecordingDialog(ControllerLink& link) : link_(link) {}

    std::optional<int> SelectedRow() const override { return selected; }
    int RowCount() const override { return static_cast<int>(link_.Table().count); }
    int DateFormatIndex() const override { return 3; }
    int WebLanguageIndex() const override { return 1; }
    void ShowOutcome(Outcome outcome) override {
        steps.push_back(std::string("tell ") + OutcomeName(outcome));
    }
    void ShowWaitCursor() override { steps.push_back("wait cursor"); }
    void ShowArrowCursor() override { steps.push_back("arrow cursor"); }
    void Search() override {
        steps.push_back("search");
        SearchControllers(link_);
        selected.reset();
        if (link_.Table().count > 0) selected = lastSelected = 0;
    }
    void SelectRow(int row) override {
        steps.push_back("select " + FormatSerial(link_.Table().records[row].serial));
        selected = lastSelected = row;
    }
    TypedAddresses ReadTypedAddresses() const override { return typed; }
    int LastSelectedRow() const override { return lastSelected; }
    void EnableCommandButton(CommandButton button, bool enabled) override {
        steps.push_back(std::string(enabled ? "enable " : "disable ") + ButtonName(button));
    }
    void ShowHiddenModeButtons() override { steps.push_back("hidden mode"); }

    Steps steps;
    std::optional<int> selected;
    int lastSelected = -1;
    TypedAddresses typed;

private:
    ControllerLink& link_;
};

class CommandsThroughTheDialog : public ::testing::Test {
protected:
    void SetUp() override {
        lan_ = StartSimulator({Controller(kSecondSerial, MakeIpv4(10, 0, 1, 20)),
                                 Controller(kFirstSerial, MakeIpv4(10, 0, 1, 10))});
        ASSERT_TRUE(lan_);
        dialog_.Search();
        ASSERT_EQ(dialog_.RowCount(), 2);
        dialog_.SelectRow(1);  // serial 200
        dialog_.steps.clear();
        dialog_.typed = {MakeIpv4(10, 0, 1, 120), MakeIpv4(255, 255, 255, 0),
                         MakeIpv4(10, 0, 1, 254)};
        lan_->ClearLog();
    }

    // The kinds of the frames addressed to a controller, as "group/code".
    std::vector<std::string> FrameKinds(std::uint32_t serial) const {
        // The discovery of the search that follows is left out (these commands read nothing).
        std::vector<std::string> kinds;
        for (const auto& frame : testing::FramesAddressedTo(lan_->LogOf(serial), serial)) {
            char kind[8];
            std::snprintf(kind, sizeof kind, "%02X/%02X", frame[0], frame[1]);
            kinds.push_back(kind);
        }
        return kinds;
    }

    ControllerLink link_{LinkEnvironment{
        .readAddressTable = platform::ReadLocalAddressTable,
        .secondsSince1970 = [] { return kNow; },
        .localNow = [] { return platform::ToLocalCalendar(kNow); },
    }};
    StepRecordingDialog dialog_{link_};
    CommandEnvironment environment_{
        .pause = [this](std::chrono::milliseconds duration) {
            dialog_.steps.push_back("pause " + std::to_string(duration.count()) + " ms");
        },
    };
    std::unique_ptr<sim::Simulator> lan_;
};

TEST_F(CommandsThroughTheDialog, ApplyWritesTwiceThenPausesASecondBeforeItSearchesAndReselects) {
    const CommandResult result = ApplyCommand(link_, dialog_, environment_);
    EXPECT_EQ(result.outcome, CommandOutcome::Sent);
    EXPECT_EQ(result.serial, kSecondSerial);
    EXPECT_TRUE(result.answered);
    EXPECT_EQ(dialog_.steps, (Steps{"wait cursor", "disable apply", "pause 1000 ms",
                                    "arrow cursor", "enable apply", "search", "select 200"}));
    EXPECT_EQ(FrameKinds(kSecondSerial), (std::vector<std::string>{"25/20", "25/20"}));
    EXPECT_TRUE(FrameKinds(kFirstSerial).empty());
    EXPECT_EQ(lan_->Current(kSecondSerial).ip, MakeIpv4(10, 0, 1, 120));
}

TEST_F(CommandsThroughTheDialog, WebOffWritesAndRestartsThenPausesTwoSecondsBeforeTheSearch) {
    const CommandResult result = DisableWebCommand(link_, dialog_, environment_);
    EXPECT_EQ(result.outcome, CommandOutcome::Sent);
    EXPECT_TRUE(result.answered);
    EXPECT_EQ(dialog_.steps, (Steps{"wait cursor", "disable web-off", "pause 2000 ms",
                                    "arrow cursor", "enable web-off", "search", "select 200"}));
    EXPECT_EQ(FrameKinds(kSecondSerial), (std::vector<std::string>{"25/20", "20/90"}));
    EXPECT_EQ(lan_->Current(kSecondSerial).webPort, 0);
}

TEST_F(CommandsThroughTheDialog, ClockReportsWhetherTheControllerAnswered) {
    struct Case {
        const char* controller;
        bool silent;
        const char* told;
    };
    const Case cases[] = {{"answering", false, "clock set"}, {"silent", true, "clock not set"}};
    for (const Case& c : cases) {
        sim::Behaviour behaviour;
        behaviour.neverAnswers = c.silent;
        lan_->SetBehaviour(kSecondSerial, behaviour);
        dialog_.steps.clear();
        const CommandResult result = SyncTimeCommand(link_, dialog_);
        EXPECT_EQ(result.answered, !c.silent) << c.controller;
        EXPECT_EQ(dialog_.steps,
                  (Steps{"wait cursor", "disable clock", "arrow cursor", "enable clock",
                         std::string("tell ") + c.told}))
            << c.controller;
    }
    EXPECT_EQ(FrameKinds(kSecondSerial), (std::vector<std::string>{"20/30", "20/30"}));
}

TEST_F(CommandsThroughTheDialog, WithoutASelectionOnlyApplyFallsBackOnTheLastSelectedRow) {
    dialog_.selected.reset();  // a click below the rows: row 1 was the last one shown
    EXPECT_EQ(SyncTimeCommand(link_, dialog_).outcome, CommandOutcome::NoController);
    EXPECT_EQ(DisableWebCommand(link_, dialog_, environment_).outcome,
              CommandOutcome::NoController);
    EXPECT_EQ(dialog_.steps, (Steps{"tell no controller selected", "tell no controller selected"}));
    EXPECT_TRUE(lan_->Log().empty());

    const CommandResult result = ApplyCommand(link_, dialog_, environment_);
    EXPECT_EQ(result.outcome, CommandOutcome::Sent);
    EXPECT_EQ(result.serial, kSecondSerial);
    EXPECT_EQ(FrameKinds(kSecondSerial), (std::vector<std::string>{"25/20", "25/20"}));

    for (int last : {-1, 2}) {  // none yet, or no longer listed
        dialog_.selected.reset();
        dialog_.lastSelected = last;
        dialog_.steps.clear();
        EXPECT_EQ(ApplyCommand(link_, dialog_, environment_).outcome, CommandOutcome::NoController);
        EXPECT_EQ(dialog_.steps, (Steps{"tell no controller selected"})) << "last selected row " << last;
    }
}

TEST_F(CommandsThroughTheDialog, HiddenModeAndRefusedAddressesSendNothingAndEnableTheButtonAgain) {
    struct Case {
        const char* what;
        TypedAddresses typed;
        CommandOutcome outcome;
        Steps steps;
    };
    const Steps refused{"wait cursor", "disable apply", "arrow cursor", "enable apply",
                        "tell address refused"};
    const Ipv4Address mask = MakeIpv4(255, 255, 255, 0);
    const Case cases[] = {
        {"hidden-mode gateway, even with a blank address", {0, 0, kHiddenModeGateway},
         CommandOutcome::HiddenMode,
         {"wait cursor", "disable apply", "hidden mode", "arrow cursor", "enable apply"}},
        {"blank address", {0, mask, 0}, CommandOutcome::AddressRefused, refused},
        {"loopback", {MakeIpv4(127, 0, 0, 1), mask, 0}, CommandOutcome::AddressRefused, refused},
        {"subnet broadcast", {MakeIpv4(10, 0, 1, 255), mask, 0}, CommandOutcome::AddressRefused,
         refused},
        {"blank mask", {MakeIpv4(10, 0, 1, 120), 0, 0}, CommandOutcome::AddressRefused, refused},
    };
    for (const Case& c : cases) {
        link_.SetSequenceCounter(7);
        dialog_.typed = c.typed;
        dialog_.steps.clear();
        const CommandResult result = ApplyCommand(link_, dialog_, environment_);
        EXPECT_EQ(result.outcome, c.outcome) << c.what;
        EXPECT_EQ(dialog_.steps, c.steps) << c.what;
        EXPECT_EQ(link_.SequenceCounter(), static_cast<std::uint32_t>(kNow)) << c.what;
    }
    EXPECT_TRUE(lan_->Log().empty());
}

TEST_F(CommandsThroughTheDialog, ApplyMakesEveryControllerWithANonzeroDhcpMarkerFixed) {
    // The search stores byte 150 of the reply as it came; DHCP is meant by 0xA5, but fixed
    // addressing is written for any nonzero value, and for 0 the byte is left unwritten.
    struct Case {
        std::uint32_t marker;
        int writtenMark;  // write-mask byte 1060, whose bit 2 marks byte 150
    };
    const Case cases[] = {{0x00, 0x00}, {0x01, 0x04}, {0x5A, 0x04}, {0xA5, 0x04}, {0xFF, 0x04}};
    constexpr std::size_t kAddressingMode = 150;
    constexpr std::size_t kAddressingModeMark = 1060;
    for (const Case& c : cases) {
        SCOPED_TRACE("marker " + std::to_string(c.marker));
        dialog_.Search();
        dialog_.SelectRow(1);  // serial 200
        link_.Table().records[1].dhcpMarker = c.marker;
        lan_->ClearLog();
        ASSERT_EQ(ApplyCommand(link_, dialog_, environment_).outcome, CommandOutcome::Sent);
        const auto frames = testing::FramesAddressedTo(lan_->LogOf(kSecondSerial), kSecondSerial);
        ASSERT_EQ(frames.size(), 2u);
        for (const auto& frame : frames) {
            ASSERT_EQ(frame.size(), 1172u);
            EXPECT_EQ(frame[kAddressingMode], 0);
            EXPECT_EQ(frame[kAddressingModeMark], c.writtenMark);
        }
    }
}

TEST_F(CommandsThroughTheDialog, ReselectionByASerialListedTwiceEndsOnTheLastMatch) {
    // Discovery keeps one record per serial; a table holding a serial twice still ends with
    // the last of its rows selected, each selected in turn.
    link_.Table().records[0].serial = kSecondSerial;
    dialog_.steps.clear();
    ReselectBySerial(link_, dialog_, kSecondSerial);
    EXPECT_EQ(dialog_.steps, (Steps{"select 200", "select 200"}));
    EXPECT_EQ(dialog_.selected, 1);
}

// Lab: the PC has 10.0.1.1/24 and 10.0.1.2/24 on the controllers' segment.
TEST(CommandsThroughTwoPcAddresses, AControllerHeardThroughBothIsListedOnceAndWrittenThroughTheFirst) {
    auto lan = StartSimulator({Controller(kFirstSerial, MakeIpv4(10, 0, 1, 10)),
                               Controller(kSecondSerial, MakeIpv4(10, 0, 1, 20))});
    ASSERT_TRUE(lan);
    ControllerLink link;
    StepRecordingDialog dialog(link);
    dialog.Search();
    ASSERT_EQ(link.InterfaceCount(), 2u) << "the lab's PC has two addresses";
    const Ipv4Address first = link.Interface(0).address;
    ASSERT_EQ(dialog.RowCount(), 2) << "each controller once, though heard through both";
    for (const ControllerRecord& record : link.Table().Found()) {
        EXPECT_EQ(record.hostAddress, first) << "the first address through which it answered";
    }
    std::set<Ipv4Address> searchedFrom;
    for (const sim::ReceivedFrame& frame : lan->LogOf(kSecondSerial)) {
        searchedFrom.insert(frame.source);
    }
    EXPECT_EQ(searchedFrom.size(), 2u) << "the search reached it, and it answered, through both";
    dialog.SelectRow(1);
    dialog.typed = {MakeIpv4(10, 0, 1, 120), MakeIpv4(255, 255, 255, 0), 0};
    dialog.steps.clear();
    lan->ClearLog();
    CommandEnvironment environment{.pause = [](std::chrono::milliseconds) {}};
    ASSERT_EQ(ApplyCommand(link, dialog, environment).outcome, CommandOutcome::Sent);

    std::size_t writes = 0;
    for (const sim::ReceivedFrame& frame : lan->LogOf(kSecondSerial)) {
        if (testing::FramesAddressedTo({frame}, kSecondSerial).empty()) continue;
        ++writes;
        EXPECT_EQ(frame.source, first) << "sent through " << FormatAddress(frame.source);
    }
    EXPECT_EQ(writes, 2u);
    EXPECT_EQ(dialog.steps.back(), "select 200");
    EXPECT_EQ(dialog.selected, 1);
    EXPECT_EQ(lan->Current(kSecondSerial).ip, MakeIpv4(10, 0, 1, 120));
}

}  // namespace
}  // namespace lumaro
