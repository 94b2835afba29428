#pragma once
// One UDP socket bound to a local IPv4 address, broadcast enabled, in blocking mode.
// Move-only; the destructor closes it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/ipv4_address.h"

namespace lumaro::platform {

// The receive buffer that every interface socket asks for: hundreds of controllers answer
// one discovery broadcast at the same moment.
constexpr int kBroadcastReceiveBufferBytes = 4 * 1024 * 1024;

enum class Readiness {
    Readable,  // a datagram (or an error) is waiting: a receive will not block
    Quiet,     // the timeout passed without anything arriving
    Failed,    // the wait itself failed; nothing is known about the socket
};

class UdpSocket {
public:
    // Socket bound to (local, port 0), blocking, SO_BROADCAST on, with a receive buffer
    // large enough for hundreds of controllers answering one broadcast at once.
    // Empty optional when any step fails.
    static std::optional<UdpSocket> OpenBroadcast(Ipv4Address local);

    UdpSocket(UdpSocket&& other) noexcept;
    UdpSocket& operator=(UdpSocket&& other) noexcept;
    UdpSocket(const UdpSocket&) = delete;
    UdpSocket& operator=(const UdpSocket&) = delete;
    ~UdpSocket();

    Readiness WaitReadable(std::chrono::microseconds timeout) const;

    // Sends one datagram; false when the system refused it.
    bool SendTo(Ipv4Address destination, std::uint16_t port,
                std::span<const std::uint8_t> datagram) const;

    // Receives one datagram into `into`. Empty optional when the receive failed or the
    // datagram did not fit (it is then dropped). Call only after WaitReadable said Readable.
    std::optional<std::size_t> Receive(std::span<std::uint8_t> into) const;

    // The local port the system picked at bind time (0 when unknown).
    std::uint16_t LocalPort() const;

private:
    explicit UdpSocket(std::intptr_t handle) : handle_(handle) {}
    void Close();
    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t handle_ = kNoHandle;
};

}  // namespace lumaro::platform
