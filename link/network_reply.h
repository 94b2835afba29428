#pragma once
// Byte offsets of the fields of a network reply (group 0x24, code 0x11), the answer to a
// discovery frame and to a network-parameter read.

#include <cstddef>
#include <cstdint>

namespace lumaro::network_reply {

constexpr std::size_t kMinimumAcceptedBytes = 4;   // group and code must be there
constexpr std::size_t kSerial = 8;                  // 4 bytes, little-endian
constexpr std::size_t kVariantCode = 18;
constexpr std::size_t kMac = 130;                   // 6 bytes, in display order
constexpr std::size_t kMacBytes = 6;
constexpr std::size_t kAddress = 136;               // 4 bytes, first octet first
constexpr std::size_t kMask = 140;
constexpr std::size_t kGateway = 144;
constexpr std::size_t kAddressingMode = 150;       // kDhcpMarker when DHCP is in use
constexpr std::size_t kDhcpAddress = 404;
constexpr std::size_t kDhcpMask = 408;
constexpr std::size_t kDhcpGateway = 412;
constexpr std::size_t kWebPort = 484;               // 2 bytes, little-endian
constexpr std::size_t kLastFieldByte = 485;

}  // namespace lumaro::network_reply

namespace lumaro {

// Byte 150 of a network reply and of the parameter image when the controller takes its
// address by DHCP (DhcpMarker).
constexpr std::uint8_t kDhcpMarker = 0xA5;

}  // namespace lumaro
