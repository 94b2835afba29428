#include "sim/frame_log_line.h"

#include <charconv>
#include <sstream>

#include "link/controller_text.h"
#include "sim/sim_config.h"

namespace lumaro::sim {

namespace {

template <class T>
bool ReadNumber(std::string_view text, T& value, int base = 10) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

}  // namespace

std::string FrameLogLine(const ReceivedFrame& frame, std::chrono::steady_clock::time_point start) {
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(frame.at - start).count();
    std::string line = std::to_string(ms) + " " + std::to_string(frame.controllerSerial) + " " +
                       FormatAddress(frame.source) + ":" + std::to_string(frame.sourcePort) +
                       (frame.broadcast ? " B " : " U ") + (frame.checksumValid ? "ok " : "bad ");
    line += HexText(frame.bytes);
    return line;
}

std::optional<ReceivedFrame> ParseFrameLogLine(std::string_view line,
                                               std::chrono::steady_clock::time_point start) {
    std::istringstream words{std::string(line)};
    std::string ms, serial, source, direction, checksum, hex;
    if (!(words >> ms >> serial >> source >> direction >> checksum)) return std::nullopt;
    words >> hex;  // an empty datagram has no bytes
    ReceivedFrame frame;
    long long milliseconds = 0;
    const std::size_t colon = source.find(':');
    if (!ReadNumber(ms, milliseconds) || !ReadNumber(serial, frame.controllerSerial) ||
        colon == std::string::npos || !ReadNumber(std::string_view(source).substr(colon + 1), frame.sourcePort) ||
        (direction != "B" && direction != "U") || (checksum != "ok" && checksum != "bad")) {
        return std::nullopt;
    }
    auto address = ParseIpv4(std::string_view(source).substr(0, colon));
    if (!address.value) return std::nullopt;
    frame.source = *address.value;
    frame.broadcast = direction == "B";
    frame.checksumValid = checksum == "ok";
    frame.at = start + std::chrono::milliseconds(milliseconds);
    auto bytes = ParseHexText(hex);
    if (!bytes.value) return std::nullopt;
    frame.bytes = std::move(*bytes.value);
    return frame;
}

}  // namespace lumaro::sim
