#pragma once
// Start and release of the system's socket layer (Winsock on Windows; nothing to do on POSIX).

#include <cstdint>

namespace lumaro::platform {

struct SocketLayerStart {
    bool succeeded = false;      // the start call itself succeeded
    std::uint8_t grantedMajor = 0;
    std::uint8_t grantedMinor = 0;
};

// Asks for the given version. On POSIX it always succeeds and grants what was asked.
SocketLayerStart StartSocketLayer(std::uint8_t major, std::uint8_t minor);
// Releases one successful start.
void StopSocketLayer();
// One start of the socket layer (version 2.2) for as long as it lives: the way every user of
// sockets starts and releases the layer, each around its own sockets. Winsock counts the
// starts and closes every socket of the process when the count falls to zero, so a user
// that holds its own start never loses its sockets to another's release, whatever thread
// either runs on.
class SocketLayerHold {
public:
    SocketLayerHold() : started_(StartSocketLayer(2, 2).succeeded) {}
    bool Started() const { return started_; }
    ~SocketLayerHold() {
        if (started_) StopSocketLayer();
    }
    SocketLayerHold(const SocketLayerHold&) = delete;
    SocketLayerHold& operator=(const SocketLayerHold&) = delete;

private:
    bool started_;
};

// Sets the thread's last socket error to "version not supported" (Windows only; no-op elsewhere).
void MarkSocketVersionNotSupported();

}  // namespace lumaro::platform
