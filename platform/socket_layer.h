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
// Sets the thread's last socket error to "version not supported" (Windows only; no-op elsewhere).
void MarkSocketVersionNotSupported();

}  // namespace lumaro::platform
