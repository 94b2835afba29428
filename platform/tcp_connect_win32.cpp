#include <winsock2.h>

#include "platform/socket_layer.h"
#include "platform/tcp_connect.h"

namespace lumaro::platform {

ConnectOutcome ConnectOnce(Ipv4Address address, std::uint16_t port) {
    // Its own start of the socket layer: the attempt may outlive whoever started it.
    if (!StartSocketLayer(2, 2).succeeded) return ConnectOutcome::Failed;
    ConnectOutcome outcome = ConnectOutcome::Failed;
    const SOCKET stream = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (stream != INVALID_SOCKET) {
        sockaddr_in remote{};
        remote.sin_family = AF_INET;
        remote.sin_port = htons(port);
        remote.sin_addr.s_addr = address;  // already first octet in the lowest byte
        if (connect(stream, reinterpret_cast<const sockaddr*>(&remote), sizeof remote) == 0) {
            outcome = ConnectOutcome::Connected;
        } else if (WSAGetLastError() == WSAECONNREFUSED) {
            outcome = ConnectOutcome::Refused;
        }
        closesocket(stream);
    }
    StopSocketLayer();
    return outcome;
}

}  // namespace lumaro::platform
