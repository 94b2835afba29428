#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/socket_address.h"
#include "platform/udp_socket.h"

namespace lumaro::platform {

namespace {

int Fd(std::intptr_t handle) { return static_cast<int>(handle); }

}  // namespace

std::intptr_t UdpSocket::CreateHandle() {
    const int fd = socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    return fd < 0 ? kNoHandle : fd;
}

bool UdpSocket::Bind(Ipv4Address local) const {
    const sockaddr_in sa = SocketAddress(local, 0);
    return bind(Fd(handle_), reinterpret_cast<const sockaddr*>(&sa), sizeof sa) == 0;
}

bool UdpSocket::MakeBlocking() const {
    const int flags = fcntl(Fd(handle_), F_GETFL);
    return flags >= 0 && fcntl(Fd(handle_), F_SETFL, flags & ~O_NONBLOCK) == 0;
}

bool UdpSocket::EnableBroadcast() const {
    const int on = 1;
    return setsockopt(Fd(handle_), SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0;
}

bool UdpSocket::AskReceiveBuffer(int bytes) const {
    // As root the system's limit does not apply; otherwise take what the system allows.
    return setsockopt(Fd(handle_), SOL_SOCKET, SO_RCVBUFFORCE, &bytes, sizeof bytes) == 0 ||
           setsockopt(Fd(handle_), SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes) == 0;
}

std::optional<int> UdpSocket::ReceiveBufferBytes() const {
    int granted = 0;
    socklen_t length = sizeof granted;
    if (getsockopt(Fd(handle_), SOL_SOCKET, SO_RCVBUF, &granted, &length) != 0) {
        return std::nullopt;
    }
    return granted;
}

SocketError UdpSocket::LastError() { return {errno, std::strerror(errno)}; }

void UdpSocket::Close() {
    if (handle_ != kNoHandle) close(static_cast<int>(std::exchange(handle_, kNoHandle)));
}

Readiness UdpSocket::WaitReadable(std::chrono::microseconds timeout) const {
    pollfd entry{static_cast<int>(handle_), POLLIN, 0};
    const timespec limit{static_cast<time_t>(timeout.count() / 1'000'000),
                         static_cast<long>(timeout.count() % 1'000'000) * 1000};
    const int result = ppoll(&entry, 1, &limit, nullptr);
    if (result < 0) return Readiness::Failed;
    if (result == 0) return Readiness::Quiet;
    return (entry.revents & (POLLIN | POLLERR)) != 0 ? Readiness::Readable : Readiness::Failed;
}

bool UdpSocket::SendTo(Ipv4Address destination, std::uint16_t port,
                       std::span<const std::uint8_t> datagram) const {
    const sockaddr_in sa = SocketAddress(destination, port);
    return sendto(static_cast<int>(handle_), datagram.data(), datagram.size(), 0,
                  reinterpret_cast<const sockaddr*>(&sa), sizeof sa) ==
           static_cast<ssize_t>(datagram.size());
}

std::optional<std::size_t> UdpSocket::Receive(std::span<std::uint8_t> into) const {
    iovec buffer{into.data(), into.size()};
    sockaddr_in from{};
    msghdr message{};
    message.msg_name = &from;
    message.msg_namelen = sizeof from;
    message.msg_iov = &buffer;
    message.msg_iovlen = 1;
    // MSG_DONTWAIT: a datagram reported ready may still be discarded by the kernel
    // (bad UDP checksum); the receive must not block then.
    const ssize_t received = recvmsg(static_cast<int>(handle_), &message, MSG_DONTWAIT);
    // A datagram that does not fit is dropped, as Winsock does with WSAEMSGSIZE.
    if (received < 0 || (message.msg_flags & MSG_TRUNC) != 0) return std::nullopt;
    return static_cast<std::size_t>(received);
}

std::uint16_t UdpSocket::LocalPort() const {
    sockaddr_in sa{};
    socklen_t length = sizeof sa;
    if (getsockname(static_cast<int>(handle_), reinterpret_cast<sockaddr*>(&sa), &length) != 0) {
        return 0;
    }
    return ntohs(sa.sin_port);
}

}  // namespace lumaro::platform
