// The decisions between the ways of the one-click web enable: which address is kept, which
// candidate comes first, where the addresses come from. The controllers are the simulator's,
// answering on the scripted LAN's virtual clock (no socket, no namespace, no real wait);
// ARP, the web-port probe, the browser and the pauses are the test's. The wire itself is
// the business of one_click_wire_tests.cpp.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "link/controller_text.h"
#include "link/masked_write.h"
#include "tests/frame_names.h"
#include "tests/command_reply_printer.h"
#include "tests/lan_fixture.h"
#include "tests/recording_dialog.h"
#include "tests/scripted_controllers.h"
#include "workflow/web_enable.h"

namespace lumaro {
namespace {

using platform::ArpResult;
using testing::Controller;
using testing::FrameNames;
using testing::RecordingDialog;
using Names = std::vector<std::string>;

constexpr std::uint32_t kSerial = 4242;
const Ipv4Address kAddress = MakeIpv4(10, 0, 1, 42);
const platform::HardwareAddress kOtherMac{0x02, 0x99, 0x99, 0x99, 0x99, 0x99};

// ARP, probe, browser and pauses as the test sets them; every request is recorded. ARP
// answers as the test says for an address, else as the LAN stands (a simulated controller
// at that address answers with its MAC).
class OneClickDecisions : public ::testing::Test {
protected:
    // Puts the controllers on the LAN behind the PC's address, searches and selects the
    // controller of kSerial.
    void Start(const std::vector<sim::ControllerSpec>& controllers,
               Ipv4Address pcAddress = testing::kPcAddress,
               Ipv4Address pcMask = testing::kPcMask) {
        serials_.clear();
        for (const auto& controller : controllers) serials_.push_back(controller.serial);
        lan_.reset();
        lan_ = std::make_unique<testing::ScriptedControllers>(network_, pcAddress, pcMask,
                                                              controllers);
        dialog_.Search();
        ASSERT_TRUE(dialog_.SelectSerial(kSerial));
        hostAddress_ = Selected().hostAddress;
        lan_->ClearLog();
    }

    WebEnableReport Run() {
        WebEnableSystem system;
        system.arp = [this](Ipv4Address target, Ipv4Address source) {
            arpTargets_.push_back(target);
            EXPECT_EQ(source, hostAddress_) << "asked from the PC's interface";
            if (onArp_) onArp_();
            if (auto queued = arpInTurn_.find(target);
                queued != arpInTurn_.end() && !queued->second.empty()) {
                const ArpResult next = queued->second.front();
                queued->second.erase(queued->second.begin());
                return next;
            }
            const auto answer = arpAnswers_.find(target);
            if (answer != arpAnswers_.end()) return answer->second;
            for (std::uint32_t serial : serials_) {
                const sim::ControllerSpec now = lan_->Current(serial);
                if (now.ip == target) return ArpResult::AnsweredBy(now.mac);
            }
            if (answerEveryAddress_ && target != freeAddress_) return ArpResult::AnsweredBy(kOtherMac);
            return ArpResult::NoAnswer();
        };
        system.probeWebPort = [this](const ProbeTarget& target, std::chrono::milliseconds wait) {
            probed_.push_back(target.address);
            EXPECT_EQ(target.port, 80);
            EXPECT_EQ(wait, std::chrono::milliseconds(1000));
            return probeWait_;
        };
        system.openPage = [this](const std::string& page) {
            pages_.push_back(page);
            if (onPage_) onPage_();
        };
        system.pause = [this](std::chrono::milliseconds pause) { pauses_.push_back(pause.count()); };
        system.claimAddress = [this](Ipv4Address candidate) {
            claimed_.push_back(candidate);
            return !heldElsewhere_.contains(candidate);
        };
        system.releaseAddress = [this](Ipv4Address candidate) { released_.push_back(candidate); };
        return EnableWebProcedure(link_, dialog_, system);
    }

