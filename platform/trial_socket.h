#pragma once
// The per-system pieces of TryBroadcastSocket (socket_trial.cpp): one UDP socket taken step
// by step, each step saying only whether it succeeded; LastSocketError says why one failed.
// Closed by the destructor.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/ipv4_address.h"

namespace lumaro::platform {

struct SocketError {
    int code = 0;      // errno, or WSAGetLastError()
    std::string text;  // the system's own words for it
};

// The error of the calling thread's last failed socket call.
SocketError LastSocketError();

class TrialSocket {
public:
    TrialSocket();  // creates the socket; Created() says whether it could
    ~TrialSocket();
    TrialSocket(const TrialSocket&) = delete;
    TrialSocket& operator=(const TrialSocket&) = delete;

    bool Created() const;
    bool Bind(Ipv4Address local);  // to (local, port 0)
    std::uint16_t LocalPort() const;  // 0 when it cannot be read
    bool EnableBroadcast();
    bool AskReceiveBuffer(int bytes);  // as the link asks
    std::optional<int> ReceiveBufferBytes() const;

private:
    std::intptr_t handle_;
};

}  // namespace lumaro::platform
