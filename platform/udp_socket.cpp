// Ownership of the socket handle and the opening's steps in their order; each step,
// waiting and the transfers are per platform.

#include "platform/udp_socket.h"

#include <utility>

namespace lumaro::platform {

UdpSocket::UdpSocket(UdpSocket&& other) noexcept
    : handle_(std::exchange(other.handle_, kNoHandle)) {}

UdpSocket& UdpSocket::operator=(UdpSocket&& other) noexcept {
    if (this != &other) {
        Close();
        handle_ = std::exchange(other.handle_, kNoHandle);
    }
    return *this;
}

UdpSocket::~UdpSocket() { Close(); }

BroadcastSocketOpening UdpSocket::OpenBroadcast(Ipv4Address local) {
    BroadcastSocketOpening opening;
    const auto fail = [&opening](BroadcastSocketStep step) {
        opening.report.failure = BroadcastSocketFailure{step, LastError()};
        return std::move(opening);
    };
    UdpSocket socket(CreateHandle());  // closes it on every failure
    if (socket.handle_ == kNoHandle) return fail(BroadcastSocketStep::Create);
    if (!socket.Bind(local)) return fail(BroadcastSocketStep::Bind);
    opening.report.localPort = socket.LocalPort();
    if (!socket.MakeBlocking()) return fail(BroadcastSocketStep::BlockingMode);
    if (!socket.EnableBroadcast()) return fail(BroadcastSocketStep::Broadcast);
    if (!socket.AskReceiveBuffer(kBroadcastReceiveBufferBytes)) {
        opening.report.receiveBufferRefused = LastError();
    }
    opening.report.receiveBufferBytes = socket.ReceiveBufferBytes();
    opening.socket = std::move(socket);
    return opening;
}

}  // namespace lumaro::platform
