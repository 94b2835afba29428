#include <winsock2.h>

#include "platform/net/socket_layer.h"

namespace lumaro::platform {

SocketLayerStart StartSocketLayer(std::uint8_t major, std::uint8_t minor) {
    WSADATA data{};
    const bool succeeded = WSAStartup(MAKEWORD(major, minor), &data) == 0;
    return SocketLayerStart{succeeded, LOBYTE(data.wVersion), HIBYTE(data.wVersion)};
}

void StopSocketLayer() { WSACleanup(); }

void MarkSocketVersionNotSupported() { WSASetLastError(WSAVERNOTSUPPORTED); }

}  // namespace lumaro::platform
