// Ownership of the socket handle; opening, waiting and the transfers are per platform.

#include "platform/udp_socket.h"

#include <utility>

namespace lumaro::platform {

UdpSocket::UdpSocket(UdpSocket&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)) {}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, kNoHandle);
    }
    return *this;
}

UdpSocket::~UdpSocket() { Close(); }

}  // namespace lumaro::platform