    Names Frames() const { return FrameNames(lan_->LogOf(kSerial)); }
    const ControllerRecord& Selected() const {
        return link_.Table().records[static_cast<std::size_t>(*dialog_.selected)];
    }

    testing::ScriptedNetwork network_;
    std::unique_ptr<testing::ScriptedControllers> lan_;
    std::vector<std::uint32_t> serials_;
    Ipv4Address hostAddress_ = 0;
    ControllerLink link_{network_.Environment()};
    RecordingDialog dialog_{link_};
    std::map<Ipv4Address, ArpResult> arpAnswers_;
    // Answers taken one by one, before arpAnswers_ and the LAN.
    std::map<Ipv4Address, std::vector<ArpResult>> arpInTurn_;
    bool answerEveryAddress_ = false;     // every address but freeAddress_ is taken
    Ipv4Address freeAddress_ = 0;
    std::function<void()> onArp_;
    std::set<Ipv4Address> heldElsewhere_;  // claimed by another run of a batch
    std::vector<Ipv4Address> claimed_;
    std::vector<Ipv4Address> released_;
    std::function<void()> onPage_;  // as the page opens, before the final search
    ProbeWait probeWait_ = ProbeWait::Connected;
    std::vector<Ipv4Address> arpTargets_;
    std::vector<Ipv4Address> probed_;
    std::vector<std::string> pages_;
    std::vector<long long> pauses_;
};

TEST_F(OneClickDecisions, AddressesNeverKeptAreNotProbedButMoved) {
    for (Ipv4Address reported : kAddressesNeverKept) {
        SCOPED_TRACE(FormatAddress(reported));
        // The controller answers from 10.0.1.42 but reports the address under test.
        auto spec = Controller(kSerial, kAddress);
        spec.behaviour.reportsAddress = reported;
        Start({spec});
        arpTargets_.clear();
        const WebEnableReport report = Run();
        EXPECT_EQ(report.presentAddress, reported);
        EXPECT_EQ(Frames(), (Names{"read", "settings", "network"}));
        ASSERT_FALSE(arpTargets_.empty());
        EXPECT_EQ(arpTargets_.front(), MakeIpv4(10, 0, 1, 123)) << "the free search comes first";
        EXPECT_TRUE(report.moved);
        lan_.reset();
    }
}

TEST_F(OneClickDecisions, AnAddressOutsideThePcsSubnetIsMovedThoughItAnswers) {
    // The scripted LAN carries a unicast to any controller, as a route on the link would:
    // the controller would answer the probe there, as it does under Wine, yet the browser of
    // a PC without that route could not load its page.
    Start({Controller(kSerial, MakeIpv4(192, 168, 1, 100))});
    const WebEnableReport report = Run();
    EXPECT_EQ(Frames(), (Names{"read", "settings", "network"})) << "no probe";
    EXPECT_TRUE(report.moved);
    EXPECT_EQ(report.address, MakeIpv4(10, 0, 1, 123));
}

TEST_F(OneClickDecisions, AnotherRowWithTheSameAddressMovesItThoughItAnswers) {
    Start({Controller(kSerial, kAddress), Controller(7777, kAddress)});
    const WebEnableReport report = Run();
    EXPECT_EQ(Frames(), (Names{"read", "settings", "network"})) << "no probe";
    EXPECT_TRUE(report.moved);
    EXPECT_TRUE(FrameNames(lan_->LogOf(7777)) == Names({"read", "settings", "network"}))
        << "the other one hears the broadcasts";
    EXPECT_EQ(lan_->Current(7777).ip, kAddress) << "but only the addressed one moves";
}

TEST_F(OneClickDecisions, ArpAnsweredByAnotherDeviceMovesTheController) {
    Start({Controller(kSerial, kAddress)});
    arpAnswers_.insert_or_assign(kAddress, ArpResult::AnsweredBy(kOtherMac));
    const WebEnableReport report = Run();
    EXPECT_EQ(Frames(), (Names{"read", "probe", "settings", "network"}));
    EXPECT_TRUE(report.moved);
    EXPECT_EQ(report.address, MakeIpv4(10, 0, 1, 123));
}

TEST_F(OneClickDecisions, ArpUnansweredAfterAnAnsweredProbeKeepsTheAddress) {
    Start({Controller(kSerial, kAddress)});
    arpAnswers_.insert_or_assign(kAddress, ArpResult::NoAnswer());
    const WebEnableReport report = Run();
    EXPECT_EQ(Frames(), (Names{"read", "probe"}));
    EXPECT_EQ(arpTargets_, std::vector<Ipv4Address>{kAddress});
    EXPECT_FALSE(report.moved);
    EXPECT_EQ(pages_, std::vector<std::string>{"HTTP://10.0.1.42"});
}

TEST_F(OneClickDecisions, ArpAnsweredByTheControllerItselfKeepsTheAddress) {
    Start({Controller(kSerial, kAddress)});
    const WebEnableReport report = Run();
    EXPECT_EQ(Frames(), (Names{"read", "probe"}));
    EXPECT_FALSE(report.moved);
}

// Another program changes the two choices while a run works (the window answers messages
// sent from other threads during its beats): both settings writes of the run carry the
// choices as they were when it started.
TEST_F(OneClickDecisions, BothSettingsWritesCarryTheChoicesReadWhenTheRunStarted) {
    Start({Controller(kSerial, MakeIpv4(192, 168, 1, 100))});
    probeWait_ = ProbeWait::NotConnected;
    dialog_.dateFormat = 2;
    dialog_.language = 0;
    onArp_ = [this] {
        dialog_.dateFormat = 5;
        dialog_.language = 1;
    };
    const WebEnableReport report = Run();
    EXPECT_TRUE(report.moved);
    std::vector<std::pair<int, int>> choices;
    for (const sim::ReceivedFrame& frame : lan_->LogOf(kSerial)) {
        if (testing::FrameName(frame) != "settings") continue;
        choices.emplace_back(frame.bytes[parameter::kDateFormat],
                             frame.bytes[parameter::kWebLanguage]);
    }
    EXPECT_EQ(choices, (std::vector<std::pair<int, int>>{{2, kWebLanguageChinese},
                                                         {2, kWebLanguageChinese}}))
        << "the move's settings and those after the probe";
}

TEST_F(OneClickDecisions, OnlyAConnectionMadeLeavesTheWebSettingsUnwritten) {
    struct Case {
        ProbeWait wait;
        Names frames;
    };
    const Case cases[] = {
        {ProbeWait::Connected, {"read", "probe"}},
        {ProbeWait::NotConnected, {"read", "probe", "settings", "restart"}},
        {ProbeWait::StillConnecting, {"read", "probe", "settings", "restart"}},
        {ProbeWait::NotStarted, {"read", "probe", "settings", "restart"}},
    };
    Start({Controller(kSerial, kAddress)});
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.wait));
        ASSERT_TRUE(dialog_.SelectSerial(kSerial));
        lan_->ClearLog();
        pauses_.clear();
        probeWait_ = c.wait;
        const WebEnableReport report = Run();
        EXPECT_EQ(Frames(), c.frames);
        EXPECT_EQ(report.webSettings.has_value(), c.frames.size() > 2);
        EXPECT_EQ(pauses_, c.frames.size() > 2 ? std::vector<long long>{2000}
                                               : std::vector<long long>{});
    }
}

