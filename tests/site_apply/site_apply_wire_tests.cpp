// Applying a site's plan on the test LAN, in this process: the swap and a three-ring through
// held addresses with no moment where two controllers answer one address (the simulator's
// log, write by write), a controller that stays silent during its write, and a plan applied
// a second time writing nothing. Real ARP, the real link, the console's stand-in for the
// window, the real pauses.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "cli/console_dialog.h"
#include "link/byte_io.h"
#include "link/controller_text.h"
#include "link/search.h"
#include "tests/frame_names.h"
#include "tests/image_watch.h"
#include "tests/lan_fixture.h"
#include "workflow/site_apply.h"

namespace lumaro {
namespace {

using testing::Controller;
using testing::StartSimulator;

constexpr std::uint32_t kBystander = 223000101;  // not in the plan: never touched
constexpr std::size_t kArpAtOnce = 16;

Ipv4Address Host(int octet) { return MakeIpv4(10, 0, 1, static_cast<std::uint8_t>(octet)); }

SiteLane MakeLane() {
    SiteLane lane;
    lane.link = std::make_unique<ControllerLink>();
    auto dialog = std::make_unique<ConsoleDialog>(*lane.link, 0, 0, nullptr);
    ConsoleDialog* console = dialog.get();
    lane.typeAddresses = [console](const TypedAddresses& typed) { console->SetTypedAddresses(typed); };
    lane.dialog = std::move(dialog);
    return lane;
}

// Each controller's address through the log, write by write: where a network write that a
// controller took puts it on an address that another holds at that moment.
std::vector<std::string> MomentsOfOneAddressForTwo(const std::vector<sim::ReceivedFrame>& log,
                                                    std::map<std::uint32_t, Ipv4Address> addresses) {
    std::vector<std::string> moments;
    for (const sim::ReceivedFrame& frame : log) {
        const ByteReader bytes(frame.bytes);
        const bool networkWrite = frame.bytes.size() == 1172 && bytes.U8(0) == 0x25 &&
                                  bytes.U8(1) == 0x20 && bytes.U8(1044) == 0xFF;
        if (!networkWrite || bytes.Le32(12) != frame.controllerSerial) continue;
        const Ipv4Address to = bytes.Le32(20);
        addresses[frame.controllerSerial] = to;
        for (const auto& [serial, address] : addresses) {
            if (serial != frame.controllerSerial && address == to) {
                moments.push_back(std::to_string(frame.controllerSerial) + " written to " +
                                  FormatAddress(to) + " while " + std::to_string(serial) + " is there");
            }
        }
    }
    return moments;
}

class SiteApplyOnTheLan : public ::testing::Test {
protected:
    void Start(std::vector<sim::ControllerSpec> controllers) {
        for (const sim::ControllerSpec& spec : controllers) startedAt_[spec.serial] = spec.ip;
        lan_ = StartSimulator(std::move(controllers));
        ASSERT_TRUE(lan_);
    }

    // Searches, plans, writes and searches again, as the console does.
    struct Applied {
        SiteApplyPlan plan;
        std::vector<SiteWriteOutcome> writes;
        std::vector<SiteJudgement> judgements;
        const SiteJudgement& Of(std::uint32_t serial) const {
            for (std::size_t i = 0; i < plan.entries.size(); ++i) {
                if (plan.entries[i].serial == serial) return judgements[i];
            }
            static const SiteJudgement none;
            ADD_FAILURE() << "no entry for " << serial;
            return none;
        }
    };
    Applied Apply(const std::string& planText) {
        const SitePlanReading reading = ReadSitePlan(planText);
        EXPECT_TRUE(reading.Read());
        ControllerLink link;
        SearchControllers(link);
        std::vector<platform::LocalAddress> subnets;
        for (std::size_t i = 0; i < link.InterfaceCount(); ++i) {
            subnets.push_back({link.Interface(i).address, link.Interface(i).mask});
        }
        Applied applied;
        applied.plan = PlanSiteApply(reading.plan, link.Table(), subnets,
                                     platform::RequestHardwareAddress, kArpAtOnce);
        // Started at once, and the first lane made late: only the order of the plan keeps a
        // controller from being written onto an address before its holder has left it.
        std::atomic<int> lanes = 0;
        const SiteLaneMaker makeLane = [&lanes] {
            if (lanes++ == 0) std::this_thread::sleep_for(std::chrono::seconds(2));
            return MakeLane();
        };
        SiteWriteOptions options;
        options.pace = {.jobs = 8, .startSpacing = {}};
        applied.writes = RunSiteWrites(applied.plan, link.Table(), makeLane, options,
                                       [](const SiteStepEnd&, const SideBySideProgress&) {});
        SearchControllers(link);
        applied.judgements = JudgeSite(applied.plan, applied.writes, link.Table());
        return applied;
    }

