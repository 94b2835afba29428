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
// One start of the socket layer (version 2.2) for as long as it lives. Code that starts and
// releases the layer around its own sockets while others use theirs on other threads holds
// one meanwhile, so that the count of starts never falls to zero under them (Winsock closes
// every socket of the process then).
class SocketLayerHold {
public:
    SocketLayerHold() : started_(StartSocketLayer(2, 2).succeeded) {}
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
