#pragma once
// The IPv4 socket address of (address, port) for bind, connect and sendto, on either system.

#include <cstdint>

#ifdef _WIN32
#include <winsock2.h>
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#endif

#include "platform/net/ipv4_address.h"

namespace lumaro::platform {

inline sockaddr_in SocketAddress(Ipv4Address address, std::uint16_t port) {
    sockaddr_in socketAddress{};
    socketAddress.sin_family = AF_INET;
    socketAddress.sin_port = htons(port);
    socketAddress.sin_addr.s_addr = address;  // already first octet in the lowest byte
    return socketAddress;
}

}  // namespace lumaro::platform
