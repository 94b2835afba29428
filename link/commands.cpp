// The commands sent to one controller after discovery, and the reply rule.

#include "link/clock_payload.h"
#include "link/controller_link.h"

namespace lumaro {

CommandReply ControllerLink::SendCommand(const FrameKind& kind, Ipv4Address destination,
                                         Ipv4Address hostAddress, std::uint32_t serial) {
    WriteFrameHeader(kind, serial);
    const std::uint32_t sentSequence = sequenceCounter_;
    const CommandReply reply =
        Exchange(hostAddress, destination, std::span(transmitBuffer_).first(kind.length));
    if (reply != CommandReply::Answered) return reply;  // the next command reuses this sequence
    AdvanceSequenceCounter();  // a reply came, whatever it holds
    return SequenceMatches(sentSequence, ReceivedReply()) ? CommandReply::Answered
                                                          : CommandReply::WrongSequence;
}

CommandReply ControllerLink::ProbeController(Ipv4Address destination, Ipv4Address hostAddress,
                                             std::uint32_t serial) {
    for (std::size_t i = 0; i < 4; ++i) transmitBuffer_[kPayloadOffset + i] = 0xFF;
    return SendCommand(kProbeControllerFrame, destination, hostAddress, serial);
}

CommandReply ControllerLink::ReadNetworkParameters(Ipv4Address hostAddress,
                                                   std::uint32_t serial) {
    return SendCommand(kReadNetworkParametersFrame, kLimitedBroadcast, hostAddress, serial);
}

CommandReply ControllerLink::WriteSettings(Ipv4Address hostAddress, std::uint32_t serial) {
    return SendCommand(kWriteSettingsFrame, kLimitedBroadcast, hostAddress, serial);
}

CommandReply ControllerLink::SetControllerClock(Ipv4Address hostAddress,
                                                std::uint32_t serial) {
    const auto payload = EncodeClockPayload(environment_.localNow());
    for (std::size_t i = 0; i < payload.size(); ++i) transmitBuffer_[kPayloadOffset + i] = payload[i];
    return SendCommand(kSetControllerClockFrame, kLimitedBroadcast, hostAddress, serial);
}

CommandReply ControllerLink::RestartController(Ipv4Address hostAddress, std::uint32_t serial) {
    return SendCommand(kRestartControllerFrame, kLimitedBroadcast, hostAddress, serial);
}

}  // namespace lumaro
