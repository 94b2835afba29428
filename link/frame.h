#pragma once
// The 20-byte header that opens every frame, its checksum, the frame kinds and the
// rule by which a reply is taken as the answer to a request.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace lumaro {

// Header byte offsets.
constexpr std::size_t kGroupOffset = 0;
constexpr std::size_t kCodeOffset = 1;
constexpr std::size_t kChecksumOffset = 2;      // 2 bytes, little-endian
constexpr std::size_t kSequenceOffset = 4;      // 4 bytes, little-endian
constexpr std::size_t kSourceSerialOffset = 8;  // 4 bytes, little-endian
constexpr std::size_t kTargetSerialOffset = 12; // 4 bytes, little-endian
constexpr std::size_t kVariantCodeOffset = 18;
constexpr std::size_t kFrameHeaderBytes = 20;
constexpr std::size_t kPayloadOffset = kFrameHeaderBytes;

constexpr std::uint32_t kEveryController = 0xFFFFFFFFu;  // targetSerial of a broadcast to all

// The UDP port on which controllers take frames (ControllerPort).
constexpr std::uint16_t kControllerPort = 60000;

// One request kind: its group and code bytes and its full length in bytes.
struct FrameKind {
    std::uint8_t group;
    std::uint8_t code;
    std::size_t length;
};

constexpr FrameKind kReadNetworkParametersFrame{0x24, 0x10, 20};
constexpr FrameKind kWriteSettingsFrame{0x25, 0x20, 1172};
constexpr FrameKind kProbeControllerFrame{0x20, 0x10, 24};
constexpr FrameKind kSetControllerClockFrame{0x20, 0x30, 28};
constexpr FrameKind kRestartControllerFrame{0x20, 0x90, 24};

constexpr std::uint8_t kNetworkReplyGroup = 0x24;
constexpr std::uint8_t kNetworkReplyCode = 0x11;

// Every request except discovery is composed in this one buffer.
constexpr std::size_t kTransmitBufferBytes = 2048;
using TransmitBuffer = std::array<std::uint8_t, kTransmitBufferBytes>;

// CRC-16/ARC of the first `frame.size()` bytes, with bytes 2 and 3 counted as zero.
std::uint16_t ComputeChecksum(std::span<const std::uint8_t> frame);

// Fills bytes 0-19 of a request whose payload is already in place, then its checksum
// over `length` bytes. Never touches bytes beyond 19.
void WriteFrameHeader(std::span<std::uint8_t> frame, std::size_t length, std::uint8_t group,
                      std::uint8_t code, std::uint32_t targetSerial, std::uint32_t sequence,
                      std::uint8_t variantCode);

// Whether `reply` answers a request that carried `requestSequence`: a request sent with
// 0 or 0xFFFFFFFF takes any reply, any other needs reply bytes 4-7 to equal it.
bool SequenceMatches(std::uint32_t requestSequence, std::span<const std::uint8_t> reply);

}  // namespace lumaro
