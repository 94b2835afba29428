#include "tests/app/frame_log.h"

#include <fstream>
#include <filesystem>
#include <sstream>
#include <stdexcept>
#include <string>

#include "tools/window-reader/launched_program.h"
#include "tests/app/simulator_control.h"

namespace lumaro::apptest {

namespace {

constexpr std::uint8_t kDiscoveryGroup = 0x24;
constexpr std::uint8_t kDiscoveryCode = 0x10;
constexpr std::size_t kTargetSerialOffset = 12;

struct LoggedFrame {
    std::uint32_t receiver = 0;
    FrameBytes bytes;
};

FrameBytes FromHex(const std::string& hex) {
    FrameBytes bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoul(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// "<ms> <receiver> <source>:<port> <B|U> <ok|bad> <hex>"
std::vector<LoggedFrame> ReadLog() {
    const auto path = SimulatorControl::LogPath();
    if (!path) throw std::runtime_error("no LUMARO_SIM_LOG: run through scripts/app-test.sh");
    std::ifstream in(std::filesystem::path(WindowsPathOf(*path)));
    std::vector<LoggedFrame> frames;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string milliseconds, source, kind, checksum, hex;
        LoggedFrame frame;
        if (words >> milliseconds >> frame.receiver >> source >> kind >> checksum >> hex) {
            frame.bytes = FromHex(hex);
            frames.push_back(std::move(frame));
        }
    }
    return frames;
}

bool IsDiscovery(const FrameBytes& frame) {
    return frame.size() >= 2 && frame[0] == kDiscoveryGroup && frame[1] == kDiscoveryCode;
}

}  // namespace

std::uint32_t FrameLe32(const FrameBytes& frame, std::size_t offset) {
    if (frame.size() < offset + 4) return 0;
    return frame[offset] | frame[offset + 1] << 8 | frame[offset + 2] << 16 |
           static_cast<std::uint32_t>(frame[offset + 3]) << 24;
}

std::vector<FrameBytes> CommandFramesTo(std::uint32_t serial) {
    std::vector<FrameBytes> frames;
    for (LoggedFrame& frame : ReadLog()) {
        if (frame.receiver == serial && !IsDiscovery(frame.bytes) &&
            FrameLe32(frame.bytes, kTargetSerialOffset) == serial) {
            frames.push_back(std::move(frame.bytes));
        }
    }
    return frames;
}

std::vector<FrameBytes> AllCommandFrames() {
    std::vector<FrameBytes> frames;
    for (LoggedFrame& frame : ReadLog()) {
        if (!IsDiscovery(frame.bytes)) frames.push_back(std::move(frame.bytes));
    }
    return frames;
}

}  // namespace lumaro::apptest
