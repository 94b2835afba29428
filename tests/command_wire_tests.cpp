// Commands and the exchange on the test LAN: the frames the controllers receive, the
// reply rule and the sequence counter.

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

#include "link/byte_io.h"
#include "link/frame.h"
#include "link/masked_write.h"
#include "tests/command_reply_printer.h"
#include "tests/lan_fixture.h"

namespace lumaro {
namespace {

using namespace std::chrono_literals;
using testing::Controller;
using testing::FindRecord;
using testing::kPcAddress;
using testing::StartControllers;

constexpr std::uint32_t kSerial = 4242;
constexpr std::uint32_t kOtherSerial = 5151;
const Ipv4Address kControllerIp = MakeIpv4(10, 0, 1, 42);
const Ipv4Address kOtherIp = MakeIpv4(10, 0, 1, 51);

// A LAN of two controllers, found by a search, with a link whose clock is fixed.
class CommandsOnTheLan : public ::testing::Test {
protected:
    void SetUp() override {
        auto first = Controller(kSerial, kControllerIp);
        first.variantCode = 5;
        lan_ = StartControllers({first, Controller(kOtherSerial, kOtherIp)});
        ASSERT_TRUE(lan_);
        SearchControllers(link_);
        ASSERT_NE(FindRecord(link_.Table(), kSerial), nullptr);
        lan_->ClearLog();
        link_.SetCurrentVariantCode(5);
        link_.SetSequenceCounter(0x01020304);
    }

    // Frames that the addressed controller received since the search.
    std::vector<sim::ReceivedFrame> Received() const { return lan_->LogOf(kSerial); }

    // The controller answers a probe with datagrams of these lengths, in order.
    struct ReplyLengthCase {
        std::vector<std::size_t> lengths;
        CommandReply reply;       // of the probe
        std::size_t replyBytes;   // of the datagram taken as the reply, when one was
    };
    void ExpectProbeAnswered(const ReplyLengthCase& c) {
        sim::Behaviour behaviour;
        behaviour.replyLengths = c.lengths;
        lan_->SetBehaviour(kSerial, behaviour);
        link_.SetSequenceCounter(7);
        EXPECT_EQ(link_.ProbeController(kControllerIp, kPcAddress, kSerial), c.reply)
            << "first length " << c.lengths.front();
        if (c.reply == CommandReply::Answered) {
            EXPECT_EQ(link_.ReceivedReply().size(), c.replyBytes) << "first length " << c.lengths.front();
        }
    }

