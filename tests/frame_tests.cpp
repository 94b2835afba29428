// Frame header, checksum and the reply rule.

#include <gtest/gtest.h>

#include <array>
#include <string_view>
#include <vector>

#include "link/discovery_frames.h"
#include "link/frame.h"

namespace lumaro {
namespace {

TEST(Checksum, IsCrc16ArcWithTheStandardCheckValue) {
    // Leading zero bytes leave a CRC-16/ARC at 0, so four bytes in front of "123456789"
    // (bytes 2-3 holding anything) must give the standard check value 0xBB3D.
    std::vector<std::uint8_t> frame{0, 0, 0xAB, 0xCD};
    for (char digit : std::string_view("123456789")) frame.push_back(static_cast<std::uint8_t>(digit));
    EXPECT_EQ(ComputeChecksum(frame), 0xBB3D);
}

TEST(Checksum, ReproducesTheChecksumOfEveryDiscoveryFrame) {
    for (std::size_t i = 0; i < kDiscoveryFrames.size(); ++i) {
        const DiscoveryFrame& frame = kDiscoveryFrames[i];
        const std::uint16_t carried = static_cast<std::uint16_t>(frame[2] | (frame[3] << 8));
        EXPECT_EQ(ComputeChecksum(frame), carried) << "discovery frame " << i + 1;
    }
    EXPECT_EQ(ComputeChecksum(kDiscoveryFrames[0]), 0x31B0);
}

TEST(Checksum, IgnoresWhatBytesTwoAndThreeHold) {
    DiscoveryFrame frame = kDiscoveryFrames[2];
    const std::uint16_t first = ComputeChecksum(frame);
    frame[2] = 0x12;
    frame[3] = 0xEF;
    EXPECT_EQ(ComputeChecksum(frame), first);
}

TEST(Checksum, OfNothingIsZero) { EXPECT_EQ(ComputeChecksum({}), 0); }

TEST(FrameHeader, ReproducesTheDiscoveryFramesFromTheirFields) {
    const std::array<std::pair<std::uint32_t, std::uint8_t>, 4> fields{
        {{0x0201, 1}, {0x0602, 2}, {0x0803, 3}, {0x0205, 5}}};
    for (std::size_t i = 0; i < fields.size(); ++i) {
        std::array<std::uint8_t, 20> frame;
        frame.fill(0xAA);  // stale bytes everywhere: the header must overwrite all of them
        WriteFrameHeader(frame, 20, 0x24, 0x10, 0xFFFFFFFF, fields[i].first, fields[i].second);
        EXPECT_EQ(frame, kDiscoveryFrames[i]) << "discovery frame " << i + 1;
    }
}

TEST(FrameHeader, CoversThePayloadAndLeavesItUntouched) {
    std::array<std::uint8_t, 32> frame{};
    for (std::size_t i = 20; i < 32; ++i) frame[i] = static_cast<std::uint8_t>(i);
    WriteFrameHeader(frame, 24, 0x20, 0x10, 0x12345678, 0xA1B2C3D4, 7);

    const std::vector<std::uint8_t> expectedHeader{0x20, 0x10, frame[2], frame[3],
                                                   0xD4, 0xC3, 0xB2, 0xA1, 0, 0, 0, 0,
                                                   0x78, 0x56, 0x34, 0x12, 0, 0, 7, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(frame.begin(), frame.begin() + 20), expectedHeader);
    for (std::size_t i = 20; i < 32; ++i) EXPECT_EQ(frame[i], i) << "payload byte " << i;
    EXPECT_EQ(frame[2] | (frame[3] << 8), ComputeChecksum(std::span(frame).first(24)));
    EXPECT_NE(ComputeChecksum(std::span(frame).first(24)),
              ComputeChecksum(std::span(frame).first(20)));
}

TEST(SequenceRule, AcceptsWhatTheRequestSequenceAllows) {
    std::array<std::uint8_t, 20> reply{};
    reply[4] = 0x78; reply[5] = 0x56; reply[6] = 0x34; reply[7] = 0x12;  // 0x12345678
    struct Case { std::uint32_t request; bool matches; };
    const Case cases[] = {
        {0x12345678, true},   // equal
        {0x12345679, false},  // one off
        {0x78563412, false},  // byte order matters
        {0, true},            // a request sent with 0 takes any reply
        {0xFFFFFFFF, true},   // so does one sent with all bits set
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SequenceMatches(c.request, reply), c.matches) << std::hex << c.request;
    }
}

}  // namespace
}  // namespace lumaro
