#pragma once
// One UDP socket bound to a local IPv4 address, broadcast enabled, in blocking mode.
// Move-only; the destructor closes it.

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

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

// Why a socket call failed, in the system's terms.
struct SocketError {
    int code = 0;      // errno, or WSAGetLastError()
    std::string text;  // the system's own words for it
};

// The steps of opening a broadcast socket, in their order.
enum class BroadcastSocketStep { Create, Bind, BlockingMode, Broadcast };

struct BroadcastSocketFailure {
    BroadcastSocketStep step;
    SocketError error;
};

// How the opening of one broadcast socket went: the step that failed and why, or else what
// the system made of the request for a large receive buffer (best effort: a socket with a
// smaller buffer still works).
struct BroadcastSocketReport {
    std::optional<BroadcastSocketFailure> failure;    // the step that failed
    std::uint16_t localPort = 0;                      // once bound: the port the system picked
    std::optional<SocketError> receiveBufferRefused;  // the request failed
    // The size the system reports afterwards (Linux reports twice the usable room, which it
    // keeps for its bookkeeping); empty when it cannot be read.
    std::optional<int> receiveBufferBytes;

    bool Opened() const { return !failure; }
};

struct BroadcastSocketOpening;

class UdpSocket {
public:
    // The one opener of the interface sockets (the link's, the doctor's, the ARP prompt's):
    // a socket bound to (local, port 0), blocking, SO_BROADCAST on, with a receive buffer
    // large enough for hundreds of controllers answering one broadcast at once.
    static BroadcastSocketOpening OpenBroadcast(Ipv4Address local);

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

    // The steps of OpenBroadcast, per system (udp_socket_posix.cpp, udp_socket_win32.cpp):
    // each says only whether it succeeded; LastError says why the last one failed.
    static std::intptr_t CreateHandle();  // kNoHandle when it fails
    bool Bind(Ipv4Address local) const;
    bool MakeBlocking() const;
    bool EnableBroadcast() const;
    bool AskReceiveBuffer(int bytes) const;
    std::optional<int> ReceiveBufferBytes() const;
    static SocketError LastError();

    static constexpr std::intptr_t kNoHandle = -1;
    std::intptr_t handle_ = kNoHandle;
};

struct BroadcastSocketOpening {
    std::optional<UdpSocket> socket;  // empty when a step failed
    BroadcastSocketReport report;
};

}  // namespace lumaro::platform
