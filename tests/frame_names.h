#pragma once
// What the simulator's log says a controller received, as short names that tests compare
// with the ways through a procedure: "read", "probe", "settings", "network", "restart",
// "clock", "web-off"; discovery broadcasts are left out. Raw offsets on purpose: an
// independent check of the link's constants.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "link/byte_io.h"
#include "sim/simulator.h"

namespace lumaro::testing {

inline bool IsDiscovery(const sim::ReceivedFrame& frame) {
    const ByteReader bytes(frame.bytes);
    return frame.bytes.size() == 20 && bytes.U8(0) == 0x24 && bytes.U8(1) == 0x10 &&
           bytes.Le32(12) == 0xFFFFFFFFu;
}

// The frames that the controller with this serial received addressed to it (target serial,
// bytes 12-15), in the order received; discovery broadcasts are left out.
inline std::vector<std::vector<std::uint8_t>> FramesAddressedTo(
    const std::vector<sim::ReceivedFrame>& frames, std::uint32_t serial) {
    std::vector<std::vector<std::uint8_t>> addressed;
    for (const sim::ReceivedFrame& frame : frames) {
        if (frame.controllerSerial == serial && !IsDiscovery(frame) &&
            ByteReader(frame.bytes).Le32(12) == serial) {
            addressed.push_back(frame.bytes);
        }
    }
    return addressed;
}

inline std::string FrameName(std::span<const std::uint8_t> frame) {
    const ByteReader bytes(frame);
    const std::size_t length = frame.size();
    const int kind = bytes.U8(0) << 8 | bytes.U8(1);
    if (kind == 0x2410 && length == 20) return "read";
    if (kind == 0x2010 && length == 24) return "probe";
    if (kind == 0x2030 && length == 28) return "clock";
    if (kind == 0x2090 && length == 24) return "restart";
    if (kind == 0x2520 && length == 1172) {
        const int network = bytes.U8(1044) << 8 | bytes.U8(1045);
        const int settings = bytes.U8(1056);
        if (network == 0xFF3F && settings == 0) return "network";
        if (network == 0 && settings == 0xF7) return "settings";
        if (network == 0 && settings == 0xF3) return "web-off";
        if (network == 0xFF3F && settings == 0xF7) return "network+settings";
        return "write?";
    }
    return "unknown";
}

inline std::string FrameName(const sim::ReceivedFrame& frame) { return FrameName(frame.bytes); }

// The names of the frames, discovery left out, in the order received.
inline std::vector<std::string> FrameNames(const std::vector<sim::ReceivedFrame>& frames) {
    std::vector<std::string> names;
    for (const sim::ReceivedFrame& frame : frames) {
        if (!IsDiscovery(frame)) names.push_back(FrameName(frame));
    }
    return names;
}

}  // namespace lumaro::testing
