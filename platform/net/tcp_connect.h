#pragma once
// One TCP connection attempt, as a web browser would make it.

#include <cstdint>

#include "platform/net/ipv4_address.h"

namespace lumaro::platform {

enum class ConnectOutcome {
    Connected,  // the host accepted the connection
    Refused,    // the host answered that nothing listens there
    Failed,     // no socket, no route, or the system gave up waiting
};

// Creates a TCP socket, connects it to (address, port), blocking until the connection is
// made or refused or the system gives up (its own connection timeout, which can be minutes
// when nothing answers), closes it and gives the outcome. Nothing is sent or received.
ConnectOutcome ConnectOnce(Ipv4Address address, std::uint16_t port);

}  // namespace lumaro::platform
