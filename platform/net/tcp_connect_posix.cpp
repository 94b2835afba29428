#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <sys/socket.h>

#include "platform/net/descriptor_posix.h"
#include "platform/net/socket_address.h"
#include "platform/net/tcp_connect.h"

namespace lumaro::platform {

ConnectOutcome ConnectOnce(Ipv4Address address, std::uint16_t port) {
    const Descriptor stream(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!stream.Valid()) return ConnectOutcome::Failed;
    const sockaddr_in remote = SocketAddress(address, port);
    int result;
    do {
        result = connect(stream.Get(), reinterpret_cast<const sockaddr*>(&remote), sizeof remote);
    } while (result != 0 && errno == EINTR);
    if (result == 0) return ConnectOutcome::Connected;
    return errno == ECONNREFUSED ? ConnectOutcome::Refused : ConnectOutcome::Failed;
}

}  // namespace lumaro::platform
