#pragma once
// What a simulated controller does with one frame that reached its port 60000, and the
// bytes of its answers. No sockets here: the service loop sends what this returns.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "sim/simulator.h"

namespace lumaro::sim {

using Datagram = std::vector<std::uint8_t>;

// The part of a controller that frames change.
struct ControllerState {
    ControllerSpec spec;  // identity (serial, MAC, variant, segment) and behaviour
    ParameterImage image{};
    std::optional<std::array<std::uint8_t, 8>> clockPayload;
    std::size_t restarts = 0;
    // The web port the web server runs with: the image's, or (with webAfterRestart) the
    // image's as it was at the last restart.
    std::uint16_t runningWebPort = 0;
};

// At least a header, and its checksum matches the bytes.
bool ChecksumValid(std::span<const std::uint8_t> frame);

// Acts on the frame as the controller would and returns its full answer, or nothing when
// the frame is not for this controller, damaged or of an unknown kind.
std::optional<Datagram> AnswerFrame(ControllerState& controller,
                                    std::span<const std::uint8_t> frame);

// The datagrams that actually leave, in order, after the behaviour has spoilt the answer.
std::vector<Datagram> ShapeAnswer(const Behaviour& behaviour, Datagram answer);

}  // namespace lumaro::sim
