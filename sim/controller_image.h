#pragma once
// A simulated controller's 1024-byte parameter block: how it starts from a ControllerSpec,
// how a masked write changes it, and which address and web port it makes the controller use.
// Offsets are frame byte numbers (image[i] is frame byte 20 + i).

#include <cstdint>
#include <map>
#include <span>
#include <string>
#include <string_view>

#include "link/frame.h"
#include "link/network_reply.h"
#include "platform/net/ipv4_address.h"
#include "sim/sim_config.h"
#include "sim/simulator.h"

namespace lumaro::sim {

namespace image_field {
constexpr std::size_t kAddress = 20;         // 4 bytes each, first octet first
constexpr std::size_t kMask = 24;
constexpr std::size_t kGateway = 28;
constexpr std::size_t kProtocolPort = 32;    // 2 bytes, little-endian: 60000
constexpr std::size_t kWebPort = 116;        // 2 bytes, little-endian; 0 = web server off
constexpr std::size_t kDateFormat = 118;
constexpr std::size_t kWebLanguage = 121;
constexpr std::size_t kAddressingMode = 150; // 0xA5: the DHCP addresses below are in use
constexpr std::size_t kDhcpAddress = 404;
constexpr std::size_t kDhcpMask = 408;
constexpr std::size_t kDhcpGateway = 412;
}  // namespace image_field

constexpr std::uint8_t kDefaultWebLanguage = 0x20;

struct Addressing {
    Ipv4Address ip = 0;
    Ipv4Address mask = 0;
    Ipv4Address gateway = 0;
    bool operator==(const Addressing&) const = default;
};

ParameterImage InitialImage(const ControllerSpec& spec);

// Reads and writes of image fields by frame byte number.
std::uint8_t ImageByte(const ParameterImage& image, std::size_t frameByte);
Ipv4Address ImageAddress(const ParameterImage& image, std::size_t frameByte);
std::uint16_t ImageWebPort(const ParameterImage& image);

// The addresses the controller uses on the wire: the DHCP ones while the marker is set.
Addressing AddressingInUse(const ParameterImage& image);

// The images of a LAN as text (lumaro-sim's `images FILE`): one line per controller, its
// serial, a space and its 1024 image bytes (frame bytes 20-1043) as 2048 lower-case hex
// digits, in ascending order of serial.
std::string ImagesText(const std::map<std::uint32_t, ParameterImage>& images);
// The reverse (either case of hex digit, blank lines skipped): an empty value and the bad
// line quoted when a line is not a decimal serial, one space and exactly 2048 hex digits.
Parsed<std::map<std::uint32_t, ParameterImage>> ParseImagesText(std::string_view text);

// The controller's description as it stands now: identity and behaviour as it was started
// with, the addresses in use, the DHCP fields and the web port from its image.
ControllerSpec CurrentOf(const ControllerSpec& spec, const ParameterImage& image);

// Copies into the image exactly the bytes that the write's mask marks (the frame must
// hold at least 1172 bytes).
void ApplyMaskedWrite(ParameterImage& image, std::span<const std::uint8_t> frame);

}  // namespace lumaro::sim
