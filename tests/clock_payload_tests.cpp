// The clock frame's payload.

#include <gtest/gtest.h>

#include <vector>

#include "link/clock_payload.h"

namespace lumaro {
namespace {

TEST(Bcd, KeepsTheLastTwoDecimalDigits) {
    struct Case { int value; std::uint8_t bcd; };
    const Case cases[] = {{0, 0x00}, {9, 0x09}, {10, 0x10}, {59, 0x59}, {99, 0x99},
                          {2024, 0x24}, {2099, 0x99}, {100, 0x00}, {-1, 0xFF}};
    for (const Case& c : cases) EXPECT_EQ(Bcd(c.value), c.bcd) << c.value;
}

TEST(ClockPayload, EncodesLocalDateAndTime) {
    struct Case { platform::CalendarTime time; std::vector<std::uint8_t> bytes; };
    const Case cases[] = {
        {{2024, 3, 10, 0, 9, 5, 7}, {0x24, 0x03, 0x10, 0x00, 0x09, 0x05, 0x07, 0xFF}},
        {{2099, 12, 31, 4, 23, 59, 59}, {0x99, 0x12, 0x31, 0x04, 0x23, 0x59, 0x59, 0xFF}},
    };
    for (const Case& c : cases) {
        const auto payload = EncodeClockPayload(c.time);
        EXPECT_EQ(std::vector<std::uint8_t>(payload.begin(), payload.end()), c.bytes)
            << c.time.year;
    }
}

TEST(ClockPayload, SendsUnknownValuesWhenTheClockCannotBeConverted) {
    const auto payload = EncodeClockPayload(std::nullopt);
    EXPECT_EQ(std::vector<std::uint8_t>(payload.begin(), payload.end()),
              (std::vector<std::uint8_t>{0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}));
}

}  // namespace
}  // namespace lumaro
