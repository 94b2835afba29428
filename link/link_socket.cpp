#include "link/link_socket.h"

namespace lumaro {
namespace {

// The system's socket as the link sees it: every call goes straight through.
class SystemSocket final : public LinkSocket {
public:
    explicit SystemSocket(platform::UdpSocket socket) : socket_(std::move(socket)) {}

    platform::Readiness WaitReadable(std::chrono::microseconds timeout) override {
        return socket_.WaitReadable(timeout);
    }
    std::optional<std::size_t> Receive(std::span<std::uint8_t> into) override {
        return socket_.Receive(into);
    }
    bool SendTo(Ipv4Address destination, std::uint16_t port,
                std::span<const std::uint8_t> datagram) override {
        return socket_.SendTo(destination, port, datagram);
    }
    std::uint16_t LocalPort() const override { return socket_.LocalPort(); }

private:
    platform::UdpSocket socket_;
};

}  // namespace

std::unique_ptr<LinkSocket> OpenSystemSocket(Ipv4Address local) {
    auto socket = platform::UdpSocket::OpenBroadcast(local).socket;
    if (!socket) return nullptr;
    return std::make_unique<SystemSocket>(std::move(*socket));
}

}  // namespace lumaro
