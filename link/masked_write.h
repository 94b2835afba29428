#pragma once
// The masked parameter write (1172 bytes): the 20-byte header, a 1024-byte parameter
// image addressed by frame byte number (20-1043) and a 128-byte write mask (1044-1171),
// one bit per image byte. Each field group writes its bytes into the image and ORs its
// bits into the mask, so several groups can travel in one frame.

#include <cstddef>
#include <cstdint>

#include "link/frame.h"
#include "platform/net/ipv4_address.h"

namespace lumaro {

constexpr std::size_t kParameterImageOffset = 20;
constexpr std::size_t kParameterImageBytes = 1024;
constexpr std::size_t kWriteMaskOffset = 1044;
constexpr std::size_t kWriteMaskBytes = 128;
constexpr std::size_t kMaskedWriteBytes = 1172;

// Frame byte numbers of the fields that the groups write.
namespace parameter {
constexpr std::size_t kAddress = 20;        // 4 bytes, first octet first
constexpr std::size_t kMask = 24;
constexpr std::size_t kGateway = 28;
constexpr std::size_t kProtocolPort = 32;   // 2 bytes, little-endian: 60000
constexpr std::size_t kWebPort = 116;       // 2 bytes, little-endian; 0 = web server off
constexpr std::size_t kDateFormat = 118;
constexpr std::size_t kUnwritten = 119;     // never written nor marked
constexpr std::size_t kWebReserved1 = 120;
constexpr std::size_t kWebLanguage = 121;
constexpr std::size_t kWebReserved2 = 122;
constexpr std::size_t kWebReserved3 = 123;
constexpr std::size_t kAddressingMode = 150;
}  // namespace parameter

constexpr std::uint8_t kWebLanguageChinese = 0x20;
constexpr std::uint8_t kWebLanguageEnglish = 0x30;
constexpr std::uint8_t kFixedAddressing = 0x00;

// Position of the mask bit that marks one frame byte of the image.
constexpr std::size_t MaskByteOf(std::size_t frameByte) {
    return kWriteMaskOffset + (frameByte - kParameterImageOffset) / 8;
}
constexpr std::uint8_t MaskBitOf(std::size_t frameByte) {
    return static_cast<std::uint8_t>(1u << ((frameByte - kParameterImageOffset) % 8));
}

// Marks one image byte as one the controller is to take.
void MarkFrameByte(TransmitBuffer& buffer, std::size_t frameByte);
bool IsFrameByteMarked(const TransmitBuffer& buffer, std::size_t frameByte);

// Language byte for the index selected in the web-language choice: the first entry
// (Chinese) gives 0x20, any other 0x30.
std::uint8_t WebLanguageByte(int languageIndex);

// Network group: address, mask, gateway and the controller's UDP port 60000 (bytes 20-33).
void LayNetworkGroup(TransmitBuffer& buffer, Ipv4Address address, Ipv4Address mask,
                     Ipv4Address gateway);

// Settings group: web port, date format, language (bytes 116-118, 120-123; 119 unmarked).
void LaySettingsGroup(TransmitBuffer& buffer, std::uint16_t webPort, int dateFormatIndex,
                      int languageIndex);

// Web-off settings group: web port 0 and the language; the date format is left out
// (bytes 116-117, 120-123).
void LayWebOffSettingsGroup(TransmitBuffer& buffer, int languageIndex);

// Addressing-mode group (byte 150): 0x00 switches the controller to fixed addresses.
void LayDhcpGroup(TransmitBuffer& buffer, std::uint8_t addressingMode = kFixedAddressing);

}  // namespace lumaro
