// The one-click web enable on the test LAN: every way through it, frame by frame, against
// the simulated controllers, with real ARP, the real web-port probe and the real pauses.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "link/byte_io.h"
#include "link/controller_text.h"
#include "tests/frame_names.h"
#include "tests/image_watch.h"
#include "tests/lan_fixture.h"
#include "tests/neighbour_hosts.h"
#include "tests/recording_dialog.h"
#include "workflow/web_enable.h"

namespace lumaro {
namespace {

using testing::Controller;
using testing::FindRecord;
using testing::FrameNames;
using testing::kPcAddress;
using testing::NeighbourHosts;
using testing::RecordingDialog;
using testing::StartSimulator;

constexpr std::uint32_t kSerial = 4242;
constexpr std::uint32_t kBystander = 5151;  // another controller that must stay untouched
const Ipv4Address kInSubnet = MakeIpv4(10, 0, 1, 42);
const Ipv4Address kFactoryAddress = MakeIpv4(192, 168, 1, 100);  // another subnet, no route
const Ipv4Address kReservedAddress = MakeIpv4(192, 168, 0, 0);    // never kept
const Ipv4Address kFirstCandidate = MakeIpv4(10, 0, 1, 123);
constexpr int kDateFormat = 4;  // 月/日/年
constexpr int kLanguage = 1;    // English: 0x30

struct Way {
    const char* name;
    Ipv4Address address;            // where the controller is at the start
    std::uint16_t webPort;          // 0: its web server is off
    sim::Behaviour behaviour;
    // Switched on once the controller is listed: a controller that answers nothing, or no
    // ARP (it cannot then answer the PC either), is not found by a search.
    sim::Behaviour behaviourAfterSearch;
    bool everyCandidateTaken;       // neighbours answer ARP for the whole subnet
    std::vector<std::string> frames;
    WebEnableEnd end;
    Ipv4Address finalAddress;       // where it is reachable afterwards
    std::size_t arpRequests;
};

sim::Behaviour Web(bool refuses, bool afterRestart) {
    sim::Behaviour behaviour;
    behaviour.webRefuses = refuses;
    behaviour.webAfterRestart = afterRestart;
    return behaviour;
}
sim::Behaviour Silent() {
    sim::Behaviour behaviour;
    behaviour.neverAnswers = true;
    return behaviour;
}
sim::Behaviour KeepsAddress() {
    sim::Behaviour behaviour;
    behaviour.keepsAddress = true;
    return behaviour;
}
const sim::Behaviour kNormal{};

const Way kWays[] = {
    {"AddressKeptWebAnswers", kInSubnet, 80, kNormal, kNormal, false, {"read", "probe"},
     WebEnableEnd::PageOpened, kInSubnet, 1},
    {"AddressKeptWebSilent", kInSubnet, 0, kNormal, kNormal, false,
     {"read", "probe", "settings", "restart"}, WebEnableEnd::PageOpened, kInSubnet, 1},
    {"AddressKeptWebRefuses", kInSubnet, 0, Web(true, false), Web(true, false), false,
     {"read", "probe", "settings", "restart"}, WebEnableEnd::PageOpened, kInSubnet, 1},
    {"MovedWebAnswers", kReservedAddress, 80, kNormal, kNormal, false,
     {"read", "settings", "network"}, WebEnableEnd::PageOpened, kFirstCandidate, 2},
    {"MovedWebSilent", kFactoryAddress, 0, Web(false, true), Web(false, true), false,
     {"read", "settings", "network", "settings", "restart"}, WebEnableEnd::PageOpened,
     kFirstCandidate, 2},
    {"NoFreeAddress", kFactoryAddress, 80, kNormal, kNormal, true, {"read"},
     WebEnableEnd::NoFreeAddress, kFactoryAddress, 253},  // every octet but the PC's own
    {"NewAddressNeverAnswersArp", kFactoryAddress, 80, KeepsAddress(), KeepsAddress(), false,
     {"read", "settings", "network"}, WebEnableEnd::NewAddressSilent, kFactoryAddress, 5},
    {"ReadUnanswered", kInSubnet, 80, kNormal, Silent(), false, {"read"},
     WebEnableEnd::ReadFailed, kInSubnet, 0},
};

// Frame bytes that a way may change in the addressed controller's image.
testing::FrameBytes DocumentedBytes(const std::vector<std::string>& frames) {
    testing::FrameBytes bytes;
    for (const std::string& frame : frames) {
        if (frame == "settings") bytes = testing::Union({bytes, testing::written_by::SettingsGroup()});
        if (frame == "network") bytes = testing::Union({bytes, testing::written_by::NetworkGroup()});
    }
    return bytes;
}

class OneClickOnTheLan : public ::testing::TestWithParam<Way> {
protected:
    void SetUp() override {
        const Way& way = GetParam();
        auto controller = Controller(kSerial, way.address);
        controller.webPort = way.webPort;
        controller.variantCode = 3;
        controller.behaviour = way.behaviour;
        lan_ = StartSimulator({controller, Controller(kBystander, MakeIpv4(10, 0, 1, 51))});
        ASSERT_TRUE(lan_);
        if (way.everyCandidateTaken) {
            std::vector<Ipv4Address> taken;
            for (int octet = 2; octet <= 254; ++octet) {
                taken.push_back(MakeIpv4(10, 0, 1, static_cast<std::uint8_t>(octet)));
            }
            neighbours_ = std::make_unique<NeighbourHosts>(taken);
            ASSERT_TRUE(neighbours_->Ready());
        }
        dialog_.dateFormat = kDateFormat;
        dialog_.language = kLanguage;
        dialog_.Search();
        ASSERT_TRUE(dialog_.SelectSerial(kSerial));
        lan_->SetBehaviour(kSerial, way.behaviourAfterSearch);
        lan_->ClearLog();
        watch_ = std::make_unique<testing::ImageWatch>(*lan_);

        system_ = WebEnableSystem::System();
        system_.arp = [this](Ipv4Address target, Ipv4Address source) {
            arpTargets_.push_back(target);
            return platform::RequestHardwareAddress(target, source);
        };
        system_.openPage = [this](const std::string& page) { pagesOpened_.push_back(page); };
    }

