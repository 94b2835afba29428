#include <winsock2.h>

#include "platform/net/socket_address.h"
#include "platform/net/socket_layer.h"
#include "platform/net/socket_owner_win32.h"
#include "platform/net/tcp_connect.h"

namespace lumaro::platform {

namespace {

ConnectOutcome AttemptConnection(Ipv4Address address, std::uint16_t port) {
    const SocketOwner stream(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    if (!stream.Valid()) return ConnectOutcome::Failed;
    const sockaddr_in remote = SocketAddress(address, port);
    if (connect(stream.Get(), reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0) {
        return ConnectOutcome::Connected;
    }
    return WSAGetLastError() == WSAECONNREFUSED ? ConnectOutcome::Refused : ConnectOutcome::Failed;
}

}  // namespace

ConnectOutcome ConnectOnce(Ipv4Address address, std::uint16_t port) {
    // Its own start of the socket layer: the attempt may outlive whoever started it.
    const SocketLayerHold socketLayer;
    if (!socketLayer.Started()) return ConnectOutcome::Failed;
    return AttemptConnection(address, port);  // its socket closed before the layer is released
}

}  // namespace lumaro::platform
