// The datagram that makes the system resolve an address, the same on every system: any
// datagram to the address needs its hardware address first.

#include "platform/arp.h"
#include "platform/socket_layer.h"
#include "platform/udp_socket.h"

namespace lumaro::platform {

namespace {

constexpr std::uint16_t kDiscardPort = 9;

}  // namespace

bool PromptResolution(Ipv4Address target, Ipv4Address source) {
    // Its own start of the socket layer: the caller may be a thread of its own.
    const SocketLayerHold socketLayer;
    if (!socketLayer.Started()) return false;
    // Closed before the hold releases the layer.
    const std::optional<UdpSocket> socket = UdpSocket::OpenBroadcast(source).socket;
    return socket && socket->SendTo(target, kDiscardPort, {});
}

}  // namespace lumaro::platform
