#include <netinet/in.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>

#include "platform/descriptor_posix.h"
#include "platform/socket_trial.h"
#include "platform/udp_socket.h"

namespace lumaro::platform {

namespace {

// Records the outcome of one step; true when it succeeded.
bool Record(SocketStep& step, bool succeeded) {
    step.tried = true;
    step.succeeded = succeeded;
    if (!succeeded) {
        step.errorCode = errno;
        step.error = std::strerror(errno);
    }
    return succeeded;
}

}  // namespace

BroadcastSocketTrial TryBroadcastSocket(Ipv4Address local) {
    BroadcastSocketTrial trial;
    const Descriptor socketFd(socket(AF_INET, SOCK_DGRAM | SOCK_CLOEXEC, 0));
    if (!Record(trial.create, socketFd.Get() >= 0)) return trial;
    const int fd = socketFd.Get();

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = local;  // already first octet in the lowest byte
    if (!Record(trial.bind, ::bind(fd, reinterpret_cast<const sockaddr*>(&address),
                                   sizeof address) == 0)) {
        return trial;
    }
    socklen_t length = sizeof address;
    if (getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0) {
        trial.localPort = ntohs(address.sin_port);
    }
    const int on = 1;
    if (!Record(trial.broadcast, setsockopt(fd, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) == 0)) {
        return trial;
    }
    // As the link does: beyond the system's limit as root, else as much as it allows.
    const int asked = kBroadcastReceiveBufferBytes;
    Record(trial.receiveBuffer,
           setsockopt(fd, SOL_SOCKET, SO_RCVBUFFORCE, &asked, sizeof asked) == 0 ||
               setsockopt(fd, SOL_SOCKET, SO_RCVBUF, &asked, sizeof asked) == 0);
    int granted = 0;
    length = sizeof granted;
    if (getsockopt(fd, SOL_SOCKET, SO_RCVBUF, &granted, &length) == 0) {
        trial.receiveBufferBytes = granted;
    }
    return trial;
}

}  // namespace lumaro::platform
