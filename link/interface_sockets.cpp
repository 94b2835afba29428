// One broadcast UDP socket per local IPv4 address, and the request/reply exchange.

#include "link/controller_link.h"

namespace lumaro {

void ControllerLink::OpenInterfaceSockets() {
    sockets_.clear();
    const auto table = environment_.readAddressTable();
    if (!table) return;
    for (const platform::LocalAddress& row : *table) {
        if (row.address == 0 || row.address == kLoopbackHost) continue;
        auto socket = platform::UdpSocket::OpenBroadcast(row.address);
        if (!socket) continue;  // an address that cannot carry a socket is left out
        sockets_.push_back(InterfaceSocket{row.address, row.mask, std::move(*socket)});
        if (sockets_.size() == kMaxInterfaceSockets) break;
    }
}

void ControllerLink::CloseInterfaceSockets() { sockets_.clear(); }

const InterfaceSocket* ControllerLink::FindInterface(Ipv4Address address) const {
    for (const InterfaceSocket& entry : sockets_) {
        if (entry.address == address) return &entry;
    }
    return nullptr;
}

bool ControllerLink::ReceiveInto(const platform::UdpSocket& socket) {
    const auto received = socket.Receive(receiveBuffer_);
    receivedBytes_ = received.value_or(0);
    return received.has_value();
}

int ControllerLink::Exchange(Ipv4Address hostAddress, Ipv4Address destination,
                             std::span<const std::uint8_t> frame) {
    const InterfaceSocket* entry = FindInterface(hostAddress);
    if (entry == nullptr) return -1;
    const platform::UdpSocket& socket = entry->socket;

    // Drain: whatever is queued (late answers to discovery or to earlier commands) must
    // not be taken for the reply, so send only after 101 quiet slices. A failed wait
    // counts as a quiet slice: it never leads to a receive, so nothing can block.
    int quiet = kExchangeQuietCount;
    for (;;) {
        if (socket.WaitReadable(kWaitSlice) != platform::Readiness::Readable) {
            if (quiet == 0) break;
            --quiet;
            continue;
        }
        if (ReceiveInto(socket) && receivedBytes_ >= kMinimumReplyBytes) {
            quiet = kExchangeQuietCount;
        }
    }

    socket.SendTo(destination, kControllerPort, frame);  // a failed send shows as no reply

    // Await the reply: the first datagram of at least one header, whoever sent it.
    quiet = kExchangeQuietCount;
    for (;;) {
        if (socket.WaitReadable(kWaitSlice) != platform::Readiness::Readable) {
            if (quiet == 0) return -1;
            --quiet;
            continue;
        }
        if (ReceiveInto(socket) && receivedBytes_ >= kMinimumReplyBytes) return 0;
    }
}

}  // namespace lumaro
