#include "app/beating_environment.h"

#include <algorithm>
#include <memory>
#include <string>

namespace lumaro {

namespace {

// The link's socket, with a beat after every readiness wait.
class BeatingSocket final : public LinkSocket {
public:
    BeatingSocket(std::unique_ptr<LinkSocket> socket, QueueHeartbeat& heartbeat)
        : socket_(std::move(socket)), heartbeat_(heartbeat) {}

    platform::Readiness WaitReadable(std::chrono::microseconds timeout) override {
        const platform::Readiness readiness = socket_->WaitReadable(timeout);
        heartbeat_.Beat();
        return readiness;
    }
    std::optional<std::size_t> Receive(std::span<std::uint8_t> into) override {
        return socket_->Receive(into);
    }
    bool SendTo(Ipv4Address destination, std::uint16_t port,
                std::span<const std::uint8_t> datagram) override {
        return socket_->SendTo(destination, port, datagram);
    }
    std::uint16_t LocalPort() const override { return socket_->LocalPort(); }

private:
    std::unique_ptr<LinkSocket> socket_;
    QueueHeartbeat& heartbeat_;
};

using Pause = std::function<void(std::chrono::milliseconds)>;

// The pause in pieces of at most kPausePiece (whole multiples of Windows' 15.625 ms tick, so
// that the pieces add up to the pause), a beat after each.
Pause BeatingPause(Pause pause, QueueHeartbeat& heartbeat) {
    return [pause = std::move(pause), &heartbeat](std::chrono::milliseconds duration) {
        heartbeat.Beat();
        while (duration > std::chrono::milliseconds::zero()) {
            const auto piece = std::min(duration, kPausePiece);
            pause(piece);
            heartbeat.Beat();
            duration -= piece;
        }
    };
}

}  // namespace

LinkEnvironment BeatingLinkEnvironment(LinkEnvironment environment, QueueHeartbeat& heartbeat) {
    environment.openSocket = [open = std::move(environment.openSocket),
                              &heartbeat](Ipv4Address local) -> std::unique_ptr<LinkSocket> {
        auto socket = open(local);
        if (!socket) return nullptr;
        return std::make_unique<BeatingSocket>(std::move(socket), heartbeat);
    };
    return environment;
}

CommandEnvironment BeatingCommandEnvironment(CommandEnvironment environment,
                                             QueueHeartbeat& heartbeat) {
    environment.pause = BeatingPause(std::move(environment.pause), heartbeat);
    return environment;
}

WebEnableSystem BeatingWebEnableSystem(WebEnableSystem system, QueueHeartbeat& heartbeat) {
    system.arp = RunWhileBeating(std::move(system.arp), heartbeat);
    // The probe's own wait is at most a second; the browser is handed the address on this
    // thread, in its COM apartment.
    system.probeWebPort = [probe = std::move(system.probeWebPort), &heartbeat](
                              const ProbeTarget& target, std::chrono::milliseconds wait) {
        const ProbeWait result = probe(target, wait);
        heartbeat.Beat();
        return result;
    };
    system.openPage = [open = std::move(system.openPage), &heartbeat](const std::string& page) {
        open(page);
        heartbeat.Beat();
    };
    system.pause = BeatingPause(std::move(system.pause), heartbeat);
    return system;
}

}  // namespace lumaro
