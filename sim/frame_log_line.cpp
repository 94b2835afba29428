#include "sim/frame_log_line.h"

#include <sstream>

#include "link/controller_text.h"
#include "sim/sim_config.h"

namespace lumaro::sim {

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
    const std::size_t colon = source.find(':');
    const std::string_view port =
        colon == std::string::npos ? std::string_view{} : std::string_view(source).substr(colon + 1);
    const auto milliseconds = ParseNumber<long long>(ms);
    const auto controllerSerial = ParseNumber<std::uint32_t>(serial);
    const auto sourcePort = ParseNumber<std::uint16_t>(port);
    if (!milliseconds || !controllerSerial || !sourcePort || (direction != "B" && direction != "U") ||
        (checksum != "ok" && checksum != "bad")) {
        return std::nullopt;
    }
    ReceivedFrame frame;
    frame.controllerSerial = *controllerSerial;
    frame.sourcePort = *sourcePort;
    auto address = ParseIpv4(std::string_view(source).substr(0, colon));
    if (!address.value) return std::nullopt;
    frame.source = *address.value;
    frame.broadcast = direction == "B";
    frame.checksumValid = checksum == "ok";
    frame.at = start + std::chrono::milliseconds(*milliseconds);
    auto bytes = ParseHexText(hex);
    if (!bytes.value) return std::nullopt;
    frame.bytes = std::move(*bytes.value);
    return frame;
}

}  // namespace lumaro::sim