    std::optional<platform::CalendarTime> clock_ = platform::CalendarTime{2024, 3, 10, 0, 9, 5, 7};
    ControllerLink link_{LinkEnvironment{
        .readAddressTable = platform::ReadLocalAddressTable,
        .secondsSince1970 = [] { return std::int64_t{0x1122334455}; },
        .localNow = [this] { return clock_; },
    }};
    std::unique_ptr<testing::TestLan> lan_;
};

struct ExpectedFrame {
    std::uint8_t group;
    std::uint8_t code;
    std::size_t length;
    bool broadcast;
};

void ExpectHeader(const sim::ReceivedFrame& frame, const ExpectedFrame& expected,
                  std::uint32_t sequence) {
    ASSERT_EQ(frame.bytes.size(), expected.length);
    const ByteReader bytes(frame.bytes);
    EXPECT_EQ(bytes.U8(0), expected.group);
    EXPECT_EQ(bytes.U8(1), expected.code);
    EXPECT_TRUE(frame.checksumValid);
    EXPECT_EQ(bytes.Le32(4), sequence);
    EXPECT_EQ(bytes.Le32(8), 0u);
    EXPECT_EQ(bytes.Le32(12), kSerial);
    EXPECT_EQ(bytes.U8(16) | bytes.U8(17) | bytes.U8(19), 0);
    EXPECT_EQ(bytes.U8(18), 5);
    EXPECT_EQ(frame.broadcast, expected.broadcast);
    EXPECT_EQ(frame.source, kPcAddress);
}

TEST_F(CommandsOnTheLan, ProbeGoesUnicastWithFourFFBytes) {
    EXPECT_EQ(link_.ProbeController(kControllerIp, kPcAddress, kSerial), CommandReply::Answered);
    const auto frames = Received();
    ASSERT_EQ(frames.size(), 1u);
    ExpectHeader(frames[0], {0x20, 0x10, 24, false}, 0x01020304);
    EXPECT_EQ(std::vector<std::uint8_t>(frames[0].bytes.begin() + 20, frames[0].bytes.end()),
              (std::vector<std::uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_TRUE(lan_->LogOf(kOtherSerial).empty()) << "a unicast reaches one controller only";
    EXPECT_EQ(link_.SequenceCounter(), 0x01020305u);
}

TEST_F(CommandsOnTheLan, ReadNetworkParametersLeavesTheReplyInTheReceiveBuffer) {
    EXPECT_EQ(link_.ReadNetworkParameters(kPcAddress, kSerial), CommandReply::Answered);
    const auto frames = Received();
    ASSERT_EQ(frames.size(), 1u);
    ExpectHeader(frames[0], {0x24, 0x10, 20, true}, 0x01020304);

    ControllerRecord refreshed;
    ApplyNetworkReply(refreshed, link_.ReceivedReply());
    EXPECT_EQ(refreshed.ip, kControllerIp);
    EXPECT_EQ(ByteReader(link_.ReceivedReply()).Le32(8), kSerial);
}

TEST_F(CommandsOnTheLan, ClockCarriesTheLocalTimeInBcd) {
    struct Case { platform::CalendarTime time; std::array<std::uint8_t, 8> payload; };
    const Case cases[] = {
        {{2024, 3, 10, 0, 9, 5, 7}, {0x24, 0x03, 0x10, 0x00, 0x09, 0x05, 0x07, 0xFF}},
        {{2099, 12, 31, 4, 23, 59, 59}, {0x99, 0x12, 0x31, 0x04, 0x23, 0x59, 0x59, 0xFF}},
    };
    for (const Case& c : cases) {
        lan_->ClearLog();
        clock_ = c.time;
        EXPECT_EQ(link_.SetControllerClock(kPcAddress, kSerial), CommandReply::Answered);
        const auto frames = Received();
        ASSERT_EQ(frames.size(), 1u);
        ExpectHeader(frames[0], {0x20, 0x30, 28, true}, link_.SequenceCounter() - 1);
        EXPECT_EQ(lan_->LastClockPayload(kSerial), c.payload) << c.time.year;
    }
}

TEST_F(CommandsOnTheLan, ClockGoesOutEvenWhenLocalTimeIsUnknown) {
    clock_ = std::nullopt;
    EXPECT_EQ(link_.SetControllerClock(kPcAddress, kSerial), CommandReply::Answered);
    EXPECT_EQ(lan_->LastClockPayload(kSerial),
              (std::array<std::uint8_t, 8>{0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

TEST_F(CommandsOnTheLan, WriteChangesOnlyTheMarkedBytesOfTheImage) {
    const sim::ParameterImage before = lan_->Image(kSerial);
    link_.ClearTransmitBuffer();
    LaySettingsGroup(link_.Transmit(), 80, 4, 1);
    // Unmarked garbage in the image must not reach the controller.
    link_.Transmit()[119] = 0x77;
    link_.Transmit()[500] = 0x66;
    EXPECT_EQ(link_.WriteSettings(kPcAddress, kSerial), CommandReply::Answered);

    const auto frames = Received();
    ASSERT_EQ(frames.size(), 1u);
    ExpectHeader(frames[0], {0x25, 0x20, 1172, true}, 0x01020304);
    EXPECT_EQ(frames[0].bytes[1056], 0xF7);

    const sim::ParameterImage after = lan_->Image(kSerial);
    for (std::size_t frameByte = 20; frameByte < 1044; ++frameByte) {
        const std::size_t i = frameByte - sim::kImageFrameOffset;
        const bool marked = frameByte >= 116 && frameByte <= 123 && frameByte != 119;
        EXPECT_EQ(after[i], marked ? link_.Transmit()[frameByte] : before[i])
            << "frame byte " << frameByte;
    }
}

TEST_F(CommandsOnTheLan, NetworkWriteMovesTheControllerToItsNewAddress) {
    const Ipv4Address moved = MakeIpv4(10, 0, 1, 142);
    link_.ClearTransmitBuffer();
    LayNetworkGroup(link_.Transmit(), moved, MakeIpv4(255, 255, 255, 0), 0);
    EXPECT_EQ(link_.WriteSettings(kPcAddress, kSerial), CommandReply::Answered);

    EXPECT_EQ(lan_->Current(kSerial).ip, moved);
    EXPECT_EQ(link_.ProbeController(moved, kPcAddress, kSerial), CommandReply::Answered);
    EXPECT_EQ(link_.ProbeController(kControllerIp, kPcAddress, kSerial), CommandReply::Silent);
    SearchControllers(link_);
    const ControllerRecord* record = FindRecord(link_.Table(), kSerial);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->ip, moved);
    EXPECT_EQ(record->gateway, 0u);
}

TEST_F(CommandsOnTheLan, RestartAfterAWebOffWriteCarriesZeroPayload) {
    link_.ClearTransmitBuffer();
    LayWebOffSettingsGroup(link_.Transmit(), 0);
    EXPECT_EQ(link_.WriteSettings(kPcAddress, kSerial), CommandReply::Answered);
    EXPECT_EQ(link_.RestartController(kPcAddress, kSerial), CommandReply::Answered);

    const auto frames = Received();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].bytes[1056], 0xF3);
    ExpectHeader(frames[1], {0x20, 0x90, 24, true}, 0x01020305);
    EXPECT_EQ(std::vector<std::uint8_t>(frames[1].bytes.begin() + 20, frames[1].bytes.end()),
              (std::vector<std::uint8_t>{0, 0, 0, 0}));
    EXPECT_EQ(link_.Transmit()[121], 0x20) << "the buffer still holds the settings";
    EXPECT_EQ(lan_->RestartCount(kSerial), 1u);
    EXPECT_EQ(lan_->Current(kSerial).webPort, 0);
}

TEST_F(CommandsOnTheLan, SequenceRuleJudgesTheReplyAndAdvancesTheCounter) {
    struct Case {
        const char* what;
        std::uint32_t counter;
        bool wrongSequence;
        bool neverAnswers;
        CommandReply reply;
        std::uint32_t counterAfter;
    };
    const Case cases[] = {
        {"matching reply", 1000, false, false, CommandReply::Answered, 1001},
        {"wrong sequence", 1000, true, false, CommandReply::WrongSequence, 1001},
        {"no reply", 1000, false, true, CommandReply::Silent, 1000},
        {"counter 0 takes any reply", 0, true, false, CommandReply::Answered, 1},
        {"counter all ones takes any reply and wraps", 0xFFFFFFFF, true, false,
         CommandReply::Answered, 0},
    };
    for (const Case& c : cases) {
        sim::Behaviour behaviour;
        behaviour.wrongSequence = c.wrongSequence;
        behaviour.neverAnswers = c.neverAnswers;
        lan_->SetBehaviour(kSerial, behaviour);
        link_.SetSequenceCounter(c.counter);
        EXPECT_EQ(link_.RestartController(kPcAddress, kSerial), c.reply) << c.what;
        EXPECT_EQ(link_.SequenceCounter(), c.counterAfter) << c.what;
    }
}

TEST_F(CommandsOnTheLan, CommandWithoutReplyLeavesItsSequenceForTheNext) {
    sim::Behaviour silent;
    silent.neverAnswers = true;
    lan_->SetBehaviour(kSerial, silent);
    EXPECT_EQ(link_.ProbeController(kControllerIp, kPcAddress, kSerial), CommandReply::Silent);
    lan_->SetBehaviour(kSerial, {});
    EXPECT_EQ(link_.ProbeController(kControllerIp, kPcAddress, kSerial), CommandReply::Answered);

    const auto frames = Received();
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(ByteReader(frames[0].bytes).Le32(4), 0x01020304u);
    EXPECT_EQ(ByteReader(frames[1].bytes).Le32(4), 0x01020304u);
}

TEST_F(CommandsOnTheLan, UnknownHostInterfaceFailsAtOnceWithoutSending) {
    // "At once": the drain, which starts by reading the clock of its time limit, never
    // begins.
    int clockReads = 0;
    LinkEnvironment environment = LinkEnvironment::System();
    environment.steadyNow = [&clockReads] {
        ++clockReads;
        return std::chrono::steady_clock::now();
    };
    ControllerLink link(std::move(environment));
    SearchControllers(link);
    ASSERT_NE(FindRecord(link.Table(), kSerial), nullptr);
    lan_->ClearLog();
    link.SetSequenceCounter(0x01020304);
    clockReads = 0;
    EXPECT_EQ(link.ProbeController(kControllerIp, MakeIpv4(10, 9, 9, 9), kSerial), CommandReply::Silent);
    EXPECT_EQ(clockReads, 0) << "the command began to wait";
    EXPECT_EQ(link.SequenceCounter(), 0x01020304u);
    EXPECT_TRUE(Received().empty());
}

TEST_F(CommandsOnTheLan, ShortDatagramsAreNotTakenAsTheReply) {
    const ReplyLengthCase cases[] = {
        {{19}, CommandReply::Silent, 0},
        {{3, 4}, CommandReply::Silent, 0},
        {{20}, CommandReply::Answered, 20},
        {{19, 20}, CommandReply::Answered, 20},  // the 19 bytes are passed over, the 20 end the wait
    };
    for (const ReplyLengthCase& c : cases) ExpectProbeAnswered(c);
}

TEST_F(CommandsOnTheLan, DatagramLargerThanTheReceiveBufferIsPassedOver) {
    // The receive buffer holds 2048 bytes: a larger datagram fails to receive, and the
    // wait goes on as after a short one.
    const ReplyLengthCase cases[] = {
        {{2048}, CommandReply::Answered, 2048},
        {{2049}, CommandReply::Silent, 0},
        {{2049, 24}, CommandReply::Answered, 24},
        {{9000, 64}, CommandReply::Answered, 64},
    };
    for (const ReplyLengthCase& c : cases) ExpectProbeAnswered(c);
}

TEST_F(CommandsOnTheLan, PortUnreachableAnswerNeitherEndsNorShortensTheWait) {
    // With port 60000 closed the controller's host answers the unicast probe with ICMP
    // "port unreachable" (on Windows the next receive then fails with WSAECONNRESET).
    sim::Behaviour closed;
    closed.portClosed = true;
    lan_->SetBehaviour(kSerial, closed);
    const auto unreachableBefore = testing::PcNetworkCounter("Icmp", "InDestUnreachs");
    ASSERT_TRUE(unreachableBefore);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link_.ProbeController(kControllerIp, kPcAddress, kSerial), CommandReply::Silent);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 2 * 101 * 8ms);
    EXPECT_GT(testing::PcNetworkCounter("Icmp", "InDestUnreachs"), unreachableBefore)
        << "no port unreachable reached the PC";
    EXPECT_EQ(link_.SequenceCounter(), 0x01020304u);

    lan_->SetBehaviour(kSerial, {});
    EXPECT_EQ(link_.ProbeController(kControllerIp, kPcAddress, kSerial), CommandReply::Answered)
        << "the socket works on after the error";
}

TEST_F(CommandsOnTheLan, QueuedDatagramIsDrainedBeforeTheSend) {
    // A datagram with another sequence is already waiting on the socket when the command
    // starts: taken as the reply it would fail the command.
    std::vector<std::uint8_t> stale(64, 0);
    stale[0] = 0x20;
    stale[1] = 0x10;
    PutLe32(stale, 4, 0xDEADBEEF);
    PutLe32(stale, 8, kOtherSerial);
    lan_->SendFrom(kOtherSerial, kPcAddress, link_.Interface(0).socket->LocalPort(), stale);
    const auto sentAt = std::chrono::steady_clock::now();

    EXPECT_EQ(link_.ProbeController(kControllerIp, kPcAddress, kSerial), CommandReply::Answered);
    EXPECT_EQ(ByteReader(link_.ReceivedReply()).Le32(8), kSerial);
    const auto frames = Received();
    ASSERT_EQ(frames.size(), 1u);
    // The request leaves only after 101 quiet slices of 8 ms.
    EXPECT_GE(frames[0].at - sentAt, 800ms);
}

TEST_F(CommandsOnTheLan, LateReplyToAnEarlierCommandIsNotTakenForTheNext) {
    sim::Behaviour late;
    late.replyDelay = 1500ms;
    lan_->SetBehaviour(kSerial, late);
    EXPECT_EQ(link_.ProbeController(kControllerIp, kPcAddress, kSerial), CommandReply::Silent);
    lan_->SetBehaviour(kSerial, {});
    // The late answer arrives while the next command drains the socket.
    EXPECT_EQ(link_.ReadNetworkParameters(kPcAddress, kOtherSerial), CommandReply::Answered);
    EXPECT_EQ(ByteReader(link_.ReceivedReply()).Le32(8), kOtherSerial);
    EXPECT_EQ(ByteReader(link_.ReceivedReply()).U8(1), 0x11);
}

TEST_F(CommandsOnTheLan, SilentControllerCostsTheDrainAndTheWait) {
    sim::Behaviour silent;
    silent.neverAnswers = true;
    lan_->SetBehaviour(kSerial, silent);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(link_.RestartController(kPcAddress, kSerial), CommandReply::Silent);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 2 * 101 * 8ms);
}

}  // namespace
}  // namespace lumaro