    std::unique_ptr<sim::Simulator> lan_;
    std::map<std::uint32_t, Ipv4Address> startedAt_;
};

// 100 and 200 swap; 300 goes to 400's address, 400 to 500's, 500 to 300's. Each ring's
// lowest serial is written to a free address first, and to its planned one last.
TEST_F(SiteApplyOnTheLan, TheSwapAndAThreeRingGoThroughHeldAddressesAndNoTwoMeetOnOneAddress) {
    Start({Controller(100, Host(10)), Controller(200, Host(20)), Controller(300, Host(30)),
           Controller(400, Host(40)), Controller(500, Host(50)), Controller(kBystander, Host(60))});
    const testing::ImageWatch watch(*lan_);
    const std::string planText =
        "serial,ip,location\r\n"
        "100,10.0.1.20,swap\r\n200,10.0.1.10,swap\r\n"
        "300,10.0.1.40,ring\r\n400,10.0.1.50,ring\r\n500,10.0.1.30,ring\r\n";

    const Applied applied = Apply(planText);
    ASSERT_FALSE(applied.plan.Refused());
    const std::map<std::uint32_t, Ipv4Address> planned = {
        {100, Host(20)}, {200, Host(10)}, {300, Host(40)}, {400, Host(50)}, {500, Host(30)}};
    testing::AllowedChanges allowed;
    for (const auto& [serial, address] : planned) {
        SCOPED_TRACE(serial);
        EXPECT_EQ(applied.Of(serial).verdict, SiteVerdict::Changed);
        EXPECT_EQ(lan_->Current(serial).ip, address);
        allowed[serial] = testing::Union({testing::written_by::NetworkGroup(), testing::written_by::SettingsGroup()});
    }
    EXPECT_EQ(applied.Of(kBystander).verdict, SiteVerdict::LeftAlone);
    EXPECT_TRUE(watch.ChangedOnly(allowed));

    lan_->WaitUntilIdle();
    const std::vector<sim::ReceivedFrame> log = lan_->Log();
    EXPECT_EQ(MomentsOfOneAddressForTwo(log, startedAt_), std::vector<std::string>{});
    // Each ring's lowest serial went through an address of its own in the PC's subnet.
    std::vector<Ipv4Address> through;
    for (std::uint32_t serial : {100u, 300u}) {
        std::vector<Ipv4Address> written;
        for (const auto& frame : testing::FramesAddressedTo(log, serial)) {
            if (frame.size() == 1172 && frame[1044] == 0xFF) written.push_back(ByteReader(frame).Le32(20));
        }
        ASSERT_EQ(written.size(), 2u) << serial << ": to the held address, then the planned one";
        EXPECT_EQ(written[1], planned.at(serial));
        through.push_back(written[0]);
    }
    EXPECT_NE(through[0], through[1]);
    EXPECT_EQ(testing::FramesAddressedTo(log, kBystander).size(), 0u);

    // Applying the same plan again writes nothing, and every row is as planned.
    lan_->ClearLog();
    const Applied again = Apply(planText);
    EXPECT_EQ(again.plan.ToWrite(), 0u);
    for (const auto& [serial, address] : planned) {
        EXPECT_EQ(again.Of(serial).verdict, SiteVerdict::AsPlanned) << serial;
    }
    lan_->WaitUntilIdle();
    EXPECT_EQ(testing::FrameNames(lan_->Log()), std::vector<std::string>{}) << "only the searches";
}

// 100 takes the writes' frames and never acts or answers; 200 is planned onto 100's address;
// 300 moves on its own. 100 fails with its reason, 200 is not written (100 never left), 300
// is as planned.
TEST_F(SiteApplyOnTheLan, AControllerSilentDuringItsWriteFailsAndWhoWaitsForItIsNotWritten) {
    auto silent = Controller(100, Host(10));
    silent.behaviour.answersOnlySearch = true;
    Start({silent, Controller(200, Host(20)), Controller(300, MakeIpv4(192, 168, 1, 100)),
           Controller(kBystander, Host(60))});
    const testing::ImageWatch watch(*lan_);

    const Applied applied = Apply(
        "serial,ip,mask,gateway\r\n100,10.0.1.11,,\r\n200,10.0.1.10,,\r\n"
        "300,10.0.1.30,255.255.255.0,10.0.1.254\r\n");
    ASSERT_FALSE(applied.plan.Refused());
    EXPECT_EQ(applied.Of(100).verdict, SiteVerdict::Failed);
    EXPECT_EQ(applied.Of(100).failure, SiteFailure::Silent);
    EXPECT_EQ(applied.Of(200).verdict, SiteVerdict::Failed);
    EXPECT_EQ(applied.Of(200).failure, SiteFailure::HolderStayed);
    EXPECT_EQ(applied.Of(300).verdict, SiteVerdict::Changed);
    EXPECT_EQ(lan_->Current(300).ip, Host(30));
    EXPECT_EQ(lan_->Current(200).ip, Host(20)) << "never written while 100 answers at .10";
    EXPECT_TRUE(watch.ChangedOnly(
        {{300, testing::Union({testing::written_by::NetworkGroup(), testing::written_by::SettingsGroup()})}}));
    lan_->WaitUntilIdle();
    EXPECT_EQ(testing::FramesAddressedTo(lan_->Log(), 200).size(), 0u);
}

}  // namespace
}  // namespace lumaro
