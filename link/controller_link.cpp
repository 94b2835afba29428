// The link's own state: made from its environment, the fine timer held while it waits on
// the network, the transmit buffer, the sequence counter and the frame header.

#include "link/controller_link.h"

namespace lumaro {

ControllerLink::ControllerLink(LinkEnvironment environment)
    : environment_(std::move(environment)) {}

ControllerLink::FineTimerHold::FineTimerHold(ControllerLink& link) : link_(link) {
    if (link_.fineTimerHolds_++ == 0) link_.environment_.requestFineTimer();
}

ControllerLink::FineTimerHold::~FineTimerHold() {
    if (--link_.fineTimerHolds_ == 0) link_.environment_.releaseFineTimer();
}

void ControllerLink::ClearTransmitBuffer() { transmitBuffer_.fill(0); }

void ControllerLink::SeedSequenceCounter() {
    sequenceCounter_ = static_cast<std::uint32_t>(environment_.secondsSince1970());
}

void ControllerLink::WriteFrameHeader(const FrameKind& kind, std::uint32_t targetSerial) {
    lumaro::WriteFrameHeader(transmitBuffer_, kind.length, kind.group, kind.code, targetSerial,
                             sequenceCounter_, currentVariantCode_);
}

}  // namespace lumaro
