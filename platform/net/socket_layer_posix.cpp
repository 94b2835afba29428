#include "platform/net/socket_layer.h"

namespace lumaro::platform {

// POSIX sockets need no start: every request succeeds with the version asked for.
SocketLayerStart StartSocketLayer(std::uint8_t major, std::uint8_t minor) {
    return SocketLayerStart{true, major, minor};
}

void StopSocketLayer() {}

void MarkSocketVersionNotSupported() {}

}  // namespace lumaro::platform
