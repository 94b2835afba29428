#include "link/frame.h"

#include "link/byte_io.h"

namespace lumaro {

std::uint16_t ComputeChecksum(std::span<const std::uint8_t> frame) {
    constexpr std::uint16_t kReflectedPolynomial = 0xA001;
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < frame.size(); ++i) {
        const bool checksumByte = i == kChecksumOffset || i == kChecksumOffset + 1;
        crc ^= checksumByte ? 0 : frame[i];
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? static_cast<std::uint16_t>((crc >> 1) ^ kReflectedPolynomial)
                            : static_cast<std::uint16_t>(crc >> 1);
        }
    }
    return crc;
}

void WriteFrameHeader(std::span<std::uint8_t> frame, std::size_t length, std::uint8_t group,
                      std::uint8_t code, std::uint32_t targetSerial, std::uint32_t sequence,
                      std::uint8_t variantCode) {
    frame[kGroupOffset] = group;
    frame[kCodeOffset] = code;
    PutLe16(frame, kChecksumOffset, 0);
    PutLe32(frame, kSequenceOffset, sequence);
    PutLe32(frame, kSourceSerialOffset, 0);
    PutLe32(frame, kTargetSerialOffset, targetSerial);
    frame[16] = 0;
    frame[17] = 0;
    frame[kVariantCodeOffset] = variantCode;
    frame[19] = 0;
    PutLe16(frame, kChecksumOffset, ComputeChecksum(frame.first(length)));
}

bool SequenceMatches(std::uint32_t requestSequence, std::span<const std::uint8_t> reply) {
    if (requestSequence == 0 || requestSequence == 0xFFFFFFFFu) return true;
    return ByteReader(reply).Le32(kSequenceOffset) == requestSequence;
}

}  // namespace lumaro
