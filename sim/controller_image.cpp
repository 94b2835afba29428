#include "sim/controller_image.h"

#include <algorithm>

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

Parsed<std::map<std::uint32_t, ParameterImage>> ParseImagesText(std::string_view text) {
    std::map<std::uint32_t, ParameterImage> images;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        if (line.empty()) continue;

        const auto bad = [line]() -> Parsed<std::map<std::uint32_t, ParameterImage>> {
            return {std::nullopt, "bad image line \"" + std::string(line) + '"'};
        };
        const std::size_t space = line.find(' ');
        if (space == std::string_view::npos) return bad();
        const auto serial = ParseNumber<std::uint32_t>(line.substr(0, space));
        const auto bytes = ParseHexText(line.substr(space + 1));
        if (!serial || !bytes.value || bytes.value->size() != kImageBytes) return bad();
        ParameterImage image{};
        std::copy(bytes.value->begin(), bytes.value->end(), image.begin());
        images[*serial] = image;
    }
    return {images, {}};
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
