// How ARP's answers are read, without a LAN: what Windows' SendARP results mean, and how an
// answer is read out of a neighbour table that shows no age (the Win32 fallback). Portable:
// these tables also run in the Windows test program under Wine.

#include <gtest/gtest.h>

#include <chrono>

#include "platform/arp/neighbour_watch.h"
#include "platform/arp/windows_send_arp_result.h"

namespace lumaro::platform {
namespace {

using namespace std::chrono_literals;
using Outcome = ArpResult::Outcome;

const HardwareAddress kHost{0x02, 0x4C, 0x00, 0x00, 0x00, 0x64};
const HardwareAddress kOther{0x02, 0x99, 0x99, 0x99, 0x99, 0x99};

TEST(SendArpResults, OnlyTheTwoNobodyAnsweredCodesMeanNobodyAnswered) {
    const struct {
        const char* name;
        std::uint32_t result;
        std::uint32_t length;
        std::optional<Outcome> outcome;  // nothing: not supported, ask the neighbour table
    } cases[] = {
        {"answered", 0, 6, Outcome::Answered},
        {"answered without a whole address", 0, 4, Outcome::CouldNotAsk},
        {"ERROR_BAD_NET_NAME: nobody answered", 67, 0, Outcome::NoAnswer},
        {"ERROR_GEN_FAILURE: nobody answered (older systems)", 31, 0, Outcome::NoAnswer},
        {"ERROR_NOT_FOUND: the source address went away", 1168, 0, Outcome::CouldNotAsk},
        {"ERROR_INVALID_PARAMETER", 87, 0, Outcome::CouldNotAsk},
        {"ERROR_BUFFER_OVERFLOW", 111, 0, Outcome::CouldNotAsk},
        {"ERROR_INVALID_USER_BUFFER", 1784, 0, Outcome::CouldNotAsk},
        {"ERROR_NOT_SUPPORTED (Wine)", 50, 0, std::nullopt},
    };
    for (const auto& c : cases) {
        const std::optional<ArpResult> result = ArpResultOfSendArp(c.result, c.length, kHost);
        ASSERT_EQ(result.has_value(), c.outcome.has_value()) << c.name;
        if (!result) continue;
        EXPECT_EQ(result->outcome(), *c.outcome) << c.name;
        EXPECT_EQ(result->Answer(),
                  *c.outcome == Outcome::Answered ? std::optional(kHost) : std::nullopt)
            << c.name;
    }
}

// The entry before the datagram, then the readings after it, each with its time: what the
// watch concludes, and at which reading.
TEST(NeighbourWatchOfATableWithoutAge, AnOldEntryCountsOnlyWhenItOutlastsTheRecheck) {
    struct Reading {
        std::optional<HardwareAddress> entry;
        std::chrono::milliseconds at;
    };
    const struct {
        const char* name;
        std::optional<HardwareAddress> before;
        std::vector<Reading> readings;
        Outcome outcome;
        std::size_t settledAt;  // index of the reading that settles it
    } cases[] = {
        {"new entry answered", std::nullopt, {{std::nullopt, 20ms}, {kHost, 40ms}},
         Outcome::Answered, 1},
        {"no entry within the ARP wait", std::nullopt,
         {{std::nullopt, 20ms}, {std::nullopt, 2980ms}, {std::nullopt, 3000ms}},
         Outcome::NoAnswer, 2},
        {"stale entry dropped by the recheck", kHost, {{kHost, 20ms}, {std::nullopt, 5200ms}},
         Outcome::NoAnswer, 1},
        {"stale entry replaced by another MAC", kHost, {{kHost, 20ms}, {kOther, 5200ms}},
         Outcome::Answered, 1},
        {"entry that outlasts the recheck", kHost,
         {{kHost, 20ms}, {kHost, 8980ms}, {kHost, 9000ms}}, Outcome::Answered, 2},
    };
    for (const auto& c : cases) {
        const NeighbourWatch watch(c.before);
        std::optional<ArpResult> settled;
        std::size_t at = 0;
        for (; at < c.readings.size(); ++at) {
            settled = watch.Reading(c.readings[at].entry, c.readings[at].at);
            if (settled) break;
        }
        ASSERT_TRUE(settled) << c.name;
        EXPECT_EQ(at, c.settledAt) << c.name;
        EXPECT_EQ(settled->outcome(), c.outcome) << c.name;
        if (c.outcome == Outcome::Answered) {
            EXPECT_EQ(settled->Answer(), c.readings[at].entry) << c.name;
        }
    }
}

TEST(ArpResults, TellAnAnswerFromNobodyAndFromARequestNotMade) {
    const ArpResult answered = ArpResult::AnsweredBy(kHost);
    const ArpResult unanswered = ArpResult::NoAnswer();
    const ArpResult notAsked = ArpResult::CouldNotAsk();
    EXPECT_TRUE(answered.Answered());
    EXPECT_EQ(answered.Answer(), kHost);
    EXPECT_TRUE(answered.Asked());
    EXPECT_FALSE(unanswered.Answered());
    EXPECT_EQ(unanswered.Answer(), std::nullopt);
    EXPECT_TRUE(unanswered.Asked());
    EXPECT_FALSE(notAsked.Answered());
    EXPECT_EQ(notAsked.Answer(), std::nullopt);
    EXPECT_FALSE(notAsked.Asked());
    EXPECT_NE(unanswered, notAsked);
    EXPECT_NE(answered, ArpResult::AnsweredBy(kOther));
}

}  // namespace
}  // namespace lumaro::platform
