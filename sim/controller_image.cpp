#include "sim/controller_image.h"

#include "link/byte_io.h"
#include "link/masked_write.h"
#include "sim/sim_config.h"

namespace lumaro::sim {
namespace {

std::size_t IndexOf(std::size_t frameByte) { return frameByte - kImageFrameOffset; }

void PutAddress(ParameterImage& image, std::size_t frameByte, Ipv4Address address) {
    for (int octet = 0; octet < 4; ++octet) image[IndexOf(frameByte) + octet] = Octet(address, octet);
}

}  // namespace

ParameterImage InitialImage(const ControllerSpec& spec) {
    ParameterImage image{};
    PutAddress(image, image_field::kAddress, spec.ip);
    PutAddress(image, image_field::kMask, spec.mask);
    PutAddress(image, image_field::kGateway, spec.gateway);
    PutLe16(image, IndexOf(image_field::kProtocolPort), kControllerPort);
    PutLe16(image, IndexOf(image_field::kWebPort), spec.webPort);
    image[IndexOf(image_field::kDateFormat)] = 0;
    image[IndexOf(image_field::kWebLanguage)] = kDefaultWebLanguage;
    image[IndexOf(image_field::kAddressingMode)] = spec.dhcp ? kDhcpMarker : 0;
    PutAddress(image, image_field::kDhcpAddress, spec.dhcpIp);
    PutAddress(image, image_field::kDhcpMask, spec.dhcpMask);
    PutAddress(image, image_field::kDhcpGateway, spec.dhcpGateway);
    return image;
}

std::uint8_t ImageByte(const ParameterImage& image, std::size_t frameByte) {
    return image[IndexOf(frameByte)];
}

Ipv4Address ImageAddress(const ParameterImage& image, std::size_t frameByte) {
    return ByteReader(image).Le32(IndexOf(frameByte));
}

std::uint16_t ImageWebPort(const ParameterImage& image) {
    return ByteReader(image).Le16(IndexOf(image_field::kWebPort));
}

Addressing AddressingInUse(const ParameterImage& image) {
    if (ImageByte(image, image_field::kAddressingMode) == kDhcpMarker) {
        return {ImageAddress(image, image_field::kDhcpAddress),
                ImageAddress(image, image_field::kDhcpMask),
                ImageAddress(image, image_field::kDhcpGateway)};
    }
    return {ImageAddress(image, image_field::kAddress), ImageAddress(image, image_field::kMask),
            ImageAddress(image, image_field::kGateway)};
}

std::string ImagesText(const std::map<std::uint32_t, ParameterImage>& images) {
    std::string text;
    for (const auto& [serial, image] : images) {
        text += std::to_string(serial) + ' ';
        text += HexText(image);
        text += '\n';
    }
    return text;
}

ControllerSpec CurrentOf(const ControllerSpec& spec, const ParameterImage& image) {
    ControllerSpec current = spec;
    const Addressing inUse = AddressingInUse(image);
    current.ip = inUse.ip;
    current.mask = inUse.mask;
    current.gateway = inUse.gateway;
    current.webPort = ImageWebPort(image);
    current.dhcp = ImageByte(image, image_field::kAddressingMode) == kDhcpMarker;
    current.dhcpIp = ImageAddress(image, image_field::kDhcpAddress);
    current.dhcpMask = ImageAddress(image, image_field::kDhcpMask);
    current.dhcpGateway = ImageAddress(image, image_field::kDhcpGateway);
    return current;
}

void ApplyMaskedWrite(ParameterImage& image, std::span<const std::uint8_t> frame) {
    for (std::size_t i = 0; i < kImageBytes; ++i) {
        const std::uint8_t maskByte = frame[kWriteMaskOffset + i / 8];
        if (maskByte & (1u << (i % 8))) image[i] = frame[kParameterImageOffset + i];
    }
}

}  // namespace lumaro::sim