    std::unique_ptr<sim::Simulator> lan_;
    std::unique_ptr<NeighbourHosts> neighbours_;
    ControllerLink link_;
    RecordingDialog dialog_{link_};
    WebEnableSystem system_;
    std::vector<Ipv4Address> arpTargets_;
    std::vector<std::string> pagesOpened_;
    std::unique_ptr<testing::ImageWatch> watch_;  // every controller's image before the run
};

TEST_P(OneClickOnTheLan, SendsTheFramesOfItsWayAndEndsAsItShould) {
    const Way& way = GetParam();
    const auto start = std::chrono::steady_clock::now();
    const WebEnableReport report = EnableWebProcedure(link_, dialog_, system_);
    const auto took = std::chrono::steady_clock::now() - start;
    std::printf("%s took %lld ms\n", way.name,
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(took).count()));

    const auto frames = lan_->LogOf(kSerial);
    EXPECT_EQ(FrameNames(frames), way.frames);
    EXPECT_EQ(report.end, way.end);
    EXPECT_EQ(arpTargets_.size(), way.arpRequests);
    for (const sim::ReceivedFrame& frame : lan_->LogOf(kBystander)) {
        if (testing::IsDiscovery(frame)) continue;
        EXPECT_EQ(ByteReader(frame.bytes).Le32(12), kSerial) << "nothing is addressed to another";
    }

    // Every frame: from the PC, addressed to the serial, with the controller's variant code;
    // broadcast but for the probe, which goes to the controller's address.
    for (const sim::ReceivedFrame& frame : frames) {
        if (testing::IsDiscovery(frame)) continue;
        const ByteReader bytes(frame.bytes);
        EXPECT_EQ(frame.source, kPcAddress);
        EXPECT_EQ(bytes.Le32(12), kSerial);
        EXPECT_EQ(bytes.U8(18), 3);
        EXPECT_TRUE(frame.checksumValid);
        const std::string name = testing::FrameName(frame);
        EXPECT_EQ(frame.broadcast, name != "probe") << name;
        if (name == "probe") {
            EXPECT_EQ(frame.destination, way.address);
        }
        if (name == "settings") {
            EXPECT_EQ(bytes.Le16(116), 80);
            EXPECT_EQ(bytes.U8(118), kDateFormat);
            EXPECT_EQ(bytes.U8(121), 0x30);
            EXPECT_EQ(bytes.U8(1044) | bytes.U8(1045) | bytes.U8(1060), 0) << "settings alone";
        }
        if (name == "network") {
            EXPECT_EQ(bytes.Le32(20), kFirstCandidate);
            EXPECT_EQ(bytes.Le32(24), MakeIpv4(255, 255, 255, 0)) << "the PC's mask";
            EXPECT_EQ(bytes.Le32(28), 0u) << "no gateway";
            EXPECT_EQ(bytes.Le16(32), 60000);
            EXPECT_EQ(bytes.U8(1056), 0) << "network group alone";
        }
        if (name == "restart") {
            EXPECT_EQ(bytes.Le32(20), 0u);
        }
    }

    // No byte that the way does not document changed, here or in the other controller.
    EXPECT_TRUE(watch_->ChangedOnly({{kSerial, DocumentedBytes(way.frames)}}));

    if (way.end == WebEnableEnd::PageOpened) {
        EXPECT_EQ(report.pageAddress, "HTTP://" + FormatAddress(way.finalAddress));
        EXPECT_EQ(pagesOpened_, std::vector<std::string>{report.pageAddress});
        EXPECT_TRUE(dialog_.told.empty());
        EXPECT_EQ(dialog_.searches, 2) << "the procedure searches again at its end";
        ASSERT_TRUE(dialog_.selected);
        EXPECT_EQ(dialog_.SelectedSerial(), kSerial) << "the same controller reselected";
        const ControllerRecord* record = FindRecord(link_.Table(), kSerial);
        ASSERT_NE(record, nullptr);
        EXPECT_EQ(record->ip, way.finalAddress);
        EXPECT_EQ(record->webPort, 80u) << "its web server is on now";
        EXPECT_EQ(lan_->Current(kSerial).webPort, 80);
        EXPECT_EQ(dialog_.cursors, "WA");
    } else {
        const Outcome told = way.end == WebEnableEnd::ReadFailed ? Outcome::ControllerUnreachable
                                                                 : Outcome::WebAccessFailed;
        EXPECT_EQ(dialog_.told, std::vector<Outcome>{told});
        EXPECT_TRUE(pagesOpened_.empty());
        EXPECT_EQ(dialog_.searches, 1) << "no search after a failure";
        EXPECT_EQ(dialog_.cursors, "WA") << "the arrow comes back before the message";
    }
}

INSTANTIATE_TEST_SUITE_P(EveryWayThrough, OneClickOnTheLan, ::testing::ValuesIn(kWays),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace lumaro
