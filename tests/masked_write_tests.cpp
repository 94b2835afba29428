// The field groups of the masked parameter write: bytes and mask bits.

#include <gtest/gtest.h>

#include <vector>

#include "link/masked_write.h"

namespace lumaro {
namespace {

// The frame bytes (20-1043) whose mask bit is set.
std::vector<std::size_t> MarkedBytes(const TransmitBuffer& buffer) {
    std::vector<std::size_t> marked;
    for (std::size_t b = kParameterImageOffset; b < kWriteMaskOffset; ++b) {
        if (IsFrameByteMarked(buffer, b)) marked.push_back(b);
    }
    return marked;
}

std::vector<std::size_t> Range(std::size_t first, std::size_t last) {
    std::vector<std::size_t> bytes;
    for (std::size_t b = first; b <= last; ++b) bytes.push_back(b);
    return bytes;
}

TEST(WriteMask, MapsEachImageByteToItsBit) {
    struct Case { std::size_t frameByte; std::size_t maskByte; std::uint8_t bit; };
    const Case cases[] = {{20, 1044, 0x01}, {27, 1044, 0x80}, {28, 1045, 0x01}, {33, 1045, 0x20},
                          {116, 1056, 0x01}, {119, 1056, 0x08}, {123, 1056, 0x80},
                          {150, 1060, 0x04}, {1043, 1171, 0x80}};
    for (const Case& c : cases) {
        EXPECT_EQ(MaskByteOf(c.frameByte), c.maskByte) << "frame byte " << c.frameByte;
        EXPECT_EQ(MaskBitOf(c.frameByte), c.bit) << "frame byte " << c.frameByte;
    }
}

TEST(NetworkGroup, WritesAddressesAndPortAndMarksBytes20To33) {
    TransmitBuffer buffer{};
    LayNetworkGroup(buffer, MakeIpv4(192, 168, 1, 50), MakeIpv4(255, 255, 255, 0),
                    MakeIpv4(192, 168, 1, 1));
    const std::vector<std::uint8_t> expected{192, 168, 1, 50, 255, 255, 255, 0,
                                             192, 168, 1, 1,  0x60, 0xEA};
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin() + 20, buffer.begin() + 34), expected);
    EXPECT_EQ(buffer[1044], 0xFF);
    EXPECT_EQ(buffer[1045], 0x3F);
    EXPECT_EQ(MarkedBytes(buffer), Range(20, 33));
}

TEST(SettingsGroup, WritesWebSettingsAndLeavesByte119Unmarked) {
    TransmitBuffer buffer{};
    LaySettingsGroup(buffer, 80, 5, 0);
    const std::vector<std::uint8_t> expected{0x50, 0x00, 5, 0, 0, 0x20, 0, 0};
    EXPECT_EQ(std::vector<std::uint8_t>(buffer.begin() + 116, buffer.begin() + 124), expected);
    EXPECT_EQ(buffer[1056], 0xF7);
    EXPECT_EQ(MarkedBytes(buffer), (std::vector<std::size_t>{116, 117, 118, 120, 121, 122, 123}));
}

TEST(SettingsGroup, TakesLanguageFromTheSelectedIndex) {
    struct Case { int index; std::uint8_t byte; };
    for (const Case c : {Case{0, 0x20}, Case{1, 0x30}, Case{2, 0x30}, Case{-1, 0x30}}) {
        TransmitBuffer buffer{};
        LaySettingsGroup(buffer, 80, 0, c.index);
        EXPECT_EQ(buffer[121], c.byte) << "language index " << c.index;
        EXPECT_EQ(buffer[120] | buffer[122] | buffer[123], 0);
    }
}

TEST(WebOffSettingsGroup, WritesPortZeroAndLeavesTheDateFormatOut) {
    TransmitBuffer buffer{};
    LayWebOffSettingsGroup(buffer, 1);
    EXPECT_EQ(buffer[116], 0);
    EXPECT_EQ(buffer[117], 0);
    EXPECT_EQ(buffer[118], 0);
    EXPECT_EQ(buffer[121], 0x30);
    EXPECT_EQ(buffer[1056], 0xF3);
    EXPECT_EQ(MarkedBytes(buffer), (std::vector<std::size_t>{116, 117, 120, 121, 122, 123}));
}

TEST(DhcpGroup, SwitchesToFixedAddressesAtByte150) {
    TransmitBuffer buffer{};
    buffer[150] = 0xA5;  // whatever an earlier composition left
    LayDhcpGroup(buffer);
    EXPECT_EQ(buffer[150], 0x00);
    EXPECT_EQ(buffer[1060], 0x04);
    EXPECT_EQ(MarkedBytes(buffer), (std::vector<std::size_t>{150}));
}

TEST(FieldGroups, CombineByOringTheirMaskBits) {
    // The address write of the advanced panel: settings and DHCP first, then the network
    // group on top of the same buffer.
    TransmitBuffer first{};
    LaySettingsGroup(first, 80, 2, 1);
    LayDhcpGroup(first);
    TransmitBuffer second = first;
    LayNetworkGroup(second, MakeIpv4(10, 0, 0, 9), MakeIpv4(255, 0, 0, 0), 0);

    EXPECT_EQ(second[1044], 0xFF);
    EXPECT_EQ(second[1045], 0x3F);
    EXPECT_EQ(second[1056], 0xF7);
    EXPECT_EQ(second[1060], 0x04);
    EXPECT_EQ(first[1044] | first[1045], 0);
    for (std::size_t b = 116; b <= 123; ++b) EXPECT_EQ(first[b], second[b]) << "byte " << b;
    EXPECT_EQ(first[150], second[150]);
}

}  // namespace
}  // namespace lumaro
