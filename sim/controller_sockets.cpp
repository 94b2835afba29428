#include "sim/controller_sockets.h"

#include <linux/filter.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "platform/net/socket_address.h"
#include "sim/controller_image.h"


namespace lumaro::sim {
namespace {

constexpr std::size_t kLargestDatagram = 65536;
constexpr int kListenBacklog = 16;

OpenedSocket Failure(const std::string& interface, const char* step) {
    return {platform::Descriptor(), std::string(step) + " on " + interface + ": " + std::strerror(errno)};
}

bool Enable(int socket, int level, int option) {
    const int on = 1;
    return ::setsockopt(socket, level, option, &on, sizeof on) == 0;
}

bool BindToDevice(int socket, const std::string& interface) {
    return ::setsockopt(socket, SOL_SOCKET, SO_BINDTODEVICE, interface.c_str(),
                        static_cast<socklen_t>(interface.size() + 1)) == 0;
}

bool BindAnyAddress(int socket, std::uint16_t port) {
    const sockaddr_in address = platform::SocketAddress(0, port);  // any local address
    return ::bind(socket, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace

OpenedSocket OpenControllerSocket(const std::string& interface) {
    platform::Descriptor socket(::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket.Valid()) return Failure(interface, "socket(UDP)");
    if (!Enable(socket.Get(), SOL_SOCKET, SO_REUSEADDR) ||
        !Enable(socket.Get(), SOL_SOCKET, SO_BROADCAST) ||
        !Enable(socket.Get(), IPPROTO_IP, IP_PKTINFO)) {
        return Failure(interface, "setsockopt(UDP)");
    }
    if (!BindToDevice(socket.Get(), interface)) return Failure(interface, "SO_BINDTODEVICE(UDP)");
    if (!BindAnyAddress(socket.Get(), kControllerPort)) return Failure(interface, "bind(UDP 60000)");
    return {std::move(socket), {}};
}

OpenedSocket OpenWebListener(const std::string& interface, bool silent) {
    platform::Descriptor socket(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!socket.Valid()) return Failure(interface, "socket(TCP)");
    if (!Enable(socket.Get(), SOL_SOCKET, SO_REUSEADDR)) return Failure(interface, "SO_REUSEADDR(TCP)");
    if (!BindToDevice(socket.Get(), interface)) return Failure(interface, "SO_BINDTODEVICE(TCP)");
    // The filter goes on before listen(), so not even the first SYN slips through.
    if (silent && !SetWebListenerSilent(socket.Get(), true)) return Failure(interface, "SO_ATTACH_FILTER");
    if (!BindAnyAddress(socket.Get(), kWebServerPort)) return Failure(interface, "bind(TCP 80)");
    if (::listen(socket.Get(), kListenBacklog) != 0) return Failure(interface, "listen(TCP 80)");
    return {std::move(socket), {}};
}

bool SetWebListenerSilent(int listener, bool silent) {
    if (!silent) {
        const int unused = 0;  // the option takes no value, but the kernel wants an int's room
        return ::setsockopt(listener, SOL_SOCKET, SO_DETACH_FILTER, &unused, sizeof unused) == 0 ||
               errno == ENOENT;
    }
    static sock_filter dropEverything[] = {BPF_STMT(BPF_RET | BPF_K, 0)};
    const sock_fprog program{1, dropEverything};
    return ::setsockopt(listener, SOL_SOCKET, SO_ATTACH_FILTER, &program, sizeof program) == 0;
}

std::optional<IncomingDatagram> ReceiveDatagram(int socket) {
    static thread_local std::vector<std::uint8_t> buffer(kLargestDatagram);
    sockaddr_in source{};
    iovec part{buffer.data(), buffer.size()};
    alignas(cmsghdr) char control[CMSG_SPACE(sizeof(in_pktinfo))];
    msghdr message{};
    message.msg_name = &source;
    message.msg_namelen = sizeof source;
    message.msg_iov = &part;
    message.msg_iovlen = 1;
    message.msg_control = control;
    message.msg_controllen = sizeof control;
    const ssize_t length = ::recvmsg(socket, &message, 0);
    if (length < 0) return std::nullopt;

    IncomingDatagram datagram;
    datagram.bytes.assign(buffer.begin(), buffer.begin() + length);
    datagram.source = source.sin_addr.s_addr;  // first octet in the lowest byte, as ours
    datagram.sourcePort = ntohs(source.sin_port);
    for (cmsghdr* header = CMSG_FIRSTHDR(&message); header; header = CMSG_NXTHDR(&message, header)) {
        if (header->cmsg_level == IPPROTO_IP && header->cmsg_type == IP_PKTINFO) {
            in_pktinfo info;
            std::memcpy(&info, CMSG_DATA(header), sizeof info);
            datagram.destination = info.ipi_addr.s_addr;
        }
    }
    return datagram;
}

bool SendDatagram(int socket, Ipv4Address destination, std::uint16_t port,
                  std::span<const std::uint8_t> bytes) {
    const sockaddr_in address = platform::SocketAddress(destination, port);
    return ::sendto(socket, bytes.data(), bytes.size(), 0,
                    reinterpret_cast<const sockaddr*>(&address), sizeof address) ==
           static_cast<ssize_t>(bytes.size());
}

}  // namespace lumaro::sim
