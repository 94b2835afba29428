#pragma once
// Bytes as lower-case hex digits, two per byte, nothing between them (the frame log and
// the image dump).

#include <cstdint>
#include <span>
#include <string>

namespace lumaro::sim {

inline void AppendHex(std::string& text, std::span<const std::uint8_t> bytes) {
    static constexpr char kHex[] = "0123456789abcdef";
    for (std::uint8_t byte : bytes) {
        text += kHex[byte >> 4];
        text += kHex[byte & 0x0F];
    }
}

}  // namespace lumaro::sim
