#pragma once
// One owned Winsock socket of the Win32 platform files: the destructor closes it. (Win32
// files only; the POSIX ones own their descriptors with Descriptor.)

#include <winsock2.h>

namespace lumaro::platform {

class SocketOwner {
public:
    explicit SocketOwner(SOCKET handle) : handle_(handle) {}
    ~SocketOwner() {
        if (handle_ != INVALID_SOCKET) closesocket(handle_);
    }
    SocketOwner(const SocketOwner&) = delete;
    SocketOwner& operator=(const SocketOwner&) = delete;
    SOCKET Get() const { return handle_; }
    bool Valid() const { return handle_ != INVALID_SOCKET; }

private:
    SOCKET handle_;
};

}  // namespace lumaro::platform
