#pragma once
// What the result of Windows' SendARP means. Portable (the codes are Windows' own, checked
// against its headers where it is built), so that the rules run as a unit table anywhere.

#include <cstdint>
#include <optional>

#include "platform/arp/arp.h"

namespace lumaro::platform {

// SendARP's results that we tell apart.
constexpr std::uint32_t kSendArpAnswered = 0;        // NO_ERROR
constexpr std::uint32_t kSendArpGenFailure = 31;     // ERROR_GEN_FAILURE: nobody answered
                                                     // (older systems)
constexpr std::uint32_t kSendArpNotSupported = 50;   // ERROR_NOT_SUPPORTED (Wine)
constexpr std::uint32_t kSendArpBadNetName = 67;     // ERROR_BAD_NET_NAME: nobody answered
constexpr std::uint32_t kSendArpNotFound = 1168;     // ERROR_NOT_FOUND: e.g. the source
                                                     // address is no longer the PC's

// The ARP result of one SendARP call that returned `result` with `length` bytes of
// `buffer` filled; nothing when the system does not support the call (ask otherwise).
// Anything but an answer or one of the two "nobody answered" codes means that the request
// could not be made: the PC's address went away, the cable was pulled, the system refused.
std::optional<ArpResult> ArpResultOfSendArp(std::uint32_t result, std::uint32_t length,
                                            const HardwareAddress& buffer);

}  // namespace lumaro::platform