// On the move path too only a connection made leaves the web settings unwritten; a refused
// or unstarted probe switches the server on at the new address, and the page opens there.
TEST_F(OneClickDecisions, AfterAMoveOnlyAConnectionMadeLeavesTheWebSettingsUnwritten) {
    const struct {
        ProbeWait wait;
        Names frames;
        std::vector<long long> pauses;
    } cases[] = {
        {ProbeWait::Connected, {"read", "settings", "network"}, {2000}},
        {ProbeWait::NotConnected, {"read", "settings", "network", "settings", "restart"},
         {2000, 2000}},
        {ProbeWait::NotStarted, {"read", "settings", "network", "settings", "restart"},
         {2000, 2000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.wait));
        Start({Controller(kSerial, MakeIpv4(192, 168, 1, 100))});
        probeWait_ = c.wait;
        probed_.clear();
        pauses_.clear();
        pages_.clear();
        const WebEnableReport report = Run();
        EXPECT_EQ(report.end, WebEnableEnd::PageOpened);
        EXPECT_TRUE(report.moved);
        EXPECT_EQ(Frames(), c.frames);
        EXPECT_EQ(probed_, std::vector<Ipv4Address>{MakeIpv4(10, 0, 1, 123)}) << "at the new address";
        EXPECT_EQ(pauses_, c.pauses);
        EXPECT_EQ(pages_, std::vector<std::string>{"HTTP://10.0.1.123"});
        lan_.reset();
    }
}

