#pragma once
// Little-endian access to frame bytes. Reads past the end of the received bytes give
// zero, never whatever an earlier datagram left in a buffer.

#include <cstddef>
#include <cstdint>
#include <span>

namespace lumaro {

class ByteReader {
public:
    explicit ByteReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Size() const { return bytes_.size(); }

    std::uint8_t U8(std::size_t offset) const {
        return offset < bytes_.size() ? bytes_[offset] : 0;
    }
    std::uint16_t Le16(std::size_t offset) const {
        return static_cast<std::uint16_t>(U8(offset) | (U8(offset + 1) << 8));
    }
    std::uint32_t Le32(std::size_t offset) const {
        return static_cast<std::uint32_t>(Le16(offset)) |
               (static_cast<std::uint32_t>(Le16(offset + 2)) << 16);
    }

private:
    std::span<const std::uint8_t> bytes_;
};

inline void PutLe16(std::span<std::uint8_t> frame, std::size_t offset, std::uint16_t value) {
    frame[offset] = static_cast<std::uint8_t>(value);
    frame[offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

inline void PutLe32(std::span<std::uint8_t> frame, std::size_t offset, std::uint32_t value) {
    PutLe16(frame, offset, static_cast<std::uint16_t>(value));
    PutLe16(frame, offset + 2, static_cast<std::uint16_t>(value >> 16));
}

}  // namespace lumaro
