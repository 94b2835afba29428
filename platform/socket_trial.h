#pragma once
// A trial of the broadcast socket that the link opens on each local address, step by step,
// for a diagnosis: which step fails, with the system's own reason, and what receive buffer
// the system grants. The link's sockets are opened by UdpSocket::OpenBroadcast; a trial
// opens one more beside them and closes it again.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ipv4_address.h"

namespace lumaro::platform {

struct SocketStep {
    bool tried = false;      // steps after a failed one are not tried
    bool succeeded = false;
    int errorCode = 0;       // the system's error number (errno, WSAGetLastError) on failure
    std::string error;       // the system's text for it
};

struct BroadcastSocketTrial {
    SocketStep create;         // a UDP socket
    SocketStep bind;           // to (address, port 0)
    std::uint16_t localPort = 0;  // the port the system picked
    SocketStep broadcast;      // SO_BROADCAST on
    SocketStep receiveBuffer;  // asking for kBroadcastReceiveBufferBytes, as the link does
    // The size that the system reports afterwards (Linux reports twice the usable room,
    // which it keeps for its bookkeeping); empty when it cannot be read.
    std::optional<int> receiveBufferBytes;

    bool Usable() const { return create.succeeded && bind.succeeded && broadcast.succeeded; }
};

BroadcastSocketTrial TryBroadcastSocket(Ipv4Address local);

}  // namespace lumaro::platform