// The final search after the page opens no longer hears the controller: its row cannot be
// selected again, and the list's first row, or none, stays selected.
TEST_F(OneClickDecisions, AControllerTheFinalSearchMissesLeavesTheFirstRowOrNoneSelected) {
    const sim::ControllerSpec bystander = Controller(7, MakeIpv4(10, 0, 1, 7));
    const struct {
        const char* what;
        std::vector<sim::ControllerSpec> lan;
        int rows;
        std::optional<int> selected;
    } cases[] = {
        {"beside another controller", {Controller(kSerial, kAddress), bystander}, 1, 0},
        {"alone", {Controller(kSerial, kAddress)}, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Start(c.lan);
        onPage_ = [this] {
            sim::Behaviour silent;
            silent.neverAnswers = true;
            lan_->SetBehaviour(kSerial, silent);
        };
        const WebEnableReport report = Run();
        onPage_ = nullptr;
        EXPECT_EQ(report.end, WebEnableEnd::PageOpened);
        EXPECT_EQ(dialog_.RowCount(), c.rows);
        EXPECT_EQ(dialog_.selected, c.selected);
        if (c.selected) {
            EXPECT_EQ(Selected().serial, 7u);
        }
        lan_.reset();
    }
}

TEST_F(OneClickDecisions, FreeSearchTriesEveryOctetButZero255AndThePcsOwnInItsOrder) {
    Start({Controller(kSerial, MakeIpv4(192, 168, 1, 100))});
    answerEveryAddress_ = true;
    freeAddress_ = MakeIpv4(10, 0, 1, 5);
    const WebEnableReport report = Run();
    std::vector<Ipv4Address> expected;
    for (int octet = 123; octet <= 254; ++octet) expected.push_back(MakeIpv4(10, 0, 1, octet));
    for (int octet = 2; octet <= 5; ++octet) expected.push_back(MakeIpv4(10, 0, 1, octet));
    expected.push_back(freeAddress_);  // the confirmation at the new address
    EXPECT_EQ(arpTargets_, expected) << "the PC's own address (10.0.1.1) is never a candidate";
    EXPECT_EQ(report.address, freeAddress_);
}

// Beside other runs of a batch: each candidate is claimed before ARP is asked about it.
TEST_F(OneClickDecisions, FreeSearchPassesOverAddressesOtherRunsHoldAndGivesBackThoseThatAnswer) {
    Start({Controller(kSerial, MakeIpv4(192, 168, 1, 100))});
    heldElsewhere_ = {MakeIpv4(10, 0, 1, 123), MakeIpv4(10, 0, 1, 125)};
    arpAnswers_.insert_or_assign(MakeIpv4(10, 0, 1, 124), ArpResult::AnsweredBy(kOtherMac));
    const WebEnableReport report = Run();
    EXPECT_EQ(claimed_, (std::vector{MakeIpv4(10, 0, 1, 123), MakeIpv4(10, 0, 1, 124),
                                     MakeIpv4(10, 0, 1, 125), MakeIpv4(10, 0, 1, 126)}));
    EXPECT_EQ(arpTargets_, (std::vector{MakeIpv4(10, 0, 1, 124), MakeIpv4(10, 0, 1, 126),
                                        MakeIpv4(10, 0, 1, 126)}))
        << "no ARP about a held address; the last request is the confirmation";
    EXPECT_EQ(released_, std::vector{MakeIpv4(10, 0, 1, 124)}) << "only where somebody answers";
    EXPECT_EQ(report.address, MakeIpv4(10, 0, 1, 126));
    EXPECT_EQ(lan_->Current(kSerial).ip, MakeIpv4(10, 0, 1, 126));
}

// A present address that answers with the controller's own MAC is held for it too; where
// another run of the batch holds it already, the controller moves instead of staying.
TEST_F(OneClickDecisions, AKeptAddressIsClaimedAndOneHeldByAnotherRunIsLeft) {
    Start({Controller(kSerial, kAddress)});
    Run();
    EXPECT_EQ(claimed_, std::vector<Ipv4Address>{kAddress}) << "kept, and held";
    EXPECT_EQ(lan_->Current(kSerial).ip, kAddress);

    ASSERT_TRUE(dialog_.SelectSerial(kSerial));
    claimed_.clear();
    heldElsewhere_ = {kAddress};
    const WebEnableReport report = Run();
    EXPECT_TRUE(report.moved);
    EXPECT_EQ(report.address, MakeIpv4(10, 0, 1, 123));
    EXPECT_EQ(lan_->Current(kSerial).ip, MakeIpv4(10, 0, 1, 123));
}

// A PC at 10.0.2.123.
TEST_F(OneClickDecisions, FirstCandidateFollowsThePcs123) {
    Start({Controller(kSerial, MakeIpv4(192, 168, 1, 100))}, MakeIpv4(10, 0, 2, 123),
          MakeIpv4(255, 255, 255, 0));
    ASSERT_EQ(hostAddress_, MakeIpv4(10, 0, 2, 123));
    freeAddress_ = MakeIpv4(10, 0, 2, 124);
    const WebEnableReport report = Run();
    ASSERT_FALSE(arpTargets_.empty());
    EXPECT_EQ(arpTargets_.front(), MakeIpv4(10, 0, 2, 124));
    EXPECT_EQ(report.address, MakeIpv4(10, 0, 2, 124));
}

// A PC at 10.0.3.200/26 (hosts .193-.254): a controller moved
// out of the factory address lands on a host of that subnet, where the PC reaches it, and a
// second run keeps it there.
TEST_F(OneClickDecisions, CandidatesStayInsideANarrowPcSubnet) {
    const Ipv4Address taken = MakeIpv4(10, 0, 3, 193);
    Start({Controller(kSerial, MakeIpv4(192, 168, 1, 100)), Controller(7777, taken)},
          MakeIpv4(10, 0, 3, 200), MakeIpv4(255, 255, 255, 192));
    ASSERT_EQ(hostAddress_, MakeIpv4(10, 0, 3, 200));
    const WebEnableReport first = Run();
    const Ipv4Address expected = MakeIpv4(10, 0, 3, 194);
    ASSERT_GE(arpTargets_.size(), 2u);
    EXPECT_EQ(arpTargets_[0], taken) << "the first usable host from 123 upwards";
    EXPECT_EQ(arpTargets_[1], expected);
    EXPECT_TRUE(first.moved);
    EXPECT_EQ(first.address, expected);
    EXPECT_EQ(pages_, std::vector<std::string>{"HTTP://10.0.3.194"});
    EXPECT_EQ(lan_->Current(kSerial).ip, expected);
    EXPECT_EQ(lan_->Current(kSerial).mask, MakeIpv4(255, 255, 255, 192));

    ASSERT_EQ(Selected().serial, kSerial) << "selected again after the search";
    lan_->ClearLog();
    const WebEnableReport second = Run();
    EXPECT_FALSE(second.moved) << "inside the PC's subnet, it stays";
    EXPECT_EQ(Frames(), (Names{"read", "probe"}));
}

// A PC at 10.0.4.4/31, a point-to-point link: its other end,
// 10.0.4.5, is the one address a controller can be moved to.
TEST_F(OneClickDecisions, OnAPointToPointLinkTheControllerMovesToTheOtherEnd) {
    Start({Controller(kSerial, MakeIpv4(192, 168, 1, 100))}, MakeIpv4(10, 0, 4, 4),
          MakeIpv4(255, 255, 255, 254));
    ASSERT_EQ(hostAddress_, MakeIpv4(10, 0, 4, 4));
    const Ipv4Address otherEnd = MakeIpv4(10, 0, 4, 5);
    const WebEnableReport first = Run();
    ASSERT_EQ(first.end, WebEnableEnd::PageOpened);
    ASSERT_FALSE(arpTargets_.empty());
    EXPECT_EQ(arpTargets_.front(), otherEnd);
    EXPECT_TRUE(first.moved);
    EXPECT_EQ(lan_->Current(kSerial).ip, otherEnd);
    EXPECT_EQ(lan_->Current(kSerial).mask, MakeIpv4(255, 255, 255, 254));
    EXPECT_EQ(pages_, std::vector<std::string>{"HTTP://10.0.4.5"});

    ASSERT_EQ(Selected().serial, kSerial) << "selected again after the search";
    lan_->ClearLog();
    EXPECT_FALSE(Run().moved) << "at the other end of the link, it stays";
    EXPECT_EQ(Frames(), (Names{"read", "probe"}));
}

TEST_F(OneClickDecisions, EveryCandidateTakenStopsAfter253RequestsWithoutWriting) {
    Start({Controller(kSerial, MakeIpv4(192, 168, 1, 100))});
    answerEveryAddress_ = true;
    const WebEnableReport report = Run();
    EXPECT_EQ(arpTargets_.size(), 253u) << "every octet but 0, 255 and the PC's own";
    EXPECT_EQ(report.end, WebEnableEnd::NoFreeAddress);
    EXPECT_EQ(dialog_.told, std::vector<Outcome>{Outcome::WebAccessFailed});
    EXPECT_EQ(Frames(), Names{"read"});
}

TEST_F(OneClickDecisions, NewAddressIsAskedFourTimesWithHalfSecondPausesBetween) {
    Start({Controller(kSerial, MakeIpv4(192, 168, 1, 100))});
    arpAnswers_.insert_or_assign(MakeIpv4(10, 0, 1, 123), ArpResult::NoAnswer());  // not even once it moved there
    const WebEnableReport report = Run();
    EXPECT_EQ(report.end, WebEnableEnd::NewAddressSilent);
    EXPECT_EQ(arpTargets_, std::vector<Ipv4Address>(5, MakeIpv4(10, 0, 1, 123)));
    EXPECT_EQ(pauses_, (std::vector<long long>{2000, 500, 500, 500}));
    EXPECT_EQ(dialog_.told, std::vector<Outcome>{Outcome::WebAccessFailed});
}

// An ARP request that cannot be made (the PC's address gone, its cable pulled) judges
// nothing: the run stops with message 105 before anything is written, wherever it happens
// before the move; after the move it counts as one more unanswered attempt.
TEST_F(OneClickDecisions, ArpThatCannotBeAskedStopsBeforeAnythingIsWritten) {
    const Ipv4Address first = MakeIpv4(10, 0, 1, 123), second = MakeIpv4(10, 0, 1, 124);
    const struct {
        const char* name;
        Ipv4Address controller;
        std::map<Ipv4Address, ArpResult> answers;
        std::vector<Ipv4Address> asked;
        Names frames;
    } cases[] = {
        {"at the present address", kAddress, {{kAddress, ArpResult::CouldNotAsk()}}, {kAddress},
         {"read", "probe"}},
        {"at the first candidate", MakeIpv4(192, 168, 1, 100),
         {{first, ArpResult::CouldNotAsk()}}, {first}, {"read"}},
        {"after a taken candidate", MakeIpv4(192, 168, 1, 100),
         {{first, ArpResult::AnsweredBy(kOtherMac)}, {second, ArpResult::CouldNotAsk()}}, {first, second},
         {"read"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Start({Controller(kSerial, c.controller)});
        arpAnswers_ = c.answers;
        arpTargets_.clear();
        dialog_.told.clear();
        const WebEnableReport report = Run();
        EXPECT_EQ(report.end, WebEnableEnd::ArpFailed);
        EXPECT_EQ(dialog_.told, std::vector<Outcome>{Outcome::WebAccessFailed});
        EXPECT_EQ(arpTargets_, c.asked);
        EXPECT_EQ(Frames(), c.frames);
        EXPECT_FALSE(report.moved);
        EXPECT_TRUE(pages_.empty());
        EXPECT_EQ(lan_->Current(kSerial).ip, c.controller) << "the controller is untouched";
        lan_.reset();
    }
}

// The moved controller answers ARP at its new address only on a later attempt: only the
// pauses before that attempt happen, and a request that could not be made is one more try.
TEST_F(OneClickDecisions, NewAddressAnsweredOnALaterAttemptHasOnlyThePausesBeforeIt) {
    const Ipv4Address candidate = MakeIpv4(10, 0, 1, 123);
    const struct {
        int attempt;                           // the attempt that is answered
        std::vector<ArpResult> beforeAnswer;   // what the earlier attempts give
        std::vector<long long> pauses;
    } cases[] = {
        {1, {}, {2000}},
        {2, {ArpResult::NoAnswer()}, {2000, 500}},
        {3, {ArpResult::NoAnswer(), ArpResult::CouldNotAsk()}, {2000, 500, 500}},
        {4, {ArpResult::NoAnswer(), ArpResult::NoAnswer(), ArpResult::NoAnswer()}, {2000, 500, 500, 500}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.attempt);
        Start({Controller(kSerial, MakeIpv4(192, 168, 1, 100))});
        // The free search finds it free, then the confirmation's attempts.
        std::vector<ArpResult> inTurn{ArpResult::NoAnswer()};
        inTurn.insert(inTurn.end(), c.beforeAnswer.begin(), c.beforeAnswer.end());
        arpInTurn_[candidate] = inTurn;  // then the LAN answers: the controller moved there
        arpTargets_.clear();
        pauses_.clear();
        pages_.clear();
        const WebEnableReport report = Run();
        EXPECT_EQ(report.end, WebEnableEnd::PageOpened);
        EXPECT_EQ(arpTargets_, std::vector<Ipv4Address>(1 + c.attempt, candidate));
        EXPECT_EQ(pauses_, c.pauses);
        EXPECT_EQ(pages_, std::vector<std::string>{"HTTP://10.0.1.123"});
        lan_.reset();
    }
}

// An answer to the read that does not hold every field the refresh reads tells nothing of
// the controller: the run ends with message 106, nothing written, no ARP.
TEST_F(OneClickDecisions, AReadAnswerTooShortForItsFieldsIsAFailedRead) {
    const struct {
        bool dhcp;
        std::size_t length;
        bool accepted;
    } cases[] = {
        {false, 20, false},  {false, 136, false}, {false, 150, false}, {false, 151, true},
        {true, 151, false},  {true, 404, false},  {true, 415, false},  {true, 416, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.dhcp ? "DHCP, " : "") + std::to_string(c.length) + " bytes");
        auto spec = Controller(kSerial, kAddress);
        spec.dhcp = c.dhcp;
        spec.dhcpIp = kAddress;
        spec.dhcpMask = MakeIpv4(255, 255, 255, 0);
        Start({spec});
        sim::Behaviour shortAnswer;
        shortAnswer.replyLengths = {c.length};
        lan_->SetBehaviour(kSerial, shortAnswer);
        arpTargets_.clear();
        dialog_.told.clear();
        dialog_.cursors.clear();
        const WebEnableReport report = Run();
        if (c.accepted) {
            EXPECT_EQ(report.end, WebEnableEnd::PageOpened);
            EXPECT_EQ(report.presentAddress, kAddress);
            EXPECT_FALSE(report.moved);
        } else {
            EXPECT_EQ(report.end, WebEnableEnd::ReadFailed);
            EXPECT_EQ(dialog_.told, std::vector<Outcome>{Outcome::ControllerUnreachable});
            EXPECT_TRUE(arpTargets_.empty());
            EXPECT_EQ(Frames(), Names{"read"});
            EXPECT_EQ(dialog_.cursors, "WA");
        }
        lan_.reset();
    }
}

TEST_F(OneClickDecisions, DhcpMarkerTakesTheAddressesFromTheDhcpFields) {
    auto spec = Controller(kSerial, kAddress);
    spec.dhcp = true;
    spec.dhcpIp = MakeIpv4(10, 0, 1, 77);
    spec.dhcpMask = MakeIpv4(255, 255, 255, 128);
    spec.dhcpGateway = MakeIpv4(10, 0, 1, 126);
    Start({spec});
    ControllerRecord refreshed;
    onArp_ = [&] { refreshed = Selected(); };
    const WebEnableReport report = Run();
    EXPECT_EQ(report.presentAddress, spec.dhcpIp);
    EXPECT_EQ(probed_, std::vector<Ipv4Address>{spec.dhcpIp});
    EXPECT_EQ(refreshed.ip, spec.dhcpIp);
    EXPECT_EQ(refreshed.mask, spec.dhcpMask);
    EXPECT_EQ(refreshed.gateway, spec.dhcpGateway);
    EXPECT_EQ(refreshed.dhcpMarker, 0xA5u);
}

TEST_F(OneClickDecisions, TheReadRefreshesTheRecordBeforeTheCheck) {
    Start({Controller(kSerial, kAddress)});
    // The controller moves after the search: the list still shows 10.0.1.42.
    const Ipv4Address moved = MakeIpv4(10, 0, 1, 99);
    link_.SetCurrentVariantCode(1);
    link_.ClearTransmitBuffer();
    LayNetworkGroup(link_.Transmit(), moved, MakeIpv4(255, 255, 255, 0), 0);
    ASSERT_EQ(link_.WriteSettings(testing::kPcAddress, kSerial), CommandReply::Answered);
    lan_->ClearLog();

    const WebEnableReport report = Run();
    EXPECT_EQ(report.presentAddress, moved);
    EXPECT_EQ(probed_, std::vector<Ipv4Address>{moved});
    EXPECT_EQ(pages_, std::vector<std::string>{"HTTP://10.0.1.99"});
}

TEST_F(OneClickDecisions, NoSelectedRowAsksForASelectionAndSendsNothing) {
    Start({Controller(kSerial, kAddress)});
    dialog_.selected.reset();
    const WebEnableReport report = Run();
    EXPECT_EQ(report.end, WebEnableEnd::NoSelection);
    EXPECT_EQ(dialog_.told, std::vector<Outcome>{Outcome::NoControllerSelected});
    EXPECT_TRUE(lan_->Log().empty());
    EXPECT_TRUE(arpTargets_.empty());
    EXPECT_EQ(dialog_.cursors, "") << "the cursor is not touched";
}

TEST_F(OneClickDecisions, AnUnansweredReadTellsTheControllerIsUnreachableWithoutAnyArp) {
    Start({Controller(kSerial, kAddress)});
    sim::Behaviour silent;
    silent.neverAnswers = true;
    lan_->SetBehaviour(kSerial, silent);
    const WebEnableReport report = Run();
    EXPECT_EQ(report.end, WebEnableEnd::ReadFailed);
    EXPECT_EQ(dialog_.told, std::vector<Outcome>{Outcome::ControllerUnreachable});
    EXPECT_TRUE(arpTargets_.empty());
    EXPECT_EQ(Frames(), Names{"read"});
}

}  // namespace
}  // namespace lumaro
