#include "link/masked_write.h"

#include "link/byte_io.h"

namespace lumaro {

void MarkFrameByte(TransmitBuffer& buffer, std::size_t frameByte) {
    buffer[MaskByteOf(frameByte)] |= MaskBitOf(frameByte);
}

bool IsFrameByteMarked(const TransmitBuffer& buffer, std::size_t frameByte) {
    return (buffer[MaskByteOf(frameByte)] & MaskBitOf(frameByte)) != 0;
}

std::uint8_t WebLanguageByte(int languageIndex) {
    return languageIndex == 0 ? kWebLanguageChinese : kWebLanguageEnglish;
}

namespace {

void PutMarked(TransmitBuffer& buffer, std::size_t frameByte, std::uint8_t value) {
    buffer[frameByte] = value;
    MarkFrameByte(buffer, frameByte);
}

void PutMarkedLe16(TransmitBuffer& buffer, std::size_t frameByte, std::uint16_t value) {
    PutMarked(buffer, frameByte, static_cast<std::uint8_t>(value));
    PutMarked(buffer, frameByte + 1, static_cast<std::uint8_t>(value >> 8));
}

// Addresses travel first octet first, which is the order of the bytes of the value.
void PutMarkedAddress(TransmitBuffer& buffer, std::size_t frameByte, Ipv4Address address) {
    for (int i = 0; i < 4; ++i) PutMarked(buffer, frameByte + i, Octet(address, i));
}

// Bytes 120-123 are the same in both settings groups: zero, the language, zero, zero.
void PutWebTail(TransmitBuffer& buffer, int languageIndex) {
    PutMarked(buffer, parameter::kWebReserved1, 0);
    PutMarked(buffer, parameter::kWebLanguage, WebLanguageByte(languageIndex));
    PutMarked(buffer, parameter::kWebReserved2, 0);
    PutMarked(buffer, parameter::kWebReserved3, 0);
}

}  // namespace

void LayNetworkGroup(TransmitBuffer& buffer, Ipv4Address address, Ipv4Address mask,
                     Ipv4Address gateway) {
    PutMarkedAddress(buffer, parameter::kAddress, address);
    PutMarkedAddress(buffer, parameter::kMask, mask);
    PutMarkedAddress(buffer, parameter::kGateway, gateway);
    PutMarkedLe16(buffer, parameter::kProtocolPort, kControllerPort);
}

void LaySettingsGroup(TransmitBuffer& buffer, std::uint16_t webPort, int dateFormatIndex,
                      int languageIndex) {
    PutMarkedLe16(buffer, parameter::kWebPort, webPort);
    PutMarked(buffer, parameter::kDateFormat, static_cast<std::uint8_t>(dateFormatIndex));
    PutWebTail(buffer, languageIndex);
}

void LayWebOffSettingsGroup(TransmitBuffer& buffer, int languageIndex) {
    PutMarkedLe16(buffer, parameter::kWebPort, 0);
    PutWebTail(buffer, languageIndex);
}

void LayDhcpGroup(TransmitBuffer& buffer, std::uint8_t addressingMode) {
    PutMarked(buffer, parameter::kAddressingMode, addressingMode);
}

}  // namespace lumaro
