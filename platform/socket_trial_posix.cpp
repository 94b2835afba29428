#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/socket_address.h"
#include "platform/trial_socket.h"

namespace lumaro::platform {

namespace {

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

SocketError LastSocketError() { return {errno, std::strerror(errno)}; }

TrialSocket::TrialSocket() : handle_(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}

TrialSocket::~TrialSocket() {
    if (Created()) close(Fd(handle_));
}

bool TrialSocket::Created() const { return handle_ >= 0; }

bool TrialSocket::Bind(Ipv4Address local) {
    const sockaddr_in address = SocketAddress(local, 0);
    return ::bind(Fd(handle_), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

std::uint16_t TrialSocket::LocalPort() const {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (getsockname(Fd(handle_), reinterpret_cast<sockaddr*>(&address), &length) != 0) return 0;
    return ntohs(address.sin_port);
}

bool TrialSocket::EnableBroadcast() {
    const int on = 1;
    return setsockopt(Fd(handle_), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0;
}

bool TrialSocket::AskReceiveBuffer(int bytes) {
    // Beyond the system's limit as root, else as much as it allows.
    return setsockopt(Fd(handle_), SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes) == 0 ||
           setsockopt(Fd(handle_), SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes) == 0;
}

std::optional<int> TrialSocket::ReceiveBufferBytes() const {
    int granted = 0;
    socklen_t length = sizeof granted;
    if (getsockopt(Fd(handle_), SOL_SOCKET, SO_RCVBUF, &granted, &length) != 0) {
        return std::nullopt;
    }
    return granted;
}

}  // namespace lumaro::platform
