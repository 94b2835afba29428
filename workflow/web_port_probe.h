#pragma once
// The web-port probe: one TCP connection attempt to the controller's web server, made by a
// short-lived worker thread so that the procedure can stop waiting for it after a while.

#include <chrono>
#include <cstdint>
#include <functional>

#include "platform/net/ipv4_address.h"
#include "platform/net/tcp_connect.h"

namespace lumaro {

// The address and port that the worker tries; it gets its own copy.
struct ProbeTarget {
    Ipv4Address address = 0;
    std::uint16_t port = 0;
};

// What the waiting side learnt of the worker.
enum class ProbeWait {
    Connected,         // ended within the wait: the web server accepted the connection
    NotConnected,      // ended within the wait: refused, or no connection could be made
    StillConnecting,   // the wait ran out; the worker goes on by itself and ends later
    NotStarted,        // no worker could be started
};

using ConnectAttempt = std::function<platform::ConnectOutcome(Ipv4Address, std::uint16_t)>;

// Starts the worker `WebPortProbe` on a thread of its own with its own copy of `target` and
// waits at most `wait` for it to end. The worker is never stopped: when the wait runs out it
// finishes its attempt by itself (which may take the system's connection timeout) and then
// ends, touching nothing but what it shares with this call; the process may end meanwhile.
ProbeWait ProbeWebPort(const ProbeTarget& target, std::chrono::milliseconds wait,
                       ConnectAttempt connect = platform::ConnectOnce);

}  // namespace lumaro
