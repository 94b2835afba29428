#include "platform/arp/windows_send_arp_result.h"

namespace lumaro::platform {

std::optional<ArpResult> ArpResultOfSendArp(std::uint32_t result, std::uint32_t length,
                                            const HardwareAddress& buffer) {
    switch (result) {
        case kSendArpAnswered:
            // A success without a whole Ethernet address tells nothing about the host.
            if (length < buffer.size()) return ArpResult::CouldNotAsk();
            return ArpResult::AnsweredBy(buffer);
        case kSendArpGenFailure:
        case kSendArpBadNetName:
            return ArpResult::NoAnswer();
        case kSendArpNotSupported:
            return std::nullopt;
        default:
            return ArpResult::CouldNotAsk();
    }
}

}  // namespace lumaro::platform
