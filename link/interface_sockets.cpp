// One broadcast UDP socket per local IPv4 address, and the request/reply exchange.

#include "link/controller_link.h"
#include "link/interface_choice.h"

namespace lumaro {

void ControllerLink::OpenInterfaceSockets() {
    sockets_.clear();
    // Its result is not examined: a layer that did not start shows as no socket.
    if (!socketLayer_) socketLayer_.emplace();
    const auto table = environment_.readAddressTable();
    if (!table) return;
    ChooseInterfaces(*table, [this](const platform::LocalAddress& row) {
        auto socket = environment_.openSocket(row.address);
        if (!socket) return false;  // an address that cannot carry a socket is left out
        sockets_.push_back(InterfaceSocket{row.address, row.mask, std::move(socket)});
        return true;
    });
}

void ControllerLink::CloseInterfaceSockets() {
    sockets_.clear();
    socketLayer_.reset();
}

InterfaceSocket* ControllerLink::FindInterface(Ipv4Address address) {
    for (InterfaceSocket& entry : sockets_) {
        if (entry.address == address) return &entry;
    }
    return nullptr;
}

bool ControllerLink::ReceiveInto(LinkSocket& socket) {
    const auto received = socket.Receive(receiveBuffer_);
    receivedBytes_ = received.value_or(0);
    return received.has_value();
}

CommandReply ControllerLink::Exchange(Ipv4Address hostAddress, Ipv4Address destination,
                                      std::span<const std::uint8_t> frame) {
    InterfaceSocket* entry = FindInterface(hostAddress);
    if (entry == nullptr) return CommandReply::Silent;
    const FineTimerHold fineTimer(*this);  // from the drain's first wait to the reply
    LinkSocket& socket = *entry->socket;
    Drain(socket);
    socket.SendTo(destination, kControllerPort, frame);  // a failed send shows as no reply
    return AwaitReply(socket);
}

// Whatever is queued (late answers to discovery or to earlier commands) must not be taken
// for the reply, so the frame leaves only after 101 quiet slices counted from the last
// datagram of at least one header; shorter ones neither count nor restart the count. A
// failed wait counts as a quiet slice: it never leads to a receive, so nothing can block.
// A socket that never falls quiet for that long is sent to once kDrainTimeLimit has passed.
void ControllerLink::Drain(LinkSocket& socket) {
    const auto giveUpAt = environment_.steadyNow() + kDrainTimeLimit;
    int quiet = kExchangeQuietCount;
    while (environment_.steadyNow() < giveUpAt) {
        if (socket.WaitReadable(kWaitSlice) != platform::Readiness::Readable) {
            if (quiet == 0) return;
            --quiet;
            continue;
        }
        if (ReceiveInto(socket) && receivedBytes_ >= kMinimumReplyBytes) {
            quiet = kExchangeQuietCount;
        }
    }
}

// The reply is the first datagram of at least one header, whoever sent it: Answered. After
// 101 quiet slices, or once kReplyWaitTimeLimit has passed among shorter datagrams: Silent.
CommandReply ControllerLink::AwaitReply(LinkSocket& socket) {
    const auto giveUpAt = environment_.steadyNow() + kReplyWaitTimeLimit;
    int quiet = kExchangeQuietCount;
    while (environment_.steadyNow() < giveUpAt) {
        if (socket.WaitReadable(kWaitSlice) != platform::Readiness::Readable) {
            if (quiet == 0) return CommandReply::Silent;
            --quiet;
            continue;
        }
        if (ReceiveInto(socket) && receivedBytes_ >= kMinimumReplyBytes) {
            return CommandReply::Answered;
        }
    }
    return CommandReply::Silent;
}

}  // namespace lumaro
